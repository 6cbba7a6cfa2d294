#include "common/bidi.h"

namespace tavrin::bidi {

namespace {

bool isRightToLeftLetter(QChar c)
{
    const QChar::Direction d = c.direction();
    return d == QChar::DirR || d == QChar::DirAL;
}

// Blanks join the words of a phrase; line breaks end it.
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(QChar::Nbsp);
}

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(QChar::LineSeparator) ||
           c == QChar(QChar::ParagraphSeparator);
}

// A digit of any script, or a letter written left to right.
bool isWordChar(QChar c)
{
    return c.isDigit() || (c.direction() == QChar::DirL && c.isLetterOrNumber());
}

bool isLatinLetter(QChar c)
{
    return c.isLetter() && c.direction() == QChar::DirL;
}

bool isSign(QChar c)
{
    return c == QLatin1Char('-') || c == QLatin1Char('+');
}

struct Word {
    int start = 0;
    int end = 0;          // one past the last character
    bool joined = false;  // holds a mark between its digits and letters (or starts with a sign)
    bool latin = false;   // holds a Latin letter
};

QList<Word> wordsOf(const QString& text)
{
    QList<Word> words;
    const int n = int(text.size());
    int i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (isBlank(c) || isLineBreak(c) || isRightToLeftLetter(c)) {
            ++i;
            continue;
        }
        // A stretch of characters without blanks and right-to-left letters,
        // cut down to its first and last digit or letter.
        int from = i;
        while (i < n && !isBlank(text.at(i)) && !isLineBreak(text.at(i)) && !isRightToLeftLetter(text.at(i)))
            ++i;
        int to = i;
        while (from < to && !isWordChar(text.at(from)))
            ++from;
        while (to > from && !isWordChar(text.at(to - 1)))
            --to;
        if (from >= to)
            continue;
        Word w {from, to, false, false};
        // A sign right before a number belongs to it ("-1,250").
        if (from > 0 && isSign(text.at(from - 1)) && text.at(from).isDigit()) {
            w.start = from - 1;
            w.joined = true;
        }
        for (int k = from; k < to; ++k) {
            if (!isWordChar(text.at(k)))
                w.joined = true;
            if (isLatinLetter(text.at(k)))
                w.latin = true;
        }
        words << w;
    }
    return words;
}

bool onlyBlanksBetween(const QString& text, int from, int to)
{
    if (from >= to)
        return false;
    for (int k = from; k < to; ++k)
        if (!isBlank(text.at(k)))
            return false;
    return true;
}

} // namespace

bool hasRightToLeft(const QString& text)
{
    for (const QChar c : text)
        if (isRightToLeftLetter(c))
            return true;
    return false;
}

QList<QPair<int, int>> leftToRightRuns(const QString& text)
{
    const QList<Word> words = wordsOf(text);
    QList<QPair<int, int>> runs;
    for (int i = 0; i < words.size();) {
        // Latin words stay with the words beside them: "Block A-12" reads as
        // one phrase, while two numbers ("1403/05/12 10:30") are two.
        int last = i;
        bool joined = words.at(i).joined;
        while (last + 1 < words.size() && onlyBlanksBetween(text, words.at(last).end, words.at(last + 1).start) &&
               (words.at(last).latin || words.at(last + 1).latin)) {
            ++last;
            joined = joined || words.at(last).joined;
        }
        if (joined)
            runs.append({words.at(i).start, words.at(last).end - words.at(i).start});
        i = last + 1;
    }
    return runs;
}

QString isolatedForRightToLeft(const QString& text)
{
    if (!hasRightToLeft(text))
        return text;
    const QList<QPair<int, int>> runs = leftToRightRuns(text);
    if (runs.isEmpty())
        return text;
    QString out;
    out.reserve(text.size() + 2 * runs.size());
    int at = 0;
    for (const auto& [start, length] : runs) {
        out += QStringView(text).mid(at, start - at);
        out += QChar(kLeftToRightIsolate);
        out += QStringView(text).mid(start, length);
        out += QChar(kPopIsolate);
        at = start + length;
    }
    out += QStringView(text).mid(at);
    return out;
}

QString withoutMarks(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x2066 && u <= 0x2069) || (u >= 0x202A && u <= 0x202E) || u == 0x200E || u == 0x200F)
            continue;
        out += c;
    }
    return out;
}

} // namespace tavrin::bidi
