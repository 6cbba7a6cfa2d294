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

// Opens the print preview (modal) on the list's first page; its rows are
// read, in the list's order, as the rest is laid out while the preview shows
// (closing it ends the read).  A read that fails closes the preview and is
// reported (custext::kPrintFailed).
int printCustomerList(const ListModel& list);

} // namespace tavrin
