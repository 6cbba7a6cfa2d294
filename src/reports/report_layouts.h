#pragma once
// The printed reports over the work tables: Tprj_koli_rep (project status,
// A4 landscape, two values stacked in most cells), Tprj_rep_tashilat
// (facilities used), Tprj_rep_vahedha (unit progress), Tgozaresh_sabt
// (activity) and Tprj_tas_rep (comprehensive, A4 landscape).  Each has the
// emblem, its title and the build's date and time at the top of every page,
// one line per detail row with its running number, and the totals of the
// totals query in its last line.  The grouped entries leave out the project
// (and, by province, the county) columns with their headings.
#include "reports/report_build.h"

#include "documents/tablereport.h"

#include <QImage>

namespace tavrin::reports {

// The layout's name (the window title of its preview).
QString layoutName(ReportKind kind);
QString reportTitle(ReportKind kind);

// The fields a report prints in a grouping, in column order (for the status
// report a stacked cell is "upper|lower").
QStringList printedFields(ReportKind kind, Grouping grouping);

doc::TableReport reportLayout(ReportKind kind, Grouping grouping);

// values: dat, tim and the totals (c and <name>_sum as read); rows: the detail
// rows of the grouping.  The document's fields hold dat, tim, cnt and every
// total label by its name (record_cnt too for the activity report).
doc::Document reportDocument(ReportKind kind, Grouping grouping, const QVariantMap& values,
                             const QList<QVariantMap>& rows);

// The organisation's emblem at the top of the report pages.
const QImage& reportEmblem();

} // namespace tavrin::reports
