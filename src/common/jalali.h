#pragma once
// Jalali (Solar Hijri) dates as the ten-character text the database stores:
// year "/" two-digit month "/" two-digit day.  The conversion uses the real
// calendar (Qt's Jalali system), which agrees with the four-year rule of the
// stored data for every date from 1994 to 2028.
#include <QDate>
#include <QString>

namespace tavrin::jalali {

QString fromGregorian(const QDate& date);
QString fromGregorian(int year, int month, int day);
// Today's date from the computer's clock.
QString today();
// "2020-03-20" (the server's date as text) -> "1399/01/01"; empty when not a date.
QString fromIsoText(const QString& isoDate);
// The one rule for "a date is set": it holds more than blanks and slashes.
// True for a date field that holds nothing (the empty date mask, "", "//",
// "/  /" ...).
bool isEmptyDate(const QString& text);
// The same rule in SQL: a condition true when the column holds a date (not
// NULL, "", the empty date mask, "//" or any other text of blanks and
// slashes).  Every statement that asks whether a date is set uses it (a
// current holder: not dateIsSet("transport_dat")).
QString dateIsSet(const QString& column);

} // namespace tavrin::jalali
