// Wires the main-menu entries of the administrators' tools: backup and data
// transfer under "اطلاعات پايه".
#include "main_u.h"

#include "common/session.h"
#include "maintenance/backup_u.h"
#include "maintenance/transfer_u.h"

#include <QAction>

namespace tavrin {

namespace {
// "تهيه پشتيبان": administrators only; the window shows the current
// database and how its backup is made (Tbackup::prepareToShow).
void N17Click()
{
    if (!session().isAdminLevel()) {
        dialogs().warning(noAccessMessage());
        return;
    }
    Tbackup& w = window<Tbackup>();
    w.prepareToShow();
    w.showModal();
}

// "انتقال اطلاعات": page "transfer"; its insert right enables the transfer.
void N18Click(Tmain& main)
{
    main.openPage<Ttransfer>(QStringLiteral("transfer"), 0);
}
} // namespace

void wireMaintenanceMenu(Tmain& main)
{
    if (QAction* a = main.action(QStringLiteral("N17"))) {
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, &main, [] { N17Click(); });
    }
    if (QAction* a = main.action(QStringLiteral("N18"))) {
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, &main, [&main] { N18Click(main); });
    }
}

} // namespace tavrin
