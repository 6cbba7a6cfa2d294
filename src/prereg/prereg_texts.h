#pragma once
// The fixed texts of the pre-registration windows, the deposit windows and the
// deposit agreement's labels: captions, menus, messages, column titles and
// setting keys.  Every text is exactly what the user sees or what is stored,
// blanks included; do not retype them.  The agreement's clauses live in the
// template resource (vadiegozari.txt), not here.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace tavrin::preregtext {

// window captions
inline const QString kSrcCaption = QString::fromUtf16(u"پيش ثبت نام");
inline const QString kInsCaption = QString::fromUtf16(u"ثبت/ويرايش پيش ثبت نام");
inline const QString kPardakhtCaption = QString::fromUtf16(u"پرداخت ها / وديعه هاي پيش ثبت نام");
inline const QString kPardakhtSrcCaption = QString::fromUtf16(u"پيش پرداخت ها");

// the list window's menus (object names in the window code)
inline const QString kN1 = QString::fromUtf16(u"ثبت جديد");
inline const QString kN2 = QString::fromUtf16(u"ويرايش");
inline const QString kN6 = QString::fromUtf16(u"ويرايش");
inline const QString kN3 = QString::fromUtf16(u"حذف");
inline const QString kN12 = QString::fromUtf16(u"پرداخت ها");
inline const QString kReportsMenu = QString::fromUtf16(u"گزارشات");
inline const QString kN7 = QString::fromUtf16(u"اکسل");
inline const QString kN13 = QString::fromUtf16(u"پرداخت ها");
inline const QString kFormsMenu = QString::fromUtf16(u"فرم ها");
inline const QString kAgreementMenu = QString::fromUtf16(u"تفاهم نامه وديعه گذاري");
inline const QString kProvinceMenu = QString::fromUtf16(u"استان");
inline const QString kN11 = QString::fromUtf16(u"صفحه1- طرفين قرارداد");
inline const QString kN21 = QString::fromUtf16(u"صفحه2- تعهدات");
inline const QString kN31 = QString::fromUtf16(u"صفحه3- ساير شرايط");
inline const QString kN10 = QString::fromUtf16(u"چاپ همه صفحات");
inline const QString kCountyMenu = QString::fromUtf16(u"شهرستان");
inline const QString kN16 = QString::fromUtf16(u"صفحه1 - طرفين قرارداد");
inline const QString kN32 = QString::fromUtf16(u"صفحه3 - ساير شرايط");
inline const QString kN5 = QString::fromUtf16(u"بستن");

// the list window's filters: check box caption and field, in the order of the search
inline const QList<QPair<QString, QString>> kFilters = {
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("nation"), QString::fromUtf16(u"کد ملي")},
    {QStringLiteral("lname"), QString::fromUtf16(u"نام خانوادگي")},
    {QStringLiteral("gender"), QString::fromUtf16(u"جنسيت")},
    {QStringLiteral("reg_user"), QString::fromUtf16(u"کاربر")},
};
inline const QString kSearch = QString::fromUtf16(u"جستجو");
inline const QString kInternetPreset = QString::fromUtf16(u"ثبت نام اينترنتي");
inline const QString kInternetLike = QString::fromUtf16(u"ثبت نام");
inline const QStringList kGenders = {QString::fromUtf16(u"مرد"), QString::fromUtf16(u"زن")};

