// Jalali dates: a typed date is taken only when it is a real date, and then
// it converts to a Gregorian day and back to the same text; every Gregorian
// day of the stored range converts to a date the fields take.
#include "fuzz_check.h"

#include "common/jalali.h"
#include "common/nationcode.h"

#include <QCalendar>
#include <QDate>

#include <cstring>

using namespace tavrin;

namespace {

const QCalendar& jalaliCalendar()
{
    static const QCalendar cal(QCalendar::System::Jalali);
    return cal;
}

// The Gregorian day of a stored date text "yyyy/mm/dd".
QDate dayOf(const QString& text)
{
    return QDate(text.left(4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt(), jalaliCalendar());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString s = fuzz::text(data, size);

    const auto typed = jalali::fieldDate(s);
    if (jalali::isEmptyDate(s)) {
        FUZZ_CHECK(typed.has_value());
    } else if (typed) {
        FUZZ_CHECK(typed->size() == 10);
        const QDate day = dayOf(*typed);
        FUZZ_CHECK(day.isValid());
        // Years before 1000 are written with fewer digits by the calendar.
        if (day.year(jalaliCalendar()) >= 1000)
            FUZZ_CHECK(jalali::fromGregorian(day) == *typed);
        FUZZ_CHECK(jalali::isValidDate(*typed));
        FUZZ_CHECK(jalali::wholeDate(s) == typed);
    }
    if (const auto whole = jalali::wholeDate(s))
        FUZZ_CHECK(dayOf(*whole).isValid() && whole->size() == 10 && jalali::isValidDate(*whole));

    // The server's date text: only a real yyyy-mm-dd gives a date, that same day.
    const QString fromIso = jalali::fromIsoText(s);
    if (!fromIso.isEmpty()) {
        const QDate iso = QDate::fromString(s.trimmed().left(10), Qt::ISODate);
        FUZZ_CHECK(iso.isValid());
        if (iso.year() >= 1622)
            FUZZ_CHECK(dayOf(fromIso) == iso);
    }

    // A Gregorian day from the raw bytes, within the years the data holds.
    if (size >= 12) {
        int y, m, d;
        std::memcpy(&y, data, 4);
        std::memcpy(&m, data + 4, 4);
        std::memcpy(&d, data + 8, 4);
        const QString j = jalali::fromGregorian(y, m, d);
        FUZZ_CHECK(j.isEmpty() == !QDate(y, m, d).isValid());
        if (!j.isEmpty() && y >= 1622 && y <= 9000) {
            FUZZ_CHECK(jalali::fieldDate(j) == j);
            FUZZ_CHECK(dayOf(j) == QDate(y, m, d));
        }
    }
    return 0;
}
