#include "applicants/pardakht_src_u.h"

#include "applicants/child_texts.h"
#include "applicants/child_widgets.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/jalali.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/monedit.h"
#include "common/nationcode.h"
#include "common/windows.h"
#include "db/database.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

using namespace childtext;

namespace {
QString title(const char* field)
{
    for (const auto& [f, t] : kPaymentSearchExcel)
        if (qstrcmp(f, field) == 0)
            return QString::fromUtf8(t);
    return QString::fromLatin1(field);
}

QString criterionCaption(const char* field)
{
    for (const auto& [f, t] : kPaymentCriteria)
        if (qstrcmp(f, field) == 0)
            return QString::fromUtf8(t);
    return QString::fromLatin1(field);
}
} // namespace

Tpardakht_src::Tpardakht_src() : TWindow(QStringLiteral("Tpardakht_src"), kPaymentSearchCaption)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    auto* filters = new QGroupBox(this);
    auto* fl = new QGridLayout(filters);
    fl->setHorizontalSpacing(6);
    fl->setVerticalSpacing(4);
    const QString customers = QStringLiteral("customers"), pardakht = QStringLiteral("pardakht");
    ostan = child::pickList(filters, "ostan", customers);
    shahrestan = child::pickList(filters, "shahrestan", customers);
    prj_name = child::pickList(filters, "prj_name", customers);
    shenase = child::textField(filters, "shenase", customers);
    nation = makeEdit(filters, QStringLiteral("nation"), 10);
    installDigitFilter(nation);
    lname = child::textField(filters, "lname", customers);
    pardakht_typ = child::pickList(filters, "pardakht_typ", pardakht);
    dat1 = makeDateEdit(filters, QStringLiteral("dat1"));
    dat2 = makeDateEdit(filters, QStringLiteral("dat2"));
    norvad_bank = child::pickList(filters, "norvad_bank", pardakht);
    hesab_no = child::textField(filters, "hesab_no", pardakht);
    num = child::textField(filters, "num", pardakht);
    auto* to = makeLabel(filters, kTo);
    to->setAlignment(Qt::AlignCenter);
    m_boxes = child::layoutCriteria(filters, fl,
                                    {{criterionCaption("ostan"), {ostan}},
                                     {criterionCaption("shahrestan"), {shahrestan}},
                                     {criterionCaption("prj_name"), {prj_name}},
                                     {criterionCaption("shenase"), {shenase}},
                                     {criterionCaption("nation"), {nation}},
                                     {criterionCaption("lname"), {lname}},
                                     {criterionCaption("pardakht_typ"), {pardakht_typ}},
                                     {criterionCaption("dat"), {dat1, to, dat2}},
                                     {criterionCaption("norvad_bank"), {norvad_bank}},
                                     {criterionCaption("hesab_no"), {hesab_no}},
                                     {criterionCaption("num"), {num}}},
                                    4);
    src_btn = makeButton(filters, QStringLiteral("src_btn"), kSearch);
    src_btn->setMinimumSize(110, 30);
    fl->addWidget(src_btn, 2, 7);
    QWidget::setTabOrder(num, src_btn);

    // The totals: applicants, then payments.
    auto* totalsBox = new QGroupBox(this);
    auto* tg = new QGridLayout(totalsBox);
    tg->setHorizontalSpacing(10);
    tg->setVerticalSpacing(4);
    const std::pair<const char*, QString> totals[] = {
        {"cnt_vahed", kApplicantsCount}, {"vahed_mablagh", kUnitsTotal},     {"vam_sum", kLoansTotal},
        {"anbari_sum", kStorageTotal},   {"parking_sum", kParkingTotal},     {"cnt_pardakht", kPaymentsCount},
        {"mablagh_sum", QString::fromUtf8(kAccountLabels[6].second)},
        {"vosol_sum", QString::fromUtf8(kAccountLabels[7].second)},
        {"mande", QString::fromUtf8(kAccountLabels[8].second)}};
    int i = 0;
    for (const auto& [name, caption] : totals) {
        QLabel* value = child::groupedLabel(totalsBox, name);
        m_totals.insert(QString::fromLatin1(name), value);
        const int row = i / 5, col = (i % 5) * 2;
        tg->addWidget(makeLabel(totalsBox, caption), row, col, Qt::AlignLeft | Qt::AlignVCenter);
        tg->addWidget(value, row, col + 1);
        tg->setColumnStretch(col + 1, 1);
        ++i;
    }
    m_totals.value(QStringLiteral("mande"))->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    QWidget::setTabOrder(src_btn, DBGrid1);
    QList<GridColumn> columns;
    for (const char* f : {"ostan_asli", "shahrestan_asli", "fname_asli", "lname_asli", "nation_asli", "pardakht_typ",
                          "prj_name", "shenase", "mablagh", "num", "vosol", "dat", "vam", "mablagh_asli", "anbari_mablagh",
                          "parking_mablagh"}) {
        const QString field = QString::fromLatin1(f);
        const bool money = QStringList {QStringLiteral("mablagh"), QStringLiteral("vosol"), QStringLiteral("vam"),
                                        QStringLiteral("mablagh_asli"), QStringLiteral("anbari_mablagh"),
                                        QStringLiteral("parking_mablagh")}
                               .contains(field);
        QString t = title(f);
        if (field == QLatin1String("dat"))
            t = criterionCaption("dat");
        else if (field == QLatin1String("num"))
            t = QString::fromUtf8(kPaymentColumns[2].second);
        columns << GridColumn {field, t, money ? ColumnKind::Money : ColumnKind::Text};
    }
    columns << GridColumn {QStringLiteral("id"), QStringLiteral("id"), ColumnKind::Number, true};
    DBGrid1->listModel()->setColumns(columns);
    DBGrid1->horizontalHeader()->setDefaultSectionSize(105);
    const QList<QAction*> popup = child::gridPopup(DBGrid1, {{"N1", kExcel}});

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(8, 6, 8, 8);
    top->addWidget(filters);
    top->addWidget(totalsBox);
    top->addWidget(DBGrid1, 1);
    resize(1300, 680);

    connect(src_btn, &QPushButton::clicked, this, &Tpardakht_src::src_btnClick);
    connect(popup[0], &QAction::triggered, this, &Tpardakht_src::N1Click);
    connect(ostan, &QComboBox::currentTextChanged, this, &Tpardakht_src::ostanChange);
    for (QLineEdit* e : filters->findChildren<QLineEdit*>())
        connect(e, &QLineEdit::returnPressed, this, &Tpardakht_src::src_btnClick);
}