// the list grid: column and title, in order (id hidden)
inline const QList<QPair<QString, QString>> kGridColumns = {
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("fname"), QString::fromUtf16(u"نام")},
    {QStringLiteral("lname"), QString::fromUtf16(u"نام خانوادگي")},
    {QStringLiteral("father"), QString::fromUtf16(u"نام پدر")},
    {QStringLiteral("nation"), QString::fromUtf16(u"کد ملي")},
    {QStringLiteral("sh_no"), QString::fromUtf16(u"ش شناسنامه")},
    {QStringLiteral("birthday"), QString::fromUtf16(u"ت تولد")},
    {QStringLiteral("sodor"), QString::fromUtf16(u"محل صدور")},
    {QStringLiteral("tavalod_loc"), QString::fromUtf16(u"محل تولد")},
    {QStringLiteral("phone"), QString::fromUtf16(u"تلفن")},
    {QStringLiteral("mobile"), QString::fromUtf16(u"موبايل")},
    {QStringLiteral("adr"), QString::fromUtf16(u"آدرس")},
    {QStringLiteral("job"), QString::fromUtf16(u"شغل")},
    {QStringLiteral("job_adr"), QString::fromUtf16(u"آدرس محل کار")},
    {QStringLiteral("taahol"), QString::fromUtf16(u"تاهل")},
    {QStringLiteral("gender"), QString::fromUtf16(u"جنسيت")},
    {QStringLiteral("sabeghe"), QString::fromUtf16(u"سابقه سکونت")},
    {QStringLiteral("moaref"), QString::fromUtf16(u"معرف")},
    {QStringLiteral("reg_no"), QString::fromUtf16(u"شماره ثبت نام")},
    {QStringLiteral("reg_dat"), QString::fromUtf16(u"تاريخ ثبت نام")},
    {QStringLiteral("reg_user"), QString::fromUtf16(u"کاربر")},
    {QStringLiteral("cmt"), QString::fromUtf16(u"توضيحات")},
    {QStringLiteral("sana"), QString::fromUtf16(u"سنا")},
    {QStringLiteral("hesab_no"), QString::fromUtf16(u"شماره حساب متقاضي")},
    {QStringLiteral("bank"), QString::fromUtf16(u"بانک متقاضي")},
};

// the entry window: caption, field object name and column, in tab order
struct Field {
    QString caption;
    QString name;
    QString column;
};
inline const QList<Field> kFields = {
    {QString::fromUtf16(u"استان"), QStringLiteral("ostan"), QStringLiteral("ostan")},
    {QString::fromUtf16(u"شهرستان"), QStringLiteral("shahrestan"), QStringLiteral("shahrestan")},
    {QString::fromUtf16(u"نام"), QStringLiteral("fname"), QStringLiteral("fname")},
    {QString::fromUtf16(u"نام خانوادگي"), QStringLiteral("lname"), QStringLiteral("lname")},
    {QString::fromUtf16(u"نام پدر"), QStringLiteral("father"), QStringLiteral("father")},
    {QString::fromUtf16(u"کدملي"), QStringLiteral("nation"), QStringLiteral("nation")},
    {QString::fromUtf16(u"ش شناسنامه"), QStringLiteral("sh_no"), QStringLiteral("sh_no")},
    {QString::fromUtf16(u"تاريخ تولد"), QStringLiteral("birthday"), QStringLiteral("birthday")},
    {QString::fromUtf16(u"محل صدور"), QStringLiteral("sodor"), QStringLiteral("sodor")},
    {QString::fromUtf16(u"محل تولد"), QStringLiteral("tavalod_loc"), QStringLiteral("tavalod_loc")},
    {QString::fromUtf16(u"تلفن همراه"), QStringLiteral("mobile"), QStringLiteral("mobile")},
    {QString::fromUtf16(u"تلفن ثابت"), QStringLiteral("phone"), QStringLiteral("phone")},
    {QString::fromUtf16(u"وضعيت تاهل"), QStringLiteral("taahol"), QStringLiteral("taahol")},
    {QString::fromUtf16(u"جنسيت"), QStringLiteral("gender"), QStringLiteral("gender")},
    {QString::fromUtf16(u"سابقه سکونت"), QStringLiteral("sabeghe"), QStringLiteral("sabeghe")},
    {QString::fromUtf16(u"آدرس"), QStringLiteral("adr"), QStringLiteral("adr")},
    {QString::fromUtf16(u"شغل"), QStringLiteral("job"), QStringLiteral("job")},
    {QString::fromUtf16(u"آدرس محل کار"), QStringLiteral("job_adr"), QStringLiteral("job_adr")},
    {QString::fromUtf16(u"معرف"), QStringLiteral("moaref"), QStringLiteral("moaref")},
    {QString::fromUtf16(u"تاريخ ثبت نام"), QStringLiteral("reg_dat"), QStringLiteral("reg_dat")},
    {QString::fromUtf16(u"شماره ثبت نام"), QStringLiteral("reg_no"), QStringLiteral("reg_no")},
    {QString::fromUtf16(u"ثبت نام ثنا"), QStringLiteral("sana"), QStringLiteral("sana")},
    {QString::fromUtf16(u"ساير توضيحات"), QStringLiteral("cmt"), QStringLiteral("cmt")},
    {QString::fromUtf16(u"شماره حساب"), QStringLiteral("hesab_no"), QStringLiteral("hesab_no")},
    {QString::fromUtf16(u"بانک"), QStringLiteral("BANK"), QStringLiteral("bank")},
};
inline const QStringList kMaritalStates = {QString::fromUtf16(u"مجرد"), QString::fromUtf16(u"متاهل"), QString::fromUtf16(u"سرپرست")};
inline const QStringList kSanaStates = {QString::fromUtf16(u"دارد"), QString::fromUtf16(u"ندارد")};
inline const QString kInsert = QString::fromUtf16(u"ثبت");
inline const QString kEdit = QString::fromUtf16(u"ويرايش");
inline const QString kSettingJob = QString::fromUtf16(u"شغل");
inline const QString kSettingReferrer = QString::fromUtf16(u"معرف");
inline const QString kSettingBank = QString::fromUtf16(u"بانک");

