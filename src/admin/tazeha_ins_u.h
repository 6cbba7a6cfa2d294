#pragma once
// The news entry window "ثبت/ويرايش تازه" (new and edited news items).
#include "common/windows.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tavrin {

class Ttazeha_ins : public TWindow {
    Q_OBJECT
public:
    Ttazeha_ins();

    // A new item dated today, "ثبت" shown.
    void startNew();
    // The stored item, "ويرايش" shown.
    void startEdit(qint64 id, const QString& dat, const QString& mozo, const QString& msg);

    QLineEdit* dat;
    QLineEdit* mozo;
    QPlainTextEdit* msg;
    QPushButton* ins_btn;
    QPushButton* edit_btn;

    // After a save (the list shows it).
    std::function<void()> onSaved;

public Q_SLOTS:
    void ins_btnClick();
    void edit_btnClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void save();
    bool checked();
    qint64 m_id = 0;
};

} // namespace tavrin
