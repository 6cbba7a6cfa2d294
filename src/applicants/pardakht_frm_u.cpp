#include "applicants/pardakht_frm_u.h"

#include "applicants/child_texts.h"

#include "common/clicklabel.h"
#include "common/dialogs.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/monedit.h"
#include "common/windows.h"
#include "db/database.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavrin {

using namespace childtext;

namespace {

QString fieldCaption(const char* column)
{
    for (const auto& [c, title] : kPaymentFields)
        if (qstrcmp(c, column) == 0)
            return QString::fromUtf8(title);
    return QString::fromLatin1(column);
}

} // namespace

Tpardakht_frm::Tpardakht_frm() : TWindow(QStringLiteral("Tpardakht_frm"), kPaymentsCaption)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    m_header = child::makeHeader(this);

    // The account, three figures to a row.
    auto* accountBox = new QGroupBox(this);
    auto* ag = new QGridLayout(accountBox);
    ag->setHorizontalSpacing(10);
    ag->setVerticalSpacing(4);
    int i = 0;
    for (const auto& [name, caption] : kAccountLabels) {
        QString title = QString::fromUtf8(caption);
        if (qstrcmp(name, "vahed_sum") == 0)
            title += QLatin1Char('\n') + kVahedSumNote;
        auto* value = child::groupedLabel(accountBox, name);
        value->setMinimumWidth(150);
        m_account.insert(QString::fromLatin1(name), value);
        const int row = i / 3, col = (i % 3) * 2;
        ag->addWidget(makeLabel(accountBox, title), row, col, Qt::AlignLeft | Qt::AlignVCenter);
        ag->addWidget(value, row, col + 1);
        ag->setColumnStretch(col + 1, 1);
        ++i;
    }
    m_account.value(QStringLiteral("mande"))->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));

    // The payment.
    const QString table = QStringLiteral("pardakht");
    pardakht_typ = child::pickList(this, "pardakht_typ", table);
    mablagh = child::amountField(this, "mablagh");
    mablagh_3harfi = child::groupedLabel(this, "mablagh_3harfi");
    num = child::textField(this, "num", table);
    vosol = child::amountField(this, "vosol");
    vosol_3harfi = child::groupedLabel(this, "vosol_3harfi");
    dat = makeDateEdit(this, QStringLiteral("dat"));
    bank = child::pickList(this, "bank", table);
    resid_no = child::textField(this, "resid_no", table);
    hesab_no = child::pickList(this, "hesab_no", table);
    norvad_bank = child::pickList(this, "norvad_bank", table);
    for (QLineEdit* e : {num, resid_no})
        e->setMinimumWidth(140);
    auto* Label5 = new ClickLabel(fieldCaption("dat"), QStringLiteral("Label5"), this);
    Label5->setCursor(Qt::PointingHandCursor);
    Label5->setToolTip(fieldCaption("dat"));

    auto* formBox = new QGroupBox(this);
    auto* g = new QGridLayout(formBox);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(6);
    const auto caption = [this, g](int row, int col, const char* column) {
        g->addWidget(makeLabel(this, fieldCaption(column)), row, col, Qt::AlignLeft | Qt::AlignVCenter);
    };
    const auto amount = [this](QLineEdit* field, QLabel* digits) {
        auto* box = new QHBoxLayout;
        box->setSpacing(6);
        box->addWidget(field);
        box->addWidget(digits);
        box->addWidget(makeLabel(this, kRial));
        box->addStretch();
        return box;
    };
    caption(0, 0, "pardakht_typ");
    g->addWidget(pardakht_typ, 0, 1);
    caption(0, 2, "mablagh");
    g->addLayout(amount(mablagh, mablagh_3harfi), 0, 3);
    caption(1, 0, "num");
    g->addWidget(num, 1, 1);
    caption(1, 2, "vosol");
    g->addLayout(amount(vosol, vosol_3harfi), 1, 3);
    g->addWidget(Label5, 2, 0, Qt::AlignLeft | Qt::AlignVCenter);
    g->addWidget(dat, 2, 1, Qt::AlignRight);
    caption(2, 2, "bank");
    g->addWidget(bank, 2, 3);
    caption(3, 0, "resid_no");
    g->addWidget(resid_no, 3, 1);
    caption(3, 2, "hesab_no");
    g->addWidget(hesab_no, 3, 3);
    caption(4, 0, "norvad_bank");
    g->addWidget(norvad_bank, 4, 1);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);

    ins_btn = makeButton(this, QStringLiteral("ins_btn"), kInsert);
    ins_btn->setMinimumSize(120, 30);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(kImportTip);
    SpeedButton1->setToolTip(kImportTip);
    SpeedButton1->setMinimumHeight(30);
    auto* note = makeLabel(this, kPaymentNote);
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #b00000;"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ins_btn);
    buttons->addWidget(SpeedButton1);
    buttons->addSpacing(12);
    buttons->addWidget(note, 1);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    QList<GridColumn> columns;
    for (const auto& [field, title] : kPaymentColumns) {
        const QString f = QString::fromLatin1(field);
        const bool money = f == QLatin1String("mablagh") || f == QLatin1String("vosol");
        columns << GridColumn {f, QString::fromUtf8(title), money ? ColumnKind::Money : ColumnKind::Text};
    }
    columns << GridColumn {QStringLiteral("id"), QStringLiteral("id"), ColumnKind::Number, true}
            << GridColumn {QStringLiteral("customer_id"), QStringLiteral("customer_id"), ColumnKind::Number, true};
    DBGrid1->listModel()->setColumns(columns);
    DBGrid1->horizontalHeader()->setDefaultSectionSize(125);
    DBGrid1->setMinimumHeight(160);
    const QList<QAction*> popup = child::gridPopup(DBGrid1, {{"N1", kDelete}, {"N2", kExcel}});
    N1 = popup[0];
    N2 = popup[1];

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(10, 8, 10, 8);
    top->addWidget(m_header.box);
    top->addWidget(accountBox);
    top->addWidget(formBox);
    top->addLayout(buttons);
    top->addWidget(DBGrid1, 1);
    resize(1180, 680);

    connect(mablagh, &QLineEdit::textChanged, this, [this] { child::showGrouped(mablagh_3harfi, mablagh->text()); });
    connect(vosol, &QLineEdit::textChanged, this, [this] { child::showGrouped(vosol_3harfi, vosol->text()); });
    connect(Label5, &ClickLabel::clicked, this, &Tpardakht_frm::Label5Click);
    connect(ins_btn, &QPushButton::clicked, this, &Tpardakht_frm::ins_btnClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &Tpardakht_frm::SpeedButton1Click);
    connect(N1, &QAction::triggered, this, &Tpardakht_frm::N1Click);
    connect(N2, &QAction::triggered, this, &Tpardakht_frm::N2Click);

    // Right to left, top to bottom.
    const QList<QWidget*> order {pardakht_typ, mablagh, num, vosol, dat, bank, resid_no, hesab_no, norvad_bank,
                                 ins_btn, SpeedButton1, DBGrid1};
    for (int k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);
}

