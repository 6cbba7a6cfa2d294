#pragma once
// The main window: the menu from which every page is opened after the user's
// rights for it are checked.
#include "common/dialogs.h"
#include "common/rights.h"
#include "common/windows.h"
#include "db/database.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace tavrin {

class Tmain : public QMainWindow {
    Q_OBJECT
public:
    Tmain();

    // The "پيام" entry reads "پيام*" while the user has unread messages.
    void setUnreadMark(bool unread);
    // The status bar names the database the program works in.
    void showConnection(const ConnectionParams& p);
    // The login found news the user has not seen: the news opens as from the menu.
    void openNewsAfterLogin();
    bool newsRequested() const { return m_newsRequested; }
    // A menu entry by its object name ("N14").
    QAction* action(const QString& name) const;

    // Reads the rights row of a page for the session's user, sets the window's
    // insert/edit/delete controls, and with the view right prepares and shows it.
    // heightMargin/widthMargin: the window is sized to the main window's size
    // minus these (0 keeps the window's own size).
    template <class W>
    bool openPage(const QString& pageKey, int heightMargin = 80, int widthMargin = 0)
    {
        W& w = tavrin::window<W>();
        if (!pageRights(pageKey, [&w](const Rights& r) { w.applyRights(r); }))
            return false;
        fitWindow(&w, heightMargin, widthMargin);
        w.prepareToShow();
        w.showModal();
        return true;
    }

    // Sizes a page to the main window's size minus the margins (0 keeps that side).
    void fitWindow(QWidget* w, int heightMargin, int widthMargin);

    // Starts the message poll for the user who has just logged in; the unread
    // messages counted at login count as announced (the menu mark shows them).
    void startMessagePoll(int unreadAtLogin);
    QTimer* messageTimer() const { return Timer1; }

public Q_SLOTS:
    void N5Click();  // "درباره"
    void N3Click();  // "خروج"
    // The message poll: counts the user's unread messages, keeps the menu
    // mark, and tells the user when the count has grown since last told. It
    // waits while a modal window is in front, so no notice interrupts work.
    void Timer1Timer();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QAction* entry(QMenu* menu, const QString& name, const QString& caption);
    QAction* m_messages = nullptr;
    QLabel* m_connection = nullptr;
    QTimer* Timer1 = nullptr;
    int m_announcedUnread = 0;
    bool m_polling = false;
    bool m_leaving = false;
    bool m_newsRequested = false;
};

// Each group of windows enables and connects its own menu entries
// (menu_reference.cpp, menu_admin.cpp, menu_projects.cpp, menu_prereg.cpp,
// menu_applicants.cpp, menu_reports.cpp, menu_messages.cpp, menu_maintenance.cpp).
void wireReferenceMenu(Tmain& main);
void wireAdminMenu(Tmain& main);
void wireProjectsMenu(Tmain& main);
void wirePreregMenu(Tmain& main);
void wireApplicantsMenu(Tmain& main);
void wireReportsMenu(Tmain& main);
void wireMessagesMenu(Tmain& main);
void wireMaintenanceMenu(Tmain& main);
// The news entry ("تازه ها"); true when the window was shown.
bool N16Click(Tmain& main);

// The program's main window (created on first use).
Tmain& mainWindow();
bool mainWindowShown();
void destroyMainWindow();

} // namespace tavrin
