// Wires the report entries: the main window's status chart, and the report
// menu of the project list whenever the list is opened.
#include "main_u.h"

#include "reports/project_reports.h"

#include <QAction>

namespace tavrin {

void wireReportsMenu(Tmain& main)
{
    // "وضعيت پروژه ها - نموداري": every project the user may see; no page right is asked.
    if (QAction* a = main.action(QStringLiteral("N36"))) {
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, &main, [&main] { reports::openStatusChartForAll(main.size()); });
    }
}

} // namespace tavrin
