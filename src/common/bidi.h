#pragma once
// Values that read left to right inside right-to-left text.  The bidi
// algorithm reorders a number whose parts are joined by "-" when it follows
// Persian letters: "واحد 1-2-3" shows "3-2-1", a contract number "1405-101"
// shows "101-1405", a phone "021-88776655" shows "88776655-021".  Such a
// stretch keeps its own order when it is isolated as a left-to-right run
// (U+2066 LEFT-TO-RIGHT ISOLATE ... U+2069 POP DIRECTIONAL ISOLATE).  The
// printed documents isolate them when they lay a text out; labels that show
// a value in a right-to-left window use isolatedForRightToLeft().
#include <QList>
#include <QPair>
#include <QString>

namespace tavrin::bidi {

inline constexpr char16_t kLeftToRightIsolate = 0x2066;
inline constexpr char16_t kPopIsolate = 0x2069;

// True when the text holds a right-to-left letter (Persian, Arabic, Hebrew).
bool hasRightToLeft(const QString& text);

// The stretches (start, length) of the text that must be isolated to keep
// their order inside right-to-left text: a word of digits and Latin letters
// with other marks between them ("1405-101", "021-88776655", "A-12",
// "1403/05/12", "-1,250"), together with the Latin words beside it that
// blanks join to it ("Block A-12").  A word of digits or Latin letters alone
// reads right as it is and is not listed; neither are the marks around a
// word ("(", ")", ".", "%", the "-" of "1- ").
QList<QPair<int, int>> leftToRightRuns(const QString& text);

// The text with each of its leftToRightRuns() isolated, for a label whose
// text is laid out right to left.  A text without right-to-left letters is
// returned as it is: alone, "1-1-2" reads in its own order (only after a
// Persian letter are its numbers taken apart).
QString isolatedForRightToLeft(const QString& text);

// The text without isolates and directional marks (what a user typed).
QString withoutMarks(const QString& text);

} // namespace tavrin::bidi
