#pragma once
// The applicant record "ثبت/ويرايش اطلاعات مشتري": a new applicant bought a
// unit (the window stays open, cleared, for the next one), or the list's
// current applicant is edited (the window closes after the save).  The project
// and the unit are chosen through the cascade province -> county -> project
// code -> free unit, or given by the project window's "ثبت متقاضي".
#include "applicants/customers_logic.h"
#include "common/windows.h"

#include <QHash>
#include <QSqlRecord>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace tavrin {

class Tcustomers_ins : public TWindow {
    Q_OBJECT
public:
    Tcustomers_ins();

    // New mode: every field cleared (amounts "0", share "6", status "فعال",
    // registration date today, type "حقيقي"), only "ثبت".  The choice lists and
    // the province list are read again unless keepLists (the next buyer after a
    // save: a sale changes none of them, and reading them again would cost a
    // distant office two round trips).
    void prepareNew(bool keepLists = false);
    // New mode for a given project and free unit (the project window's units
    // list): both blocks filled, the focus on the first name.
    void prepareNewForUnit(const QSqlRecord& project, const QSqlRecord& unit);
    // Edit mode on a stored applicant: "ويرايش" and the storage and parking button.
    void prepareEdit(const QSqlRecord& customer);

    bool editing() const { return m_editId > 0; }
    qint64 editedId() const { return m_editId; }
    // The pre-registration whose person was copied in and is to be moved in by the save (0: none).
    qint64 pendingPrereg() const { return m_prereg; }

    applicants::CustomerValues values() const;
    void setValues(const applicants::CustomerValues& values);
    // A field by its column name.
    QWidget* field(const QString& column) const;
    // Shows the field's page and puts the focus in it.
    void focusField(const QString& column);

public Q_SLOTS:
    // Closing the window forgets a pre-registration chosen but not saved.
    void reject() override;
    void ins_btnClick();
    void edit_btnClick();
    void ins_btn2Click();
    void SpeedButton1Click();  // pre-registration by national code
    void SpeedButton2Click();  // pre-registration by name
    void ostanChange();
    void shahrestanChange();
    void prj_codChange();
    void shenaseChange();
    void typClick();
    void takhfifExit();
    void mobileExit();
    void sahmExit();
    void Label4Click();        // "ش شناسنامه": the national code into an empty birth-certificate number

Q_SIGNALS:
    // An applicant was saved (edited, or his windows changed his totals); the list shows it.
    void saved(qint64 id);
    // A new applicant was saved (a sale); the list shows him.
    void added(qint64 id);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void build();
    // A field's editor, named after its column.
    QWidget* makeField(const applicants::Field& f);
    QGridLayout* layRows(QWidget* parent, const QList<QStringList>& rows);
    // The three pages, the buttons below them.
    void buildPages();
    void buildTabOrder();
    void connectFields();
    void fillSettingLists();
    // The seven pick lists added to a batch, and filled from it once read.
    static QList<int> addSettingLists(ListBatch& b);
    void fillSettingLists(const ListBatch& b, const QList<int>& numbers);
    void fillProvinces();
    void clearBelow(const QStringList& keep);
    void setCombo(QComboBox* c, const QString& text, const QStringList& items);
    void showGrouped();
    void refreshTotals();
    void copyPrereg(const QSqlRecord& pishsabt);
    void showResult(const Outcome& r);
    void moveFocus(bool forward);
    void enterPressed(QWidget* in);
    int pageOf(QWidget* w) const;

    QHash<QString, QWidget*> m_fields;
    QHash<QString, QLabel*> m_grouped;
    QList<QWidget*> m_order;   // the tab order, right to left and top to bottom, across the pages
    QTabWidget* m_pages = nullptr;
    QGroupBox* m_personBox = nullptr;
    QComboBox *ostan = nullptr, *shahrestan = nullptr, *prj_cod = nullptr, *shenase = nullptr, *typ = nullptr;
    QPushButton *ins_btn = nullptr, *edit_btn = nullptr;
    QToolButton *ins_btn2 = nullptr, *SpeedButton1 = nullptr, *SpeedButton2 = nullptr;
    qint64 m_editId = 0;
    QSqlRecord m_read;        // the edited applicant's row as the window was filled from it
    qint64 m_prereg = 0;
    qint64 m_basePrice = 0;   // the unit's price before the discount
};

} // namespace tavrin
