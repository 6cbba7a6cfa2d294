#include "vahed_vam_u.h"

#include "facility_texts.h"
#include "item_rules.h"

#include "common/dialogs.h"
#include "common/listmodel.h"
#include "common/monedit.h"
#include "db/database.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tavrin {

using namespace factext;

namespace {

QLineEdit* shownField(QWidget* parent, const char* name)
{
    QLineEdit* e = makeEdit(parent, QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setStyleSheet(QStringLiteral("background-color: #f0f0f0;"));
    return e;
}

QComboBox* choiceList(QWidget* parent, const char* name)
{
    QComboBox* c = makeCombo(parent, QString::fromLatin1(name), false);
    c->setMinimumWidth(170);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return c;
}

// Empties a choice list without starting its change handler.
void emptyList(QComboBox* c)
{
    const QSignalBlocker block(c);
    c->clear();
}

} // namespace

Tvahed_vam::Tvahed_vam() : TWindow(QStringLiteral("Tvahed_vam"), kLoansCaption)
{
    ostan = shownField(this, "ostan");
    shahrestan = shownField(this, "shahrestan");
    prj_name = shownField(this, "prj_name");
    bolok = shownField(this, "bolok");
    shenase = shownField(this, "shenase");
    auto* where = new QGroupBox(this);
    auto* wg = new QGridLayout(where);
    wg->setHorizontalSpacing(8);
    wg->addWidget(makeLabel(this, kOstanCaption), 0, 0);
    wg->addWidget(ostan, 0, 1);
    wg->addWidget(makeLabel(this, QString::fromUtf16(u"شهرستان")), 0, 2);
    wg->addWidget(shahrestan, 0, 3);
    wg->addWidget(makeLabel(this, kPrjNameCaption), 0, 4);
    wg->addWidget(prj_name, 0, 5);
    wg->addWidget(makeLabel(this, kBolokCaption), 1, 0);
    wg->addWidget(bolok, 1, 1);
    wg->addWidget(makeLabel(this, kShenaseCaption), 1, 2);
    wg->addWidget(shenase, 1, 3);
    for (int c : {1, 3, 5})
        wg->setColumnStretch(c, 1);

    bank = choiceList(this, "bank");
    etebar_loc = choiceList(this, "etebar_loc");
    dat1 = choiceList(this, "dat1");
    dat1->setMinimumWidth(220);
    vam = new TMonEdit(this);
    vam->setObjectName(QStringLiteral("vam"));
    vam->setMaxLength(24);
    vam->setMinimumWidth(170);
    tashilat_id = makeEdit(this, QStringLiteral("tashilat_id"));
    tashilat_id->setVisible(false);
    ins_btn = makeButton(this, QStringLiteral("ins_btn"), kInsert);
    ins_btn->setMinimumWidth(110);
    ins_btn->setMinimumHeight(30);
    // Enter in the window adds the loan.
    ins_btn->setDefault(true);

    auto* choice = new QGroupBox(this);
    auto* cg = new QGridLayout(choice);
    cg->setHorizontalSpacing(8);
    cg->addWidget(makeLabel(this, kSettingBank), 0, 0);
    cg->addWidget(bank, 0, 1);
    cg->addWidget(makeLabel(this, kSettingCreditSource), 0, 2);
    cg->addWidget(etebar_loc, 0, 3);
    cg->addWidget(makeLabel(this, kColDat1), 0, 4);
    cg->addWidget(dat1, 0, 5);
    auto* note = makeLabel(this, kOnlyReceivedNote);
    note->setStyleSheet(QStringLiteral("color: #b00000;"));
    cg->addWidget(note, 1, 0, 1, 6);
    cg->addWidget(makeLabel(this, QString::fromUtf16(u"ميزان وام")), 2, 0);
    auto* amount = new QHBoxLayout;
    amount->addWidget(vam);
    amount->addWidget(makeLabel(this, kRial));
    amount->addStretch();
    cg->addLayout(amount, 2, 1, 1, 3);
    cg->addWidget(ins_btn, 2, 5, Qt::AlignLeft);
    for (int c : {1, 3, 5})
        cg->setColumnStretch(c, 1);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->listModel()->setColumns({
        {QStringLiteral("prj_name"), kPrjNameCaption},
        {QStringLiteral("etebar_loc"), kSettingCreditSource},
        {QStringLiteral("bank"), kSettingBank},
        {QStringLiteral("bolok"), kBolokCaption},
        {QStringLiteral("shenase"), kShenaseCaption},
        {QStringLiteral("mablagh"), kColLoanAmount, ColumnKind::Money},
    });
    DBGrid1->horizontalHeader()->setDefaultSectionSize(120);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* popup = new QMenu(DBGrid1);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = new QAction(kDelete, popup);
    N1->setObjectName(QStringLiteral("N1"));
    popup->addAction(N1);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this, popup](const QPoint& at) {
        const QModelIndex index = DBGrid1->indexAt(at);
        if (index.isValid())
            DBGrid1->setCurrentIndex(index);
        popup->popup(DBGrid1->viewport()->mapToGlobal(at));
    });

    vam_sum = makeLabel(this, QStringLiteral("0"), QStringLiteral("vam_sum"));
    vam_sum->setStyleSheet(QStringLiteral("color: #1a4f9c; font-weight: bold;"));
    auto* total = new QHBoxLayout;
    total->addWidget(makeLabel(this, QString::fromUtf16(u"جمع وام اين واحد:")));
    total->addWidget(vam_sum);
    total->addWidget(makeLabel(this, kRial));
    total->addStretch();

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(10, 8, 10, 8);
    top->addWidget(where);
    top->addWidget(choice);
    top->addWidget(DBGrid1, 1);
    top->addLayout(total);
    resize(860, 540);

    connect(bank, &QComboBox::currentIndexChanged, this, &Tvahed_vam::bankChange);
    connect(etebar_loc, &QComboBox::currentIndexChanged, this, &Tvahed_vam::etebar_locChange);
    connect(dat1, &QComboBox::currentIndexChanged, this, &Tvahed_vam::dat1Change);
    connect(ins_btn, &QPushButton::clicked, this, &Tvahed_vam::ins_btnClick);
    connect(N1, &QAction::triggered, this, &Tvahed_vam::N1Click);

    const QList<QWidget*> order {bank, etebar_loc, dat1, vam, ins_btn, DBGrid1};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void Tvahed_vam::prepare(const QSqlRecord& project, const QSqlRecord& unit)
{
    m_project = project;
    m_unitId = items::recordId(unit);
    ostan->setText(items::fieldValue(project, "ostan"));
    shahrestan->setText(items::fieldValue(project, "shahrestan"));
    prj_name->setText(items::fieldValue(project, "prj_name"));
    bolok->setText(items::fieldValue(unit, "bolok"));
    shenase->setText(items::fieldValue(unit, "shenase"));
    emptyList(bank);
    resetChoice();
    try {
        const QStringList banks = facilities::loanBanks(items::recordId(project));
        const QSignalBlocker block(bank);
        bank->addItems(banks);
        bank->setCurrentIndex(-1);
    } catch (const DbError& e) {
        reportFailure(kListFailed, e);
    }
    refreshLoans();
    DBGrid1->resizeColumnsToContents();
    for (int c = 0; c < DBGrid1->listModel()->columnCount(); ++c)
        DBGrid1->setColumnWidth(c, std::max(DBGrid1->columnWidth(c) + 8, 110));
    bank->setFocus();
}

