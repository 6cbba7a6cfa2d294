// Persian number words: any text is refused or written; the words of a number
// read back to the same number, and the same number in other spellings
// (leading zeros) gives the same words.
#include "fuzz_check.h"

#include "common/numberwords.h"

#include <QHash>
#include <QStringList>

using namespace tavrin;

namespace {

// The value of the words toWords writes, read with the same vocabulary.
std::optional<qint64> readBack(const QString& words)
{
    static const QHash<QString, int> groups = [] {
        QHash<QString, int> h;
        for (int n = 1; n <= 999; ++n)
            h.insert(words::groupWords(n), n);
        return h;
    }();
    // The scale words as toWords writes them: "one thousand", "one million" ...
    static const QHash<QString, qint64> scales = [] {
        QHash<QString, qint64> h;
        qint64 scale = 1;
        QString digits = QStringLiteral("1");
        for (int k = 1; k <= 4; ++k) {
            digits += QStringLiteral("000");
            scale *= 1000;
            h.insert(words::toWords(digits)->mid(words::groupWords(1).size() + 1), scale);
        }
        return h;
    }();
    if (words == *words::toWords(QStringLiteral("0")))
        return 0;
    // Groups are "<group words> <scale> و ", the last one without the joiner;
    // inside a group the words are joined by " و " too, so read greedily.
    QString rest = words;
    qint64 total = 0;
    qint64 lastScale = -1;
    while (!rest.isEmpty()) {
        qsizetype blank = -1;
        // The longest prefix that is a group's words followed by a blank.
        for (qsizetype i = rest.size() - 1; i > 0; --i)
            if (rest[i] == u' ' && groups.contains(rest.left(i))) {
                blank = i;
                break;
            }
        if (blank < 0)
            return std::nullopt;
        const int g = groups.value(rest.left(blank));
        rest = rest.mid(blank + 1);
        qint64 scale = 1;
        for (auto it = scales.cbegin(); it != scales.cend(); ++it)
            if (rest.startsWith(it.key() + QStringLiteral(" و ")) || rest == it.key()) {
                scale = it.value();
                rest = rest.mid(it.key().size());
                break;
            }
        if (lastScale >= 0 && scale >= lastScale)
            return std::nullopt;
        lastScale = scale;
        total += g * scale;
        if (rest.startsWith(QStringLiteral(" و ")))
            rest = rest.mid(3);
        else if (!rest.isEmpty())
            return std::nullopt;
    }
    return total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString s = fuzz::text(data, size);
    const auto w = words::toWords(s);
    bool plain = !s.isEmpty() && s.size() <= 15;
    for (const QChar c : s)
        plain = plain && c >= u'0' && c <= u'9';
    FUZZ_CHECK(w.has_value() == plain);
    if (w) {
        const qint64 n = s.toLongLong();
        // Zeros alone other than "0" write nothing, as the documents always had it
        // (the printing code writes amounts without leading zeros).
        if (n == 0 && s.size() > 1) {
            FUZZ_CHECK(w->isEmpty());
        } else {
            FUZZ_CHECK(!w->isEmpty());
            const auto back = readBack(*w);
            FUZZ_CHECK(back.has_value() && *back == n);
            FUZZ_CHECK(words::toWords(QString::number(n)) == w);
        }
    }
    // groupWords over the whole int range: words for 1..999 only.
    if (size >= 4) {
        int n;
        memcpy(&n, data, sizeof n);
        FUZZ_CHECK(words::groupWords(n).isEmpty() == (n < 1 || n > 999));
    }
    return 0;
}
