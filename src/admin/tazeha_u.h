#pragma once
// The news window "تازه ها" with its date-range search (its entries open
// Ttazeha_ins, tazeha_ins_u.h).
#include "common/windows.h"

class QAction;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tavrin {

class DBGrid;

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