void Tpardakht_frm::applyRights(const Rights& r)
{
    m_rights = r;
    ins_btn->setEnabled(r.darj);
    SpeedButton1->setEnabled(r.darj);
    N1->setEnabled(r.hazf);
}

void Tpardakht_frm::open(const applicants::ApplicantContext& c)
{
    m_customerId = c.customerId;
    m_ostan = text(c.customer.value(QStringLiteral("ostan")));
    m_changed = c.changed;
    applyRights(c.rights);
    m_header.show(c.customer);
    clearForm();
    fillLists();
    refresh();
    child::fitHeight(this, c.listHeight - 25);
    pardakht_typ->setFocus();
}

void Tpardakht_frm::fillLists()
{
    try {
        child::fillKeepingText(hesab_no, payments::accountNumbers(m_ostan));
        child::fillKeepingText(pardakht_typ, settingList(kSetPaymentKind));
        const QStringList banks = settingList(kSetBank);
        child::fillKeepingText(bank, banks);
        child::fillKeepingText(norvad_bank, banks);
    } catch (const DbError& e) {
        reportFailure(kListsFailed, e);
    }
}

void Tpardakht_frm::clearForm()
{
    for (QComboBox* c : {pardakht_typ, bank, hesab_no, norvad_bank})
        setComboText(c, QString());
    for (QLineEdit* e : {num, dat, resid_no})
        e->clear();
    mablagh->setText(QStringLiteral("0"));
    vosol->setText(QStringLiteral("0"));
}

void Tpardakht_frm::refresh()
{
    child::showList(DBGrid1, payments::paymentsQuery(m_customerId));
    showAccount();
}

