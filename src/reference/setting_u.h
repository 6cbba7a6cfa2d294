#pragma once
// General settings "تنظيمات عمومي": the organisation-wide choice lists and
// values (table setting), and the registration code shown in sabt_cod.
#include "settingsform.h"

namespace tavrin {

class Tsetting : public SettingsWindow {
    Q_OBJECT
public:
    Tsetting();

    QLabel* sabt_cod = nullptr;   // the registration code "کد ثبت"

    void prepareToShow() override;

public Q_SLOTS:
    void ins_btnClick() override;

protected:
    void registrationCodeChanged() override;
};

} // namespace tavrin
