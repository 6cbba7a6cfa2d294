#pragma once
#include "common/windows.h"

class QLineEdit;

namespace tavrin {

// The password-change window reached from the login window.
class Tchange_pass : public TWindow {
    Q_OBJECT
public:
    Tchange_pass();
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    // The login's user name and password, checked again when the change is saved.
    void setLogin(const QString& user, const QString& password);

public Q_SLOTS:
    void BitBtn1Click();  // "تغيير"
    void BitBtn2Click();  // "انصراف"

Q_SIGNALS:
    void finishedChange();  // the login window shows itself again

private:
    QString m_user, m_password;
};

} // namespace tavrin
