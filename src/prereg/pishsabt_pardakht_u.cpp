#include "prereg/pishsabt_pardakht_u.h"

#include "prereg/pishsabt_logic.h"
#include "prereg/prereg_texts.h"

#include "common/dialogs.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/monedit.h"
#include "common/nationcode.h"
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

namespace tavrin {

using namespace prereg;
using namespace preregtext;

namespace {

const QString kTable = QStringLiteral("pishpardakht");

QLabel* valueLabel(QWidget* parent, const QString& name, int minWidth = 0)
{
    QLabel* l = makeLabel(parent, QString(), name);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    if (minWidth)
        l->setMinimumWidth(minWidth);
    return l;
}

// An amount label reads left to right and stands against the right edge.
QLabel* amountLabel(QWidget* parent, const QString& name)
{
    QLabel* l = valueLabel(parent, name, 130);
    l->setLayoutDirection(Qt::LeftToRight);
    l->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    return l;
}

} // namespace

Tpishsabt_pardakht::Tpishsabt_pardakht() : TWindow(QStringLiteral("Tpishsabt_pardakht"), kPardakhtCaption)
{
    // The person.
    ostan = valueLabel(this, QStringLiteral("ostan"), 90);
    shahrestan = valueLabel(this, QStringLiteral("shahrestan"), 90);
    flname = valueLabel(this, QStringLiteral("flname"), 160);
    auto* person = new QHBoxLayout;
    for (const auto& [caption, value] : {std::pair<QString, QLabel*> {kPersonOstan, ostan},
                                         {kPersonShahrestan, shahrestan}, {kPersonName, flname}}) {
        person->addWidget(makeLabel(this, caption));
        person->addWidget(value);
        person->addSpacing(24);
    }
    person->addStretch();

    // The entry fields, three to a row, right to left.
    auto* entry = new QGroupBox(this);
    auto* grid = new QGridLayout(entry);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    mablagh_3harfi = amountLabel(entry, QStringLiteral("mablagh_3harfi"));
    vosol_3harfi = amountLabel(entry, QStringLiteral("vosol_3harfi"));
    int i = 0;
    for (const Field& f : kDepositFields) {
        const int length = columnLength(kTable, f.column);
        QWidget* w;
        if (f.column == QLatin1String("pardakht_typ") || f.column == QLatin1String("hesab_no") ||
            f.column == QLatin1String("norvad_bank")) {
            QComboBox* c = makeCombo(entry, f.name);
            c->lineEdit()->setMaxLength(length);
            w = c;
        } else if (f.column == QLatin1String("dat")) {
            w = makeDateEdit(entry, f.name);
        } else {
            QLineEdit* e = makeEdit(entry, f.name, length);
            if (f.column == QLatin1String("mablagh") || f.column == QLatin1String("vosol")) {
                // Long enough that a pasted amount is refused whole rather than cut.
                e->setMaxLength(kAmountFieldLength);
                alignDigitField(e);
            }
            w = e;
        }
        w->setMinimumWidth(170);
        m_fields.insert(f.column, w);
        const int row = (i / 3) * 2;
        const int column = (i % 3) * 2;
        QWidget* caption = makeLabel(entry, f.caption);
        if (f.column == QLatin1String("mablagh") || f.column == QLatin1String("vosol")) {
            // The caption, then the unit, one above the other.
            auto* box = new QWidget(entry);
            auto* v = new QVBoxLayout(box);
            v->setContentsMargins(0, 0, 0, 0);
            v->setSpacing(0);
            v->addWidget(caption);
            v->addWidget(makeLabel(box, kRialNote));
            caption = box;
            grid->addWidget(f.column == QLatin1String("mablagh") ? mablagh_3harfi : vosol_3harfi, row + 1, column + 1);
        }
        grid->addWidget(caption, row, column, Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(w, row, column + 1);
        ++i;
    }
    for (int c = 1; c < 6; c += 2)
        grid->setColumnStretch(c, 1);
    pardakht_typ = static_cast<QComboBox*>(field(QStringLiteral("pardakht_typ")));
    hesab_no = static_cast<QComboBox*>(field(QStringLiteral("hesab_no")));
    norvad_bank = static_cast<QComboBox*>(field(QStringLiteral("norvad_bank")));
    mablagh = static_cast<QLineEdit*>(field(QStringLiteral("mablagh")));
    vosol = static_cast<QLineEdit*>(field(QStringLiteral("vosol")));

    ins_btn = makeButton(this, QStringLiteral("ins_btn"), kInsert);
    ins_btn->setMinimumWidth(140);
    // Enter in any field saves the deposit.
    setSaveButtons({ins_btn});
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ins_btn);
    buttons->addStretch();

    // The person's deposits.
    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    QList<GridColumn> columns;
    for (const auto& [name, caption] : kDepositColumns) {
        const bool money = name == QLatin1String("mablagh") || name == QLatin1String("vosol");
        columns << GridColumn {name, caption, money ? ColumnKind::Money : ColumnKind::Text};
    }
    columns << GridColumn {QStringLiteral("id"), QStringLiteral("id"), ColumnKind::Number, true}
            << GridColumn {QStringLiteral("pishsabt_id"), QStringLiteral("pishsabt_id"), ColumnKind::Number, true};
    DBGrid1->listModel()->setColumns(columns);
    DBGrid1->horizontalHeader()->setDefaultSectionSize(110);
    DBGrid1->sizeColumnsOnFirstRows(200);
    // The remarks take the rest of the width.
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* popup = new QMenu(DBGrid1);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = popup->addAction(kDepositN1);
    N1->setObjectName(QStringLiteral("N1"));
    N2 = popup->addAction(kDepositN2);
    N2->setObjectName(QStringLiteral("N2"));
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this, popup](const QPoint& at) { popup->popup(DBGrid1->viewport()->mapToGlobal(at)); });

    // The totals.
    mablagh_sum = amountLabel(this, QStringLiteral("mablagh_sum"));
    vosol_sum = amountLabel(this, QStringLiteral("vosol_sum"));
    mande = amountLabel(this, QStringLiteral("mande"));
    auto* totals = new QHBoxLayout;
    for (const auto& [caption, value] : {std::pair<QString, QLabel*> {kDepositSum, mablagh_sum},
                                         {kVosolSum, vosol_sum}, {kBalance, mande}}) {
        totals->addWidget(makeLabel(this, caption));
        totals->addWidget(value);
        totals->addSpacing(24);
    }
    totals->addStretch();

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(10, 8, 10, 8);
    top->addLayout(person);
    top->addWidget(entry);
    top->addLayout(buttons);
    top->addWidget(DBGrid1, 1);
    top->addLayout(totals);
    resize(1100, 640);

    QWidget* previous = nullptr;
    for (const Field& f : kDepositFields) {
        if (previous)
            setTabOrder(previous, field(f.column));
        previous = field(f.column);
    }
    setTabOrder(previous, ins_btn);

    connect(mablagh, &QLineEdit::textChanged, this, [this](const QString& t) { mablagh_3harfi->setText(echoAmount(t)); });
    connect(vosol, &QLineEdit::textChanged, this, [this](const QString& t) { vosol_3harfi->setText(echoAmount(t)); });
    connect(ins_btn, &QPushButton::clicked, this, &Tpishsabt_pardakht::ins_btnClick);
    connect(N1, &QAction::triggered, this, &Tpishsabt_pardakht::N1Click);
    connect(N2, &QAction::triggered, this, &Tpishsabt_pardakht::N2Click);
}

