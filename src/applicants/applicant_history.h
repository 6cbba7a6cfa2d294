#pragma once
// The record history of an applicant's file: what his actions hand to the
// history writer (common/history.h), in one call each.
#include <QSqlRecord>
#include <QVariantMap>

namespace tavrin::applicants {

// A new applicant: his row as written, and his unit marked sold.
void historySale(qint64 id, const QVariantMap& row, qint64 unitId, qint64 prjId, const QVariant& freeStatus,
                 const QVariant& soldStatus);
// His deleted row and the child rows deleted with him (queued before they go).
void historyDelete(qint64 id, const QSqlRecord& row);

} // namespace tavrin::applicants
