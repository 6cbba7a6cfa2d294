#pragma once
// The news window "تازه ها" with its date-range search, and the news entry
// window "ثبت/ويرايش تازه".
#include "common/windows.h"

class QAction;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tavrin {

class DBGrid;

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

class Ttazeha : public TWindow {
    Q_OBJECT
public:
    Ttazeha();

    void applyRights(const Rights& r) override;
    // Reading only: no rights row for the news page.
    void setReadOnly();
    // The search runs; the "do not show again" box starts unticked.
    void prepareToShow() override;

    QAction *N1, *N2, *N3, *N4;
    QCheckBox* CheckBox2;
    QLineEdit *dat1, *dat2;
    QPushButton* src_btn;
    DBGrid* DBGrid1;
    QPlainTextEdit* DBMemo1;
    QCheckBox* CheckBox1;

public Q_SLOTS:
    void src_btnClick();
    void N1Click();  // new item
    void N2Click();  // edit the current item
    void N3Click();  // delete the current item

protected:
    // Closing with "do not show again" ticked records today for the user.
    void done(int r) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The same search again, keeping the current row where it can.
    void reload();
    void showBody();
};

} // namespace tavrin
