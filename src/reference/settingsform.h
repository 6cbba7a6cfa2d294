#pragma once
// What the three settings windows share: the key list, the value field, the
// insert button, the grid of the chosen key's rows and its pop-up menu with
// "پيش فرض" (always available) and "حذف" (the delete right).
#include "settings.h"

#include "common/windows.h"

class QAction;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace tavrin {

class SettingsWindow : public TWindow {
    Q_OBJECT
public:
    QComboBox* component = nullptr;   // "عنوان اطلاعات": the key, a fixed list
    QLineEdit* cmt = nullptr;         // "توضيحات": the value
    QPushButton* ins_btn = nullptr;
    QTableView* DBGrid1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N2 = nullptr;            // "پيش فرض"
    QAction* N1 = nullptr;            // "حذف"

    void applyRights(const Rights& r) override;

    // The rows the grid shows (the real values, also of masked rows).
    const QList<SettingRow>& rows() const { return m_rows; }
    // The text the grid shows in a cell.
    QString cellText(int row, int column) const;
    // Makes a row of the grid the current one (tests, and the right click).
    void selectRow(int row);

public Q_SLOTS:
    void componentChange();   // lists the chosen key's rows
    void N2Click();           // "پيش فرض"
    void N1Click();           // "حذف"
    virtual void ins_btnClick() = 0;

protected:
    SettingsWindow(const QString& name, const QString& caption, SettingTable table);
    // Builds the common controls; extra rows (province, county) go above the key.
    void build(QGridLayout* top);
    virtual SettingPlace place() const;
    // Lists rows of the key (an empty key: every key of the place).
    void showRows(const QString& key);
    void reload();
    // The key and value of the current row (nothing when no row is current).
    const SettingRow* currentSetting() const;
    // A database failure of an action: the fixed message, the driver text to the log.
    void failed(const QString& message, const class DbError& e);
    // Inserts the field values after the window's own checks; shows "تكراري است"
    // for a duplicate.  True when a row was inserted.
    bool insertFromFields();
    // After a change of the general "کد ثبت" (the general window updates its label).
    virtual void registrationCodeChanged() {}

    SettingTable m_table;
    QStandardItemModel* m_model = nullptr;
    QList<SettingRow> m_rows;
    QString m_shownKey;
};

} // namespace tavrin
