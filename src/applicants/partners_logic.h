#pragma once
// The rules of an applicant's partners (shoraka) and dependants (takafol),
// without windows.
//
// The applicant's share and his partners' shares together never exceed six:
// a new partner's share is checked and the partner written in one transaction
// that first locks the applicant's row, so two users adding partners at once
// are served one after the other and the second sees the first one's share.
// A partner's dependants go with him when he is deleted.
#include "applicants/customers_logic.h"

#include "common/listquery.h"
#include "common/xlsxexport.h"
#include "projects/item_rules.h"

#include <QMap>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavrin::partners {

// A person's fields as the window shows them, by column (the date as typed:
// the empty date mask when empty).
using PersonValues = QMap<QString, QString>;

// The columns of the partner and dependant forms, in the order of their fields.
const QStringList& partnerColumns();
const QStringList& dependantColumns();
// The caption of a partner's or a dependant's field.
QString partnerCaption(const QString& column);
QString dependantCaption(const QString& column);
// The fields of a stored partner or dependant (a NULL share is "0").
PersonValues valuesOf(const QSqlRecord& row, const QStringList& columns);

// ---------------------------------------------------------------- partners

// Whether the applicant leaves room for partners (his own share below six);
// otherwise the message to show.
QString partnersRefusal(const QSqlRecord& customer);
// The message of a share above six (empty when it is not, or does not convert).
QString shareMessage(const QString& sahm);

ListQuery partnersQuery(qint64 customerId);

// Adds a partner.  Refusals, in order: a share that does not convert or is
// above six; no surname; a birthday that is neither a whole valid date nor
// empty; texts longer than their columns; the applicant gone;
// the shares together above six.  The same person among the partners of any
// applicant, then among the applicants, is asked about (only Yes goes on).
Outcome addPartner(qint64 customerId, const PersonValues& v, const applicants::Ask& ask);
// Deletes a partner of the applicant and the partner's dependants.
Outcome deletePartner(qint64 customerId, qint64 partnerId);

// ---------------------------------------------------------------- dependants

// partnerId 0: the applicant's own dependants.
ListQuery dependantsQuery(qint64 customerId, qint64 partnerId);
// The surname and father's name a child of the supporting person takes (the
// partner's when partnerId is a partner, else the applicant's).
PersonValues childValues(qint64 customerId, qint64 partnerId);

// Adds a dependant of the applicant (partnerId 0) or of one of his partners.
// Refusals: no surname; a birthday that is neither a whole valid date nor
// empty; texts longer than their columns; the applicant or the
// partner gone; the same first name, surname and relation already among the
// applicant's dependants.
Outcome addDependant(qint64 customerId, qint64 partnerId, const PersonValues& v);
Outcome deleteDependant(qint64 customerId, qint64 dependantId);

// ---------------------------------------------------------------- the searches

struct PartnerCriteria {
    std::optional<QString> lname, nation;
};
struct DependantCriteria {
    std::optional<QString> lname, nesbat, nation;
};
// The partners and dependants of every applicant with the applicant's
// particulars, within the counties granted to provincial and county users.
ListQuery partnerSearch(const PartnerCriteria& c);
ListQuery dependantSearch(const DependantCriteria& c);
// The searches' Excel titles: the applicant list's titles up to the deed date,
// the field's own name for every other column.
HeaderMap searchExcelHeaders();

} // namespace tavrin::partners
