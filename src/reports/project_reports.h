#pragma once
// The report entries of the project list's "گزارش" menu and the main window's
// status chart.  The project list (a lower library) knows nothing of the
// reports: the program connects its menu entries here when it opens the list.
#include "reports/report_runner.h"

class QWidget;

namespace tavrin {

class Tproject_src;

namespace reports {

// Enables and connects the list's report entries (once per window).
void attachProjectReports(Tproject_src& list);

// What a report takes from the project list: the projects of its current
// result and its ticked province, county and project-name fields.
ReportScope scopeOf(const Tproject_src& list);

// The status chart over the given projects (rebuild question first), sized
// to the window it is opened from less the given margins.
void openStatusChart(const ProjectSet& projects, const QSize& around);
// The main window's entry: every project the user may see, whatever the
// project list shows.
void openStatusChartForAll(const QSize& mainWindowSize);

// The facilities browser, emptied and sized to the project list.
void openFacilitiesBrowser(const QSize& listSize);

} // namespace reports
} // namespace tavrin
