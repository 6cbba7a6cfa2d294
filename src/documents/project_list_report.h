#pragma once
// The printed project list (layout Tproject_chap): landscape A4, one line per
// project of the project list's open result with its row number, a heading
// over the unit counts, and a summary line carrying the totals of the list's
// last search.
#include "documents/tablereport.h"

namespace tavrin {

class Tproject_chap {
public:
    // Fields of a row, in column order after the row number.
    static const QStringList& rowFields();
    // Names of the totals of the summary line, in column order (the
    // columns of the totals query: vk, vc, vf, m, ac, pc).
    static const QStringList& totalFields();
    // The heading of the page (also the preview's title).
    static QString heading();

    static doc::TableReport layout();

    // rows: the projects in the list's order, each with the fields of
    // rowFields(); totals: the values named by totalFields(); dat: the date
    // printed beside "تاريخ:".
    static doc::Document build(const doc::RowSource& rows, const QVariantMap& totals, const QString& dat);
    static doc::Document build(const QList<QVariantMap>& rows, const QVariantMap& totals, const QString& dat);

    // Prints the list with today's date into the modal print preview.
    static int preview(const doc::RowSource& rows, const QVariantMap& totals);
};

} // namespace tavrin