// messages of the entry window, in the order of the checks
inline const QString kNoProvince = QString::fromUtf16(u"خطا! نام استان نمي تواند خالي باشد");
inline const QString kNoCounty = QString::fromUtf16(u"خطا! نام شهرستان نمي تواند خالي باشد");
inline const QString kNotFromList = QString::fromUtf16(u"خطا! نام استان و شهرستان را مي بايست از ليست انتخاب نماييد و مجاز به تايپ نيستيد. درصورتيکه نام استان/شهرستان مورد نظر شما در ليست نيست، جهت افزودن مکاتبه نماييد");
inline const QString kNoNation = QString::fromUtf16(u"خطا! کد ملي نمي تواند خالي باشد");
inline const QString kDuplicateNation = QString::fromUtf16(u"خطا! اين کد ملي قبلا پيش ثبت نام شده است");
inline const QString kNameWarning = QString::fromUtf16(u" هشدار! اين نام و نام خانوادگي و نام پدر قبلا ثبت شده است. آيا مي خواهيد ادامه دهيد؟ ");
inline const QString kSaved = QString::fromUtf16(u"ثبت شد");
inline const QString kDeletePrompt = QString::fromUtf16(u"لطفا رمز حذف را وارد نماييد:");
inline const QString kDeleted = QString::fromUtf16(u"حذف شد");

// Excel headings of the list
inline const QList<QPair<QString, QString>> kExcelHeadings = {
    {QStringLiteral("id"), QString::fromUtf16(u"شناسه")},
    {QStringLiteral("gender"), QString::fromUtf16(u"جنسيت")},
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("cmt"), QString::fromUtf16(u"توضيحات")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("sabeghe"), QString::fromUtf16(u"سابقه سکونت")},
    {QStringLiteral("fname"), QString::fromUtf16(u"نام")},
    {QStringLiteral("adr"), QString::fromUtf16(u"آدرس")},
    {QStringLiteral("lname"), QString::fromUtf16(u"نام خانوادگي")},
    {QStringLiteral("job"), QString::fromUtf16(u"شغل")},
    {QStringLiteral("father"), QString::fromUtf16(u"نام پدر")},
    {QStringLiteral("job_adr"), QString::fromUtf16(u"آدرس محل کار")},
    {QStringLiteral("nation"), QString::fromUtf16(u"کد ملي")},
    {QStringLiteral("moaref"), QString::fromUtf16(u"معرف")},
    {QStringLiteral("sh_no"), QString::fromUtf16(u"شماره شناسنامه")},
    {QStringLiteral("reg_dat"), QString::fromUtf16(u"تاريخ ثبت نام")},
    {QStringLiteral("birthday"), QString::fromUtf16(u"تاريخ تولد")},
    {QStringLiteral("reg_no"), QString::fromUtf16(u"شماره ثبت نام")},
    {QStringLiteral("sodor"), QString::fromUtf16(u"محل صدور")},
    {QStringLiteral("reg_user"), QString::fromUtf16(u"نام کاربر")},
    {QStringLiteral("tavalod_loc"), QString::fromUtf16(u"محل تولد")},
    {QStringLiteral("sana"), QString::fromUtf16(u"ثبت نام ثنا")},
    {QStringLiteral("mobile"), QString::fromUtf16(u"موبايل")},
    {QStringLiteral("hesab_no"), QString::fromUtf16(u"شماره حساب")},
    {QStringLiteral("phone"), QString::fromUtf16(u"تلفن ثابت")},
    {QStringLiteral("bank"), QString::fromUtf16(u"بانک")},
    {QStringLiteral("taahol"), QString::fromUtf16(u"تاهل")},
};

