#pragma once
// The writing helpers shared by the pre-registration and deposit saves (their
// dates are checked with jalali::fieldDate, as every save's).
#include <QString>
#include <QVariant>

#include <optional>

namespace tavrin::prereg {

// A text bound as a value: never NULL.
inline QVariant textValue(const QString& s)
{
    return s.isNull() ? QVariant(QStringLiteral("")) : QVariant(s);
}

// Holds off other writers of pishsabt until the transaction ends (SQLite's
// transaction holds the write lock already).  Every write that must not
// interleave with another user's save or delete of a person takes it first.
void lockPersons();

} // namespace tavrin::prereg
