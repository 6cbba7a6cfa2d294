#pragma once
// The record-history window ("سابقه تغييرات"): every change the history
// holds for one record (an applicant with his payments, partners, dependants
// and spaces; a project with its units, facilities and loans; any other
// record alone), newest first, the field by its caption in the windows, its
// value before and after, who and when.  Filters by field and by date; the
// list goes to Excel and to the printer.
#include "common/listquery.h"
#include "common/windows.h"
#include "common/xlsxexport.h"
#include "documents/document.h"

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tavrin {

class DBGrid;

class Ttaghirat : public TWindow {
    Q_OBJECT
public:
    Ttaghirat();

    // Opens the window on a record with the page right "taghirat" (refused
    // with the no-access message without it); the app's history opener.
    static void openFor(const QString& table, qint64 id, const QString& label);

    // Shows the record's history: its fields in the field filter, the
    // filters cleared, the whole history listed.  Throws nothing: a failed
    // read is reported.
    void showRecord(const QString& table, qint64 id, const QString& label);
    // The search of the ticked filters (nothing when a date is incomplete).
    std::optional<ListQuery> query();

    // The text the grid shows in a cell (the table caption with the record's
    // id, the field's caption, the action in words).
    QString cellText(int row, int column) const;
    // A stored history row as the grid, the export and the print show it.
    static QVariantMap shownRow(const QSqlRecord& r);
    // The fields of a shown row in column order, and their titles.
    static const QList<QPair<QString, QString>>& shownColumns();
    // The printed list of the current search (nothing when the read was
    // cancelled); throws DbError.
    std::optional<doc::Document> document() const;

    static const QString kSearchFailed;
    static const QString kPrintFailed;

    QLabel* rec_lbl;
    QCheckBox *CheckBox1, *CheckBox2;
    QComboBox* field;
    QLineEdit *dat1, *dat2;
    QPushButton* src_btn;
    QLabel* cnt;
    DBGrid* DBGrid1;
    QToolButton* SpeedButton1;   // Excel
    QToolButton* SpeedButton2;   // print

public Q_SLOTS:
    void src_btnClick();
    void SpeedButton1Click();
    void SpeedButton2Click();

private:
    void fillFields();

    QString m_table, m_label;
    qint64 m_id = 0;
};

} // namespace tavrin