void Tvahed_vam::resetChoice()
{
    emptyList(etebar_loc);
    emptyList(dat1);
    vam->setText(QStringLiteral("0"));
    tashilat_id->setText(QStringLiteral("0"));
}

qint64 Tvahed_vam::chosenFacility() const
{
    return tashilat_id->text().toLongLong();
}

void Tvahed_vam::fillSources()
{
    emptyList(etebar_loc);
    if (bank->currentIndex() < 0)
        return;
    try {
        const QStringList sources = facilities::creditSources(items::recordId(m_project), bank->currentText());
        const QSignalBlocker block(etebar_loc);
        etebar_loc->addItems(sources);
        etebar_loc->setCurrentIndex(-1);
    } catch (const DbError& e) {
        reportFailure(kListFailed, e);
    }
}

void Tvahed_vam::fillDates()
{
    emptyList(dat1);
    if (etebar_loc->currentIndex() < 0)
        return;
    try {
        const auto choices =
            facilities::facilityChoices(items::recordId(m_project), bank->currentText(), etebar_loc->currentText());
        const QSignalBlocker block(dat1);
        for (const facilities::FacilityChoice& c : choices)
            dat1->addItem(c.label, QVariantList {c.id, c.proposed});
        dat1->setCurrentIndex(-1);
    } catch (const DbError& e) {
        reportFailure(kListFailed, e);
    }
}

