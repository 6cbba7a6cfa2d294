#pragma once
// The users window: the list of users with its search, the editor of the
// selected user's page rights with the role templates, and the editor of the
// counties granted to him.
#include "rights_templates.h"

#include "common/windows.h"
#include "common/xlsxexport.h"

#include <QMap>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QToolButton;

namespace tavrin {

class DBGrid;

class Tusers : public TWindow {
    Q_OBJECT
public:
    Tusers();

    void applyRights(const Rights& r) override;
    void prepareToShow() override;

    // The four rights boxes of a page.
    struct PageBoxes {
        QCheckBox *ins, *edit, *del, *show;
    };
    // The boxes as rights, and rights into the boxes.
    RightsMap boxRights() const;
    void setBoxRights(const RightsMap& rights);
    // The user whose rights and counties are being edited (0: none).
    qint64 selectedId() const { return m_selectedId; }
    QStringList countyList() const;

    static HeaderMap exportHeaders();
    static const QString kSelectUser;
    static const QString kSearchFailed;
    static const QString kLoadFailed;
    static const QString kDeleteQuestion;

    // Search criteria.
    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4;
    QLineEdit *us, *nam;
    QComboBox *ostan2, *lev2;
    QPushButton* src_btn;
    QLabel* cnt;
    DBGrid* DBGrid1;
    QAction *N5, *N6, *N7, *N8, *N9;
    // Rights editor.
    QComboBox *lev, *semat;
    QMap<QString, PageBoxes> boxes;  // page key -> boxes
    QPushButton* ins_btn2;
    QLabel* sel_user;
    QLabel* karbar;  // the logged-in user's name
    // Counties.
    QComboBox *ostan, *shahrestan;
    QToolButton *SpeedButton2, *SpeedButton3, *add_loc;
    QListWidget* list_loc;
    QMenu* list_locMenu;
    QAction *N3, *N1;
    QPushButton* ins_btn;

public Q_SLOTS:
    void FormShow();
    void src_btnClick();
    // The selected user's rights and counties go into the editors.
    void DBGrid1CellClick(int row);
    void N5Click();   // new user
    void N6Click();   // edit the current user
    void N7Click();   // delete the current user
    void N8Click();   // Excel export
    void levChange();
    void sematChange();
    void ins_btn2Click();
    void ostanChange();
    void SpeedButton2Click();  // every county of the province
    void SpeedButton3Click();  // the chosen county
    void add_locClick();       // the chosen county
    void N3Click();            // remove the selected county
    void N1Click();            // remove every county
    void ins_btnClick();

private:
    QWidget* buildRightsEditor();
    QWidget* buildCountyEditor();
    void clearBoxes();
    void addCounty(const QString& county);
    // After a template or clearing: for everyone but the administrator, and for
    // the administrator's row, the "karbaran" boxes show what is stored.
    void keepKarbaranBoxes();
    qint64 m_selectedId = 0;
    QString m_selectedUs;
    Rights m_storedKarbaran;
};

} // namespace tavrin
