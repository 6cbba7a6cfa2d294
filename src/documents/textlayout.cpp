#include "documents/textlayout.h"

#include "common/bidi.h"

#include <QCache>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <memory>
#include <optional>

namespace tavrin::doc::detail {

namespace {

// Printer resolution, so that line breaks measured while composing are those
// of the PDF and of the printed page.
constexpr int kReferenceDpi = 1200;

const QImage& referenceDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        const int dotsPerMeter = qRound(kReferenceDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

double pixelsPerMm(const QPaintDevice* device)
{
    return device->logicalDpiX() / 25.4;
}

// Measurements already made, by text and the parts of the style that change
// them: a list of thousands of rows repeats its names, projects and amounts,
// and every cell of a style has the same one-line height.  Laying a text out
// is what costs; a look-up gives the same number.  Each thread keeps its own,
// and a full table starts again empty so that memory stays bounded.
struct MeasureKey {
    QString text;
    QString family;
    double pointSize = 0;
    double lineSpacing = 0;
    double width = 0;   // only of wrapped texts (others take one line whatever the width)
    bool bold = false;
    bool wrap = false;
    bool operator==(const MeasureKey&) const = default;
};

size_t qHash(const MeasureKey& k, size_t seed = 0)
{
    return qHashMulti(seed, k.text, k.family, k.pointSize, k.lineSpacing, k.width, k.bold, k.wrap);
}

constexpr qsizetype kMeasuresKept = 100000;

QHash<MeasureKey, double>& measuredHeights()
{
    thread_local QHash<MeasureKey, double> heights;
    return heights;
}

// A text laid out as it is (no line break, no right-to-left letter to
// isolate) on one line: its width's layout gives its height too.
bool isPlainLine(const QString& text)
{
    return !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) && !bidi::hasRightToLeft(text);
}

MeasureKey heightKey(const QString& text, const TextStyle& style, double widthMm)
{
    // One line has no spacing below it, and an unwrapped text breaks only at its line breaks.
    const bool oneLine = !style.wordWrap && isPlainLine(text);
    return {text, style.family, style.pointSize, oneLine ? 1.0 : style.lineSpacing, style.wordWrap ? widthMm : 0.0,
            style.isBold, style.wordWrap};
}

template <typename Compute>
double remembered(QHash<MeasureKey, double>& table, MeasureKey&& key, Compute compute)
{
    const auto it = table.constFind(key);
    if (it != table.constEnd())
        return it.value();
    const double value = compute();
    if (table.size() >= kMeasuresKept)
        table.clear();
    table.insert(std::move(key), value);
    return value;
}

} // namespace

QFont fontOf(const TextStyle& style)
{
    QFont font(style.family.isEmpty() ? QString::fromLatin1(kDocumentFont) : style.family);
    font.setPointSizeF(style.pointSize);
    font.setBold(style.isBold);
    // Outlines as designed, so that widths do not change with the resolution.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

bool isRightToLeft(const QString& text)
{
    for (const QChar c : text) {
        const QChar::Direction d = c.direction();
        if (d == QChar::DirR || d == QChar::DirAL)
            return true;
    }
    return false;
}

namespace {

// The text as laid out: carriage returns, and blanks at the end of a line
// (which would push a right-to-left line past its edge), dropped; line breaks
// made line separators; in a right-to-left text, every stretch that reads
// left to right (a unit "1-2-3", a contract number "1405-101", a phone
// "021-88776655") isolated, so that it keeps its own order among the Persian
// words around it (bidi::leftToRightRuns).  at[i] is the index in the
// original text of laid character i (an isolate takes the index of the
// character after it).
struct Prepared {
    QString laid;
    QList<int> at;
    bool same = true;   // laid is the text itself
};

Prepared prepare(const QString& text)
{
    Prepared p;
    p.laid.reserve(text.size());
    p.at.reserve(text.size() + 1);
    bool beforeBreak = false;   // only blanks between here and the next line break
    QList<bool> dropped(text.size(), false);
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n'))
            beforeBreak = true;
        else if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r'))
            dropped[i] = beforeBreak || c == QLatin1Char('\r');
        else
            beforeBreak = false;
    }
    // Where isolates open (+1) and close (-1), before character i.
    QList<int> isolates;
    if (bidi::hasRightToLeft(text)) {
        const QList<QPair<int, int>> runs = bidi::leftToRightRuns(text);
        if (!runs.isEmpty()) {
            isolates.fill(0, text.size() + 1);
            for (const auto& [start, length] : runs) {
                isolates[start] += 1;
                isolates[start + length] -= 1;
            }
        }
    }
    const auto mark = [&](int i) {
        if (isolates.isEmpty())
            return;
        // Closing first: a run may end where the next one starts.
        for (int k = isolates.at(i); k < 0; ++k) {
            p.laid += QChar(bidi::kPopIsolate);
            p.at.append(i);
        }
        for (int k = 0; k < isolates.at(i); ++k) {
            p.laid += QChar(bidi::kLeftToRightIsolate);
            p.at.append(i);
        }
    };
    for (int i = 0; i < text.size(); ++i) {
        mark(i);
        const QChar c = text.at(i);
        if (dropped.at(i))
            continue;
        p.laid += c == QLatin1Char('\n') ? QChar(QChar::LineSeparator) : c;
        p.at.append(i);
    }
    mark(int(text.size()));
    p.at.append(int(text.size()));
    p.same = p.laid == text;
    return p;
}

// Lays the lines out in layout (begun and ended here); returns their tops and
// heights.  Given the characters of each line, lays out exactly those lines.
void layLines(QTextLayout& layout, const QString& laid, const QList<QPair<int, int>>& boldRuns,
              const TextStyle& style, double width, QList<double>& tops, QList<double>& heights)
{
    QTextOption option;
    const bool rtl = isRightToLeft(laid);
    option.setTextDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
    Qt::Alignment horizontal = style.alignment & Qt::AlignHorizontal_Mask;
    // Right and left name edges of the paper, not the start and end of the text.
    if (!(horizontal & Qt::AlignJustify))
        horizontal |= Qt::AlignAbsolute;
    option.setAlignment(horizontal);
    // A word longer than the line is broken rather than run over the edge.
    option.setWrapMode(style.wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);
    if (!boldRuns.isEmpty()) {
        QList<QTextLayout::FormatRange> formats;
        for (const auto& run : boldRuns) {
            QTextLayout::FormatRange range;
            range.start = run.first;
            range.length = run.second;
            range.format.setFontWeight(QFont::Bold);
            formats.append(range);
        }
        layout.setFormats(formats);
    }

    double y = 0;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        tops.append(y);
        heights.append(line.height());
        y += line.height() * style.lineSpacing;
    }
    layout.endLayout();
}

// Bold runs as positions of the laid text.
QList<QPair<int, int>> laidRuns(const QList<QPair<int, int>>& runs, const Prepared& p)
{
    if (p.same)
        return runs;
    QList<QPair<int, int>> out;
    for (const auto& run : runs) {
        const auto from = std::lower_bound(p.at.begin(), p.at.end() - 1, run.first) - p.at.begin();
        const auto to = std::lower_bound(p.at.begin(), p.at.end() - 1, run.first + run.second) - p.at.begin();
        if (to > from)
            out.append({int(from), int(to - from)});
    }
    return out;
}

// A text's layout as drawn: by text, bold runs, the style's parts that
// change the layout, the width and the device's resolution.
struct DrawKey {
    QString text;
    QList<QPair<int, int>> boldRuns;
    QString family;
    double pointSize = 0;
    double lineSpacing = 0;
    double width = 0;
    int dpiX = 0;
    int dpiY = 0;
    int alignment = 0;
    bool bold = false;
    bool wrap = false;
    bool operator==(const DrawKey&) const = default;
};

size_t qHash(const DrawKey& k, size_t seed = 0)
{
    return qHashMulti(seed, k.text, k.family, k.pointSize, k.width, k.dpiX, k.alignment, k.bold, k.wrap,
                      k.boldRuns.size());
}

struct Laid {
    std::unique_ptr<QTextLayout> layout;
    QList<double> tops;
    QList<double> heights;
};

QCache<DrawKey, Laid>& drawnLayouts()
{
    thread_local QCache<DrawKey, Laid> layouts(4000);
    return layouts;
}

} // namespace

