#pragma once
// The frame every report entry of the project list shares: show the last
// build's date and time, ask whether to rebuild, rebuild with a progress
// dialog, then read the totals and the detail and preview (or export) them.
// A failed build changes nothing, shows a fixed message and previews nothing.
#include "reports/report_build.h"

#include "common/xlsxexport.h"
#include "documents/document.h"

#include <optional>

namespace tavrin::reports {

// What the project list hands a report: the projects of its current search
// result and its ticked province, county and project-name fields.
struct ReportScope {
    ProjectSet projects;
    ReadingFilter filter;
};

// The stamp shown before the question, and the one printed after it.
struct Prepared {
    Stamp stamp;        // empty when the user never built the report
    bool rebuilt = false;
};

// Reads the stamp, asks the rebuild question and rebuilds on Yes.  Nothing
// when reading or building failed (the message was shown).
std::optional<Prepared> prepareReport(ReportKind kind, const ProjectSet& projects);

// A printed entry: the document it previewed, or nothing after a failure.
std::optional<doc::Document> printReport(ReportKind kind, Grouping grouping, const ReportScope& scope);

// The status report's Excel entry: every column of the detail by project,
// province compared as a substring.  True when a workbook was written.
bool exportStatusReport(const ReportScope& scope);

// Heading of the status export per column of the table.
HeaderMap statusExcelHeadings();

} // namespace tavrin::reports
