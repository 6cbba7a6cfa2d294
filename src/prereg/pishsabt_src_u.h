#pragma once
// The pre-registration list: searches the pre-registrations and is the hub
// from which they are entered, edited, deleted, exported, given deposits and
// printed as the deposit agreement.
#include "common/listquery.h"
#include "common/windows.h"
#include "prereg/pishsabt_logic.h"
#include "prereg/vadiegozari_frm.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;

namespace tavrin {

class DBGrid;
class Tpishsabt_ins;

class Tpishsabt_src : public TWindow {
    Q_OBJECT
public:
    Tpishsabt_src();

    // The "pishsabt" rights: insert enables N1, edit N2 and the pop-up's N6,
    // delete N3.
    void applyRights(const Rights& pishsabt) override;
    // Empties the filter fields, sets the user filter to the internet preset
    // (the ticks stay as they were) and runs the search.
    void prepareToShow() override;

    DBGrid* grid() const { return DBGrid1; }
    ListQuery searchQuery() const;
    // The person of the grid's current row as stored now (empty without one;
    // a row deleted meanwhile is reported and the list refreshed).
    QSqlRecord currentPerson();
    QAction* menuAction(const QString& name) const;

public Q_SLOTS:
    void src_btnClick();
    void N1Click();   // new
    void N2Click();   // edit (also the pop-up's N6)
    void N3Click();   // delete
    void N12Click();  // the person's deposits
    void N7Click();   // Excel
    void N13Click();  // all deposits
    void N11Click();  // agreement page 1, province
    void N21Click();  // agreement page 2
    void N31Click();  // agreement page 3, province
    void N10Click();  // agreement pages 1 to 3, province
    void N16Click();  // agreement page 1, county
    void N32Click();  // agreement page 3, county
    void N5Click();   // close
    void ostanChange();

private:
    void buildMenus();
    void refreshAfterChange(qint64 id = 0);
    // The entry window, its saves and vanished rows refreshing this list.
    Tpishsabt_ins& entryWindow();
    int printPage1(AgreementVariant variant);
    int printPage2();
    int printPage3(AgreementVariant variant);

    QMenuBar* m_menuBar;
    QAction *N1, *N2, *N3, *N12, *N7, *N13, *N11, *N21, *N31, *N10, *N16, *N32, *N5, *N6;
    QList<QCheckBox*> m_boxes;
    QComboBox *ostan, *shahrestan, *gender;
    QLineEdit *nation, *lname, *reg_user;
    QPushButton* src_btn;
    QLabel* cnt;
    DBGrid* DBGrid1;
    bool m_entryWired = false;
    bool m_depositsWired = false;
};

} // namespace tavrin
