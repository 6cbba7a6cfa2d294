#pragma once
// The login window (the program's first window) and the steps that follow a
// successful login.
#include "common/windows.h"

class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace tavrin {

class Tmain;

// The version number this program writes into users.ver; a program older than
// the one the administrator last used refuses to run.
inline constexpr int kProgramVersion = 33;

class Tlogin : public TWindow {
    Q_OBJECT
public:
    Tlogin();

    QLineEdit* us;
    QLineEdit* ps;
    QGroupBox* RadioGroup1;
    QRadioButton* internet;
    QRadioButton* local;

    // The file holding the user name of the last successful login on this computer.
    static QString markerFile();

public Q_SLOTS:
    void FormShow();
    bool BitBtn1Click();  // "ورود"; true when the main window was shown
    void Label3Click();   // "تغيير كلمه عبور"
    void Label4Click();   // "تغيير بانك اطلاعاتي"
    void Label9Click();   // font help

protected:
    void showEvent(QShowEvent* e) override;
    // Leaving the login window before the main window is shown ends the program
    // ("انصراف", Escape, the close box, the old-version refusal).
    void done(int r) override;

private:
    void refuseOldVersion(const QString& adminVersion);
    // Saves an attachment (zamaem row by description) where the user chooses;
    // returns the written file, or "" when nothing was saved (a failed write is shown).
    QString saveAttachment(const QString& description, const QString& proposedName);
    void choiceChanged();
};

} // namespace tavrin
