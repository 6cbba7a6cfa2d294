#include "setting_ost_u.h"

#include "reftexts.h"
#include "refmessages.h"

#include "common/dialogs.h"
#include "common/lookups.h"
#include "common/session.h"
#include "db/database.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tavrin {

void fillProvinceChoice(QComboBox* ostan)
{
    QStringList list;
    try {
        list = provinces();
    } catch (const DbError& e) {
        reportFailure(refmsg::kReadFailed, e);
    }
    fillCombo(ostan, list);
    if (session().isProvincialOrCounty()) {
        const QSignalBlocker block(ostan);
        int i = ostan->findText(session().ostan);
        if (i < 0 && !session().ostan.isEmpty()) {
            ostan->addItem(session().ostan);
            i = ostan->count() - 1;
        }
        ostan->setCurrentIndex(i);
        ostan->setEnabled(false);
    } else {
        ostan->setEnabled(true);
    }
}

Tsetting_ost::Tsetting_ost()
    : SettingsWindow(QStringLiteral("Tsetting_ost"), reftext::kSettingOstCaption, SettingTable::Province)
{
    auto* top = new QGridLayout;
    ostan = makeCombo(this, QStringLiteral("ostan"), false);
    top->addWidget(makeLabel(this, reftext::kOstan), 0, 0);
    top->addWidget(ostan, 0, 1);
    connect(ostan, &QComboBox::currentIndexChanged, this, &Tsetting_ost::ostanChange);
    build(top);
}

SettingPlace Tsetting_ost::place() const
{
    return SettingPlace{SettingTable::Province, ostan->currentText(), {}};
}

void Tsetting_ost::prepareToShow()
{
    fillProvinceChoice(ostan);
    // Only the key is cleared on opening; the value field keeps its text.
    component->setCurrentIndex(-1);
}

void Tsetting_ost::ostanChange()
{
    componentChange();
}

void Tsetting_ost::ins_btnClick()
{
    if (!ins_btn->isEnabled())
        return;
    if (cmt->text().trimmed().isEmpty()) {
        dialogs().warning(reftext::kEmptyValue);
        cmt->setFocus();
        return;
    }
    if (ostan->currentText().isEmpty()) {
        dialogs().warning(reftext::kEmptyOstan);
        ostan->setFocus();
        return;
    }
    if (component->currentIndex() < 0) {
        dialogs().warning(refmsg::kNoKey);
        component->setFocus();
        return;
    }
    if (insertFromFields())
        dialogs().information(reftext::kSaved);
}

} // namespace tavrin