void Tvahed_vam::bankChange()
{
    resetChoice();
    fillSources();
}

void Tvahed_vam::etebar_locChange()
{
    vam->setText(QStringLiteral("0"));
    tashilat_id->setText(QStringLiteral("0"));
    fillDates();
}

void Tvahed_vam::dat1Change()
{
    const QVariantList data = dat1->currentData().toList();
    if (data.size() != 2) {
        tashilat_id->setText(QStringLiteral("0"));
        vam->setText(QStringLiteral("0"));
        return;
    }
    tashilat_id->setText(QString::number(data[0].toLongLong()));
    vam->setText(QString::number(data[1].toLongLong()));
}

void Tvahed_vam::refreshLoans()
{
    try {
        DBGrid1->listModel()->setQuery(facilities::loanListQuery(m_unitId));
        vam_sum->setText(formatAmount(facilities::unitLoanTotal(m_unitId)));
    } catch (const DbError& e) {
        DBGrid1->listModel()->clear();
        reportFailure(kListFailed, e);
    }
}

void Tvahed_vam::ins_btnClick()
{
    if (m_unitId == 0)
        return;
    const qint64 facility = chosenFacility();
    if (facility == 0) {
        if (dialogs().question(kNoFacilityQuestion, Buttons::YesNoCancel) != Answer::Yes)
            return;
        vam->setText(QStringLiteral("0"));
    }
    Outcome r;
    try {
        r = facilities::addLoan(m_unitId, facility, vam->text());
    } catch (const DbError& e) {
        reportFailure(kLoanSaveFailed, e);
        return;
    }
    r.show();
    if (!r.done) {
        if (r.focus == QLatin1String("vam"))
            vam->setFocus();
        return;
    }
    refreshLoans();
    Q_EMIT loansChanged();
}

void Tvahed_vam::N1Click()
{
    const QSqlRecord row = DBGrid1->currentRecord();
    if (row.isEmpty())
        return;
    // The deleted loan's bank, source and amount stay in the fields with no
    // facility chosen: picking its date again gives the same loan back.
    {
        const QSignalBlocker block(bank);
        bank->setCurrentIndex(bank->findText(items::fieldValue(row, "bank")));
    }
    fillSources();
    {
        const QSignalBlocker block(etebar_loc);
        etebar_loc->setCurrentIndex(etebar_loc->findText(items::fieldValue(row, "etebar_loc")));
    }
    fillDates();
    vam->setText(QString::number(toMoney(row.value(QStringLiteral("mablagh")))));
    tashilat_id->setText(QStringLiteral("0"));
    Outcome r;
    try {
        r = facilities::deleteLoan(items::recordId(row));
    } catch (const DbError& e) {
        reportFailure(kLoanDeleteFailed, e);
        return;
    }
    r.show();
    refreshLoans();
    if (r.done)
        Q_EMIT loansChanged();
}

} // namespace tavrin
