#pragma once
// "انتقال اطلاعات": copies the applicants of one registration code, with
// everything that belongs to them, from another database (an SQLite data file
// or a PostgreSQL database) into this one, and lists the applicants it refused.
#include "common/windows.h"

#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tavrin {

class Database;
struct TransferReport;

class Ttransfer : public TWindow {
    Q_OBJECT
public:
    Ttransfer();
    ~Ttransfer() override;

    QGroupBox* GroupBox1;      // "بانک اطلاعاتي مبدا"
    QComboBox* backend;        // "SQLite", "PostgreSQL"
    QLineEdit* server;         // data file, or host[,port]
    QPushButton* browse_btn;   // "..."
    QLineEdit *database, *user, *password;
    QPushButton* connect_btn;  // "اتصال"
    QComboBox* sabt_cod;       // registration codes of the source's applicants
    QLabel* cnt;               // applicants of the chosen code
    QPushButton* ins_btn;      // "انتقال"
    QLabel* result;            // what the last transfer did
    QTableWidget* refused;     // the applicants it refused, with the reason

    void applyRights(const Rights& r) override;
    void prepareToShow() override;
    // The connected source database (nullptr before "اتصال").
    Database* source() const { return m_source.get(); }

public Q_SLOTS:
    void connect_btnClick();
    void browse_btnClick();
    void ins_btnClick();
    void sabt_codChange();

protected:
    void done(int r) override;

private:
    void backendChange();
    void showReport(const TransferReport& r);
    void fillCodes();
    std::unique_ptr<Database> m_source;
};

} // namespace tavrin
