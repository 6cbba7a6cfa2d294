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
    // "اتصال": stores the settings, then tries them and tells whether the
    // database answered and the settings were stored.
    void BitBtn1Click();
    void Button2Click();  // "خاتمه": closes the window
    void Label7Click();   // ". . .": the schema installer

private:
    // The labels name the selected backend's server, user and password (a
    // data file needs only its path).
    void backendChanged();

    QButtonGroup* m_auth;
    ClickLabel* m_serverLabel;
    ClickLabel* m_dataBaseLabel;
    ClickLabel* m_userLabel;
    ClickLabel* m_passwordLabel;
};

} // namespace tavrin
