#pragma once
// The fixed texts of the project windows, their menus, messages and column
// titles.  Every text is exactly what the user sees or what is stored, blanks
// included; do not retype them.
#include <QList>
#include <QPair>
#include <QString>

namespace tavrin::prjtext {

// window captions
inline const QString kSrcCaption = QString::fromUtf16(u"اطلاعات پروژه ها");
inline const QString kInsCaption = QString::fromUtf16(u"ثبت/ويرايش پروژه");

// entry-window field captions by column
inline const QList<QPair<QString, QString>> kFieldCaptions = {
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("shahr"), QString::fromUtf16(u"شهر")},
    {QStringLiteral("rosta"), QString::fromUtf16(u"روستا شهر")},
    {QStringLiteral("prj_cod"), QString::fromUtf16(u"کد پروژه")},
    {QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
    {QStringLiteral("prj_typ"), QString::fromUtf16(u"نوع پروژه")},
    {QStringLiteral("prot_typ"), QString::fromUtf16(u"نوع قرارداد فروش")},
    {QStringLiteral("status"), QString::fromUtf16(u"وضعيت کميسيون معاملات")},
    {QStringLiteral("zamin_pelak"), QString::fromUtf16(u"مشخصات زمين پروژه(شامل مساحت، پلاک ثبتي و...)")},
    {QStringLiteral("zamin_adr"), QString::fromUtf16(u"آدرس زمين پروژه")},
    {QStringLiteral("vahed_kol"), QString::fromUtf16(u"تعداد واحد کل")},
    {QStringLiteral("vahed_cnt"), QString::fromUtf16(u"تعداد واحد قابل واگذاري")},
    {QStringLiteral("vahed_f"), QString::fromUtf16(u"تعداد واحد فروخته شده")},
    {QStringLiteral("anbari_cnt"), QString::fromUtf16(u"تعداد انباري")},
    {QStringLiteral("parking_cnt"), QString::fromUtf16(u"تعداد پارکينگ")},
    {QStringLiteral("st_tavrin"), QString::fromUtf16(u"وضعيت فروش")},
    {QStringLiteral("expire_dat"), QString::fromUtf16(u"تاريخ انقضاء فروش")},
    {QStringLiteral("sakht_dat"), QString::fromUtf16(u"تاريخ خاتمه عمليات ساخت")},
    {QStringLiteral("cmt"), QString::fromUtf16(u"ساير توضيحات")},
};
inline const QString kLicensedNote = QString::fromUtf16(u"(داراي مجوز)");

// values
inline const QString kActive = QString::fromUtf16(u"فعال");
inline const QString kExpired = QString::fromUtf16(u"انقضا فروش");
inline const QString kInternetRegistration = QString::fromUtf16(u"ثبت نام اينترنتي");
inline const QString kRegistration = QString::fromUtf16(u"ثبت نام");

// setting keys of the pick lists
inline const QString kSettingProjectName = QString::fromUtf16(u"نام پروژه");
inline const QString kSettingContractType = QString::fromUtf16(u"نوع قرارداد پروژه");
inline const QString kSettingProjectType = QString::fromUtf16(u"نوع پروژه");
inline const QString kSettingProjectStatus = QString::fromUtf16(u"وضعيت پروژه");
inline const QString kSettingSaleState = QString::fromUtf16(u"وضعيت فروش پروژه");
inline const QString kSettingUnitStatus = QString::fromUtf16(u"وضعيت واحد");
inline const QString kSettingDeletePassword = QString::fromUtf16(u"رمز حذف");

// menus and buttons of the list window
inline const QString kN1 = QString::fromUtf16(u"پروژه جديد");
inline const QString kN2 = QString::fromUtf16(u"ويرايش");
inline const QString kN3 = QString::fromUtf16(u"حذف");
inline const QString kN21 = QString::fromUtf16(u"تسهيلات");
inline const QString kN7 = QString::fromUtf16(u"واحدها");
inline const QString kN8 = QString::fromUtf16(u"انباري ها");
inline const QString kN9 = QString::fromUtf16(u"پارکينگ ها");
inline const QString kN4 = QString::fromUtf16(u"گزارش");
inline const QString kN5 = QString::fromUtf16(u"اکسل");
inline const QString kN19 = QString::fromUtf16(u"چاپ");
inline const QString kN20 = QString::fromUtf16(u"واحدها");
inline const QString kN43 = QString::fromUtf16(u"پروژه ها");
inline const QString kN44 = QString::fromUtf16(u"وب  (web)");
inline const QString kN6 = QString::fromUtf16(u"بستن");
inline const QString kN30 = QString::fromUtf16(u"ليست متقاضيان اين پروژه");
inline const QString kSearch = QString::fromUtf16(u"جستجو");
inline const QString kInsert = QString::fromUtf16(u"ثبت");
inline const QString kEdit = QString::fromUtf16(u"ويرايش");

// the report entries of the "report" menu, in menu order: object name, caption
inline const QList<QPair<QString, QString>> kReportEntries = {
    {QStringLiteral("N35"), QString::fromUtf16(u"وضعيت پروژه ها (به تفکيک استان-شهرستان-پروژه) - چاپي")},
    {QStringLiteral("N47"), QString::fromUtf16(u"وضعيت پروژه ها (به تفکيک استان-شهرستان) - چاپي")},
    {QStringLiteral("N48"), QString::fromUtf16(u"وضعيت پروژه ها (به تفکيک استان) - چاپي")},
    {QStringLiteral("N49"), QString::fromUtf16(u"وضعيت پروژه ها - نموداري")},
    {QStringLiteral("N46"), QString::fromUtf16(u"وضعيت پروژه ها (به تفکيک استان-شهرستان-پروژه) - اکسلي")},
    {QStringLiteral("N22"), QString::fromUtf16(u"تسهيلات - واحدها - انباري ها - پارکينگ ها - وام ها")},
    {QStringLiteral("N27"), QString::fromUtf16(u"تسهيلات استفاده شده (به تفکيک استان-شهرستان-پروژه)")},
    {QStringLiteral("N28"), QString::fromUtf16(u"تسهيلات استفاده شده (به تفکيک استان-شهرستان)")},
    {QStringLiteral("N29"), QString::fromUtf16(u"تسهيلات استفاده شده (به تفکيک استان)")},
    {QStringLiteral("N24"), QString::fromUtf16(u"واحدهاي ثبت شده-قرارداد شده-تسويه شده-تحويل شده-انتقال سند شده (به تفکيک استان-شهرستان-پروژه)")},
    {QStringLiteral("N25"), QString::fromUtf16(u"واحدهاي ثبت شده-قرارداد شده-تسويه شده-تحويل شده-انتقال سند شده (به تفکيک استان-شهرستان)")},
    {QStringLiteral("N26"), QString::fromUtf16(u"واحدهاي ثبت شده-قرارداد شده-تسويه شده-تحويل شده-انتقال سند شده (به تفکيک استان)")},
    {QStringLiteral("N31"), QString::fromUtf16(u"ميزان فعاليت يا گزارش عملکرد ثبت پروژه-واحد-انباري-پارکينگ-متقاضي-پيش ثبت نام (به تفکيک استان-شهرستان-پروژه)")},
    {QStringLiteral("N32"), QString::fromUtf16(u"ميزان فعاليت يا گزارش عملکرد ثبت پروژه-واحد-انباري-پارکينگ-متقاضي-پيش ثبت نام (به تفکيک استان-شهرستان)")},
    {QStringLiteral("N33"), QString::fromUtf16(u"ميزان فعاليت يا گزارش عملکرد ثبت پروژه-واحد-انباري-پارکينگ-متقاضي-پيش ثبت نام (به تفکيک استان)")},
    {QStringLiteral("N39"), QString::fromUtf16(u"جامع (به تفکيک استان-شهرستان-پروژه)")},
    {QStringLiteral("N41"), QString::fromUtf16(u"جامع (به تفکيک استان-شهرستان)")},
    {QStringLiteral("N42"), QString::fromUtf16(u"جامع (به تفکيک استان)")},
};
// the central-office submenu and its entries, then the two full listings
inline const QString kCentralOffice = QString::fromUtf16(u"دفتر مرکزي");
inline const QList<QPair<QString, QString>> kCentralOfficeEntries = {
    {QStringLiteral("N52"), QString::fromUtf16(u"روکش استاني")},
    {QStringLiteral("N53"), QString::fromUtf16(u"انتقال سند")},
    {QStringLiteral("N54"), QString::fromUtf16(u"تسهيلات")},
    {QStringLiteral("N55"), QString::fromUtf16(u"تحويل واحدها")},
    {QStringLiteral("N56"), QString::fromUtf16(u"نوع پروژه ها")},
};
inline const QList<QPair<QString, QString>> kListingEntries = {
    {QStringLiteral("N57"), QString::fromUtf16(u"پروژه ها - متقاضيان")},
    {QStringLiteral("N58"), QString::fromUtf16(u"متقاضيان - پروژه ها")},
};
// the two conversion submenus (web page, spreadsheet) and their six exports each
inline const QString kConvertMenu = QString::fromUtf16(u"شرکت پرورش داده ها (Convert)");
struct ConvertEntry { QString caption; QString subCaption; QString htmlName; QString xlsName; };
inline const QList<ConvertEntry> kConvertEntries = {
    {QString::fromUtf16(u"پروژه و واحدهاي واگذاري"), QString::fromUtf16(u""), QStringLiteral("N61"), QStringLiteral("N66")},
    {QString::fromUtf16(u"پارکينگ انباري"), QString::fromUtf16(u"پارکينگ"), QStringLiteral("N71"), QStringLiteral("N73")},
    {QString::fromUtf16(u"پارکينگ انباري"), QString::fromUtf16(u"انباري"), QStringLiteral("N72"), QStringLiteral("N74")},
    {QString::fromUtf16(u"تعهدات مالي"), QString::fromUtf16(u""), QStringLiteral("N63"), QStringLiteral("N68")},
    {QString::fromUtf16(u"تراکنش هاي مالي"), QString::fromUtf16(u""), QStringLiteral("N64"), QStringLiteral("N69")},
    {QString::fromUtf16(u"اعضاي تحت تکفل"), QString::fromUtf16(u""), QStringLiteral("N65"), QStringLiteral("N70")},
};

// search filters of the list window: check box, field, caption
struct Filter { QString box; QString field; QString caption; };
inline const QList<Filter> kFilters = {
    {QStringLiteral("CheckBox10"), QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("CheckBox11"), QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("CheckBox12"), QStringLiteral("prj_typ"), QString::fromUtf16(u"نوع پروژه")},
    {QStringLiteral("CheckBox2"), QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
    {QStringLiteral("CheckBox13"), QStringLiteral("st_tavrin"), QString::fromUtf16(u"وضعيت فروش")},
};

// columns of the project grid, in order
inline const QList<QPair<QString, QString>> kGridColumns = {
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("shahr"), QString::fromUtf16(u"شهر")},
    {QStringLiteral("rosta"), QString::fromUtf16(u"روستا شهر")},
    {QStringLiteral("prj_cod"), QString::fromUtf16(u"کد پروژه")},
    {QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
    {QStringLiteral("prj_typ"), QString::fromUtf16(u"نوع پروژه")},
    {QStringLiteral("status"), QString::fromUtf16(u"وضعيت کميسيون معاملات")},
    {QStringLiteral("expire_dat"), QString::fromUtf16(u"انقضا فروش")},
    {QStringLiteral("vahed_kol"), QString::fromUtf16(u"تعداد واحد کل")},
    {QStringLiteral("vahed_cnt"), QString::fromUtf16(u"ت واحد قابل واگذاري")},
    {QStringLiteral("vahed_f"), QString::fromUtf16(u"ت واحد فروخته شده")},
    {QStringLiteral("mande"), QString::fromUtf16(u"ت واحد مانده")},
    {QStringLiteral("anbari_cnt"), QString::fromUtf16(u"ت انباري")},
    {QStringLiteral("parking_cnt"), QString::fromUtf16(u"ت پارکينگ")},
    {QStringLiteral("st_tavrin"), QString::fromUtf16(u"وضعيت فروش")},
    {QStringLiteral("sakht_dat"), QString::fromUtf16(u"خاتمه عمليات ساخت")},
    {QStringLiteral("prot_typ"), QString::fromUtf16(u"نوع قرارداد")},
    {QStringLiteral("zamin_pelak"), QString::fromUtf16(u"مشخصات زمين")},
    {QStringLiteral("zamin_adr"), QString::fromUtf16(u"آدرس زمين")},
    {QStringLiteral("cmt"), QString::fromUtf16(u"توضيحات")},
};

// Excel headings of the project list
inline const QList<QPair<QString, QString>> kExcelHeadings = {
    {QStringLiteral("id"), QString::fromUtf16(u"شناسه")},
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("shahr"), QString::fromUtf16(u"شهر")},
    {QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
    {QStringLiteral("prj_typ"), QString::fromUtf16(u"نوع پروژه")},
    {QStringLiteral("status"), QString::fromUtf16(u"وضعيت")},
    {QStringLiteral("cmt"), QString::fromUtf16(u"توضيحات")},
    {QStringLiteral("zamin_pelak"), QString::fromUtf16(u"پلاک زمين")},
    {QStringLiteral("zamin_adr"), QString::fromUtf16(u"آدرس زمين")},
    {QStringLiteral("prj_cod"), QString::fromUtf16(u"کد پروژه")},
    {QStringLiteral("rosta"), QString::fromUtf16(u"روستا شهر")},
    {QStringLiteral("vahed_cnt"), QString::fromUtf16(u"تعداد واحد قابل واگذاري")},
    {QStringLiteral("vahed_kol"), QString::fromUtf16(u"تعداد واحد کل")},
    {QStringLiteral("anbari_cnt"), QString::fromUtf16(u"تعداد انباري")},
    {QStringLiteral("parking_cnt"), QString::fromUtf16(u"تعداد پارکينگ")},
    {QStringLiteral("expire_dat"), QString::fromUtf16(u"تاريخ انقضاء فروش")},
    {QStringLiteral("st_tavrin"), QString::fromUtf16(u"وضعيت فروش")},
    {QStringLiteral("vahed_f"), QString::fromUtf16(u"ت واحد فروخته شده")},
    {QStringLiteral("mande"), QString::fromUtf16(u"ت واحد مانده")},
    {QStringLiteral("sakht_dat"), QString::fromUtf16(u"تاريخ اتمام عمليات ساخت")},
    {QStringLiteral("prot_typ"), QString::fromUtf16(u"نوع قرارداد پروژه")},
};

// the web page
inline const QString kWebHead = QString::fromUtf16(u"<head><title>ليست پروژه ها</title></head>");
inline const QString kWebRowNumberHeading = QString::fromUtf16(u"<th>رديف</th>");
inline const QList<QPair<QString, QString>> kWebHeadings = {
    {QStringLiteral("id"), QString::fromUtf16(u"شناسه")},
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("shahr"), QString::fromUtf16(u"شهر")},
    {QStringLiteral("rosta"), QString::fromUtf16(u"روستا شهر")},
    {QStringLiteral("prj_cod"), QString::fromUtf16(u"کد پروژه")},
    {QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
    {QStringLiteral("prj_typ"), QString::fromUtf16(u"نوع پروژه")},
    {QStringLiteral("status"), QString::fromUtf16(u"وضعيت کميسيون معاملات")},
    {QStringLiteral("expire_dat"), QString::fromUtf16(u"انقضا فروش")},
    {QStringLiteral("vahed_kol"), QString::fromUtf16(u"تعداد واحد کل")},
    {QStringLiteral("vahed_cnt"), QString::fromUtf16(u"ت واحد قابل واگذاري")},
    {QStringLiteral("vahed_f"), QString::fromUtf16(u"ت واحد فروخته شده")},
    {QStringLiteral("mande"), QString::fromUtf16(u"ت واحد مانده")},
    {QStringLiteral("anbari_cnt"), QString::fromUtf16(u"ت انباري")},
    {QStringLiteral("parking_cnt"), QString::fromUtf16(u"ت پارکينگ")},
    {QStringLiteral("st_tavrin"), QString::fromUtf16(u"وضعيت فروش")},
    {QStringLiteral("sakht_dat"), QString::fromUtf16(u"خاتمه عمليات ساخت")},
    {QStringLiteral("zamin_pelak"), QString::fromUtf16(u"مشخصات زمين")},
    {QStringLiteral("zamin_adr"), QString::fromUtf16(u"آدرس زمين")},
    {QStringLiteral("cmt"), QString::fromUtf16(u"توضيحات")},
};

// messages of the entry window
inline const QString kUnitsOverTotal = QString::fromUtf16(u"خطا! تعداد واحد قابل واگذاري نمي تواند از تعداد واحد کل بيشتر باشد");
inline const QString kNoProvince = QString::fromUtf16(u"خطا! نام استان نمي تواند خالي باشد");
inline const QString kNoCounty = QString::fromUtf16(u"خطا! نام شهرستان نمي تواند خالي باشد");
inline const QString kNoName = QString::fromUtf16(u"خطا! نام پروژه نمي تواند خالي باشد");
inline const QString kNoCode = QString::fromUtf16(u"خطا! کد پروژه نمي تواند خالي باشد");
inline const QString kNotFromList = QString::fromUtf16(u"خطا! نام استان و شهرستان را مي بايست از ليست انتخاب نماييد و مجاز به تايپ نيستيد. درصورتيکه نام استان/شهرستان مورد نظر شما در ليست نيست، جهت افزودن مکاتبه نماييد");
// A user below the level "admin" records projects only in his granted counties.
inline const QString kCountyNotGranted = QString::fromUtf16(u"خطا! شما دسترسي به اين شهرستان را نداريد");
inline const QString kDuplicateCode = QString::fromUtf16(u"خطا! نام استان و شهرستان و کد پروژه تکراريست");
inline const QString kSaved = QString::fromUtf16(u"ثبت شد");
inline const QString kDuplicateNameInCounty = QString::fromUtf16(u"خطا!      نام پروژه در اين شهرستان تکراريست");
inline const QString kCodeTaken = QString::fromUtf16(u"خطا! کد پروژه تکراريست");

// delete
inline const QString kDeletePasswordTitle = QString::fromUtf16(u"Delete Password");
inline const QString kDeletePasswordPrompt = QString::fromUtf16(u"لطفا رمز حذف را وارد نماييد:");
inline const QString kDeletePasswordPreset = QString::fromUtf16(u"?");
inline const QString kDeleteWarning = QString::fromUtf16(u"هشدار! با حذف پروژه تمام واحدها و انباري و پارکينگ هاي آن نيز حذف مي شوند. آيا اطمينان دار يد؟");
inline const QString kDeleteRefused = QString::fromUtf16(u"خطا! امکان حذف پروژه نيست. بدليل آنکه از اين پروژه واحد واگذار شده است  به کد ملي و نام*");

} // namespace tavrin::prjtext
