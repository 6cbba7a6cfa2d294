#pragma once
// The fixed texts of the project reports, the status chart and the facilities
// browser: menu captions, titles, column headings, messages.  Every text is
// exactly what the user sees, blanks included; do not retype them.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include "common/applicantheaders.h"

namespace tavrin::reptext {

// menu entries of the project list
inline const QString kN35 = QString::fromUtf16(u"وضعيت پروژه ها (به تفکيک استان-شهرستان-پروژه) - چاپي");
inline const QString kN47 = QString::fromUtf16(u"وضعيت پروژه ها (به تفکيک استان-شهرستان) - چاپي");
inline const QString kN48 = QString::fromUtf16(u"وضعيت پروژه ها (به تفکيک استان) - چاپي");
inline const QString kN49 = QString::fromUtf16(u"وضعيت پروژه ها - نموداري");
inline const QString kN46 = QString::fromUtf16(u"وضعيت پروژه ها (به تفکيک استان-شهرستان-پروژه) - اکسلي");
// the shared frame
inline const QString kRebuildQuestion = QString::fromUtf16(u"آيا ميخواهيد گزارش از نو ساخته شود؟ (در صورت تاييد زمان بر هست و صبور باشيد...)");
inline const QString kReportDate = QString::fromUtf16(u"تاريخ گزارش:");
inline const QString kReportTime = QString::fromUtf16(u"زمان گزارش:");
inline const QString kRowNumber = QString::fromUtf16(u"رديف");
inline const QString kCountCaption = QString::fromUtf16(u"تعداد:");
inline const QString kSumCaption = QString::fromUtf16(u"جـــــــــــــــــــــــــمع");
// status report
inline const QString kStatusTitle = QString::fromUtf16(u"گزارش وضعيت پروژه هاي ثبت شده در سامانه تاورين نورواد");
// Excel headings of the status report
inline const QList<QPair<QString, QString>> kStatusExcelHeadings = {
    {QStringLiteral("prs_id"), QString::fromUtf16(u"شناسه کاربر گزارش گيرنده")},
    {QStringLiteral("prot_no"), QString::fromUtf16(u"تعداد واحد قرارداد شده")},
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("mali_no"), QString::fromUtf16(u"تعداد واحد تسويه مالي شده")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("tahvil_no"), QString::fromUtf16(u"تعداد واحد تحويل شده")},
    {QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
    {QStringLiteral("sanad_no"), QString::fromUtf16(u"تعداد واحد انتقال سند شده")},
    {QStringLiteral("prj_cod"), QString::fromUtf16(u"کد پروژه")},
    {QStringLiteral("anbari_sabt"), QString::fromUtf16(u"تعداد انباري ثبت شده در سامانه")},
    {QStringLiteral("prj_typ"), QString::fromUtf16(u"نوع پروژه")},
    {QStringLiteral("anbari_f"), QString::fromUtf16(u"تعداد انباري واگذار شده به متقاضي (فروخته شده)")},
    {QStringLiteral("prj_prot_typ"), QString::fromUtf16(u"نوع قرارداد پروژه")},
    {QStringLiteral("parking_sabt"), QString::fromUtf16(u"تعداد پارکينگ ثبت شده در سامانه")},
    {QStringLiteral("st_tavrin"), QString::fromUtf16(u"وضعيت فروش")},
    {QStringLiteral("parking_f"), QString::fromUtf16(u"تعداد پارکينگ واگذار شده به متقاضي (فروخته شده)")},
    {QStringLiteral("vahed_cnt"), QString::fromUtf16(u"تعداد واحد قابل واگذاري")},
    {QStringLiteral("bank"), QString::fromUtf16(u"بانک")},
    {QStringLiteral("vahed_kol"), QString::fromUtf16(u"تعداد واحد کل")},
    {QStringLiteral("etebar_loc"), QString::fromUtf16(u"محل اعتبار")},
    {QStringLiteral("anbari_cnt"), QString::fromUtf16(u"تعداد انباري پروژه")},
    {QStringLiteral("prot_typ"), QString::fromUtf16(u"نوع قرار داد تسهيلات")},
    {QStringLiteral("parking_cnt"), QString::fromUtf16(u"تعداد پارکينگ پروژه")},
    {QStringLiteral("daryafti"), QString::fromUtf16(u"مبلغ دريافتي تسهيلات")},
    {QStringLiteral("vahed_sabt"), QString::fromUtf16(u"تعداد واحد ثبت شده در سامانه")},
    {QStringLiteral("vahed_takhsis"), QString::fromUtf16(u"مبلغ تخصيصي تسهيلات")},
    {QStringLiteral("vahed_f"), QString::fromUtf16(u"تعداد واحد فروخته شده (داراي متقاضي)")},
    {QStringLiteral("vahed_mablagh"), QString::fromUtf16(u"مبلغ واحدها")},
    {QStringLiteral("mande"), QString::fromUtf16(u"تعداد واحد قابل واگذاري فروخته نشده (فاقد متقاضي)")},
    {QStringLiteral("vahed_vosol"), QString::fromUtf16(u"مبلغ وصول شده از واحدها")},
};
// column groups of the printed status report: group heading (empty: same group), upper/lower field, upper/lower heading
struct StackedColumn { QString group; QString upper; QString lower; QString upperCaption; QString lowerCaption; };
inline const QList<StackedColumn> kStatusColumns = {
    {QString::fromUtf16(u"مشخصــــــــــات پروژه"), QStringLiteral("ostan"), QStringLiteral("shahrestan"), QString::fromUtf16(u"استان"), QString::fromUtf16(u"شهرستان")},
    {QString::fromUtf16(u""), QStringLiteral("prj_name"), QStringLiteral("prj_cod"), QString::fromUtf16(u"نام پروژه"), QString::fromUtf16(u"کد پروژه")},
    {QString::fromUtf16(u""), QStringLiteral("prj_typ"), QStringLiteral("prj_prot_typ"), QString::fromUtf16(u"نوع پروژه"), QString::fromUtf16(u"نوع قرارداد")},
    {QString::fromUtf16(u""), QStringLiteral("st_tavrin"), QStringLiteral(""), QString::fromUtf16(u"وضعيت فروش"), QString::fromUtf16(u"")},
    {QString::fromUtf16(u"واحــــــــــــــدها"), QStringLiteral("vahed_kol"), QStringLiteral("vahed_cnt"), QString::fromUtf16(u"تعداد واحد کل"), QString::fromUtf16(u"تعداد واحد قابل واگذاري")},
    {QString::fromUtf16(u""), QStringLiteral("vahed_sabt"), QStringLiteral("vahed_f"), QString::fromUtf16(u"تعداد ثبت شده در سامانه"), QString::fromUtf16(u"تعداد فروخته شده (داراي متقاضي)")},
    {QString::fromUtf16(u""), QStringLiteral("mande"), QStringLiteral(""), QString::fromUtf16(u"تعداد قابل واگذاري فروخته نشده (فاقد متقاضي)"), QString::fromUtf16(u"")},
    {QString::fromUtf16(u""), QStringLiteral("prot_no"), QStringLiteral("mali_no"), QString::fromUtf16(u"تعداد قرارداد شده"), QString::fromUtf16(u"تعداد تسويه حساب شده")},
    {QString::fromUtf16(u""), QStringLiteral("tahvil_no"), QStringLiteral("sanad_no"), QString::fromUtf16(u"تعداد تحويل شده"), QString::fromUtf16(u"تعداد انتقال سند انجام شده")},
    {QString::fromUtf16(u""), QStringLiteral("vahed_mablagh"), QStringLiteral("vahed_vosol"), QString::fromUtf16(u"جمع کل مبلغ واحدهاي فروخته شده"), QString::fromUtf16(u"جمع کل مبلغ وصول شده از واحدها")},
    {QString::fromUtf16(u"انباري ها"), QStringLiteral("anbari_cnt"), QStringLiteral(""), QString::fromUtf16(u"تعداد کل"), QString::fromUtf16(u"")},
    {QString::fromUtf16(u""), QStringLiteral("anbari_sabt"), QStringLiteral("anbari_f"), QString::fromUtf16(u"تعداد ثبت شده در سامانه"), QString::fromUtf16(u"فروخته شده (داراي متقاضي)")},
    {QString::fromUtf16(u"پارکينگ ها"), QStringLiteral("parking_cnt"), QStringLiteral(""), QString::fromUtf16(u"تعداد کل"), QString::fromUtf16(u"")},
    {QString::fromUtf16(u""), QStringLiteral("parking_sabt"), QStringLiteral("parking_f"), QString::fromUtf16(u"تعداد ثبت شده در سامانه"), QString::fromUtf16(u"فروخته شده (داراي متقاضي)")},
    {QString::fromUtf16(u"تســــــــــــــــــــهيلات"), QStringLiteral("prot_typ"), QStringLiteral(""), QString::fromUtf16(u"نوع قرارداد"), QString::fromUtf16(u"")},
    {QString::fromUtf16(u""), QStringLiteral("bank"), QStringLiteral("etebar_loc"), QString::fromUtf16(u"بانک"), QString::fromUtf16(u"نوع اعتبار")},
    {QString::fromUtf16(u""), QStringLiteral("daryafti"), QStringLiteral("vahed_takhsis"), QString::fromUtf16(u"مبلغ دريافتي"), QString::fromUtf16(u"جمع تخصيصي")},
};
// status chart
inline const QString kChartCaption = QString::fromUtf16(u"نمودار وضعيت پروژه ها");
inline const QString kChartStampCaption = QString::fromUtf16(u"تاريخ و زمان ساخت گزارش:");
inline const QString kChartTitle = QString::fromUtf16(u"وضعيت ثبت در سامانه تاورين");
inline const QString kRepTyp = QString::fromUtf16(u"نوع گزارش");
inline const QString kNational = QString::fromUtf16(u"کشوري");
inline const QString kProvincial = QString::fromUtf16(u"استاني");
inline const QString kBitBtn7 = QString::fromUtf16(u"نمودار کلي ثبت در سامانه");
inline const QString kBitBtn1 = QString::fromUtf16(u"نمودار استان-تعداد پروژه");
inline const QString kBitBtn2 = QString::fromUtf16(u"نمودار استان-تعداد واحد");
inline const QString kBitBtn3 = QString::fromUtf16(u"نمودار استان-تعداد انباري");
inline const QString kBitBtn4 = QString::fromUtf16(u"نمودار استان-تعداد پارکينگ");
inline const QString kBitBtn5 = QString::fromUtf16(u"نمودار استان-تعداد متقاضي");
inline const QString kBitBtn6 = QString::fromUtf16(u"چاپ نمودار");
inline const QString kChartKind = QString::fromUtf16(u"نوع نمودار");
inline const QStringList kChartTitles = {QString::fromUtf16(u"وضعيت ثبت در سامانه تاورين - بر اساس تعداد پروژه+تعداد واحد-تعداد متقاضي+تعداد انباري+تعداد پارکينگ"), QString::fromUtf16(u"وضعيت ثبت در سامانه تاورين - بر اساس تعداد پروژه"), QString::fromUtf16(u"وضعيت ثبت در سامانه تاورين - بر اساس تعداد واحد"), QString::fromUtf16(u"وضعيت ثبت در سامانه تاورين - بر اساس تعداد انباري"), QString::fromUtf16(u"وضعيت ثبت در سامانه تاورين - بر اساس تعداد پارکينگ"), QString::fromUtf16(u"وضعيت ثبت در سامانه تاورين - بر اساس تعداد متقاضي")};
// facilities reports
inline const QString kTasRepCaption = QString::fromUtf16(u"گزارش تسهيلات");
inline const QString kN22 = QString::fromUtf16(u"تسهيلات - واحدها - انباري ها - پارکينگ ها - وام ها");
inline const QString kN27 = QString::fromUtf16(u"تسهيلات استفاده شده (به تفکيک استان-شهرستان-پروژه)");
inline const QString kN28 = QString::fromUtf16(u"تسهيلات استفاده شده (به تفکيک استان-شهرستان)");
inline const QString kN29 = QString::fromUtf16(u"تسهيلات استفاده شده (به تفکيک استان)");
inline const QString kSupportive = QString::fromUtf16(u"حمايتي");
inline const QString kSearch = QString::fromUtf16(u"جستجو");
// setting keys of the browser drop-downs
inline const QList<QPair<QString, QString>> kBrowserSettings = {
    {QStringLiteral("bana"), QString::fromUtf16(u"بنا")},
    {QStringLiteral("vahed_typ"), QString::fromUtf16(u"نوع واحد")},
    {QStringLiteral("karbari"), QString::fromUtf16(u"کاربري")},
    {QStringLiteral("status"), QString::fromUtf16(u"وضعيت واحد")},
    {QStringLiteral("status_a"), QString::fromUtf16(u"وضعيت انباري")},
    {QStringLiteral("status_p"), QString::fromUtf16(u"وضعيت پارکينگ")},
    {QStringLiteral("bank"), QString::fromUtf16(u"بانک")},
    {QStringLiteral("etebar_loc"), QString::fromUtf16(u"محل اعتبار")},
    {QStringLiteral("prot_typ"), QString::fromUtf16(u"نوع قرارداد تسهيلات")},
};
inline const QString kExcel = QString::fromUtf16(u"اکسل");
inline const QStringList kListTitles = {QString::fromUtf16(u"تسهيلات پروژه ها"), QString::fromUtf16(u"تسهيلات واحدها"), QString::fromUtf16(u"واحدهاي پروژه ها"), QString::fromUtf16(u"انباري پروژه ها"), QString::fromUtf16(u"پارکينگ پروژه ها")};
// own filters of the lists: check box caption, field
inline const QList<QPair<QString, QString>> kListFilters0 = {
    {QStringLiteral("etebar_loc"), QString::fromUtf16(u"نوع اعتبار")},
    {QStringLiteral("bank"), QString::fromUtf16(u"بانک")},
    {QStringLiteral("prot_typ"), QString::fromUtf16(u"نوع قرارداد")},
};
inline const QList<QPair<QString, QString>> kListFilters1 = {
    {QStringLiteral("etebar_loc"), QString::fromUtf16(u"نوع اعتبار")},
    {QStringLiteral("bank"), QString::fromUtf16(u"بانک")},
    {QStringLiteral("prot_typ"), QString::fromUtf16(u"نوع قرارداد")},
};
inline const QList<QPair<QString, QString>> kListFilters2 = {
    {QStringLiteral("vahed_typ"), QString::fromUtf16(u"نوع واحد")},
    {QStringLiteral("status"), QString::fromUtf16(u"وضعيت")},
    {QStringLiteral("karbari"), QString::fromUtf16(u"کاربري")},
    {QStringLiteral("bana"), QString::fromUtf16(u"نوع بنا")},
};
inline const QList<QPair<QString, QString>> kListFilters3 = {
    {QStringLiteral("status_a"), QString::fromUtf16(u"وضعيت")},
    {QStringLiteral("num_a"), QString::fromUtf16(u"شماره انباري")},
};
inline const QList<QPair<QString, QString>> kListFilters4 = {
    {QStringLiteral("status_p"), QString::fromUtf16(u"وضعيت")},
    {QStringLiteral("num_p"), QString::fromUtf16(u"شماره پارکينگ")},
};
inline const QStringList kUnitTypeDefaults = {QString::fromUtf16(u"حمايتي")};
inline const QStringList kUnitStatusDefaults = {QString::fromUtf16(u"فعال"), QString::fromUtf16(u"رزرو"), QString::fromUtf16(u"فروخته شد")};
inline const QStringList kUseDefaults = {QString::fromUtf16(u"مسکوني"), QString::fromUtf16(u"تجاري")};
// grid columns of the five lists
inline const QList<QPair<QString, QString>> kFacilityGrid = {
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
    {QStringLiteral("prot_typ"), QString::fromUtf16(u"نوع قرارداد")},
    {QStringLiteral("etebar_loc"), QString::fromUtf16(u"نوع اعتبار")},
    {QStringLiteral("bank"), QString::fromUtf16(u"بانک")},
    {QStringLiteral("mablagh"), QString::fromUtf16(u"مبلغ کل تسهيلات")},
    {QStringLiteral("daryafti"), QString::fromUtf16(u"مبلغ دريافتي")},
};
inline const QList<QPair<QString, QString>> kLoanGrid = {
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
    {QStringLiteral("bolok"), QString::fromUtf16(u"بلوک")},
    {QStringLiteral("shenase"), QString::fromUtf16(u"شناسه واحد")},
    {QStringLiteral("mablagh"), QString::fromUtf16(u"مبلغ وام واحد")},
    {QStringLiteral("prot_typ"), QString::fromUtf16(u"نوع قرارداد")},
    {QStringLiteral("etebar_loc"), QString::fromUtf16(u"نوع اعتبار")},
    {QStringLiteral("bank"), QString::fromUtf16(u"بانک")},
};
inline const QList<QPair<QString, QString>> kUnitGrid = {
    {QStringLiteral("bolok"), QString::fromUtf16(u"بلوک")},
    {QStringLiteral("tabaghe"), QString::fromUtf16(u"طبقه")},
    {QStringLiteral("vahed_no"), QString::fromUtf16(u"شماره واحد")},
    {QStringLiteral("shenase"), QString::fromUtf16(u"شناسه واحد")},
    {QStringLiteral("jahat"), QString::fromUtf16(u"جهت")},
    {QStringLiteral("karbari"), QString::fromUtf16(u"کاربري")},
    {QStringLiteral("metraj"), QString::fromUtf16(u"متراژ")},
    {QStringLiteral("teras"), QString::fromUtf16(u"تراس")},
    {QStringLiteral("mablagh1"), QString::fromUtf16(u"مبلغ  هر متر مربع")},
    {QStringLiteral("mablagh"), QString::fromUtf16(u"مبلغ کل")},
    {QStringLiteral("vam"), QString::fromUtf16(u"وام")},
    {QStringLiteral("ekhtesasi"), QString::fromUtf16(u"اختصاصي")},
    {QStringLiteral("moshtarak"), QString::fromUtf16(u"اشتراکي")},
    {QStringLiteral("status"), QString::fromUtf16(u"وضعيت")},
    {QStringLiteral("otagh"), QString::fromUtf16(u"اتاق")},
    {QStringLiteral("vahed_typ"), QString::fromUtf16(u"نوع واحد")},
    {QStringLiteral("teras1"), QString::fromUtf16(u"مبلع هر متر تراس")},
    {QStringLiteral("hayat1"), QString::fromUtf16(u"مبلغ هر متر حياط")},
    {QStringLiteral("hayat"), QString::fromUtf16(u"حياط")},
    {QStringLiteral("metraj_z"), QString::fromUtf16(u"متراژ زمين")},
    {QStringLiteral("bana"), QString::fromUtf16(u"نوع بنا")},
};
inline const QList<QPair<QString, QString>> kProjectGridColumns = {
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("shahr"), QString::fromUtf16(u"شهر")},
    {QStringLiteral("rosta"), QString::fromUtf16(u"روستاشهر")},
    {QStringLiteral("prj_cod"), QString::fromUtf16(u"کد پروژه")},
    {QStringLiteral("prj_typ"), QString::fromUtf16(u"نوع پروژه")},
    {QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
    {QStringLiteral("status_1"), QString::fromUtf16(u"وضعيت پروژه")},
    {QStringLiteral("zamin_pelak"), QString::fromUtf16(u"پلاک زمين")},
    {QStringLiteral("zamin_adr"), QString::fromUtf16(u"آدرس زمين")},
    {QStringLiteral("vahed_cnt"), QString::fromUtf16(u"تعداد واحد")},
    {QStringLiteral("anbari_cnt"), QString::fromUtf16(u"تعداد انباري")},
    {QStringLiteral("parking_cnt"), QString::fromUtf16(u"ت پارکينگ")},
    {QStringLiteral("cmt"), QString::fromUtf16(u"توضيحات")},
    {QStringLiteral("expire_dat"), QString::fromUtf16(u"تاريخ انقضا")},
    {QStringLiteral("vahed_kol"), QString::fromUtf16(u"ت واحد کل")},
    {QStringLiteral("st_tavrin"), QString::fromUtf16(u"وضعيت فروش")},
    {QStringLiteral("vahed_f"), QString::fromUtf16(u"ت واحد فروخته شده")},
    {QStringLiteral("sakht_dat"), QString::fromUtf16(u"تاريخ ساخت")},
};
inline const QList<QPair<QString, QString>> kStorageGrid = {
    {QStringLiteral("num"), QString::fromUtf16(u"شماره انباري")},
    {QStringLiteral("metraj"), QString::fromUtf16(u"متراژ")},
    {QStringLiteral("pos"), QString::fromUtf16(u"موقعيت")},
    {QStringLiteral("mablagh"), QString::fromUtf16(u"مبلغ کل")},
    {QStringLiteral("status"), QString::fromUtf16(u"وضعيت")},
    {QStringLiteral("mablagh1"), QString::fromUtf16(u"مبلغ هر متر مربع")},
    {QStringLiteral("bolok"), QString::fromUtf16(u"بلوک")},
};
inline const QString kStorageCountCaption = QString::fromUtf16(u"ت انباري");
inline const QList<QPair<QString, QString>> kParkingOwn = {
    {QStringLiteral("num"), QString::fromUtf16(u"شماره")},
    {QStringLiteral("saghf"), QString::fromUtf16(u"سقف")},
};
inline const QString kParkingUnitCountCaption = QString::fromUtf16(u"ت واحد");
// the Excel dictionary of the browser lists over the applicant map
inline const QList<QPair<QString, QString>> kBrowserExcelExtra = {
    {QStringLiteral("mablagh"), QString::fromUtf16(u"مبلغ کل تسهيلات")},
    {QStringLiteral("vam"), QString::fromUtf16(u"ميزان وام")},
    {QStringLiteral("bolok"), QString::fromUtf16(u"شماره بلوک")},
    {QStringLiteral("bank"), QString::fromUtf16(u"بانک")},
    {QStringLiteral("etebar_loc"), QString::fromUtf16(u"محل اعتبار")},
    {QStringLiteral("prot_typ"), QString::fromUtf16(u"نوع قرارداد")},
    {QStringLiteral("vahed_cnt"), QString::fromUtf16(u"تعداد واحد تسهيلات")},
    {QStringLiteral("daryafti"), QString::fromUtf16(u"مبلغ تسهيلات دريافتي")},
    {QStringLiteral("prj_cod"), QString::fromUtf16(u"کد پروژه")},
    {QStringLiteral("zamin_pelak"), QString::fromUtf16(u"پلاک زمين")},
    {QStringLiteral("zamin_adr"), QString::fromUtf16(u"آدرس زمين")},
    {QStringLiteral("status"), QString::fromUtf16(u"وضعيت")},
};
inline const QString kLoanExcelMablagh = QString::fromUtf16(u"مبلغ واحد");
// the applicant list heading map
inline const QList<QPair<QString, QString>>& kApplicantHeadings = applicantHeadingList();
// facilities-used report
inline const QString kTashilatTitle = QString::fromUtf16(u"گزارش وضعيت اعتبارات/تسهيلات پروژه");
inline const QList<QPair<QString, QString>> kTashilatColumns = {
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
    {QStringLiteral("hemayati"), QString::fromUtf16(u"اعتبارات حمايتي")},
    {QStringLiteral("nohemayati"), QString::fromUtf16(u"تسهيلات غيرحمايتي")},
    {QStringLiteral("vam"), QString::fromUtf16(u"ميزان وام واحدها")},
    {QStringLiteral("sanad"), QString::fromUtf16(u"تعداد سند")},
};
// unit and activity reports
inline const QString kN24 = QString::fromUtf16(u"واحدهاي ثبت شده-قرارداد شده-تسويه شده-تحويل شده-انتقال سند شده (به تفکيک استان-شهرستان-پروژه)");
inline const QString kN25 = QString::fromUtf16(u"واحدهاي ثبت شده-قرارداد شده-تسويه شده-تحويل شده-انتقال سند شده (به تفکيک استان-شهرستان)");
inline const QString kN26 = QString::fromUtf16(u"واحدهاي ثبت شده-قرارداد شده-تسويه شده-تحويل شده-انتقال سند شده (به تفکيک استان)");
inline const QString kN31 = QString::fromUtf16(u"ميزان فعاليت يا گزارش عملکرد ثبت پروژه-واحد-انباري-پارکينگ-متقاضي-پيش ثبت نام (به تفکيک استان-شهرستان-پروژه)");
inline const QString kN32 = QString::fromUtf16(u"ميزان فعاليت يا گزارش عملکرد ثبت پروژه-واحد-انباري-پارکينگ-متقاضي-پيش ثبت نام (به تفکيک استان-شهرستان)");
inline const QString kN33 = QString::fromUtf16(u"ميزان فعاليت يا گزارش عملکرد ثبت پروژه-واحد-انباري-پارکينگ-متقاضي-پيش ثبت نام (به تفکيک استان)");
inline const QString kN39 = QString::fromUtf16(u"جامع (به تفکيک استان-شهرستان-پروژه)");
inline const QString kN41 = QString::fromUtf16(u"جامع (به تفکيک استان-شهرستان)");
inline const QString kN42 = QString::fromUtf16(u"جامع (به تفکيک استان)");
inline const QString kVahedTitle = QString::fromUtf16(u"گزارش وضعيت واحدهاي پروژه");
inline const QList<QPair<QString, QString>> kVahedColumns = {
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
    {QStringLiteral("vahed_kol"), QString::fromUtf16(u"تعداد کل واحد")},
    {QStringLiteral("vahed_cnt"), QString::fromUtf16(u"تعداد واحد قابل واگذاري")},
    {QStringLiteral("vahed_sabt"), QString::fromUtf16(u"تعداد واحد تخصيص (ثبت) شده")},
    {QStringLiteral("vahed_tavrin"), QString::fromUtf16(u"تعداد واحد قرارداد شده")},
    {QStringLiteral("mande"), QString::fromUtf16(u"تعداد واحد مانده")},
    {QStringLiteral("vahed_tasviye"), QString::fromUtf16(u"تعداد واحد تسويه شده")},
    {QStringLiteral("vahed_tahvil"), QString::fromUtf16(u"تعداد واحد تحويل شده")},
    {QStringLiteral("vahed_sanad"), QString::fromUtf16(u"تعداد واحد انتقال سند شده")},
};
inline const QString kRecordCount = QString::fromUtf16(u"تعداد رکورد ثبت شده");
inline const QString kSabtTitle = QString::fromUtf16(u"گزارش ميزان فعاليت و وضعيت ثبت در سامانه تاورين");
inline const QList<QPair<QString, QString>> kSabtColumns = {
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
    {QStringLiteral("prj_cnt"), QString::fromUtf16(u"تعداد پروژه ثبت شده")},
    {QStringLiteral("vahed_kol"), QString::fromUtf16(u"تعداد کل واحد")},
    {QStringLiteral("vahed_vagozari"), QString::fromUtf16(u"تعداد واحد قابل واگذاري")},
    {QStringLiteral("vahed"), QString::fromUtf16(u"تعداد واحد ثبت شده")},
    {QStringLiteral("anbari"), QString::fromUtf16(u"تعداد انباري ثبت شده")},
    {QStringLiteral("parking"), QString::fromUtf16(u"تعداد پارکينگ ثبت شده")},
    {QStringLiteral("moteghazi"), QString::fromUtf16(u"تعداد متقاضي ثبت شده")},
    {QStringLiteral("pishsabt"), QString::fromUtf16(u"تعداد پيش ثبت نام شده")},
};
inline const QString kTasTitle = QString::fromUtf16(u"گزارش جامع سامانه تاورين");
// column groups of the comprehensive report: group heading, field, caption
struct GroupedColumn { QString group; QString field; QString caption; };
inline const QList<GroupedColumn> kTasColumns = {
    {QString::fromUtf16(u"مشخصــــــــــات پروژه"), QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QString::fromUtf16(u""), QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QString::fromUtf16(u""), QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
    {QString::fromUtf16(u""), QStringLiteral("prj_cod"), QString::fromUtf16(u"کد پروژه")},
    {QString::fromUtf16(u""), QStringLiteral("prj_typ"), QString::fromUtf16(u"نوع پروژه")},
    {QString::fromUtf16(u"واحدها"), QStringLiteral("vahed_sabt"), QString::fromUtf16(u"ثبت شده")},
    {QString::fromUtf16(u""), QStringLiteral("vahed_f"), QString::fromUtf16(u"فروخته شده")},
    {QString::fromUtf16(u"انباري ها"), QStringLiteral("anbari_sabt"), QString::fromUtf16(u"ثبت شده")},
    {QString::fromUtf16(u""), QStringLiteral("anbari_f"), QString::fromUtf16(u"فروخته شده")},
    {QString::fromUtf16(u"پارکينگ ها"), QStringLiteral("parking_sabt"), QString::fromUtf16(u"ثبت شده")},
    {QString::fromUtf16(u""), QStringLiteral("parking_f"), QString::fromUtf16(u"فروخته شده")},
    {QString::fromUtf16(u"تســــــــــــــــــــهيلات"), QStringLiteral("prot_typ"), QString::fromUtf16(u"نوع قرارداد")},
    {QString::fromUtf16(u""), QStringLiteral("bank"), QString::fromUtf16(u"بانک")},
    {QString::fromUtf16(u""), QStringLiteral("etebar_loc"), QString::fromUtf16(u"نوع اعتبار")},
    {QString::fromUtf16(u""), QStringLiteral("daryafti"), QString::fromUtf16(u"مبلغ دريافتي")},
    {QString::fromUtf16(u""), QStringLiteral("vahed_takhsis"), QString::fromUtf16(u"جمع تخصيصي")},
};

// Texts of this system's own.
inline const QString kBuildFailed = QString::fromUtf16(u"خطا! ساخت گزارش انجام نشد. گزارش قبلي دست نخورده باقي ماند");
inline const QString kReadFailed = QString::fromUtf16(u"خطا! خواندن گزارش انجام نشد");
inline const QString kBuilding = QString::fromUtf16(u"در حال ساخت گزارش، لطفا صبر کنيد...");
inline const QString kChartPrintFailed = QString::fromUtf16(u"خطا! چاپ نمودار انجام نشد");
inline const QString kListFailed = QString::fromUtf16(u"خطا! جستجو انجام نشد");
inline const QStringList kChartKinds = {QString::fromUtf16(u"ميله اي"), QString::fromUtf16(u"سطحي"),
                                        QString::fromUtf16(u"نقطه اي"), QString::fromUtf16(u"خطي"),
                                        QString::fromUtf16(u"دايره اي")};
inline const QString kProvinceCaption = QString::fromUtf16(u"استان");
// The chart's display options (check boxes Monochrome, Axis, Legend, View3D,
// Gradient, Marks; MarksStyle, chartcolor, CheckBox1, sort_check).
inline const QStringList kChartOptions = {QString::fromUtf16(u"سياه و سفيد"), QString::fromUtf16(u"محورها"),
                                          QString::fromUtf16(u"راهنما"), QString::fromUtf16(u"سه بعدي"),
                                          QString::fromUtf16(u"رنگ سايه دار"), QString::fromUtf16(u"برچسب مقادير")};
inline const QString kMarksStyle = QString::fromUtf16(u"نوع برچسب");
inline const QStringList kMarksStyles = {QString::fromUtf16(u"مقدار"), QString::fromUtf16(u"نام و مقدار"),
                                         QString::fromUtf16(u"شماره رديف")};
inline const QString kColor = QString::fromUtf16(u"رنگ");
inline const QStringList kColors = {QString::fromUtf16(u"سياه"), QString::fromUtf16(u"زرد"), QString::fromUtf16(u"قرمز"),
                                    QString::fromUtf16(u"سبز")};
inline const QString kSortAscDes = QString::fromUtf16(u"ترتيب معکوس");
inline const QString kSortXY = QString::fromUtf16(u"ترتيب بر اساس نام");
inline const QString kSharedFilters = QString::fromUtf16(u"جستجو در پروژه ها");

} // namespace tavrin::reptext
