#pragma once
// A label that acts when clicked (the link-like labels of the login and entry windows).
#include <QLabel>

namespace tavrin {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    ClickLabel(const QString& text, const QString& name, QWidget* parent = nullptr);
Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

} // namespace tavrin
