#pragma once
// The connection-settings window: edits the stored connection settings and
// runs the schema installer.
#include "common/windows.h"

class QButtonGroup;
class QGroupBox;
class QLineEdit;

namespace tavrin {

class ClickLabel;

class Tserver : public TWindow {
    Q_OBJECT
public:
    Tserver();

    QLineEdit* SqlServerName1;
    QLineEdit* DataBase1;
    QLineEdit* UserName1;
    QLineEdit* Password1;
    QGroupBox* RadioGroup1;

    // The stored authentication value of the selected entry, and the reverse.
    QString authentication() const;
    void selectAuthentication(const QString& value);  // unknown value: no entry selected

public Q_SLOTS:
    void BitBtn1Click();  // "اتصال": store the settings
    void Button2Click();  // "خاتمه": end the program
    void Label7Click();   // ". . .": the schema installer

private:
    QButtonGroup* m_auth;
};

} // namespace tavrin
