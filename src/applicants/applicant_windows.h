#pragma once
// How the windows that work on one applicant plug into the applicant list and
// the applicant record.  The list (Tcustomers_src) has an entry for each of
// them (dependants, payments, electronic file, document checklist, storage and
// parking, partners, the report windows and every printed document of the menu
// "فرم ها"); the record (Tcustomers_ins) has the storage and parking button
// ins_btn2.  An entry stays disabled until a window is registered for it; then
// the list enables it and, when the user picks it with a current row, reads the
// page rights (when the window has a page), reads the applicant's row as
// stored and calls the window's opener with them.
//
// A window registers itself in registerApplicantWindows() (applicant_windows.cpp),
// which the program calls once at start-up, for example:
//
//     registerApplicantWindow(QStringLiteral("N21"), [](const ApplicantContext& c) {
//         Tpardakht_frm& w = tavrin::window<Tpardakht_frm>();
//         w.open(c);           // header, totals, grid of c.customerId; c.rights
//         w.showModal();
//         c.changed();         // the list shows the new collected total
//     }, QStringLiteral("pardakht"));
#include "common/rights.h"

#include <QSqlRecord>
#include <QString>

#include <functional>

class QWidget;

namespace tavrin::applicants {

// What a window opened for the list's current applicant receives.
struct ApplicantContext {
    qint64 customerId = 0;         // 0 for the report windows, which need no row
    QSqlRecord customer;           // the applicant's row as stored when the window opens
    Rights rights;                 // the rights of the window's page (all true without a page)
    int listHeight = 0;            // the list window's height (the report windows take it less 20)
    QWidget* parent = nullptr;     // the window the entry belongs to
    // Shows the applicant's row again in the list (and in the record window
    // when opened from there): call it after writing the applicant's totals
    // (pardakht_sum, parking, anbari, parking_mablagh, anbari_mablagh).
    std::function<void()> changed;
};

using ApplicantOpener = std::function<void(const ApplicantContext&)>;

struct ApplicantWindow {
    ApplicantOpener open;
    QString pageKey;         // the page whose rights are read first ("takafol", "pardakht", "customers_pic")
    bool needsRow = true;    // false for the report windows of the list's "گزارشات" menu
};

// Registers (or replaces) the window behind a list entry or record button, by
// its object name: "N4" dependants, "N21" payments, "N6" electronic file, "N3"
// document checklist, "N22" storage and parking, "N26" partners; the report
// windows "N29" dependants, "N23" payments, "N24" storage and parking, "N30"
// partners; the documents of "فرم ها" ("N110", "N25", ... see
// custext::kFormEntries); "ins_btn2" the record's storage and parking button.
void registerApplicantWindow(const QString& entry, ApplicantOpener open, const QString& pageKey = {},
                             bool needsRow = true);
// The registered window of an entry, or nullptr.
const ApplicantWindow* applicantWindow(const QString& entry);
// Forgets every registration (tests).
void clearApplicantWindows();

// Registers the windows of this version; called once at start-up.
void registerApplicantWindows();

// Opens the registered window of an entry for a customer: the page's rights
// first (no rights row, or no view right, shows "شما دسترسي به اين صفحه را
// نداريد"), then the row as stored.  Returns false when nothing was opened.
bool openApplicantWindow(const QString& entry, qint64 customerId, QWidget* parent, int listHeight,
                         const std::function<void()>& changed);

} // namespace tavrin::applicants