// the deposits window
inline const QString kPersonOstan = QString::fromUtf16(u"استان:");
inline const QString kPersonShahrestan = QString::fromUtf16(u"شهرستان:");
inline const QString kPersonName = QString::fromUtf16(u"نام و نام خانوادگي:");
inline const QList<Field> kDepositFields = {
    {QString::fromUtf16(u"نحوه پرداخت"), QStringLiteral("pardakht_typ"), QStringLiteral("pardakht_typ")},
    {QString::fromUtf16(u"مبلغ وديعه/چک"), QStringLiteral("mablagh"), QStringLiteral("mablagh")},
    {QString::fromUtf16(u"شماره فيش/چک"), QStringLiteral("num"), QStringLiteral("num")},
    {QString::fromUtf16(u"مبلغ وصول شده"), QStringLiteral("vosol"), QStringLiteral("vosol")},
    {QString::fromUtf16(u"تاريخ چک/فيش"), QStringLiteral("dat"), QStringLiteral("dat")},
    {QString::fromUtf16(u"شماره رسيد مالي"), QStringLiteral("resid_no"), QStringLiteral("resid_no")},
    {QString::fromUtf16(u"شماره حساب نورواد"), QStringLiteral("hesab_no"), QStringLiteral("hesab_no")},
    {QString::fromUtf16(u"بانک نورواد"), QStringLiteral("norvad_bank"), QStringLiteral("norvad_bank")},
    {QString::fromUtf16(u"توضيحات"), QStringLiteral("cmt"), QStringLiteral("cmt")},
};
inline const QString kRialNote = QString::fromUtf16(u"(بريال)");
// the deposits grid (id and pishsabt_id hidden)
inline const QList<QPair<QString, QString>> kDepositColumns = {
    {QStringLiteral("pardakht_typ"), QString::fromUtf16(u"نحوه پرداخت")},
    {QStringLiteral("mablagh"), QString::fromUtf16(u"مبلغ وديعه")},
    {QStringLiteral("num"), QString::fromUtf16(u"شماره فيش")},
    {QStringLiteral("vosol"), QString::fromUtf16(u"مبلغ وصول")},
    {QStringLiteral("dat"), QString::fromUtf16(u"تاريخ چک/فيش")},
    {QStringLiteral("resid_no"), QString::fromUtf16(u"شماره رسيد")},
    {QStringLiteral("hesab_no"), QString::fromUtf16(u"شماره حساب")},
    {QStringLiteral("norvad_bank"), QString::fromUtf16(u"بانک نورواد")},
    {QStringLiteral("cmt"), QString::fromUtf16(u"توضيحات")},
};
inline const QString kDepositN1 = QString::fromUtf16(u"حذف");
inline const QString kDepositN2 = QString::fromUtf16(u"اکسل");
inline const QString kDepositSum = QString::fromUtf16(u"جمع کل وديعه:");
inline const QString kVosolSum = QString::fromUtf16(u"جمع کل وصول ها:");
inline const QString kBalance = QString::fromUtf16(u"مانده حساب:");
inline const QString kSettingAccount = QString::fromUtf16(u"شماره حساب");
inline const QString kSettingPaymentWay = QString::fromUtf16(u"نحوه پرداخت");
inline const QString kDuplicateDeposit = QString::fromUtf16(u"خطا! مبلغ و شماره فيش و تاريخ فيش براي اين متقاضي تکراري است");
inline const QString kBadAmount = QString::fromUtf16(u"خطا! مبلغ قسط/چک مي بايست عدد صحيح باشد");
inline const QString kBadVosol = QString::fromUtf16(u"خطا! مبلغ وصول مي بايست عدد صحيح باشد");
// Excel headings of one person's deposits
inline const QList<QPair<QString, QString>> kDepositExcelHeadings = {
    {QStringLiteral("id"), QString::fromUtf16(u"شناسه پرداخت")},
    {QStringLiteral("pishsabt_id"), QString::fromUtf16(u"شناسه متقاضي")},
    {QStringLiteral("pardakht_typ"), QString::fromUtf16(u"نحوه پرداخت")},
    {QStringLiteral("mablagh"), QString::fromUtf16(u"مبلغ")},
    {QStringLiteral("num"), QString::fromUtf16(u"شماره فيش/چک")},
    {QStringLiteral("vosol"), QString::fromUtf16(u"مبلغ وصول")},
    {QStringLiteral("dat"), QString::fromUtf16(u"تاريخ")},
    {QStringLiteral("cmt"), QString::fromUtf16(u"توضيحات")},
};

