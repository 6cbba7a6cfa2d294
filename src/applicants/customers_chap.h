#pragma once
// The printed applicant list "ليست متقاضيان": landscape A4, one line per
// applicant of the list as it shows (its search and order) with a running
// number, the project, the names, the mobile number, the unit, its price and
// the collected total.
#include "documents/tablereport.h"

#include <QSqlRecord>

namespace tavrin {

class ListModel;

class Tcustomers_chap {
public:
    static doc::TableReport layout();
    static doc::Document build(const QList<QVariantMap>& rows);
};

// Builds the list's pages and opens the print preview (modal).
int printCustomerList(const ListModel& list);

} // namespace tavrin
