#pragma once
// Every deposit of the pre-registrations, searchable by county and last name.
#include "common/listquery.h"
#include "common/windows.h"

class QAction;
class QCheckBox;
class QComboBox;
class QPushButton;

namespace tavrin {

class DBGrid;

class Tpishpardakht_src : public TWindow {
    Q_OBJECT
public:
    Tpishpardakht_src();

    // Empties both filter fields; the search runs when the user asks.
    void prepareToShow() override;
    DBGrid* grid() const { return DBGrid1; }
    ListQuery searchQuery() const;

public Q_SLOTS:
    void src_btnClick();
    void N1Click();  // Excel

private:
    QCheckBox *CheckBox1, *CheckBox2;
    QComboBox *shahrestan, *lname;
    QPushButton* src_btn;
    QAction* N1;
    DBGrid* DBGrid1;
};

} // namespace tavrin
