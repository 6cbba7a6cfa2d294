#include "record_history.h"

#include "admin/rights_templates.h"
#include "admin/taghirat_u.h"
#include "admin/useradmin.h"
#include "applicants/applicant_texts.h"
#include "applicants/child_texts.h"
#include "common/history_view.h"
#include "prereg/prereg_texts.h"
#include "projects/facility_texts.h"
#include "projects/project_panels.h"
#include "projects/project_texts.h"

namespace tavrin {

void registerRecordHistory()
{
    using history::registerCaptions;
    using history::registerUtf8Captions;
    registerUtf8Captions(QStringLiteral("customers"), QStringLiteral("متقاضي"), custext::kFieldCaptions);
    registerUtf8Captions(QStringLiteral("pardakht"), QStringLiteral("پرداخت"), childtext::kPaymentFields);
    registerUtf8Captions(QStringLiteral("shoraka"), QStringLiteral("شريک"), childtext::kPartnerFields);
    registerUtf8Captions(QStringLiteral("takafol"), QStringLiteral("تحت تکفل"), childtext::kDependantFields);
    // An applicant's storage rooms and parking spaces, and the project's own.
    const auto spaceFields = [](const QString& number) {
        return QList<QPair<QString, QString>> {
            {QStringLiteral("bolok"), childtext::kBolok},      {QStringLiteral("num"), number},
            {QStringLiteral("metraj"), childtext::kMetraj},    {QStringLiteral("pos"), childtext::kPosition},
            {QStringLiteral("mablagh"), childtext::kTotal},    {QStringLiteral("mablagh1"), childtext::kPerMetre},
            {QStringLiteral("status"), childtext::kStatusTitle}};
    };
    registerCaptions(QStringLiteral("anbari"), QStringLiteral("انباري متقاضي"), spaceFields(childtext::kStorageNum));
    registerCaptions(QStringLiteral("parking"), QStringLiteral("پارکينگ متقاضي"), spaceFields(childtext::kParkingNum));
    registerCaptions(QStringLiteral("anbariha"), QStringLiteral("انباري"), spaceFields(childtext::kStorageNum));
    registerCaptions(QStringLiteral("parkingha"), QStringLiteral("پارکينگ"), spaceFields(childtext::kParkingNum));
    registerCaptions(QStringLiteral("vahedha"), QStringLiteral("واحد"), unitColumnCaptions());
    registerCaptions(QStringLiteral("projects"), QStringLiteral("پروژه"), prjtext::kFieldCaptions);
    registerCaptions(QStringLiteral("tashilat"), QStringLiteral("تسهيلات"),
                     {{QStringLiteral("bank"), factext::kBankCaption},
                      {QStringLiteral("mablagh"), factext::kMablaghCaption},
                      {QStringLiteral("etebar_loc"), factext::kEtebarLocCaption},
                      {QStringLiteral("darsad"), factext::kDarsadCaption},
                      {QStringLiteral("dat1"), factext::kDat1Caption},
                      {QStringLiteral("dat2"), factext::kDat2Caption},
                      {QStringLiteral("tamdid_dat"), factext::kTamdidDatCaption},
                      {QStringLiteral("prot_typ"), factext::kProtTypCaption},
                      {QStringLiteral("vahed_cnt"), factext::kVahedCntCaption},
                      {QStringLiteral("cmt"), factext::kCmtCaption},
                      {QStringLiteral("daryafti"), factext::kDaryaftiCaption},
                      {QStringLiteral("takhsis_dat"), factext::kTakhsisDatCaption}});
    registerCaptions(QStringLiteral("vahed_vam"), factext::kLoansCaption,
                     {{QStringLiteral("mablagh"), factext::kMablaghCaption}});
    registerCaptions(QStringLiteral("pishsabt"), QStringLiteral("پيش ثبت نام"), preregtext::kGridColumns);
    registerCaptions(QStringLiteral("pishpardakht"), QStringLiteral("وديعه"), preregtext::kDepositColumns);
    // The user entry window's labels; the counties as the county editor names them.
    registerCaptions(QStringLiteral("users"), QStringLiteral("کاربر"),
                     {{QStringLiteral("us"), QStringLiteral("نام كاربري (کد ملي)")},
                      {QStringLiteral("ps"), QStringLiteral("رمز")},
                      {QStringLiteral("nam"), QStringLiteral("نام و نام خانوادگي")},
                      {QStringLiteral("mobile"), QStringLiteral("موبايل")},
                      {QStringLiteral("ostan"), QStringLiteral("استان")},
                      {QStringLiteral("lev"), QStringLiteral("سطح")},
                      {QStringLiteral("semat"), QStringLiteral("گروه کاربري")},
                      {QStringLiteral("status"), QStringLiteral("وضعيت")},
                      {QStringLiteral("dastrasi2"), QStringLiteral("شهرستان ها")}});
    // A user's rights of each page, as the rights editor names the page.
    QList<QPair<QString, QString>> pages;
    for (const RightsPage& page : rightsPages())
        pages.append({useradmin::rightsField(page.key), QStringLiteral("دسترسي ") + page.caption});
    registerCaptions(QStringLiteral("users"), {}, pages);
    // The links between records, which no window shows as fields: the row
    // (id) of the record linked to.
    const QList<std::pair<const char*, QList<std::pair<const char*, const char*>>>> links {
        {"customers", {{"prj_id", "رديف پروژه"}, {"vahed_id", "رديف واحد"}}},
        {"pardakht", {{"customer_id", "رديف متقاضي"}}},
        {"shoraka", {{"customer_id", "رديف متقاضي"}}},
        {"takafol", {{"customer_id", "رديف متقاضي"}, {"shoraka_id", "رديف شريک"}}},
        {"anbari", {{"customer_id", "رديف متقاضي"}, {"prj_id", "رديف پروژه"}, {"anbari_id", "رديف انباري"}}},
        {"parking", {{"customer_id", "رديف متقاضي"}, {"prj_id", "رديف پروژه"}, {"parking_id", "رديف پارکينگ"}}},
        {"anbariha", {{"prj_id", "رديف پروژه"}}},
        {"parkingha", {{"prj_id", "رديف پروژه"}}},
        {"vahedha", {{"prj_id", "رديف پروژه"}}},
        {"tashilat", {{"prj_id", "رديف پروژه"}}},
        {"vahed_vam", {{"prj_id", "رديف پروژه"}, {"vahed_id", "رديف واحد"}, {"tashilat_id", "رديف تسهيلات"}}},
        {"pishpardakht", {{"pishsabt_id", "رديف پيش ثبت نام"}}},
    };
    for (const auto& [table, columns] : links)
        registerUtf8Captions(QString::fromLatin1(table), {}, columns);
    history::setWindowOpener(&Ttaghirat::openFor);
}

} // namespace tavrin
