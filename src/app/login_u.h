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

// How long one step of the last login took (the program's log lists them).
struct LoginStep {
    QString name;
    double ms = 0;
};

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
    // The steps of the last login ("ورود") and their times.
    const QList<LoginStep>& lastSteps() const { return m_steps; }

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
    bool login();

    QList<LoginStep> m_steps;
};

} // namespace tavrin