void Tpardakht_src::open(const applicants::ApplicantContext& c)
{
    clearCriteria(m_boxes);
    for (QLineEdit* e : {shenase, nation, lname, dat1, dat2, hesab_no, num})
        e->clear();
    clearTotals();
    DBGrid1->listModel()->clear();
    try {
        child::fillKeepingText(ostan, provinces());
        ostanChange();
        child::fillKeepingText(pardakht_typ, settingList(kSetPaymentKind));
        child::fillKeepingText(norvad_bank, settingList(kSetBank));
    } catch (const DbError& e) {
        reportFailure(kListsFailed, e);
    }
    for (QComboBox* combo : {ostan, shahrestan, prj_name, pardakht_typ, norvad_bank})
        setComboText(combo, QString());
    child::fitHeight(this, c.listHeight - 20);
}

void Tpardakht_src::ostanChange()
{
    try {
        const QString province = ostan->currentText();
        child::fillKeepingText(shahrestan, province.isEmpty() ? QStringList() : counties(province));
        const std::optional<QString> o = province.isEmpty() ? std::nullopt : std::optional<QString>(province);
        child::fillKeepingText(prj_name, applicants::projectNames(o, std::nullopt));
    } catch (const DbError& e) {
        reportFailure(kListsFailed, e);
    }
}

payments::SearchCriteria Tpardakht_src::criteria() const
{
    payments::SearchCriteria c;
    c.ostan = child::ticked(m_boxes[0], ostan);
    c.shahrestan = child::ticked(m_boxes[1], shahrestan);
    c.prjName = child::ticked(m_boxes[2], prj_name);
    c.shenase = child::ticked(m_boxes[3], shenase);
    c.nation = child::ticked(m_boxes[4], nation);
    c.lname = child::ticked(m_boxes[5], lname);
    c.pardakhtTyp = child::ticked(m_boxes[6], pardakht_typ);
    if (m_boxes[7]->isChecked())
        c.dat = std::make_pair(jalali::wholeDate(dat1->displayText()).value_or(dat1->displayText()),
                               jalali::wholeDate(dat2->displayText()).value_or(dat2->displayText()));
    c.norvadBank = child::ticked(m_boxes[8], norvad_bank);
    c.hesabNo = child::ticked(m_boxes[9], hesab_no);
    c.num = child::ticked(m_boxes[10], num);
    return c;
}

void Tpardakht_src::clearTotals()
{
    for (QLabel* l : std::as_const(m_totals))
        l->setText(QStringLiteral("0"));
}

void Tpardakht_src::src_btnClick()
{
    // A ticked date range needs two whole dates: a partly typed one would
    // compare as text with every stored date.
    if (m_boxes[7]->isChecked()) {
        for (QLineEdit* e : {dat1, dat2}) {
            if (!jalali::wholeDate(e->displayText())) {
                dialogs().warning(jalali::invalidDateMessage(criterionCaption("dat")));
                e->setFocus();
                return;
            }
        }
    }
    const payments::SearchCriteria c = criteria();
    payments::SearchTotals t;
    try {
        t = payments::searchTotals(c);
        DBGrid1->listModel()->setQuery(payments::searchQuery(c));
    } catch (const DbError& e) {
        DBGrid1->listModel()->clear();
        clearTotals();
        reportFailure(kSearchFailed, e);
        return;
    }
    const auto amount = [this](const char* name, const std::optional<qint64>& v) {
        m_totals.value(QString::fromLatin1(name))->setText(v ? formatAmount(*v) : kCalcError);
    };
    m_totals.value(QStringLiteral("cnt_vahed"))->setText(QString::number(t.applicants));
    m_totals.value(QStringLiteral("cnt_pardakht"))->setText(QString::number(t.payments));
    amount("vahed_mablagh", t.vahedMablagh);
    amount("vam_sum", t.vam);
    amount("anbari_sum", t.anbari);
    amount("parking_sum", t.parking);
    amount("mablagh_sum", t.mablaghSum);
    amount("vosol_sum", t.vosolSum);
    amount("mande", t.mande());
}

void Tpardakht_src::N1Click()
{
    const ListModel* m = DBGrid1->listModel();
    if (m->query().isEmpty())
        return;
    exportListToExcel(QStringLiteral("pardakht"), *m, payments::searchExcelHeaders());
}

} // namespace tavrin