void Tpishsabt_pardakht::applyRights(const Rights& pardakht)
{
    ins_btn->setEnabled(pardakht.darj);
    N1->setEnabled(pardakht.hazf);
}

DepositValues Tpishsabt_pardakht::values() const
{
    DepositValues v;
    for (const QString& c : depositColumns()) {
        QWidget* w = field(c);
        if (auto* date = qobject_cast<TDateEdit*>(w))
            v.insert(c, date->dateText());
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            v.insert(c, combo->currentText());
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            v.insert(c, edit->text());
    }
    return v;
}

void Tpishsabt_pardakht::setValues(const DepositValues& v)
{
    for (const QString& c : depositColumns()) {
        QWidget* w = field(c);
        if (auto* combo = qobject_cast<QComboBox*>(w))
            combo->setEditText(v.value(c));
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->setText(v.value(c));
    }
}

void Tpishsabt_pardakht::preparePerson(const QSqlRecord& person)
{
    m_person = person.value(QStringLiteral("id")).toLongLong();
    m_ostan = text(person.value(QStringLiteral("ostan")));
    ostan->setText(m_ostan);
    shahrestan->setText(text(person.value(QStringLiteral("shahrestan"))));
    flname->setText(text(person.value(QStringLiteral("fname"))) + ' ' + text(person.value(QStringLiteral("lname"))));
    fillCombo(hesab_no, settingListOst(m_ostan, kSettingAccount));
    fillCombo(pardakht_typ, settingList(kSettingPaymentWay));
    fillCombo(norvad_bank, settingList(kSettingBank));
    DepositValues v;
    for (const QString& c : depositColumns())
        v.insert(c, QString());
    v[QStringLiteral("mablagh")] = QStringLiteral("0");
    v[QStringLiteral("vosol")] = QStringLiteral("0");
    setValues(v);
    DBGrid1->listModel()->setQuery(depositsQuery(m_person));
    refreshTotals();
    pardakht_typ->setFocus();
}

void Tpishsabt_pardakht::refreshTotals()
{
    DepositTotals t;
    try {
        t = depositTotals(m_person);
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
        return;
    }
    mablagh_sum->setText(t.mablaghSum);
    vosol_sum->setText(t.vosolSum);
    mande->setText(t.mande);
}

void Tpishsabt_pardakht::refreshList()
{
    try {
        DBGrid1->listModel()->refresh();
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
    }
    refreshTotals();
}

void Tpishsabt_pardakht::ins_btnClick()
{
    if (!ins_btn->isEnabled())
        return;
    DepositValues v = values();
    Outcome r;
    try {
        r = insertDeposit(m_person, v);
    } catch (const DbError& e) {
        reportFailure(kDepositSaveFailed, e);
        return;
    }
    if (!r.done) {
        dialogs().error(r.message());
        if (r.gone) {
            Q_EMIT personGone();
            reject();
            return;
        }
        if (QWidget* w = field(r.focus))
            w->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The fields keep their values for the next, similar deposit.
    refreshList();
}

void Tpishsabt_pardakht::N1Click()
{
    if (!N1->isEnabled())
        return;
    const QSqlRecord deposit = DBGrid1->currentRecord();
    if (deposit.isEmpty())
        return;
    std::optional<DepositValues> v;
    try {
        v = deleteDeposit(deposit.value(QStringLiteral("id")).toLongLong());
    } catch (const DbError& e) {
        reportFailure(kDepositDeleteFailed, e);
        return;
    }
    // What was deleted is back in the fields, so that "ثبت" restores it.
    setValues(v ? *v : depositValuesOf(deposit));
    refreshList();
}

void Tpishsabt_pardakht::N2Click()
{
    const ListModel* m = DBGrid1->listModel();
    exportListToExcel(QStringLiteral("pishpardakht"), *m, depositExcelHeaders());
}

} // namespace tavrin

#include "moc_pishsabt_pardakht_u.cpp"
