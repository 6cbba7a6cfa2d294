#pragma once
// Country divisions: the list "آبادي ها" (Tabadiha) with its search, renames,
// export and the replacement of the whole table from a spreadsheet (its
// entries open Tabadiha_ins, abadiha_ins_u.h).
#include "divisions.h"

#include "common/spreadsheetreader.h"
#include "common/windows.h"

#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressDialog;
class QPushButton;
class QTableView;

namespace tavrin {

class DBGrid;
class SheetModel;

class Tabadiha : public TWindow {
    Q_OBJECT
public:
    Tabadiha();

    // Criteria: CheckBox1..6 for ostan, shahrestan, bakhsh, dehestan, rosta, cod.
    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5, *CheckBox6;
    QLineEdit *ostan, *shahrestan, *bakhsh, *dehestan, *rosta, *cod;
    QPushButton* BitBtn1;   // "جستجو"
    QPushButton* BitBtn3;   // "اکسل"
    QLabel* cnt;
    DBGrid* DBGrid1;
    QMenu* PopupMenu1;
    QAction *N1, *N2, *N3;  // "ثبت", "ويرايش", "حذف"
    QMenu *N4, *N6;         // single renames, bulk renames
    QAction *N5, *N7, *N8, *N9, *N10, *N11;        // single: ostan, shahrestan, shahr, dehestan, bakhsh, rosta
    QAction *N12, *N13, *N14, *N15, *N16, *N17;   // bulk: ostan, shahrestan, shahr, bakhsh, dehestan, rosta

    // The Excel replacement panel.
    QPushButton* BitBtn2;   // "Browse Excel..."
    QTableView* DBGrid2;
    QLabel* cnt2;
    QPushButton* ins_btn;   // "جايگزيني اکسل با وضع موجود"

    void applyRights(const Rights& r) override;
    void prepareToShow() override;

    // The criteria as ticked in the window.
    DivisionCriteria criteria() const;
    // Makes the row with this id current, if the list shows it.
    bool selectId(qint64 id);
    // The spreadsheet shown in DBGrid2, if one was read.
    const std::optional<SheetData>& sheet() const { return m_sheet; }

public Q_SLOTS:
    void BitBtn1Click();   // search
    void N1Click();        // new settlement
    void N2Click();        // edit the current one
    void N3Click();        // delete the current one (deletion password)
    void N7Click();        // rename the county of the current row
    void N10Click();       // ... its district
    void N9Click();        // ... its rural district
    void N11Click();       // ... its village
    void N12Click();       // rename the province of every listed row
    void N13Click();       // ... the county
    void N14Click();       // ... the city
    void N15Click();       // ... the district
    void N16Click();       // ... the rural district
    void N17Click();       // ... the village
    void BitBtn3Click();   // export to Excel
    void BitBtn2Click();   // choose and read a spreadsheet
    void ins_btnClick();   // replace the table with the spreadsheet

private:
    struct RenameTexts {
        QString column, title, prompt, question;
    };
    void renameSingle(const RenameTexts& t);
    void renameBulk(const RenameTexts& t);
    bool mayEdit() const;
    QProgressDialog* progressDialog();

    SheetModel* m_sheetModel;
    std::optional<SheetData> m_sheet;
    QProgressDialog* m_progress = nullptr;
};

} // namespace tavrin
