#pragma once
// Amounts written out in Persian words, as the printed documents show them
// beside the digits.
#include <QString>

#include <optional>

namespace tavrin::words {

// The words of a whole number given as a plain string of ASCII digits, at most
// fifteen of them (up to "trillions").  Anything else (a sign, a separator, a
// blank, a decimal point, Persian digits, an empty or a longer string) gives
// nothing.  A result whose last group of three digits is not zero ends with one
// blank, as the documents have always printed it.
std::optional<QString> toWords(const QString& digits);

// The words of one group of three digits, 1 to 999 (empty for anything else).
QString groupWords(int n);

// For the printing code: the words of an amount's digits; when the text is not
// a number the words cannot be built from, asks the user to type them (the
// amount in digits is offered) and returns what was typed, or the digits
// themselves when the user cancels.
QString amountInWords(const QString& digits);

} // namespace tavrin::words
