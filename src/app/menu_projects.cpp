// Wires the main-menu entries of the projects windows: enables each entry whose
// window exists and connects it to its handler.
#include "main_u.h"

#include "db/database.h"

#include "projects/project_src_u.h"
#include "reports/project_reports.h"

#include <QAction>

namespace tavrin {

namespace {
// "پروژه ها": the project list.  The lists' rights ("vahed") and the facilities'
// rights ("tashilat") are handed over (none without such rows, so that a
// previous user's rights do not stay with the kept window); then the
// page's own rights ("prj") decide, and with its view right the filters are
// emptied, the search runs and the window is shown (Tproject_src::prepareToShow).
void N10Click(Tmain& main)
{
    Tproject_src& w = window<Tproject_src>();
    reports::attachProjectReports(w);
    try {
        if (const auto vahed = readRights(QStringLiteral("vahed")))
            w.applyItemRights(*vahed);
        else
            w.applyItemRights(Rights {});
        if (const auto tashilat = readRights(QStringLiteral("tashilat")))
            w.applyFacilityRights(*tashilat);
        else
            w.applyFacilityRights(Rights {});
    } catch (const DbError& e) {
        reportFailure(noAccessMessage(), e);
        return;
    }
    main.openPage<Tproject_src>(QStringLiteral("prj"), 60, 17);
}
} // namespace

void wireProjectsMenu(Tmain& main)
{
    if (QAction* a = main.action(QStringLiteral("N10"))) {
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, &main, [&main] { N10Click(main); });
    }
}

} // namespace tavrin