double layoutText(const QString& text, const QList<QPair<int, int>>& boldRuns, const TextStyle& style,
                  const QPaintDevice* device, const QRectF& rect, QPainter* painter)
{
    return layoutText(text, boldRuns, style, device, rect, painter, 0, -1);
}

double layoutText(const QString& text, const QList<QPair<int, int>>& boldRuns, const TextStyle& style,
                  const QPaintDevice* device, const QRectF& rect, QPainter* painter, int firstLine,
                  int lineCount)
{
    // Texts are laid out as they were measured, on the reference device, and
    // drawn at the device's scale: lines break at the same places and take
    // the same heights on paper, on screen and in the PDF.
    const QImage& measuring = referenceDevice();
    const double sx = device->logicalDpiX() / double(measuring.logicalDpiX());
    const double sy = device->logicalDpiY() / double(measuring.logicalDpiY());
    if (device != &measuring && (sx != 1 || sy != 1)) {
        const QRectF measured(rect.x() / sx, rect.y() / sy, rect.width() / sx, rect.height() / sy);
        if (painter) {
            painter->save();
            painter->scale(sx, sy);
        }
        const double height = layoutText(text, boldRuns, style, &measuring, measured, painter, firstLine, lineCount);
        if (painter)
            painter->restore();
        return height * sy;
    }

    // A text drawn is laid out once per style, width and resolution and its
    // layout kept for the next time it is drawn (a list repeats its names,
    // projects and amounts on every page); one measured only is not kept.
    std::optional<Laid> fresh;
    const Laid* laid = nullptr;
    DrawKey key;
    if (painter) {
        key = {text, boldRuns, style.family, style.pointSize, style.lineSpacing, rect.width(),
               device->logicalDpiX(), device->logicalDpiY(), int(style.alignment), style.isBold, style.wordWrap};
        laid = drawnLayouts().object(key);
    }
    if (!laid) {
        fresh.emplace();
        const Prepared p = prepare(text);
        fresh->layout = std::make_unique<QTextLayout>(p.laid, fontOf(style), device);
        layLines(*fresh->layout, p.laid, laidRuns(boldRuns, p), style, rect.width(), fresh->tops, fresh->heights);
        laid = &*fresh;
    }
    const QTextLayout& layout = *laid->layout;
    const QList<double>& tops = laid->tops;
    const QList<double>& heights = laid->heights;

    const int n = int(tops.size());
    const int first = std::clamp(firstLine, 0, n);
    const int last = lineCount < 0 ? n : std::min(n, first + lineCount);
    if (first >= last)
        return 0;
    // No extra spacing below the last line.
    const double height = tops.at(last - 1) + heights.at(last - 1) - tops.at(first);

    if (painter) {
        double dy = 0;
        const Qt::Alignment vertical = style.alignment & Qt::AlignVertical_Mask;
        if (vertical & Qt::AlignVCenter)
            dy = (rect.height() - height) / 2;
        else if (vertical & Qt::AlignBottom)
            dy = rect.height() - height;
        painter->save();
        painter->setPen(style.color);
        const QPointF origin = rect.topLeft() + QPointF(0, dy - tops.at(first));
        if (first == 0 && last == n) {
            layout.draw(painter, origin);
        } else {
            for (int i = first; i < last; ++i)
                layout.lineAt(i).draw(painter, origin);
        }
        painter->restore();
    }
    if (painter && fresh)
        drawnLayouts().insert(std::move(key), new Laid(std::move(*fresh)));
    return height;
}

