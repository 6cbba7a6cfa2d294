#pragma once
// Jalali (Solar Hijri) dates as the ten-character text the database stores:
// year "/" two-digit month "/" two-digit day.  The conversion uses the real
// calendar (Qt's Jalali system), which agrees with the four-year rule of the
// stored data for every date from 1994 to 2028.
#include <QDate>
#include <QString>

#include <optional>

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
// A whole, real Jalali date exactly as the database stores one: "yyyy/mm/dd"
// in ASCII digits, a four-digit year from 1000 on, a day the month has (the
// 30th of Esfand only in a leap year).  Nothing around it.
bool isValidDate(const QString& text);
// A typed date that must be given (a search's range, a news item's day): the
// date in ASCII digits when it is a whole valid date (Persian digits read,
// blanks around it ignored), else nothing.
std::optional<QString> wholeDate(const QString& typed);
// What a date field stores: the empty date mask when it holds no date
// (isEmptyDate), the whole valid date (wholeDate), and nothing for a partly
// typed or impossible date, which no save stores.
std::optional<QString> fieldDate(const QString& typed);
// The refusal of a date field that holds no whole valid date:
// "خطا! <caption> معتبر نيست".
QString invalidDateMessage(const QString& caption);
// The same rule in SQL: a condition true when the column holds a date (not
// NULL, "", the empty date mask, "//" or any other text of blanks and
// slashes).  Every statement that asks whether a date is set uses it (a
// current holder: not dateIsSet("transport_dat")).
QString dateIsSet(const QString& column);

} // namespace tavrin::jalali
