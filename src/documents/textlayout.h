#pragma once
// Laying out and drawing one text of a document with Qt's text layout, which
// shapes Persian letters and orders mixed right-to-left and left-to-right runs.
// Measuring and drawing share one code path so that heights computed while
// composing pages match what is drawn.
#include "documents/document.h"

#include <QFont>

class QPaintDevice;

namespace tavrin::doc::detail {

QFont fontOf(const TextStyle& style);
// True when the text holds a right-to-left letter; other texts (numbers,
// dates, amounts, Latin words) are laid out left to right so that a leading
// minus sign or slash stays where it was typed.
bool isRightToLeft(const QString& text);

// Lays the text out inside rect (device pixels of device) and, when painter is
// given, draws it there.  Returns the height of the laid-out lines in pixels.
// A wrapped text breaks at blanks, and a word longer than the line is broken
// where the line ends rather than run over the rectangle's edge.
double layoutText(const QString& text, const QList<QPair<int, int>>& boldRuns, const TextStyle& style,
                  const QPaintDevice* device, const QRectF& rect, QPainter* painter);
// The same for the lines firstLine .. firstLine + lineCount - 1 only (a
// lineCount below 0: to the last line), placed as if they were the whole text.
double layoutText(const QString& text, const QList<QPair<int, int>>& boldRuns, const TextStyle& style,
                  const QPaintDevice* device, const QRectF& rect, QPainter* painter, int firstLine,
                  int lineCount);

// One laid-out line: the characters it holds and where it lies, in mm from
// the top of the text.
struct TextLine {
    int start = 0;
    int length = 0;
    double top = 0;
    double bottom = 0;
};
QList<TextLine> textLines(const QString& text, const QList<QPair<int, int>>& boldRuns, const TextStyle& style,
                          double widthMm);

// Measurements in millimetres, on a reference device of printer resolution.
// Heights (of texts without bold runs) and widths are remembered per text and
// style: measuring the same text again costs a look-up, not a layout.
double textHeightMm(const QString& text, const QList<QPair<int, int>>& boldRuns, const TextStyle& style,
                    double widthMm);
// The height of one line of the style's font (measured once per style).
double oneLineHeightMm(const TextStyle& style);
double textWidthMm(const QString& text, const TextStyle& style);
// textWidthMm laid out afresh; heightMm, when given, receives the height of its lines.
double naturalWidthMm(const QString& text, const TextStyle& style, double* heightMm = nullptr);
// The width of the text's widest word.
double widestWordMm(const QString& text, const TextStyle& style);
// The width of the text's widest line (lines end at its line breaks).
double widestLineMm(const QString& text, const TextStyle& style);
// The text on one line no wider than widthMm: cut at its end with "…" when longer.
QString elidedMm(const QString& text, const TextStyle& style, double widthMm);

} // namespace tavrin::doc::detail