void Tpardakht_frm::showAccount()
{
    std::optional<payments::Account> a;
    try {
        a = payments::account(m_customerId);
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
    }
    const auto set = [this](const char* name, std::optional<qint64> v) {
        m_account.value(QString::fromLatin1(name))->setText(v ? formatAmount(*v) : QString());
    };
    set("mablagh_vahed", a ? std::optional(a->mablaghVahed) : std::nullopt);
    set("anbari_mablagh", a ? std::optional(a->anbari) : std::nullopt);
    set("parking_mablagh", a ? std::optional(a->parking) : std::nullopt);
    set("takhfif", a ? std::optional(a->takhfif) : std::nullopt);
    set("vam", a ? std::optional(a->vam) : std::nullopt);
    set("vahed_sum", a ? std::optional(a->vahedSum()) : std::nullopt);
    set("mablagh_sum", a ? std::optional(a->mablaghSum) : std::nullopt);
    set("vosol_sum", a ? std::optional(a->vosolSum) : std::nullopt);
    set("mande", a ? std::optional(a->mande()) : std::nullopt);
}

payments::PaymentForm Tpardakht_frm::form() const
{
    payments::PaymentForm f;
    f.pardakht_typ = pardakht_typ->currentText();
    f.mablagh = mablagh->text();
    f.num = num->text();
    f.vosol = vosol->text();
    // A masked date's display text is the empty date mask when nothing was typed.
    f.dat = dat->displayText();
    f.bank = bank->currentText();
    f.resid_no = resid_no->text();
    f.hesab_no = hesab_no->currentText();
    f.norvad_bank = norvad_bank->currentText();
    return f;
}

void Tpardakht_frm::showForm(const payments::PaymentForm& f)
{
    setComboText(pardakht_typ, f.pardakht_typ);
    mablagh->setText(f.mablagh);
    num->setText(f.num);
    vosol->setText(f.vosol);
    dat->setText(f.dat);
    setComboText(bank, f.bank);
    resid_no->setText(f.resid_no);
    setComboText(hesab_no, f.hesab_no);
    setComboText(norvad_bank, f.norvad_bank);
}

void Tpardakht_frm::focusField(const QString& name)
{
    if (name.isEmpty())
        return;
    if (auto* w = findChild<QWidget*>(name))
        w->setFocus();
}

void Tpardakht_frm::ins_btnClick()
{
    if (!m_rights.darj || m_customerId <= 0)
        return;
    Outcome r;
    try {
        r = payments::addPayment(m_customerId, form());
    } catch (const DbError& e) {
        reportFailure(kPaymentSaveFailed, e);
        return;
    }
    r.show();
    if (!r.done) {
        focusField(r.focus);
        return;
    }
    // The fields keep their values, for the next instalment of the same kind.
    refresh();
    m_changed();
}

void Tpardakht_frm::N1Click()
{
    if (!m_rights.hazf)
        return;
    const QSqlRecord row = DBGrid1->currentRecord();
    if (row.isEmpty())
        return;
    // The values go back into the fields, so that a payment deleted by mistake is saved again with "ثبت".
    showForm(payments::formOf(row));
    Outcome r;
    try {
        r = payments::deletePayment(m_customerId, items::recordId(row));
    } catch (const DbError& e) {
        reportFailure(kPaymentDeleteFailed, e);
        return;
    }
    r.show();
    refresh();
    m_changed();
}

void Tpardakht_frm::N2Click()
{
    const ListModel* m = DBGrid1->listModel();
    if (m->query().isEmpty())
        return;
    exportListToExcel(QStringLiteral("pardakht"), *m, payments::paymentExcelHeaders());
}

void Tpardakht_frm::SpeedButton1Click()
{
    if (!m_rights.darj || m_customerId <= 0)
        return;
    payments::ImportResult r;
    try {
        r = payments::importDeposits(m_customerId);
    } catch (const DbError& e) {
        reportFailure(kImportFailed, e);
        return;
    }
    r.result.show();
    if (r.result.done) {
        refresh();
        m_changed();
    }
}

void Tpardakht_frm::Label5Click()
{
    dat->clear();
}

void Tpardakht_frm::keyPressEvent(QKeyEvent* e)
{
    // Enter saves as "ثبت" does, except in the list of payments.
    if (child::isEnter(e) && !child::inside(focusWidget(), DBGrid1)) {
        if (ins_btn->isEnabled())
            ins_btnClick();
        return;
    }
    TWindow::keyPressEvent(e);
}

} // namespace tavrin
