#include "applicants/takafol_frm_u.h"

#include "applicants/applicant_texts.h"
#include "applicants/child_texts.h"
#include "applicants/partners_logic.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/nationcode.h"
#include "db/database.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

using namespace childtext;
using Kind = child::PersonForm::Kind;

Ttakafol_frm::Ttakafol_frm() : TWindow(QStringLiteral("Ttakafol_frm"), kDependantsCaption)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    m_header = child::makeHeader(this);
    QList<child::PersonForm::FieldDef> fields;
    for (const QString& c : partners::dependantColumns()) {
        child::PersonForm::FieldDef f {c};
        if (c == QLatin1String("nation") || c == QLatin1String("mobile"))
            f.kind = Kind::Digits;
        else if (c == QLatin1String("birthday"))
            f.kind = Kind::Date;
        else if (c == QLatin1String("nesbat") || c == QLatin1String("job") || c == QLatin1String("tahsilat"))
            f.kind = Kind::Choice;
        else if (c == QLatin1String("gender"))
            f = {c, Kind::FixedChoice, {custext::kMale, custext::kFemale}};
        else if (c == QLatin1String("takafol"))
            f = {c, Kind::FixedChoice, {kSupported, kNotSupported}};
        fields << f;
    }
    m_form = std::make_unique<child::PersonForm>(this, QStringLiteral("takafol"), fields, &partners::dependantCaption);
    auto* nation = static_cast<QLineEdit*>(m_form->field(QStringLiteral("nation")));
    nation->setMaxLength(10);
    checkNationCodeOnExit(nation);

    // Whose dependants the window shows: ticked for the applicant's own.
    shoraka_id = new QCheckBox(kOwnerBox, this);
    shoraka_id->setObjectName(QStringLiteral("shoraka_id"));
    shoraka_id->setVisible(false);

    ins_btn = makeButton(this, QStringLiteral("ins_btn"), kInsert);
    ins_btn->setMinimumSize(120, 30);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ins_btn);
    buttons->addStretch();

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->listModel()->setColumns(child::dependantColumns());
    DBGrid1->horizontalHeader()->setDefaultSectionSize(100);
    DBGrid1->setMinimumHeight(180);
    N1 = child::gridPopup(DBGrid1, {{"N1", kDelete}}).first();

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(10, 8, 10, 8);
    top->addWidget(m_header.box);
    top->addWidget(m_form->box());
    top->addLayout(buttons);
    top->addWidget(DBGrid1, 1);
    resize(1180, 600);

    connect(static_cast<QComboBox*>(m_form->field(QStringLiteral("nesbat"))), &QComboBox::currentTextChanged, this,
            &Ttakafol_frm::nesbatChange);
    connect(ins_btn, &QPushButton::clicked, this, &Ttakafol_frm::ins_btnClick);
    connect(N1, &QAction::triggered, this, &Ttakafol_frm::N1Click);
    QWidget::setTabOrder(m_form->order().last(), ins_btn);
    QWidget::setTabOrder(ins_btn, DBGrid1);
}

void Ttakafol_frm::prepare(const QSqlRecord& customer, const Rights& rights, int height)
{
    m_customerId = items::recordId(customer);
    m_rights = rights;
    ins_btn->setEnabled(rights.darj);
    N1->setEnabled(rights.hazf);
    m_header.show(customer);
    m_form->clear();
    m_form->setValues({{QStringLiteral("takafol"), kSupported}});
    try {
        m_form->setChoices(QStringLiteral("tahsilat"), settingList(kSetEducation));
        m_form->setChoices(QStringLiteral("job"), settingList(kSetJob));
        m_form->setChoices(QStringLiteral("nesbat"), settingList(kSetRelation));
    } catch (const DbError& e) {
        reportFailure(kListsFailed, e);
    }
    refresh();
    child::fitHeight(this, height - 25);
    m_form->order().first()->setFocus();
}

void Ttakafol_frm::openForApplicant(const applicants::ApplicantContext& c)
{
    m_partnerId = 0;
    shoraka_id->setChecked(true);
    prepare(c.customer, c.rights, c.listHeight);
    m_header.showName(kApplicantDependants + child::fullName(c.customer));
}

void Ttakafol_frm::openForPartner(const QSqlRecord& customer, const QSqlRecord& partner, const Rights& rights, int height)
{
    m_partnerId = items::recordId(partner);
    shoraka_id->setChecked(false);
    prepare(customer, rights, height);
    m_header.showName(kPartnerDependants + child::fullName(partner));
}

void Ttakafol_frm::refresh()
{
    child::showList(DBGrid1, partners::dependantsQuery(m_customerId, m_partnerId));
}

void Ttakafol_frm::nesbatChange()
{
    if (m_form->values().value(QStringLiteral("nesbat")) != kChild)
        return;
    // A child takes the surname of the person who supports it, and that person's first name as father's name.
    try {
        m_form->setValues(partners::childValues(m_customerId, m_partnerId));
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
    }
}

void Ttakafol_frm::ins_btnClick()
{
    if (!m_rights.darj || m_customerId <= 0)
        return;
    Outcome r;
    try {
        r = partners::addDependant(m_customerId, shoraka_id->isChecked() ? 0 : m_partnerId, m_form->values());
    } catch (const DbError& e) {
        reportFailure(kDependantSaveFailed, e);
        return;
    }
    r.show();
    if (!r.done) {
        if (QWidget* w = m_form->field(r.focus))
            w->setFocus();
        return;
    }
    refresh();
}

void Ttakafol_frm::N1Click()
{
    if (!m_rights.hazf)
        return;
    const QSqlRecord row = DBGrid1->currentRecord();
    if (row.isEmpty())
        return;
    m_form->setValues(partners::valuesOf(row, partners::dependantColumns()));
    Outcome r;
    try {
        r = partners::deleteDependant(m_customerId, items::recordId(row));
    } catch (const DbError& e) {
        reportFailure(kDependantDeleteFailed, e);
        return;
    }
    r.show();
    refresh();
}

void Ttakafol_frm::keyPressEvent(QKeyEvent* e)
{
    if (child::isEnter(e) && !child::inside(focusWidget(), DBGrid1)) {
        if (ins_btn->isEnabled())
            ins_btnClick();
        return;
    }
    TWindow::keyPressEvent(e);
}

} // namespace tavrin
