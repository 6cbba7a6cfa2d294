// Wires the main-menu entry of the pre-registration windows.
#include "main_u.h"

#include "prereg/pishsabt_src_u.h"

#include <QAction>

namespace tavrin {

void wirePreregMenu(Tmain& main)
{
    // "پيش ثبت نام": the pre-registration list, sized to the main window less
    // 60 by 17 pixels; its rights are those of the page "pishsabt" (the
    // deposits window reads "pardakht" itself when it opens).
    if (QAction* a = main.action(QStringLiteral("N15"))) {
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, &main,
                         [&main] { main.openPage<Tpishsabt_src>(QStringLiteral("pishsabt"), 60, 17); });
    }
}

} // namespace tavrin
