#pragma once
// Reading back the text of a PDF written by the document engine, with
// poppler's pdftotext.  Its output holds Arabic presentation forms and bidi
// marks; normalise() turns it into comparable text.  Letters whose joined
// forms are one glyph (Arabic and Persian yeh, Arabic and Persian kaf) cannot
// be told apart in a PDF, so normalise() folds them to the Persian letters.
#include <QFile>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <optional>

namespace tavrin::test {

inline QString normalise(const QString& text)
{
    QString t = text.normalized(QString::NormalizationForm_KC);
    QString out;
    out.reserve(t.size());
    for (const QChar c : t) {
        const char16_t u = c.unicode();
        // Bidi marks, and the zero-width non-joiner that a PDF cannot carry.
        if ((u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069) || u == 0x200E || u == 0x200F || u == 0x200C)
            continue;
        if (u == 0x064A)
            out += QChar(0x06CC);
        else if (u == 0x0643)
            out += QChar(0x06A9);
        else
            out += c;
    }
    return out;
}

inline QString withoutBlanks(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

inline bool havePdfTools()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// The text of a PDF, normalised; nothing when pdftotext fails.
inline std::optional<QString> pdfText(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return std::nullopt;
    return normalise(QString::fromUtf8(p.readAllStandardOutput()));
}

struct PdfWord {
    int page = 0;
    QString text;   // normalised
    QRectF box;     // points from the page's top-left corner
};

// Every word of a PDF with its box.  pdftotext -bbox gives the letters of a
// Persian word one by one; letters that touch on one line are joined again,
// right to left.
inline QList<PdfWord> pdfWords(const QString& pdf)
{
    QList<PdfWord> glyphs;
    QTemporaryDir dir;
    const QString html = dir.path() + QStringLiteral("/words.html");
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, html});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return glyphs;
    QFile f(html);
    if (!f.open(QIODevice::ReadOnly))
        return glyphs;
    QXmlStreamReader xml(&f);
    int page = -1;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const auto a = xml.attributes();
            const double x1 = a.value(QLatin1String("xMin")).toDouble();
            const double y1 = a.value(QLatin1String("yMin")).toDouble();
            const double x2 = a.value(QLatin1String("xMax")).toDouble();
            const double y2 = a.value(QLatin1String("yMax")).toDouble();
            glyphs.append({page, xml.readElementText(), QRectF(QPointF(x1, y1), QPointF(x2, y2))});
        }
    }
    // Same page, same line, then from the right.
    std::sort(glyphs.begin(), glyphs.end(), [](const PdfWord& a, const PdfWord& b) {
        if (a.page != b.page)
            return a.page < b.page;
        const int lineA = qRound(a.box.top() * 10), lineB = qRound(b.box.top() * 10);
        if (lineA != lineB)
            return lineA < lineB;
        return a.box.right() > b.box.right();
    });
    QList<PdfWord> words;
    for (const PdfWord& g : glyphs) {
        if (!words.isEmpty()) {
            PdfWord& w = words.last();
            if (w.page == g.page && qRound(w.box.top() * 10) == qRound(g.box.top() * 10)
                && w.box.left() - g.box.right() < 0.8) {
                w.text += g.text;
                w.box = w.box.united(g.box);
                continue;
            }
        }
        words.append(g);
    }
    for (PdfWord& w : words)
        w.text = normalise(w.text);
    return words;
}

} // namespace tavrin::test
