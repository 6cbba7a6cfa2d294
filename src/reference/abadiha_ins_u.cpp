#include "abadiha_ins_u.h"

#include "reftexts.h"
#include "refmessages.h"
#include "settings.h"

#include "common/dialogs.h"
#include "db/database.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

Tabadiha_ins::Tabadiha_ins() : TWindow(QStringLiteral("Tabadiha_ins"), reftext::kAbadihaInsCaption)
{
    const QStringList names = divisionColumns();
    const QStringList captions = {reftext::kOstan,    reftext::kShahrestan, reftext::kShahr, reftext::kBakhsh,
                                  reftext::kDehestan, reftext::kRosta,      reftext::kCodAbadi};
    auto* grid = new QGridLayout;
    QList<QComboBox*> combos;
    for (int i = 0; i < names.size(); ++i) {
        QComboBox* c = makeCombo(this, names[i], true);
        c->lineEdit()->setMaxLength(columnLength(QStringLiteral("abadiha"), names[i]));
        c->setMinimumWidth(280);
        grid->addWidget(makeLabel(this, captions[i]), i, 0);
        grid->addWidget(c, i, 1);
        combos << c;
        if (i < names.size() - 1)
            connect(c, &QComboBox::editTextChanged, this, [this, i] { levelChanged(i); });
    }
    ostan = combos[0];
    shahrestan = combos[1];
    shahr = combos[2];
    bakhsh = combos[3];
    dehestan = combos[4];
    rosta = combos[5];
    cod = combos[6];
    cod->lineEdit()->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    ins_btn = makeButton(this, QStringLiteral("ins_btn"), reftext::kSabt);
    edit_btn = makeButton(this, QStringLiteral("edit_btn"), reftext::kVirayesh);
    connect(ins_btn, &QPushButton::clicked, this, &Tabadiha_ins::ins_btnClick);
    connect(edit_btn, &QPushButton::clicked, this, &Tabadiha_ins::edit_btnClick);
    setSaveButtons({ins_btn, edit_btn});
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ins_btn);
    buttons->addWidget(edit_btn);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addStretch(1);
    outer->addLayout(buttons);
    resize(440, 330);
}

QList<QComboBox*> Tabadiha_ins::levels() const
{
    return {ostan, shahrestan, shahr, bakhsh, dehestan, rosta, cod};
}

void Tabadiha_ins::fillLevel(int level)
{
    const QList<QComboBox*> l = levels();
    const QStringList cols = divisionColumns();
    QStringList items;
    try {
        if (level == 0) {
            items = dm().textColumn(QStringLiteral("select distinct ostan from abadiha order by ostan"));
        } else {
            QStringList cond;
            QVariantList values;
            for (int i = 0; i < level; ++i) {
                cond << cols[i] + QStringLiteral("=?");
                values << l[i]->currentText();
            }
            items = dm().textColumn(QStringLiteral("select distinct ") + cols[level] + QStringLiteral(" from abadiha where ") +
                                        cond.join(QStringLiteral(" and ")) + QStringLiteral(" order by ") + cols[level],
                                    values);
        }
    } catch (const DbError& e) {
        reportFailure(refmsg::kReadFailed, e);
    }
    QComboBox* c = l[level];
    const QSignalBlocker block(c);
    const QString typed = c->currentText();
    c->clear();
    c->addItems(items);
    c->setEditText(typed);
}

void Tabadiha_ins::levelChanged(int level)
{
    // The next list follows the value above it; the ones further down wait for theirs.
    const QList<QComboBox*> l = levels();
    fillLevel(level + 1);
    for (int i = level + 2; i < l.size(); ++i) {
        const QSignalBlocker block(l[i]);
        const QString typed = l[i]->currentText();
        l[i]->clear();
        l[i]->setEditText(typed);
    }
}

void Tabadiha_ins::startInsert()
{
    m_id = 0;
    m_oldCod.clear();
    for (QComboBox* c : levels()) {
        const QSignalBlocker block(c);
        c->clear();
        c->setEditText(QString());
    }
    fillLevel(0);
    ins_btn->setVisible(true);
    edit_btn->setVisible(false);
}

void Tabadiha_ins::startEdit(const Division& d)
{
    m_id = d.id;
    m_oldCod = d.cod;
    const QList<QComboBox*> l = levels();
    const QStringList v = d.values();
    for (int i = 0; i < l.size(); ++i) {
        const QSignalBlocker block(l[i]);
        l[i]->clear();
        l[i]->setEditText(v[i]);
    }
    for (int i = 0; i < l.size(); ++i)
        fillLevel(i);
    ins_btn->setVisible(false);
    edit_btn->setVisible(true);
}

Division Tabadiha_ins::fields() const
{
    QStringList v;
    for (QComboBox* c : levels())
        v << c->currentText().trimmed();
    Division d = Division::fromValues(v);
    d.id = m_id;
    return d;
}

bool Tabadiha_ins::checkFields()
{
    const Division d = fields();
    if (d.ostan.isEmpty()) {
        dialogs().warning(reftext::kEmptyOstan);
        ostan->setFocus();
        return false;
    }
    if (d.shahrestan.isEmpty()) {
        dialogs().warning(reftext::kEmptyShahrestan);
        shahrestan->setFocus();
        return false;
    }
    if (d.cod.isEmpty()) {
        dialogs().warning(refmsg::kEmptyCod);
        cod->setFocus();
        return false;
    }
    return true;
}

void Tabadiha_ins::ins_btnClick()
{
    if (!checkFields())
        return;
    DivisionSave r;
    FieldRefusal tooLong;
    try {
        r = insertDivision(fields(), &tooLong);
    } catch (const DbError& e) {
        reportFailure(refmsg::kSaveFailed, e);
        return;
    }
    switch (r) {
    case DivisionSave::DuplicatePlace: dialogs().warning(reftext::kDupAll); return;
    case DivisionSave::DuplicateCode: dialogs().warning(reftext::kDupCod); return;
    case DivisionSave::TooLong: showRefusal(tooLong); return;
    default: break;
    }
    dialogs().information(reftext::kSaved);
    fillLevel(0);
}

void Tabadiha_ins::showRefusal(const FieldRefusal& r)
{
    dialogs().warning(r.message);
    if (QWidget* w = findChild<QWidget*>(r.field))
        w->setFocus();
}

void Tabadiha_ins::edit_btnClick()
{
    if (m_id == 0 || !checkFields())
        return;
    DivisionSave r;
    FieldRefusal tooLong;
    try {
        r = updateDivision(fields(), m_oldCod, &tooLong);
    } catch (const DbError& e) {
        reportFailure(refmsg::kEditFailed, e);
        return;
    }
    if (r == DivisionSave::TooLong) {
        showRefusal(tooLong);
        return;
    }
    if (r == DivisionSave::DuplicateCode) {
        dialogs().warning(reftext::kDupCodEdit);
        cod->setFocus();
        return;
    }
    if (r == DivisionSave::Vanished) {
        dialogs().warning(refmsg::kEditFailed);
        return;
    }
    accept();
}


} // namespace tavrin
