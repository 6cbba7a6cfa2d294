#pragma once
// The three pages of the deposit agreement printed for a pre-registration:
// page 1 the parties and the organisation's obligations, page 2 the
// depositor's obligations around the table of his deposits, page 3 the other
// conditions and the signatures.  Pages 1 and 3 name either the provincial
// office or the county office as the party.  The wording comes from the
// agreement's template (agreement_template.h); these classes place it on A4
// paper and fill in the labels.  A wording too long for its page is printed
// in a smaller type until it fits.
#include "documents/tablereport.h"
#include "prereg/agreement_template.h"
#include "prereg/deposits.h"

#include <QSqlRecord>
#include <QVariantMap>

namespace tavrin {

enum class AgreementVariant { Province, County };

namespace prereg {

// Asks the annual reward rate (the "Padash" input box); its preset "?" is
// printed when the box is accepted unchanged or cancelled.
QString askPadash();

// The labels of page 1 for a person: the parties' particulars, the place and
// the office's address and representative from the provincial or county
// settings (empty when not set).  Throws DbError.
QVariantMap agreementPage1Values(const QSqlRecord& person, AgreementVariant variant, const QString& padash);
// The labels of page 3: the office's signature lines.
QVariantMap agreementPage3Values(const QSqlRecord& person, AgreementVariant variant);
// A line of page 2's table: the amount as whole rials without separators.
QVariantMap agreementRow(const Deposit& deposit);

// The page setup shared by the three pages.
doc::PageSetup agreementPageSetup();

} // namespace prereg

class Tvadiegozari_frm1 {
public:
    static doc::Document build(const QVariantMap& values,
                               const prereg::AgreementTemplate& wording = prereg::AgreementTemplate::load());
};

class Tvadiegozari_frm2 {
public:
    // The table report for a wording; bodyPointSize is the size of its clauses.
    static doc::TableReport layout(const prereg::AgreementTemplate& wording, double bodyPointSize);
    static doc::Document build(const QList<QVariantMap>& rows,
                               const prereg::AgreementTemplate& wording = prereg::AgreementTemplate::load());
};

class Tvadiegozari_frm3 {
public:
    static doc::Document build(const QVariantMap& values,
                               const prereg::AgreementTemplate& wording = prereg::AgreementTemplate::load());
};

} // namespace tavrin
