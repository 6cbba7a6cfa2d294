#pragma once
// The unit entry window "واحدهاي پروژه": new units of a project are keyed in
// block by block (the window stays open after each save, so the next unit
// differs only by its number); an existing unit is edited and the window closes.
#include "common/windows.h"
#include "units_logic.h"

#include <QSqlRecord>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class TMonEdit;
class TRealEdit;
class ClickLabel;

class Tproject_vahed : public TWindow {
    Q_OBJECT
public:
    Tproject_vahed();

    // New units of the project: empties the fields, status "فعال", the type
    // of the project, the insert button.
    void prepareNew(const QSqlRecord& project);
    // Edits a unit (a vahedha row) of the project: the edit button.  The row
    // is kept: the save refuses it when another user changed it since.
    void prepareEdit(const QSqlRecord& project, const QSqlRecord& unit);

    units::UnitForm form() const;
    const QSqlRecord& project() const { return m_project; }
    qint64 unitId() const { return m_unitId; }

    // Project (read-only)
    QLineEdit *prj_name, *ostan, *shahrestan;
    QLabel* cnt;
    ClickLabel* Label1;
    // Unit
    QComboBox *karbari, *bolok, *tabaghe, *vahed_no, *jahat, *bana, *ekhtesasi, *moshtarak, *status, *vahed_typ;
    QLineEdit *shenase, *otagh;
    TRealEdit *metraj, *metraj_z, *teras, *hayat;
    QLineEdit *mablagh1, *teras1, *hayat1, *mablagh;
    TMonEdit* vam;
    QLabel *mablagh_3harfi, *mablagh1_3harfi, *teras1_3harfi, *hayat1_3harfi;
    QLabel *mablagh1Caption, *mablaghCaption, *vahed_typCaption;
    QCheckBox* vam_check;
    QPushButton *ins_btn, *edit_btn;

public Q_SLOTS:
    void ins_btnClick();
    void edit_btnClick();
    // The hidden repair: every free unit an applicant holds gets its sold status back.
    void Label1Click();
    // Recomputes the price from the areas and the prices per square metre.
    void computePrice();
    void updateShenase();

Q_SIGNALS:
    // A unit was added or changed (the project window's list refreshes).
    void unitsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillLists();
    void showProject(const QSqlRecord& project);
    void refreshCount();
    // The loan window for a unit just saved (vam_check).
    void openLoans(qint64 unitId);
    void updateCaptions();
    void updateGroupedLabels();
    void focusField(const QString& name);

    // A save another user overtook: offers to show the unit as stored now.
    void askToReload(const Outcome& r);

    QSqlRecord m_project;
    qint64 m_unitId = 0;
    QSqlRecord m_read;  // the unit as the window showed it
};

} // namespace tavrin
