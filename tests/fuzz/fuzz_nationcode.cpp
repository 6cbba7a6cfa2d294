// National codes and the digit fields: the check agrees with its message, a
// valid code stays valid in Persian digits and fails with any other check
// digit, and the digit filter leaves digits only with the caret inside them.
#include "fuzz_check.h"

#include "common/nationcode.h"

using namespace tavrin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString s = fuzz::text(data, size);
    const QString ascii = toAsciiDigits(s);
    FUZZ_CHECK(ascii.size() == s.size());
    FUZZ_CHECK(toAsciiDigits(ascii) == ascii);

    const bool valid = isValidNationCode(s);
    const QString message = nationCodeMessage(s);
    FUZZ_CHECK(valid == (!s.isEmpty() && message.isEmpty()));
    if (!s.isEmpty() && s.size() != 10)
        FUZZ_CHECK(message == kNationCodeLength);
    if (valid) {
        QString persian = ascii;
        for (QChar& c : persian)
            c = QChar(char16_t(0x06F0 + (c.unicode() - u'0')));
        FUZZ_CHECK(isValidNationCode(persian));
        for (char16_t d = u'0'; d <= u'9'; ++d)
            if (d != ascii[9].unicode())
                FUZZ_CHECK(!isValidNationCode(ascii.left(9) + QChar(d)));
    }

    DigitFilter filter;
    QString input = s;
    int pos = size > 0 ? int(data[0]) % (int(s.size()) + 1) : 0;
    FUZZ_CHECK(filter.validate(input, pos) == QValidator::Acceptable);
    FUZZ_CHECK(pos >= 0 && pos <= input.size());
    for (const QChar c : input)
        FUZZ_CHECK(c >= u'0' && c <= u'9');
    return 0;
}
