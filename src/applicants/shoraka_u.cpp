#include "applicants/shoraka_u.h"

#include "applicants/applicant_texts.h"
#include "applicants/child_texts.h"
#include "applicants/partners_logic.h"
#include "applicants/takafol_frm_u.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/nationcode.h"
#include "common/rights.h"
#include "db/database.h"

#include <QAction>
#include <QCheckBox>
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

Tshoraka::Tshoraka() : TWindow(QStringLiteral("Tshoraka"), kPartnersCaption)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    m_header = child::makeHeader(this);
    const QStringList taahol {custext::kSingle, custext::kMarried, custext::kHead};
    const QStringList gender {custext::kMale, custext::kFemale};
    const QStringList sana {kHas, kHasNot};
    QList<child::PersonForm::FieldDef> fields;
    for (const QString& c : partners::partnerColumns()) {
        child::PersonForm::FieldDef f {c};
        if (c == QLatin1String("nation") || c == QLatin1String("mobile") || c == QLatin1String("phone"))
            f.kind = Kind::Digits;
        else if (c == QLatin1String("sahm"))
            f.kind = Kind::Real;
        else if (c == QLatin1String("birthday"))
            f.kind = Kind::Date;
        else if (c == QLatin1String("tahsilat"))
            f.kind = Kind::Choice;
        else if (c == QLatin1String("taahol"))
            f = {c, Kind::FixedChoice, taahol};
        else if (c == QLatin1String("gender"))
            f = {c, Kind::FixedChoice, gender};
        else if (c == QLatin1String("sana"))
            f = {c, Kind::FixedChoice, sana};
        fields << f;
    }
    m_form = std::make_unique<child::PersonForm>(this, QStringLiteral("shoraka"), fields, &partners::partnerCaption);
    auto* nation = static_cast<QLineEdit*>(m_form->field(QStringLiteral("nation")));
    nation->setMaxLength(10);
    checkNationCodeOnExit(nation);
    onFieldExit(static_cast<QLineEdit*>(m_form->field(QStringLiteral("sahm"))), [this] { sahmExit(); });

    ins_btn = makeButton(this, QStringLiteral("ins_btn"), kInsert);
    ins_btn->setMinimumSize(120, 30);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ins_btn);
    buttons->addStretch();

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->listModel()->setColumns(child::personColumns(partners::partnerColumns(), &partners::partnerCaption));
    DBGrid1->horizontalHeader()->setDefaultSectionSize(105);
    DBGrid1->setMinimumHeight(180);
    const QList<QAction*> popup = child::gridPopup(DBGrid1, {{"N1", kDelete}, {"N2", kDependantsCaption}});
    N1 = popup[0];
    N2 = popup[1];

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(10, 8, 10, 8);
    top->addWidget(m_header.box);
    top->addWidget(m_form->box());
    top->addLayout(buttons);
    top->addWidget(DBGrid1, 1);
    resize(1200, 640);

    connect(ins_btn, &QPushButton::clicked, this, &Tshoraka::ins_btnClick);
    connect(N1, &QAction::triggered, this, &Tshoraka::N1Click);
    connect(N2, &QAction::triggered, this, &Tshoraka::N2Click);
    QWidget::setTabOrder(m_form->order().last(), ins_btn);
    QWidget::setTabOrder(ins_btn, DBGrid1);
}

bool Tshoraka::open(const applicants::ApplicantContext& c)
{
    const QString refusal = partners::partnersRefusal(c.customer);
    if (!refusal.isEmpty()) {
        dialogs().warning(refusal);
        return false;
    }
    m_customerId = c.customerId;
    m_customer = c.customer;
    m_changed = c.changed;
    m_header.show(c.customer);
    m_form->clear();
    m_form->setValues({{QStringLiteral("sahm"), QStringLiteral("0")}});
    try {
        m_form->setChoices(QStringLiteral("tahsilat"), settingList(kSetEducation));
    } catch (const DbError& e) {
        reportFailure(kListsFailed, e);
    }
    refresh();
    child::fitHeight(this, c.listHeight - 25);
    m_form->order().first()->setFocus();
    return true;
}

void Tshoraka::refresh()
{
    child::showList(DBGrid1, partners::partnersQuery(m_customerId));
}

void Tshoraka::sahmExit()
{
    const QString m = partners::shareMessage(m_form->values().value(QStringLiteral("sahm")));
    if (m.isEmpty())
        return;
    dialogs().warning(m);
    m_form->field(QStringLiteral("sahm"))->setFocus();
}

void Tshoraka::ins_btnClick()
{
    if (m_customerId <= 0)
        return;
    Outcome r;
    try {
        r = partners::addPartner(m_customerId, m_form->values(), askWarning(Buttons::YesNo));
    } catch (const DbError& e) {
        reportFailure(kPartnerSaveFailed, e);
        return;
    }
    r.show();
    if (!r.done) {
        if (QWidget* w = m_form->field(r.focus))
            w->setFocus();
        return;
    }
    refresh();
    m_changed();
}

void Tshoraka::N1Click()
{
    const QSqlRecord row = DBGrid1->currentRecord();
    if (row.isEmpty())
        return;
    // The values go back into the fields, so that a partner deleted by mistake is saved again with "ثبت".
    m_form->setValues(partners::valuesOf(row, partners::partnerColumns()));
    Outcome r;
    try {
        r = partners::deletePartner(m_customerId, items::recordId(row));
    } catch (const DbError& e) {
        reportFailure(kPartnerDeleteFailed, e);
        return;
    }
    r.show();
    refresh();
    m_changed();
}

void Tshoraka::N2Click()
{
    const QSqlRecord row = DBGrid1->currentRecord();
    if (row.isEmpty())
        return;
    const auto rights = pageRights(QStringLiteral("takafol"), {}, kSearchFailed);
    if (!rights)
        return;
    Ttakafol_frm& w = tavrin::window<Ttakafol_frm>();
    w.openForPartner(m_customer, row, *rights, height());
    w.showModal();
}

void Tshoraka::keyPressEvent(QKeyEvent* e)
{
    // Enter saves as "ثبت" does, except in the list of partners.
    if (child::isEnter(e) && !child::inside(focusWidget(), DBGrid1)) {
        ins_btnClick();
        return;
    }
    TWindow::keyPressEvent(e);
}

} // namespace tavrin
