// Wires the main-menu entries of the messages, news and attachments windows:
// enables each entry and connects it to its handler.
#include "main_u.h"

#include "db/database.h"

#include "admin/commtexts.h"
#include "admin/payam_u.h"
#include "admin/tazeha_u.h"
#include "admin/zamaem_u.h"

#include <QAction>

namespace tavrin {

namespace {
// "پيام": open to every user (no page right); closing the window sets the
// entry's unread mark anew.
void N9Click(Tmain& main)
{
    Tpayam& w = window<Tpayam>();
    QObject::connect(&w, &Tpayam::unreadChanged, &main, &Tmain::setUnreadMark, Qt::UniqueConnection);
    w.prepareToShow();
    w.showModal();
}

// "ضمائم": the attachments, by the rights of the page "zamaem".
void N12Click(Tmain& main)
{
    main.openPage<Tzamaem>(QStringLiteral("zamaem"), 80);
}
} // namespace

// "تازه ها": without a rights row for "tazeha" the news still opens, for
// reading only; with a row its rights decide, and without the view right the
// news page's own refusal is shown.
bool N16Click(Tmain& main)
{
    Ttazeha& w = window<Ttazeha>();
    std::optional<Rights> r;
    try {
        r = readRights(QStringLiteral("tazeha"));
    } catch (const DbError& e) {
        reportFailure(commtext::kNoNewsAccess, e);
        return false;
    }
    if (!r) {
        w.setReadOnly();
    } else {
        w.applyRights(*r);
        if (!r->namayesh) {
            dialogs().warning(commtext::kNoNewsAccess);
            return false;
        }
    }
    main.fitWindow(&w, 60, 0);
    w.prepareToShow();
    w.showModal();
    return true;
}

void wireMessagesMenu(Tmain& main)
{
    const auto wire = [&main](const char* name, void (*handler)(Tmain&)) {
        if (QAction* a = main.action(QString::fromLatin1(name))) {
            a->setEnabled(true);
            QObject::connect(a, &QAction::triggered, &main, [&main, handler] { handler(main); });
        }
    };
    wire("N9", N9Click);
    wire("N12", N12Click);
    wire("N16", [](Tmain& m) { N16Click(m); });
}

} // namespace tavrin
