#include "clicklabel.h"

#include <QMouseEvent>

namespace tavrin {

ClickLabel::ClickLabel(const QString& text, const QString& name, QWidget* parent) : QLabel(text, parent)
{
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e)
{
    if (isEnabled() && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(e);
}

} // namespace tavrin
