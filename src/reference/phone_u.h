#pragma once
// The phone book "دفترچه تلفن": names, telephone numbers and remarks, searched
// as the search text is typed.
#include "phonebook.h"

#include "common/windows.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace tavrin {

class DBGrid;

class Tphone : public TWindow {
    Q_OBJECT
public:
    Tphone();

    QLineEdit *name, *tel, *cmt;
    QPushButton* ins_btn;                 // "ثبت"
    QGroupBox* RadioGroup1;               // "جستجو بر اساس"
    QRadioButton *RadioGroup1_0, *RadioGroup1_1, *RadioGroup1_2;   // name, tel, cmt
    QLineEdit* src;
    QLabel* cnt;
    DBGrid* DBGrid1;
    QMenu* PopupMenu1;
    QAction* N1;                          // "حذف"

    void applyRights(const Rights& r) override;
    void prepareToShow() override;
    PhoneColumn searchedColumn() const;

public Q_SLOTS:
    void srcChange();
    void ins_btnClick();
    void N1Click();
};

} // namespace tavrin
