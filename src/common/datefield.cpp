#include "datefield.h"

#include "jalali.h"

#include <QMouseEvent>

#include <algorithm>

namespace tavrin {

TDateEdit::TDateEdit(QWidget* parent) : QLineEdit(parent)
{
    setInputMask(QStringLiteral("9999/99/99; "));
    setLayoutDirection(Qt::LeftToRight);
    setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

std::optional<QString> TDateEdit::date() const
{
    return jalali::fieldDate(displayText());
}

void TDateEdit::setDate(const QString& stored)
{
    setText(jalali::isEmptyDate(stored) ? QString() : stored);
}

QSize TDateEdit::sizeHint() const
{
    // A line edit's own hint is seventeen "x" wide plus its frame and
    // margins; a date field is a whole date wide, with room for the caret.
    const QSize base = QLineEdit::sizeHint();
    const QFontMetrics fm = fontMetrics();
    const int frame = std::max(0, base.width() - 17 * fm.horizontalAdvance(QLatin1Char('x')));
    return QSize(frame + fm.horizontalAdvance(QStringLiteral("0000/00/00")) + 6, base.height());
}

QSize TDateEdit::minimumSizeHint() const
{
    return sizeHint();
}

void TDateEdit::mousePressEvent(QMouseEvent* e)
{
    QLineEdit::mousePressEvent(e);
    // The mask puts the caret where the click landed; in a field that holds
    // no date, typing there would leave the first places blank (" 140/50/80").
    if (e->button() == Qt::LeftButton && jalali::isEmptyDate(displayText()))
        setCursorPosition(0);
}

void TDateEdit::mouseReleaseEvent(QMouseEvent* e)
{
    QLineEdit::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && !hasSelectedText() && jalali::isEmptyDate(displayText()))
        setCursorPosition(0);
}

} // namespace tavrin
