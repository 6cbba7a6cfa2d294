// Wires the main-menu entries of the admin windows: enables each entry whose
// window exists and connects it to its handler.
#include "main_u.h"

#include "db/database.h"

#include "admin/log_u.h"
#include "admin/users_u.h"
#include "common/dialogs.h"
#include "common/rights.h"
#include "common/session.h"
#include "maintenance/check_u.h"
#include "record_history.h"

#include <QAction>

namespace tavrin {

namespace {
// "کاربران": the users window with its entry window; the filters and the
// counter are emptied before it shows (Tusers::prepareToShow).
void N6Click(Tmain& main)
{
    main.openPage<Tusers>(QStringLiteral("karbaran"), 80);
}

// "لاگ": the log viewer with both dates set to today and the text filters
// emptied (Tlog::prepareToShow).
void N7Click(Tmain& main)
{
    main.openPage<Tlog>(QStringLiteral("log"), 80);
}

// "بررسي سازگاري داده ها": the consistency check, for users of level "admin" only.
void checkClick(Tmain& main)
{
    if (!session().isAdminLevel()) {
        dialogs().warning(noAccessMessage());
        return;
    }
    Tcheck& w = tavrin::window<Tcheck>();
    main.fitWindow(&w, 120, 200);
    w.prepareToShow();
    w.showModal();
}
} // namespace

void wireAdminMenu(Tmain& main)
{
    // The record-history window the lists' pop-up menus open.
    registerRecordHistory();
    if (QAction* a = main.action(QStringLiteral("N6"))) {
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, &main, [&main] { N6Click(main); });
    }
    if (QAction* a = main.action(QStringLiteral("N7"))) {
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, &main, [&main] { N7Click(main); });
    }
    if (QAction* a = main.action(QStringLiteral("check_mnu"))) {
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, &main, [&main] { checkClick(main); });
    }
}

} // namespace tavrin
