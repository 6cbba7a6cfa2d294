#pragma once
// The consistency check window for administrators: runs the check over the
// connected database and lists what it finds, one row per finding with its
// table, the ids of the rows at fault and what is wrong.
#include "common/windows.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace tavrin {

class Tcheck : public TWindow {
    Q_OBJECT
public:
    Tcheck();

    // The list of an earlier run is emptied.
    void prepareToShow() override;

    QPushButton* check_btn;
    QTableWidget* findings;
    QLabel* cnt;

public Q_SLOTS:
    void check_btnClick();
};

} // namespace tavrin
