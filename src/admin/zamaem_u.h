#pragma once
// The attachments window "ضمائم": the attachments of one description, storing
// a chosen file under a description, opening an attachment with the desktop's
// program, and deleting one.
#include "common/windows.h"

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;

namespace tavrin {

class DBGrid;

class Tzamaem : public TWindow {
    Q_OBJECT
public:
    Tzamaem();

    void applyRights(const Rights& r) override;
    // Description and password emptied, the descriptions read anew.
    void prepareToShow() override;

    QComboBox* Combo_type;
    QLineEdit* ramz;
    QPushButton* ins_btn;
    DBGrid* DBGrid1;
    QMenu* PopupMenu1;
    QAction* N1;

public Q_SLOTS:
    void FormShow();
    void Combo_typeChange();
    void ins_btnClick();
    // Saves the clicked attachment into the attachments folder and opens it.
    void DBGrid1CellClick(int row);
    void N1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillDescriptions();
};

} // namespace tavrin
