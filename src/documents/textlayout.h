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
double layoutText(const QString& text, const QList<QPair<int, int>>& boldRuns, const TextStyle& style,
                  const QPaintDevice* device, const QRectF& rect, QPainter* painter);

// Measurements in millimetres, on a reference device of printer resolution.
double textHeightMm(const QString& text, const QList<QPair<int, int>>& boldRuns, const TextStyle& style,
                    double widthMm);
double textWidthMm(const QString& text, const TextStyle& style);
// The width of the text's widest word.
double widestWordMm(const QString& text, const TextStyle& style);

} // namespace tavrin::doc::detail
