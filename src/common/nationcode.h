#pragma once
// National codes (ten digits, the last a check digit) and the digit-only
// entry fields that hold them and other numbers.
#include <QString>
#include <QValidator>

#include <functional>

class QLineEdit;
class QWidget;

namespace tavrin {

// Persian (U+06F0..U+06F9) and Arabic-Indic (U+0660..U+0669) digits to ASCII
// digits; every other character is left as it is.
QString toAsciiDigits(QString s);

// The messages of the check, as the entry forms show them.
extern const QString kNationCodeWrong;   // ten digits, wrong check digit
extern const QString kNationCodeLength;  // not ten characters

// True for ten digits (Persian digits allowed) whose last is the right check digit.
bool isValidNationCode(const QString& code);
// What the check reports for a code: nothing for a valid or an empty code, the
// wrong-code message for ten characters that do not pass, and the length
// message for any other length.
QString nationCodeMessage(const QString& code);

// The key filter of numeric fields: digits pass (Persian and Arabic-Indic ones
// become ASCII digits), everything else typed or pasted is dropped.  Deleting
// is not affected.
class DigitFilter : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Lays a field holding digits out left to right and aligned to the right edge,
// whatever the direction of its form, so numbers read the same everywhere.
void alignDigitField(QLineEdit* field);
// Installs a DigitFilter on the field and aligns it as above.
void installDigitFilter(QLineEdit* field);

// Gives the field back the normal background colour of an entry field.
void resetFieldColour(QWidget* field);

// Runs `handler` after the user leaves the field for another control of its
// window (tab, click, shortcut).  Deactivating the window, opening a popup
// or hiding the window is not leaving the field.  The handler runs from the
// event loop, once the focus has settled, so it may show a message box.
void onFieldExit(QLineEdit* field, std::function<void()> handler);

// The code check of the entry forms on leaving a national-code field: resets
// the field's colour, runs the check and shows its message in a warning box;
// after the length message the focus goes back into the field.
void checkNationCodeOnExit(QLineEdit* field);
// The same check run at once (what checkNationCodeOnExit runs on leaving);
// returns the message shown, empty when the code passed.
QString checkNationCodeField(QLineEdit* field);

} // namespace tavrin
