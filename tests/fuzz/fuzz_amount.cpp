// Typed amounts and areas: whatever is typed or pasted, an amount that reads
// reads the same after the field regroups it and after it is shown again; an
// area price is exact or refused, never wrapped.
#include "fuzz_check.h"

#include "common/monedit.h"
#include "common/nationcode.h"

#include <QLocale>

#include <cmath>
#include <cstring>

using namespace tavrin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString s = fuzz::text(data, size);

    const auto amount = tryParseAmount(s);
    FUZZ_CHECK(parseAmount(s) == amount.value_or(0));
    const QString grouped = groupAmount(s);
    FUZZ_CHECK(groupAmount(grouped) == grouped);
    if (amount) {
        FUZZ_CHECK(*amount <= kMaxAmount && *amount >= -kMaxAmount);
        FUZZ_CHECK(tryParseAmount(formatAmount(*amount)) == amount);
        // What the money field shows for the typed text reads the same.
        // (A sign after leading separators, ",-5", is dropped by the field.)
        const QString typed = toAsciiDigits(s).trimmed();
        if (!grouped.isEmpty() && grouped != QStringLiteral("-") && !typed.startsWith(u',') &&
            !typed.startsWith(QChar(0x066C)))
            FUZZ_CHECK(tryParseAmount(grouped) == amount);
    }

    if (const auto real = tryParseReal(s)) {
        FUZZ_CHECK(std::isfinite(*real) && *real >= 0);
        FUZZ_CHECK(tryParseReal(QString::number(*real, 'f', QLocale::FloatingPointShortest)) == real);
    }

    // Two areas at two prices taken from the raw bytes.
    if (size >= 32) {
        double a1, a2;
        qint64 p1, p2;
        std::memcpy(&a1, data, 8);
        std::memcpy(&p1, data + 8, 8);
        std::memcpy(&a2, data + 16, 8);
        std::memcpy(&p2, data + 24, 8);
        const auto sum = areaAmount({{a1, p1}, {a2, p2}});
        const QString text = areaAmountText({{a1, p1}, {a2, p2}});
        if (sum)
            FUZZ_CHECK(text == QString::number(*sum));
        // Each part alone: a whole number of square metres is exact.
        const double whole = std::trunc(std::fmod(a1, 1e6));
        if (std::isfinite(whole) && p1 > -1000000000000LL && p1 < 1000000000000LL) {
            const auto one = areaAmount({{whole, p1}});
            FUZZ_CHECK(one && *one == qint64(whole) * p1);
        }
    }
    return 0;
}
