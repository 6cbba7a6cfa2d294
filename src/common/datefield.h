#pragma once
// The Jalali date field every window uses: the date mask "9999/99/99" (the
// slashes are part of the text), digits left to right, sized for a whole
// date.  A field that holds no date shows the empty date mask; a click into
// it starts typing at the first position, wherever the click landed, so that
// the digits typed fill the date from its year on.  What a save does with the
// text is the logic's rule (jalali::fieldDate): the empty date mask or a
// whole valid date, nothing else, is stored.
#include <QLineEdit>

#include <optional>

namespace tavrin {

class TDateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TDateEdit(QWidget* parent = nullptr);

    // The text a save hands to the logic: the date as shown, the empty date
    // mask when nothing was typed.
    QString dateText() const { return displayText(); }
    // The date to store (jalali::fieldDate of the text), or nothing for a
    // partly typed or impossible date.
    std::optional<QString> date() const;
    // Shows a stored date; "", NULL, "//" and blanks show the empty date mask.
    void setDate(const QString& stored);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};

} // namespace tavrin
