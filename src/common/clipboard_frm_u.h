#pragma once
// A window holding a text for the user to paste elsewhere (a text message,
// another program): the text is shown in a memo and copied to the clipboard.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace tavrin {

class TClipBoard_frm : public QDialog {
    Q_OBJECT
public:
    explicit TClipBoard_frm(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;

public Q_SLOTS:
    // "Copy and Exit": selects the whole memo and copies it; the window stays open.
    void Button1Click();

private:
    QPlainTextEdit* m_memo;
    QPushButton* m_copy;
};

} // namespace tavrin
