#include "prereg/pishsabt_ins_u.h"

#include "prereg/prereg_texts.h"

#include "common/dialogs.h"
#include "common/jalali.h"
#include "common/lookups.h"
#include "common/nationcode.h"
#include "common/stale.h"
#include "db/database.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

using namespace prereg;
using namespace preregtext;

namespace {

const QString kPishsabtTable = QStringLiteral("pishsabt");

// Drop-downs of the form, by column; every other field is a line edit.
bool isPickList(const QString& column)
{
    static const QStringList lists {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("taahol"),
                                    QStringLiteral("gender"), QStringLiteral("job"), QStringLiteral("moaref"),
                                    QStringLiteral("sana"), QStringLiteral("bank")};
    return lists.contains(column);
}

// Refills a pick list and keeps what is typed in it.
void refill(QComboBox* c, const QStringList& items)
{
    const QString typed = c->currentText();
    fillCombo(c, items);
    setComboText(c, typed);
}

} // namespace

Tpishsabt_ins::Tpishsabt_ins() : TWindow(QStringLiteral("Tpishsabt_ins"), kInsCaption)
{
    // Pairs of fields, right then left, in the order of the tab key.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    int i = 0;
    for (const Field& f : kFields) {
        QWidget* w = nullptr;
        const int length = columnLength(kPishsabtTable, f.column);
        if (isPickList(f.column)) {
            QComboBox* c = makeCombo(this, f.name);
            c->lineEdit()->setMaxLength(length);
            w = c;
        } else {
            QLineEdit* e = dateColumns().contains(f.column) ? makeDateEdit(this, f.name) : makeEdit(this, f.name, length);
            if (f.column == QLatin1String("nation")) {
                installDigitFilter(e);
                e->setMaximumWidth(130);
                checkNationCodeOnExit(e);
            } else if (f.column == QLatin1String("phone") || f.column == QLatin1String("mobile") ||
                       f.column == QLatin1String("hesab_no")) {
                // Numbers read from the right edge like the other digit fields.
                alignDigitField(e);
            }
            w = e;
        }
        w->setMinimumWidth(f.column == QLatin1String("adr") || f.column == QLatin1String("job_adr") ||
                                   f.column == QLatin1String("cmt")
                               ? 300
                               : 220);
        m_fields.insert(f.column, w);
        const int row = i / 2;
        const int side = i % 2;
        grid->addWidget(makeLabel(this, f.caption), row, side * 2, Qt::AlignLeft | Qt::AlignVCenter);
        if (w->maximumWidth() < 1000) {
            auto* box = new QHBoxLayout;
            box->addWidget(w);
            box->addStretch();
            grid->addLayout(box, row, side * 2 + 1);
        } else {
            grid->addWidget(w, row, side * 2 + 1);
        }
        ++i;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnMinimumWidth(2, 110);
    ostan = static_cast<QComboBox*>(field(QStringLiteral("ostan")));
    shahrestan = static_cast<QComboBox*>(field(QStringLiteral("shahrestan")));
    fillCombo(static_cast<QComboBox*>(field(QStringLiteral("taahol"))), kMaritalStates);
    fillCombo(static_cast<QComboBox*>(field(QStringLiteral("gender"))), kGenders);
    fillCombo(static_cast<QComboBox*>(field(QStringLiteral("sana"))), kSanaStates);

    ins_btn = makeButton(this, QStringLiteral("ins_btn"), kInsert);
    edit_btn = makeButton(this, QStringLiteral("edit_btn"), kEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {ins_btn, edit_btn}) {
        b->setMinimumWidth(140);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    // Enter in any field saves, as the visible button does.
    setSaveButtons({ins_btn, edit_btn});

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(16, 14, 16, 14);
    top->setSpacing(14);
    top->addLayout(grid);
    top->addLayout(buttons);

    // Tab order: the form's order, right to left and top to bottom.
    QWidget* previous = nullptr;
    for (const Field& f : kFields) {
        QWidget* w = field(f.column);
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
    setTabOrder(previous, ins_btn);
    setTabOrder(ins_btn, edit_btn);

    connect(ostan, &QComboBox::currentTextChanged, this, &Tpishsabt_ins::ostanChange);
    connect(ins_btn, &QPushButton::clicked, this, &Tpishsabt_ins::ins_btnClick);
    connect(edit_btn, &QPushButton::clicked, this, &Tpishsabt_ins::edit_btnClick);
}

PersonValues Tpishsabt_ins::values() const
{
    PersonValues v;
    for (const QString& c : formColumns()) {
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

void Tpishsabt_ins::setValues(const PersonValues& v)
{
    for (const QString& c : formColumns()) {
        QWidget* w = field(c);
        if (auto* combo = qobject_cast<QComboBox*>(w))
            setComboText(combo, v.value(c));
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->setText(v.value(c));
    }
}

void Tpishsabt_ins::fillLists()
{
    try {
        refill(ostan, provinces());
        refill(static_cast<QComboBox*>(field(QStringLiteral("job"))), settingList(kSettingJob));
        refill(static_cast<QComboBox*>(field(QStringLiteral("moaref"))), settingList(kSettingReferrer));
        refill(static_cast<QComboBox*>(field(QStringLiteral("bank"))), settingList(kSettingBank));
    } catch (const DbError&) {
        // The lists stay as they were; every field can still be typed.
    }
}

void Tpishsabt_ins::useSaveButton(QPushButton* b)
{
    ins_btn->setVisible(b == ins_btn);
    edit_btn->setVisible(b == edit_btn);
}

void Tpishsabt_ins::prepareNew()
{
    m_id = 0;
    m_before.clear();
    PersonValues v;
    for (const QString& c : formColumns())
        v.insert(c, QString());
    v[QStringLiteral("reg_dat")] = jalali::today();
    setValues(v);
    fillCombo(shahrestan, {});
    fillLists();
    useSaveButton(ins_btn);
    ostan->setFocus();
}

void Tpishsabt_ins::prepareEdit(const QSqlRecord& person)
{
    m_id = person.value(QStringLiteral("id")).toLongLong();
    const PersonValues v = valuesOf(person);
    m_before = v;
    setValues(v);
    fillLists();
    try {
        refill(shahrestan, counties(v.value(QStringLiteral("ostan"))));
    } catch (const DbError&) {
    }
    useSaveButton(edit_btn);
    ostan->setFocus();
}

void Tpishsabt_ins::ostanChange()
{
    try {
        fillCombo(shahrestan, counties(ostan->currentText()));
    } catch (const DbError&) {
    }
}

void Tpishsabt_ins::showRefusal(const Outcome& r)
{
    dialogs().error(r.message());
    if (QWidget* w = field(r.focus))
        w->setFocus(Qt::OtherFocusReason);
}

void Tpishsabt_ins::ins_btnClick()
{
    PersonValues v = values();
    Outcome r;
    try {
        r = insertPerson(v, askWarning());
    } catch (const DbError& e) {
        reportFailure(kSaveFailed, e);
        return;
    }
    if (!r.done) {
        if (r.refused())
            showRefusal(r);
        return;
    }
    setValues(v);  // the dates and the code as stored
    dialogs().information(kSaved);
    Q_EMIT saved(r.id);
}

void Tpishsabt_ins::edit_btnClick()
{
    PersonValues v = values();
    Outcome r;
    try {
        r = updatePerson(m_id, m_before, v);
    } catch (const DbError& e) {
        reportFailure(kSaveFailed, e);
        return;
    }
    if (r.changedByOther) {
        askToReload(r.message());
        return;
    }
    if (r.gone) {
        dialogs().error(r.message());
        Q_EMIT gone();
        reject();
        return;
    }
    if (!r.done) {
        showRefusal(r);
        return;
    }
    Q_EMIT saved(r.id);
    accept();
}

void Tpishsabt_ins::askToReload(const QString& message)
{
    if (!offerReload(message))
        return;
    std::optional<QSqlRecord> person;
    try {
        person = dm().firstRow(QStringLiteral("select * from pishsabt where id=?"), {m_id});
    } catch (const DbError& e) {
        reportFailure(kSaveFailed, e);
        return;
    }
    if (!person) {
        dialogs().error(kPersonGone);
        Q_EMIT gone();
        reject();
        return;
    }
    prepareEdit(*person);
}

} // namespace tavrin

#include "moc_pishsabt_ins_u.cpp"
