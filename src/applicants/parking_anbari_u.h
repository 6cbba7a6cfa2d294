#pragma once
// The parking spaces and storage rooms of one applicant "پارکينگ و انباري":
// for each kind the selectors block -> number -> position over the free
// spaces of his project, the chosen space's area and prices, the add button,
// his rows with their area and amount totals.  The search of assigned spaces
// across applicants is Tparking_src (parking_src_u.h).
#include "applicants/applicant_windows.h"
#include "applicants/assignments_logic.h"
#include "applicants/child_widgets.h"

#include "common/windows.h"

#include <QHash>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class DBGrid;

class Tparking_anbari : public TWindow {
    Q_OBJECT
public:
    Tparking_anbari();

    // Opens on the context's applicant: header, cleared selectors, his rows and
    // totals, the free blocks of his project; the list's height less 25 pixels.
    void open(const applicants::ApplicantContext& c);

    qint64 customerId() const { return m_customerId; }
    DBGrid* grid(bool parking) const { return side(parking).grid; }

public Q_SLOTS:
    void bolok_pChange();
    void numChange();
    void posChange();
    void bolok_aChange();
    void num2Change();
    void pos2Change();
    void ins_btn1Click();   // sell the chosen parking space
    void ins_btn2Click();   // sell the chosen storage room
    void N1Click();         // delete the current parking row
    void N2Click();         // delete the current storage row

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void done(int r) override;

private:
    // The controls of one kind of space.
    struct SideWidgets {
        const assignments::Side* logic = nullptr;
        QGroupBox* box = nullptr;
        QComboBox *bolok = nullptr, *num = nullptr, *pos = nullptr;
        QLineEdit *metraj = nullptr, *mablagh1 = nullptr, *mablagh = nullptr, *spaceId = nullptr;
        QLabel *mablagh1Grouped = nullptr, *mablaghGrouped = nullptr, *metrajSum = nullptr, *mablaghSum = nullptr;
        QPushButton* ins = nullptr;
        DBGrid* grid = nullptr;
        QAction* del = nullptr;
    };
    SideWidgets& side(bool parking) { return parking ? m_parking : m_storage; }
    const SideWidgets& side(bool parking) const { return parking ? m_parking : m_storage; }
    SideWidgets buildSide(bool parking);

    void clearValues(SideWidgets& s);
    void blockChanged(SideWidgets& s);
    void numberChanged(SideWidgets& s);
    void positionChanged(SideWidgets& s);
    void add(SideWidgets& s);
    void remove(SideWidgets& s);
    void refresh(SideWidgets& s);
    void reloadBlocks(SideWidgets& s);
    // Selects a space by block, number and position (the chain of selectors).
    void select(SideWidgets& s, const QString& bolok, const QString& num, const QString& pos);

    qint64 m_customerId = 0;
    qint64 m_prjId = 0;
    std::function<void()> m_changed;
    child::Header m_header;
    SideWidgets m_parking, m_storage;
    bool m_filling = false;
};

} // namespace tavrin