QList<TextLine> textLines(const QString& text, const QList<QPair<int, int>>& boldRuns, const TextStyle& style,
                          double widthMm)
{
    const QImage& device = referenceDevice();
    const double k = pixelsPerMm(&device);
    const Prepared p = prepare(text);
    QTextLayout layout(p.laid, fontOf(style), &device);
    QList<double> tops, heights;
    layLines(layout, p.laid, laidRuns(boldRuns, p), style, widthMm * k, tops, heights);
    QList<TextLine> out;
    for (int i = 0; i < tops.size(); ++i) {
        const QTextLine line = layout.lineAt(i);
        const int from = p.at.value(line.textStart(), int(text.size()));
        const int to = p.at.value(line.textStart() + line.textLength(), int(text.size()));
        out.append({from, to - from, tops.at(i) / k, (tops.at(i) + heights.at(i)) / k});
    }
    return out;
}

double textHeightMm(const QString& text, const QList<QPair<int, int>>& boldRuns, const TextStyle& style,
                    double widthMm)
{
    const QImage& device = referenceDevice();
    const double k = pixelsPerMm(&device);
    const auto measure = [&] {
        return layoutText(text, boldRuns, style, &device, QRectF(0, 0, widthMm * k, 0), nullptr) / k;
    };
    if (!boldRuns.isEmpty())
        return measure();
    return remembered(measuredHeights(), heightKey(text, style, widthMm), measure);
}

