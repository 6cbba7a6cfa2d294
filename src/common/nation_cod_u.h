#pragma once
// The national-code enquiry: tells whether a code is already recorded
// anywhere in the system, as an applicant, a partner or a dependant, and in
// which province.
#include <QDialog>

class QLabel;
class QLineEdit;
class QToolButton;

namespace tavrin {

// The enquiry's answer for a code (searched as given, over every province):
// the applicant text and the applicant's province, else the partner text, else
// the dependant text, each with the province of the applicant they belong to,
// else the not-found text.  Throws DbError.
QString nationEnquiry(const QString& code);

class Tnation_cod : public QDialog {
    Q_OBJECT
public:
    explicit Tnation_cod(QWidget* parent = nullptr);

    static const QString kInitialResult;

public Q_SLOTS:
    // The search button: writes the enquiry's answer into the result label.
    void SpeedButton1Click();
    // Leaving the code field: the code check, its message in the result label.
    void nationExit();

private:
    QLineEdit* m_nation;
    QToolButton* m_search;
    QLabel* m_result;
};

} // namespace tavrin
