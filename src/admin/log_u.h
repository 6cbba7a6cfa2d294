#pragma once
// The activity-log viewer: search over the log, its Excel export and the web
// page of every user's last action.
#include "common/windows.h"
#include "common/xlsxexport.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace tavrin {

class DBGrid;

// The web page of the last action of every user found in the log, numbered
// from 1 and ordered by province: province, level and name of the user (empty
// when no longer in users), the user name, and comment, client date and server
// time of the user's own latest row (by server time, then id).  Every value is
// HTML-escaped; the page declares UTF-8.  Throws DbError.
QString lastActionReportHtml(const QString& today);

class Tlog : public TWindow {
    Q_OBJECT
public:
    Tlog();

    // Dates to today, the text filters emptied, the grid emptied.
    void prepareToShow() override;

    static HeaderMap exportHeaders();
    static const QString kDateIncomplete;
    static const QString kSearchFailed;
    static const QString kReportFailed;
    static const QString kWriteFailed;

    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5;
    QLineEdit *karbar, *dat1, *dat2, *computer_name, *cmt, *ip;
    QPushButton* src_btn;
    QLabel* cnt;
    DBGrid* DBGrid1;
    QToolButton* SpeedButton1;
    QGroupBox* RadioGroup1;
    QRadioButton *RadioGroup1_0, *RadioGroup1_1;  // "وب", "اکسل"
    QPushButton* BitBtn1;

public Q_SLOTS:
    void src_btnClick();
    // The clicked row's user in a balloon tip.
    void DBGrid1CellClick(int row);
    void SpeedButton1Click();
    // Writes the last-action page where the user chooses and opens it.
    void BitBtn1Click();
};

} // namespace tavrin