// the all-deposits window
inline const QString kFilterCounty = QString::fromUtf16(u"شهرستان");
inline const QString kFilterLname = QString::fromUtf16(u"نام خانوادگي");
// its grid; the first five titles are tinted
inline const QList<QPair<QString, QString>> kAllDepositColumns = {
    {QStringLiteral("ostan_asli"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan_asli"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("fname_asli"), QString::fromUtf16(u"نام")},
    {QStringLiteral("lname_asli"), QString::fromUtf16(u"نام خانوادگي")},
    {QStringLiteral("nation_asli"), QString::fromUtf16(u"کد ملي")},
    {QStringLiteral("pardakht_typ"), QString::fromUtf16(u"نحوه پرداخت")},
    {QStringLiteral("mablagh"), QString::fromUtf16(u"مبلغ قسط")},
    {QStringLiteral("num"), QString::fromUtf16(u"شماره فيش")},
    {QStringLiteral("vosol"), QString::fromUtf16(u"مبلغ وصول")},
    {QStringLiteral("dat"), QString::fromUtf16(u"تاريخ وصول")},
};
inline const QString kAllDepositN1 = QString::fromUtf16(u"اکسل");
// its Excel headings
inline const QList<QPair<QString, QString>> kAllDepositExcelHeadings = {
    {QStringLiteral("id"), QString::fromUtf16(u"شناسه")},
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
    {QStringLiteral("mablagh"), QString::fromUtf16(u"مبلغ قسط")},
    {QStringLiteral("vosol"), QString::fromUtf16(u"مبلغ وصول")},
    {QStringLiteral("dat"), QString::fromUtf16(u"تاريخ وصول")},
    {QStringLiteral("pardakht_typ"), QString::fromUtf16(u"نحوه پرداخت")},
    {QStringLiteral("num"), QString::fromUtf16(u"شماره فيش يا چک")},
    {QStringLiteral("resid_no"), QString::fromUtf16(u"شماره رسيد مالي")},
    {QStringLiteral("hesab_no"), QString::fromUtf16(u"شماره حساب نورواد")},
    {QStringLiteral("norvad_bank"), QString::fromUtf16(u"بانک نورواد")},
    {QStringLiteral("cmt"), QString::fromUtf16(u"توضيحات")},
    {QStringLiteral("fname_asli"), QString::fromUtf16(u"نام")},
    {QStringLiteral("lname_asli"), QString::fromUtf16(u"نام خانوادگي")},
    {QStringLiteral("nation_asli"), QString::fromUtf16(u"کد ملي")},
    {QStringLiteral("ostan_asli"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan_asli"), QString::fromUtf16(u"شهرستان")},
};

// the deposit agreement
inline const QString kAgreementLine1 = QString::fromUtf16(u"تفاهم نامه");
inline const QString kAgreementLine2 = QString::fromUtf16(u"وديعه گذاري ساخت پروژههاي مسکوني");
inline const QString kWordProvince = QString::fromUtf16(u"استان");
inline const QString kWordCounty = QString::fromUtf16(u"شهرستان");
inline const QString kTitleProvince = QString::fromUtf16(u"مدير کل");
inline const QString kTitleCounty = QString::fromUtf16(u"مدير شهرستان");
inline const QString kPadashTitle = QString::fromUtf16(u"Padash");
inline const QString kPadashPrompt = QString::fromUtf16(u"پاداش");
inline const QString kPadashDefault = QString::fromUtf16(u"?");
inline const QString kSettingAddress = QString::fromUtf16(u"آدرس نورواد");
inline const QString kSettingDirector = QString::fromUtf16(u"مدير کل");
inline const QString kSettingCountyManager = QString::fromUtf16(u"مدير شهرستان");
inline const QString kSematProvince = QString::fromUtf16(u"مديرکل نورواد استان");
inline const QString kSematCounty = QString::fromUtf16(u"مدير نورواد شهرستان");

} // namespace tavrin::preregtext
