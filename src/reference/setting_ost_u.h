#pragma once
// Provincial settings "تنظيمات استاني" (table setting_ost): the values printed
// on a province's documents.  Users of level "city" and "ostan" work on their
// own province only.
#include "settingsform.h"

namespace tavrin {

class Tsetting_ost : public SettingsWindow {
    Q_OBJECT
public:
    Tsetting_ost();

    QComboBox* ostan = nullptr;

    void prepareToShow() override;

public Q_SLOTS:
    void ins_btnClick() override;
    void ostanChange();

protected:
    SettingPlace place() const override;
};

// Fills a province list; for users of level "city" and "ostan" fixes it to the
// session's province and disables it.
void fillProvinceChoice(QComboBox* ostan);

} // namespace tavrin
