#pragma once
// "تهيه پشتيبان": the backup of the database the program works on, for
// administrators.  The embedded database shows its data file (a copy of it is
// the backup, made here while the program runs); a PostgreSQL database is
// saved with pg_dump, or the window gives the exact command to run.
#include "common/windows.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tavrin {

class Tbackup : public TWindow {
    Q_OBJECT
public:
    Tbackup();

    QLineEdit* database;       // the current connection
    QLabel* Label2;            // "مسير فايل بانک اطلاعاتي :"
    QLineEdit* path;           // the data file of the embedded database
    QLabel* Label3;            // "فقط کافيست از اين فايل يک کپي تهيه نماييد"
    QLabel* Label5;            // copy the file only while the program is closed
    QLabel* Label4;            // "دستور تهيه پشتيبان :"
    QPlainTextEdit* command;   // servers: the command that makes the backup
    QPushButton* ins_btn;      // "تهيه پشتيبان ..."
    QPushButton* Button2;      // "بستن"

    // pg_dump on this computer, looked up when the window opens ("" when absent).
    QString pgDump;

    void prepareToShow() override;

public Q_SLOTS:
    void ins_btnClick();

private:
    QString suggestedFile() const;
};

} // namespace tavrin
