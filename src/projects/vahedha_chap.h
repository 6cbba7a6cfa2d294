#pragma once
// The printed unit list of a project (layout Tvahedha_chap): landscape A4,
// a heading with the project's name, province, county and saleable unit
// count, then one line per unit of the project window's unit list, in the
// list's order, with its row number.
#include "documents/tablereport.h"

#include <QSqlRecord>

namespace tavrin {

class ListModel;

class Tvahedha_chap {
public:
    // Fields of a line, in column order after the row number.
    static const QStringList& rowFields();
    // Fields of the heading: prj_name, ostan, shahrestan, vahed_cnt.
    static const QStringList& headingFields();
    static QString heading();

    static doc::TableReport layout();
    // A line's values from a vahedha row (amounts grouped, areas without trailing zeros).
    static QVariantMap rowValues(const QSqlRecord& unit);
    static QVariantMap headingValues(const QSqlRecord& project);
    static doc::Document build(const QSqlRecord& project, const QList<QVariantMap>& rows);
};

// Prints the unit list as the list shows it (its filters and order) into the
// modal print preview.  The project window's "چاپ" › N20 "واحدها".
int printUnitList(const QSqlRecord& project, const ListModel& units);
// The same over every unit of the project.
int printUnitList(const QSqlRecord& project);

} // namespace tavrin