double oneLineHeightMm(const TextStyle& style)
{
    return textHeightMm(QStringLiteral("x"), {}, style.wrap(false), 1e6);
}

double widestLineMm(const QString& text, const TextStyle& style)
{
    double widest = 0;
    QString t = text;
    t.remove(QLatin1Char('\r'));
    for (const QString& line : t.split(QLatin1Char('\n')))
        widest = std::max(widest, textWidthMm(line, style));
    return widest;
}

QString elidedMm(const QString& text, const TextStyle& style, double widthMm)
{
    QString one = text;
    one.remove(QLatin1Char('\r'));
    one.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (textWidthMm(one, style) <= widthMm)
        return one;
    const QImage& device = referenceDevice();
    const QFontMetricsF metrics(fontOf(style), &device);
    double width = widthMm * pixelsPerMm(&device);
    // The metrics' widths and the layout's design widths differ a little: narrow until it fits.
    for (int attempt = 0; attempt < 30; ++attempt, width *= 0.97) {
        const QString cut = metrics.elidedText(one, Qt::ElideRight, width);
        if (!cut.isEmpty() && textWidthMm(cut, style) <= widthMm)
            return cut;
    }
    return QString(QChar(0x2026));
}

double widestWordMm(const QString& text, const TextStyle& style)
{
    // The words between blanks, found without a regular expression (this
    // runs for every wrapped cell of a long list).
    double widest = 0;
    const QStringView all(text);
    for (qsizetype at = 0; at < all.size();) {
        while (at < all.size() && all.at(at).isSpace())
            ++at;
        qsizetype end = at;
        while (end < all.size() && !all.at(end).isSpace())
            ++end;
        if (end > at)
            widest = std::max(widest, textWidthMm(all.mid(at, end - at).toString(), style));
        at = end;
    }
    return widest;
}

double textWidthMm(const QString& text, const TextStyle& style)
{
    thread_local QHash<MeasureKey, double> widths;
    return remembered(widths, {text, style.family, style.pointSize, 0.0, 0.0, style.isBold, false}, [&] {
        double height = 0;
        const double width = naturalWidthMm(text, style, &height);
        if (isPlainLine(text)) {
            QHash<MeasureKey, double>& heights = measuredHeights();
            if (heights.size() >= kMeasuresKept)
                heights.clear();
            heights.insert(heightKey(text, style.wrap(false), 0), height);
        }
        return width;
    });
}

double naturalWidthMm(const QString& text, const TextStyle& style, double* heightMm)
{
    const QImage& device = referenceDevice();
    const double k = pixelsPerMm(&device);
    // A text of several lines is as wide as its widest line.
    QString laid = text;
    laid.remove(QLatin1Char('\r'));
    laid.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(laid, fontOf(style), &device);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);
    layout.beginLayout();
    double width = 0;
    double height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(1e9);
        width = std::max(width, line.naturalTextWidth());
        height += line.height();
    }
    layout.endLayout();
    if (heightMm)
        *heightMm = height / k;
    return width / k;
}

} // namespace tavrin::doc::detail
