#pragma once
// Pieces the windows of one applicant's payments, partners, dependants,
// storage and parking and documents share: the applicant header, amount
// fields, the grid's pop-up menu, and the window height on a small screen
// (their date fields are common/windows.h's makeDateEdit).
#include <QList>
#include <QSqlRecord>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QWidget;

namespace tavrin {

class DBGrid;
class ListQuery;
struct GridColumn;

namespace child {

// The applicant header: province, county, project, unit identifier and name
// (object names ostan, shahrestan, prj_name, shenase, flname).
struct Header {
    QGroupBox* box = nullptr;
    QLabel *ostan = nullptr, *shahrestan = nullptr, *prj_name = nullptr, *shenase = nullptr, *flname = nullptr;
    void show(const QSqlRecord& customer);
    // Shows another name (a partner's) in the name label.
    void showName(const QString& name);
};
Header makeHeader(QWidget* parent);

// "first last" of a row.
QString fullName(const QSqlRecord& row);

// A field holding an amount in whole rials: digits only, aligned right.
QLineEdit* amountField(QWidget* parent, const char* name);
// The label beside an amount that shows it grouped in threes.
QLabel* groupedLabel(QWidget* parent, const char* name);
// Shows a typed amount grouped in threes ("0" when empty).
void showGrouped(QLabel* label, const QString& digits);
// An editable pick list whose typed text is limited to the column's length.
QComboBox* pickList(QWidget* parent, const char* name, const QString& table);
// A text field limited to the column's length.
QLineEdit* textField(QWidget* parent, const char* name, const QString& table);
// Fills a pick list with items and keeps its typed text.
void fillKeepingText(QComboBox* c, const QStringList& items);

// The grid's pop-up menu: one action per (object name, caption); a right click
// makes the row under the cursor current first.
QList<QAction*> gridPopup(DBGrid* grid, const QList<std::pair<const char*, QString>>& entries);

// A search criterion: a check box with its caption and the fields it enables.
struct Criterion {
    QString caption;
    QList<QWidget*> fields;
};
// Lays the criteria out, perRow to a row from the right, each a check box
// (CheckBox1, CheckBox2 ...) followed by its fields, and binds every field to
// its box; returns the boxes in order.
QList<QCheckBox*> layoutCriteria(QWidget* parent, QGridLayout* grid, const QList<Criterion>& criteria, int perRow);
// The field's text when its box is ticked, else nothing.
std::optional<QString> ticked(const QCheckBox* box, const QWidget* field);

// The window's height: the wanted one, within the screen's available height.
void fitHeight(QWidget* w, int wanted);

// Shows the rows of `q` in the grid, and their count in `counter` when one is
// given; a database failure empties the list and shows the search's failure
// message.
void showList(DBGrid* grid, const ListQuery& q, QLabel* counter = nullptr);

// The grid columns of a list of partners (their share a number) and of a list
// of dependants, each with the hidden id.
QList<GridColumn> personColumns(const QStringList& columns, QString (*caption)(const QString&));
QList<GridColumn> dependantColumns();

// Whether a key event is Enter (either key).
bool isEnter(const QKeyEvent* e);
// Whether the widget is, or sits inside, the given grid.
bool inside(const QWidget* w, const QWidget* grid);

} // namespace child
} // namespace tavrin
