#pragma once
// The user entry window: a new user, or the changes to an existing one.
#include "useradmin.h"

#include "common/windows.h"

#include <QSqlRecord>

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tavrin {

class ClickLabel;

class Tusers_ins : public TWindow {
    Q_OBJECT
public:
    Tusers_ins();

    // Empties the fields for a new user and shows the insert button.
    void startNew();
    // Fills the fields from a users row and shows the edit button.  The
    // password field stays empty: leaving it so keeps the stored password.
    // The row is kept: the save refuses it when another user changed it since.
    void startEdit(const QSqlRecord& user);
    // The fields as typed.
    useradmin::UserFields fields() const;
    qint64 editedId() const { return m_editId; }

    // Runs after a user was saved (the users window reopens its list).
    std::function<void()> onSaved;

    QLineEdit *us, *ps, *nam, *mobile;
    QComboBox *ostan, *lev, *semat, *status;
    QPushButton *ins_btn, *edit_btn;
    ClickLabel *Label2, *Label4;  // "رمز", "موبايل"

    static const QString kMobileLength;

public Q_SLOTS:
    // Fills the province, role and status lists.
    void FormShow();
    // Leaving the user name: the national-code check.
    void usExit();
    // Leaving the mobile number: a warning unless it has eleven characters.
    void mobileExit();
    // "رمز": the mobile number becomes the password.
    void Label2Click();
    // "موبايل": the password typed in the field becomes the mobile number.
    void Label4Click();
    bool ins_btnClick();
    bool edit_btnClick();

private:
    // A save another user overtook: offers to show the user as stored now.
    void askToReload(const QString& message);

    qint64 m_editId = 0;
    QSqlRecord m_read;  // the user as the window showed him
};

} // namespace tavrin
