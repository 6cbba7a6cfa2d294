#pragma once
// County settings "تنظيمات شهرستان" (table setting_city): the values printed on
// a county's documents.  Users of level "city" and "ostan" work within their
// own province.
#include "settingsform.h"

namespace tavrin {

class Tsetting_city : public SettingsWindow {
    Q_OBJECT
public:
    Tsetting_city();

    QComboBox* ostan = nullptr;
    QComboBox* shahrestan = nullptr;

    void prepareToShow() override;

public Q_SLOTS:
    void ins_btnClick() override;
    void ostanChange();        // fills the county list
    void shahrestanChange();   // lists every row of the county

protected:
    SettingPlace place() const override;
};

} // namespace tavrin
