#pragma once
// The messages window "تبادل پيام": the user's messages (every message for the
// administrator, with the recipient filter), the body of the current one,
// sending to the ticked users, marking read, the sender's and recipient's
// details and the administrator's deletes.
#include "common/windows.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace tavrin {

class DBGrid;

class Tpayam : public TWindow {
    Q_OBJECT
public:
    Tpayam();

    // The list of the session's messages; message, recipient and subject
    // emptied; the recipient filter only for the administrator; the subjects
    // and users read anew.
    void prepareToShow() override;

    // Ids of the selected rows and of the ticked recipients, in list order.
    QList<qint64> selectedIds() const;
    QList<qint64> tickedRecipients() const;

    DBGrid* DBGrid1;
    QPlainTextEdit* DBMemo1;
    QComboBox* girande;
    QComboBox* mozo;
    QPlainTextEdit* cmt;
    QListWidget* prs_list;
    QCheckBox* CheckBox1;
    QPushButton* BitBtn1;
    QMenu* PopupMenu1;
    QAction *N1, *N3, *N6, *N2, *N4, *N5;

public Q_SLOTS:
    void FormShow();
    void girandeChange();
    void CheckBox1Click();
    void BitBtn1Click();   // send
    void N1Click();        // mark read
    void N3Click();        // delete the current message
    void N6Click();        // sender's details
    void N2Click();        // recipient's details
    void N4Click();        // delete every read message
    void N5Click();        // delete the selected read messages

Q_SIGNALS:
    // On closing: whether the user has unread messages (the main menu's mark).
    void unreadChanged(bool unread);

protected:
    void done(int r) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search();
    void showBody();
    void showDetails(bool sender);
    void afterDelete(const QString& message);
    qint64 currentId() const;
};

} // namespace tavrin
