#include "admin/bodyedit.h"

#include <QEvent>
#include <QKeyEvent>
#include <QTextDocument>
#include <QTextOption>

namespace tavrin {

BodyEdit::BodyEdit(QWidget* parent, const QString& objectName) : QPlainTextEdit(parent)
{
    setObjectName(objectName);
    connect(this, &QPlainTextEdit::textChanged, this, &BodyEdit::followText);
    followText();
}

void BodyEdit::changeEvent(QEvent* e)
{
    QPlainTextEdit::changeEvent(e);
    // The text field sets the window's direction on its text when that changes.
    if (e->type() == QEvent::LayoutDirectionChange)
        followText();
}

void BodyEdit::followText()
{
    Qt::LayoutDirection direction = layoutDirection();
    for (const QChar c : toPlainText()) {
        const QChar::Direction d = c.direction();
        if (d == QChar::DirL) {
            direction = Qt::LeftToRight;
            break;
        }
        if (d == QChar::DirR || d == QChar::DirAL) {
            direction = Qt::RightToLeft;
            break;
        }
    }
    const Qt::Alignment edge = (direction == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignAbsolute;
    QTextOption option = document()->defaultTextOption();
    if (option.alignment() == edge && option.textDirection() == Qt::LayoutDirectionAuto)
        return;
    option.setTextDirection(Qt::LayoutDirectionAuto);
    option.setAlignment(edge);
    document()->setDefaultTextOption(option);
}

bool isEnter(QEvent* event, bool withControl)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* k = static_cast<QKeyEvent*>(event);
    return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
           (!withControl || (k->modifiers() & Qt::ControlModifier));
}

} // namespace tavrin
