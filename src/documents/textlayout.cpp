#include "documents/textlayout.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>

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

double layoutText(const QString& text, const QList<QPair<int, int>>& boldRuns, const TextStyle& style,
                  const QPaintDevice* device, const QRectF& rect, QPainter* painter)
{
    QString laid = text;
    laid.remove(QLatin1Char('\r'));
    laid.replace(QLatin1Char('\n'), QChar::LineSeparator);

    QTextLayout layout(laid, fontOf(style), device);
    QTextOption option;
    const bool rtl = isRightToLeft(laid);
    option.setTextDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
    Qt::Alignment horizontal = style.alignment & Qt::AlignHorizontal_Mask;
    // Right and left name edges of the paper, not the start and end of the text.
    if (!(horizontal & Qt::AlignJustify))
        horizontal |= Qt::AlignAbsolute;
    option.setAlignment(horizontal);
    // Words are never broken; one wider than the rectangle runs over its edge.
    option.setWrapMode(style.wordWrap ? QTextOption::WordWrap : QTextOption::NoWrap);
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
    double lastHeight = 0;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(rect.width());
        line.setPosition(QPointF(0, y));
        lastHeight = line.height();
        y += line.height() * style.lineSpacing;
    }
    layout.endLayout();
    // No extra spacing below the last line.
    const double height = y - lastHeight * (style.lineSpacing - 1.0);

    if (painter) {
        double dy = 0;
        const Qt::Alignment vertical = style.alignment & Qt::AlignVertical_Mask;
        if (vertical & Qt::AlignVCenter)
            dy = (rect.height() - height) / 2;
        else if (vertical & Qt::AlignBottom)
            dy = rect.height() - height;
        painter->save();
        painter->setPen(style.color);
        layout.draw(painter, rect.topLeft() + QPointF(0, dy));
        painter->restore();
    }
    return height;
}

double textHeightMm(const QString& text, const QList<QPair<int, int>>& boldRuns, const TextStyle& style,
                    double widthMm)
{
    const QImage& device = referenceDevice();
    const double k = pixelsPerMm(&device);
    return layoutText(text, boldRuns, style, &device, QRectF(0, 0, widthMm * k, 0), nullptr) / k;
}

double widestWordMm(const QString& text, const TextStyle& style)
{
    double widest = 0;
    for (const QString& word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        widest = std::max(widest, textWidthMm(word, style));
    return widest;
}

double textWidthMm(const QString& text, const TextStyle& style)
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
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(1e9);
        width = std::max(width, line.naturalTextWidth());
    }
    layout.endLayout();
    return width / k;
}

} // namespace tavrin::doc::detail
