#pragma once
// The payments of one applicant "پرداخت ها": his account (unit price, storage
// and parking amounts, discount, loan, unit total, instalments, collected
// total and balance) above the entry of a payment and the list of his
// payments; delete, Excel, and the copy of his pre-registration deposits.
#include "applicants/applicant_windows.h"
#include "applicants/child_widgets.h"
#include "applicants/payments_logic.h"

#include "common/windows.h"

#include <QHash>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tavrin {

class DBGrid;

class Tpardakht_frm : public TWindow {
    Q_OBJECT
public:
    Tpardakht_frm();

    void applyRights(const Rights& r) override;
    // Opens on the context's applicant: header, account, cleared fields ("0"
    // amounts), pick lists, his payments; the list's height less 25 pixels.
    void open(const applicants::ApplicantContext& c);

    qint64 customerId() const { return m_customerId; }
    payments::PaymentForm form() const;
    void showForm(const payments::PaymentForm& f);
    DBGrid* grid() const { return DBGrid1; }

public Q_SLOTS:
    void ins_btnClick();
    void N1Click();            // delete the current payment
    void N2Click();            // Excel
    void SpeedButton1Click();  // copy the pre-registration deposits in
    void Label5Click();        // clear the date

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void fillLists();
    void clearForm();
    void refresh();
    void showAccount();
    void focusField(const QString& name);

    qint64 m_customerId = 0;
    QString m_ostan;
    Rights m_rights;
    std::function<void()> m_changed;
    child::Header m_header;
    QHash<QString, QLabel*> m_account;  // by the label's object name
    QComboBox *pardakht_typ = nullptr, *bank = nullptr, *hesab_no = nullptr, *norvad_bank = nullptr;
    QLineEdit *mablagh = nullptr, *vosol = nullptr, *num = nullptr, *dat = nullptr, *resid_no = nullptr;
    QLabel *mablagh_3harfi = nullptr, *vosol_3harfi = nullptr;
    QPushButton* ins_btn = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    DBGrid* DBGrid1 = nullptr;
    QAction *N1 = nullptr, *N2 = nullptr;
};

} // namespace tavrin
