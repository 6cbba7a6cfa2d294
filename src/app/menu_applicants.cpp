// Wires the main-menu entry of the applicant windows and the places where the
// project windows open them: the applicant list of a project and a new
// applicant for a unit (the project windows sit below the applicants and
// reach them only through these openers).
#include "main_u.h"

#include "applicants/applicant_windows.h"
#include "applicants/customers_src_u.h"
#include "projects/project_panels.h"
#include "projects/project_src_u.h"

#include <QAction>

namespace tavrin {

void wireApplicantsMenu(Tmain& main)
{
    applicants::registerApplicantWindows();
    // "متقاضيان": the applicant list with the rights of the page "customers",
    // sized to the main window; the criteria are cleared and the search runs
    // before it shows (Tcustomers_src::prepareToShow).
    if (QAction* a = main.action(QStringLiteral("N1"))) {
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, &main,
                         [&main] { main.openPage<Tcustomers_src>(QStringLiteral("customers"), 60, 17); });
    }
    Tproject_src::setApplicantsOpener([&main](const QSqlRecord& project) {
        showProjectApplicants(project, [&main](QWidget* w) {
            w->resize(std::max(600, main.width() - 17), std::max(400, main.height() - 60));
        });
    });
    ProjectItemsPanel::setNewApplicantOpener(
        [](const QSqlRecord& project, const QSqlRecord& unit) { newApplicantForUnit(project, unit); });
}

} // namespace tavrin
