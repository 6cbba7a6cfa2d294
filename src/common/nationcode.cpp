#include "nationcode.h"

#include "dialogs.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace tavrin {

const QString kNationCodeWrong = QStringLiteral("کد ملي صحيح نيست");
const QString kNationCodeLength = QStringLiteral("كد ملي مي بايست 10 رقم باشد");

QString toAsciiDigits(QString s)
{
    for (QChar& c : s) {
        const char16_t u = c.unicode();
        if (u >= 0x06F0 && u <= 0x06F9)
            c = QChar(u'0' + (u - 0x06F0));
        else if (u >= 0x0660 && u <= 0x0669)
            c = QChar(u'0' + (u - 0x0660));
    }
    return s;
}

bool isValidNationCode(const QString& code)
{
    const QString s = toAsciiDigits(code);
    if (s.size() != 10)
        return false;
    int d[10];
    for (int i = 0; i < 10; ++i) {
        if (s[i] < QLatin1Char('0') || s[i] > QLatin1Char('9'))
            return false;
        d[i] = s[i].unicode() - u'0';
    }
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += d[i] * (10 - i);
    const int r = sum % 11;
    return r > 1 ? d[9] == 11 - r : d[9] == r;
}

QString nationCodeMessage(const QString& code)
{
    if (code.isEmpty())
        return {};
    if (code.size() == 10)
        return isValidNationCode(code) ? QString() : kNationCodeWrong;
    return kNationCodeLength;
}

QValidator::State DigitFilter::validate(QString& input, int& pos) const
{
    QString kept;
    kept.reserve(input.size());
    int newPos = 0;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = toAsciiDigits(QString(input[i]))[0];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            kept += c;
            if (i < pos)
                ++newPos;
        }
    }
    input = kept;
    pos = newPos;
    return Acceptable;
}

void alignDigitField(QLineEdit* field)
{
    field->setLayoutDirection(Qt::LeftToRight);
    field->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
}

void installDigitFilter(QLineEdit* field)
{
    field->setValidator(new DigitFilter(field));
    alignDigitField(field);
}

void resetFieldColour(QWidget* field)
{
    QPalette p = field->palette();
    p.setColor(QPalette::Base, QApplication::palette(field).color(QPalette::Base));
    field->setPalette(p);
}

namespace {

class ExitWatcher : public QObject {
public:
    ExitWatcher(QLineEdit* field, std::function<void()> handler)
        : QObject(field), m_field(field), m_handler(std::move(handler))
    {
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == m_field && e->type() == QEvent::FocusOut) {
            switch (static_cast<QFocusEvent*>(e)->reason()) {
            case Qt::ActiveWindowFocusReason:
            case Qt::PopupFocusReason:
            case Qt::MenuBarFocusReason:
                break;
            default:
                // Deferred: a message box opened inside the focus change would
                // disturb it, and hiding the window also takes the focus away.
                QTimer::singleShot(0, this, [this] {
                    if (m_field->isVisible())
                        m_handler();
                });
            }
        }
        return false;
    }

private:
    QLineEdit* m_field;
    std::function<void()> m_handler;
};

} // namespace

void onFieldExit(QLineEdit* field, std::function<void()> handler)
{
    new ExitWatcher(field, std::move(handler));
}

QString checkNationCodeField(QLineEdit* field)
{
    resetFieldColour(field);
    const QString message = nationCodeMessage(field->text());
    if (message.isEmpty())
        return message;
    dialogs().warning(message);
    if (message == kNationCodeLength)
        field->setFocus(Qt::OtherFocusReason);
    return message;
}

void checkNationCodeOnExit(QLineEdit* field)
{
    onFieldExit(field, [field] { checkNationCodeField(field); });
}

} // namespace tavrin
