#pragma once
// The facilities browser: five searchable lists over every project the user
// may see -- project facilities, unit loans, units, storage rooms and parking
// spaces -- each with its own filters, row count, sortable grid and Excel
// export, under shared province, county and project-name filters (and the
// facility filters of the first two lists).  Nothing is searched until a
// list's "جستجو" is pressed.
#include "common/listquery.h"
#include "common/windows.h"
#include "common/xlsxexport.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace tavrin {

class DBGrid;

class Tproject_tas_rep : public TWindow {
    Q_OBJECT
public:
    Tproject_tas_rep();

    enum List { Facilities, Loans, Units, Storage, Parking };
    static constexpr int kLists = 5;

    // Empties every filter, count and list (the opening from the project list).
    void clearAll();
    // Refills the drop-downs from the settings (the province list once).
    void prepareToShow() override;

    // The statement of a list with the ticked filters.
    ListQuery listQuery(List list) const;
    DBGrid* grid(List list) const { return m_grids[list]; }
    QLabel* countLabel(List list) const { return m_counts[list]; }
    QTabWidget* tabs() const { return m_tabs; }
    // Headings of a list's Excel export.
    static HeaderMap excelHeaders(List list);

public Q_SLOTS:
    void search(int list);
    void src_btn_tasClick() { search(Facilities); }
    void src_btn_vamClick() { search(Loans); }
    void src_btn_vahClick() { search(Units); }
    void src_btn_anbClick() { search(Storage); }
    void src_btn_parClick() { search(Parking); }
    void exportList(int list);   // N1Click ... N5Click
    void ostanChange();

private:
    QWidget* filterField(const QString& name) const;
    bool ticked(const QString& field) const;

    QTabWidget* m_tabs;
    DBGrid* m_grids[kLists];
    QLabel* m_counts[kLists];
    QPushButton* m_buttons[kLists];
    QList<QCheckBox*> m_boxes;
    bool m_provincesFilled = false;
};

} // namespace tavrin
