#include "applicants/applicant_windows.h"

#include "applicants/applicant_texts.h"
#include "applicants/customers_logic.h"
#include "applicants/customers_pic_u.h"
#include "applicants/pardakht_frm_u.h"
#include "applicants/pardakht_src_u.h"
#include "applicants/parking_anbari_u.h"
#include "applicants/parking_src_u.h"
#include "applicants/savabegh_u.h"
#include "applicants/shoraka_src_u.h"
#include "applicants/shoraka_u.h"
#include "applicants/takafol_frm_u.h"
#include "applicants/takafol_src_u.h"

#include "common/dialogs.h"
#include "db/database.h"

#include <QHash>

namespace tavrin::applicants {

namespace {
QHash<QString, ApplicantWindow>& registry()
{
    static QHash<QString, ApplicantWindow> r;
    return r;
}
} // namespace

void registerApplicantWindow(const QString& entry, ApplicantOpener open, const QString& pageKey, bool needsRow)
{
    registry().insert(entry, ApplicantWindow {std::move(open), pageKey, needsRow});
}

const ApplicantWindow* applicantWindow(const QString& entry)
{
    auto it = registry().constFind(entry);
    return it == registry().constEnd() ? nullptr : &*it;
}

void clearApplicantWindows()
{
    registry().clear();
}

void registerFormWindows();   // form_windows.cpp

void registerApplicantWindows()
{
    // The payments of the current applicant, and the payment search.
    registerApplicantWindow(QStringLiteral("N21"), [](const ApplicantContext& c) {
        Tpardakht_frm& w = tavrin::window<Tpardakht_frm>();
        w.open(c);
        w.showModal();
    }, QStringLiteral("pardakht"));
    registerApplicantWindow(QStringLiteral("N23"), [](const ApplicantContext& c) {
        Tpardakht_src& w = tavrin::window<Tpardakht_src>();
        w.open(c);
        w.showModal();
    }, QString(), false);
    // Partners (no page of their own), the applicant's dependants, and the two searches.
    registerApplicantWindow(QStringLiteral("N26"), [](const ApplicantContext& c) {
        Tshoraka& w = tavrin::window<Tshoraka>();
        if (w.open(c))
            w.showModal();
    });
    registerApplicantWindow(QStringLiteral("N4"), [](const ApplicantContext& c) {
        Ttakafol_frm& w = tavrin::window<Ttakafol_frm>();
        w.openForApplicant(c);
        w.showModal();
    }, QStringLiteral("takafol"));
    registerApplicantWindow(QStringLiteral("N30"), [](const ApplicantContext& c) {
        Tshoraka_src& w = tavrin::window<Tshoraka_src>();
        w.open(c);
        w.showModal();
    }, QString(), false);
    registerApplicantWindow(QStringLiteral("N29"), [](const ApplicantContext& c) {
        Ttakafol_src& w = tavrin::window<Ttakafol_src>();
        w.open(c);
        w.showModal();
    }, QString(), false);
    // Storage rooms and parking spaces, from the list and from the record's button, and their search.
    const ApplicantOpener spaces = [](const ApplicantContext& c) {
        Tparking_anbari& w = tavrin::window<Tparking_anbari>();
        w.open(c);
        w.showModal();
    };
    registerApplicantWindow(QStringLiteral("N22"), spaces);
    registerApplicantWindow(QStringLiteral("ins_btn2"), spaces);
    registerApplicantWindow(QStringLiteral("N24"), [](const ApplicantContext& c) {
        Tparking_src& w = tavrin::window<Tparking_src>();
        w.open(c);
        w.showModal();
    }, QString(), false);
    // The electronic file and the document checklist.
    registerApplicantWindow(QStringLiteral("N6"), [](const ApplicantContext& c) {
        Tcustomers_pic& w = tavrin::window<Tcustomers_pic>();
        w.open(c);
        w.showModal();
    }, QStringLiteral("customers_pic"));
    registerApplicantWindow(QStringLiteral("N3"), [](const ApplicantContext& c) {
        Tsavabegh& w = tavrin::window<Tsavabegh>();
        w.open(c);
        w.showModal();
    });
    // The printed documents ("فرم ها").
    registerFormWindows();
}

bool openApplicantWindow(const QString& entry, qint64 customerId, QWidget* parent, int listHeight,
                         const std::function<void()>& changed)
{
    const ApplicantWindow* w = applicantWindow(entry);
    if (!w || !w->open)
        return false;
    if (w->needsRow && customerId <= 0)
        return false;
    ApplicantContext c;
    c.customerId = customerId;
    c.parent = parent;
    c.listHeight = listHeight;
    c.changed = changed ? changed : [] {};
    c.rights = Rights {true, true, true, true};
    if (!w->pageKey.isEmpty()) {
        const auto r = pageRights(w->pageKey, {}, custext::kSearchFailed);
        if (!r)
            return false;
        c.rights = *r;
    }
    try {
        if (customerId > 0) {
            const auto row = customerRow(customerId);
            if (!row) {
                dialogs().error(custext::kCustomerGone);
                return false;
            }
            c.customer = *row;
        }
    } catch (const DbError& e) {
        reportFailure(custext::kSearchFailed, e);
        return false;
    }
    w->open(c);
    return true;
}

} // namespace tavrin::applicants
