#include "setting_u.h"

#include "reftexts.h"
#include "refmessages.h"

#include "common/dialogs.h"
#include "db/database.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>

namespace tavrin {

Tsetting::Tsetting() : SettingsWindow(QStringLiteral("Tsetting"), reftext::kSettingCaption, SettingTable::General)
{
    auto* top = new QGridLayout;
    build(top);
    auto* note = makeLabel(this, reftext::kDefaultNote, QStringLiteral("Label3"));
    note->setStyleSheet(QStringLiteral("color: #a51d2d;"));
    sabt_cod = makeLabel(this, QString(), QStringLiteral("sabt_cod"));
    sabt_cod->setStyleSheet(QStringLiteral("font-weight: bold;"));
    sabt_cod->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(makeLabel(this, reftext::kSabtCodKey));
    codeRow->addWidget(sabt_cod);
    codeRow->addStretch(1);
    const int r = top->rowCount();
    top->addWidget(note, r, 0, 1, 3);
    top->addLayout(codeRow, r + 1, 0, 1, 3);
}

void Tsetting::prepareToShow()
{
    // Only the key is cleared on opening; the value field keeps its text.
    component->setCurrentIndex(-1);
    registrationCodeChanged();
}

void Tsetting::registrationCodeChanged()
{
    try {
        sabt_cod->setText(refreshSabtCod());
    } catch (const DbError& e) {
        failed(refmsg::kReadFailed, e);
    }
}

void Tsetting::ins_btnClick()
{
    if (!ins_btn->isEnabled())
        return;
    if (cmt->text().trimmed().isEmpty()) {
        dialogs().warning(reftext::kEmptyValue);
        cmt->setFocus();
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
