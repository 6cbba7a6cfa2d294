#include "setting_city_u.h"

#include "setting_ost_u.h"
#include "reftexts.h"
#include "refmessages.h"

#include "common/dialogs.h"
#include "common/lookups.h"
#include "db/database.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>

namespace tavrin {

Tsetting_city::Tsetting_city()
    : SettingsWindow(QStringLiteral("Tsetting_city"), reftext::kSettingCityCaption, SettingTable::County)
{
    auto* top = new QGridLayout;
    ostan = makeCombo(this, QStringLiteral("ostan"), false);
    shahrestan = makeCombo(this, QStringLiteral("shahrestan"), false);
    top->addWidget(makeLabel(this, reftext::kOstan), 0, 0);
    top->addWidget(ostan, 0, 1);
    top->addWidget(makeLabel(this, reftext::kShahrestan), 1, 0);
    top->addWidget(shahrestan, 1, 1);
    connect(ostan, &QComboBox::currentIndexChanged, this, &Tsetting_city::ostanChange);
    connect(shahrestan, &QComboBox::currentIndexChanged, this, &Tsetting_city::shahrestanChange);
    build(top);
    resize(820, 500);
}

SettingPlace Tsetting_city::place() const
{
    return SettingPlace{SettingTable::County, ostan->currentText(), shahrestan->currentText()};
}

void Tsetting_city::prepareToShow()
{
    component->setCurrentIndex(-1);
    cmt->clear();
    fillCombo(shahrestan, {});
    m_model->removeRows(0, m_model->rowCount());
    m_rows.clear();
    fillProvinceChoice(ostan);
    if (!ostan->isEnabled())
        ostanChange();
}

void Tsetting_city::ostanChange()
{
    QStringList list;
    if (!ostan->currentText().isEmpty()) {
        try {
            list = counties(ostan->currentText());
        } catch (const DbError& e) {
            failed(refmsg::kReadFailed, e);
        }
    }
    fillCombo(shahrestan, list);
    m_model->removeRows(0, m_model->rowCount());
    m_rows.clear();
}

void Tsetting_city::shahrestanChange()
{
    if (shahrestan->currentIndex() < 0)
        return;
    showRows(QString());
}

void Tsetting_city::ins_btnClick()
{
    if (!ins_btn->isEnabled())
        return;
    // Three independent checks, each with its own message.
    bool ok = true;
    if (cmt->text().trimmed().isEmpty()) {
        dialogs().warning(reftext::kEmptyCmtCity);
        ok = false;
    }
    if (ostan->currentText().isEmpty()) {
        dialogs().warning(reftext::kEmptyOstan);
        ok = false;
    }
    if (shahrestan->currentText().isEmpty()) {
        dialogs().warning(reftext::kEmptyShahrestan);
        ok = false;
    }
    if (ok && component->currentIndex() < 0) {
        dialogs().warning(refmsg::kNoKey);
        ok = false;
    }
    if (!ok)
        return;
    insertFromFields();
}

} // namespace tavrin
