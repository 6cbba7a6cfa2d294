#pragma once
// The multi-line texts of the news and the messages (the body shown and the
// body typed).  A plain text field lays every line out against its left edge,
// even in a right-to-left window; here the text stands against the edge it
// starts from: a Persian text against the right edge, a Latin one against the
// left (its first letter decides; an empty field follows the window).  Each
// line reads in the direction of its own first letter.
#include <QPlainTextEdit>

namespace tavrin {

class BodyEdit : public QPlainTextEdit {
public:
    BodyEdit(QWidget* parent, const QString& objectName);

protected:
    void changeEvent(QEvent* e) override;

private:
    void followText();
};

// Whether an event is Enter pressed (with Control when withControl): the news
// and message windows save from a body with Ctrl+Enter.
bool isEnter(QEvent* event, bool withControl);

} // namespace tavrin
