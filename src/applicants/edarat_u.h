#pragma once
// The offices window "ادارات و سازمان ها": prepares the enquiry letter that
// asks an office whether the applicant or his spouse has already received
// land, a housing unit or a utility connection from it.  The offices are the
// values of the general setting list "ادارات".
#include "common/windows.h"

#include <QSqlRecord>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tavrin {

class Tedarat : public TWindow {
    Q_OBJECT
public:
    Tedarat();

    QComboBox* sazeman;    // "نام سازمان/اداره:"
    QLineEdit* emza;       // "امضا کننده:"
    QLineEdit* emtiyaz;    // "امتياز دريافتي:"
    QPushButton* BitBtn1;  // "مشاهده نامه"

    // Opened for the list's current applicant: office cleared, signer set.
    void open(const QSqlRecord& customer, const QString& signer);
    void prepareToShow() override;

public Q_SLOTS:
    void FormShow();
    void BitBtn1Click();

private:
    QSqlRecord m_customer;
};

} // namespace tavrin
