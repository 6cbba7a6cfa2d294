#pragma once
// Checks of typed values shared by the pre-registration and deposit saves:
// whole dates, and the shared writing helpers.
#include <QString>
#include <QVariant>

#include <optional>

namespace tavrin::prereg {

// A date field's value to store: the empty date mask for an empty field, the
// date itself when it is a whole Jalali date (Persian digits allowed), and
// nothing for a partly typed or impossible date.
std::optional<QString> dateValue(const QString& text);
// "خطا! <caption> معتبر نيست"
QString badDateMessage(const QString& caption);

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
