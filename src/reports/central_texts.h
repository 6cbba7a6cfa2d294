#pragma once
// The fixed texts of the central-office tables, the cover sheet and the
// conversion exports: titles, captions, headings and column layouts.  Every
// text is exactly what the user (or the receiving system) sees, blanks
// included; do not retype them.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace tavrin::centraltext {

// page titles: the province tables, the two listings
inline const QString kProvinceTitle = QString::fromUtf16(u"ليست پروژه ها");
inline const QString kListingTitle = QString::fromUtf16(u"پروژه ها و متقاضيان تاورين");
inline const QString kProvinceFile = QStringLiteral("projects.htm");
inline const QString kListingFile = QStringLiteral("Tavrin.htm");
// the first four headings of the province tables
inline const QStringList kProvinceHeadings = {QString::fromUtf16(u"رديف"), QString::fromUtf16(u"استان"), QString::fromUtf16(u"شهرستان"), QString::fromUtf16(u"نام پروژه")};
// deed transfer
inline const QString kDeedCaption = QString::fromUtf16(u" وضعيت انتقال سند به نام متقاضيان در پروژه هاي مسکن شهري نورواد استان ");
// total; introduced to the notary; not introduced; deeds issued; no deed
inline const QStringList kDeedHeadings = {QString::fromUtf16(u"تعداد کل متقاضي"), QString::fromUtf16(u"تعداد متقاضيان معرفي شده به دفترخانه اسناد رسمي جهت اخذ / انتقال سند"), QString::fromUtf16(u"باقيمانده واحدهاي معرفي نشده به دفترخانه اسناد رسمي جهت اخذ / انتقال سند"), QString::fromUtf16(u"تعدادسند صادره بنام متقاضيان"), QString::fromUtf16(u"تعدادسند واحدهاي باقيمانده")};
// facilities
inline const QString kFacilitiesCaption = QString::fromUtf16(u" جدول تعيين تکليف تسهيلات دريافتي از بانکهاي عامل در پروژه هاي مسکن شهري نورواد استان ");
// units of the facilities; units with a loan; units without a loan
inline const QStringList kFacilityHeadings = {QString::fromUtf16(u"جمع تسهيلات دريافتي از بانکهاي عامل"), QString::fromUtf16(u"جمع  واحدهاي تعيين تکليف شده با بانک عامل"), QString::fromUtf16(u"باقيمانده واحدهاي تسويه نشده ")};
// delivered units
inline const QString kDeliveredCaption = QString::fromUtf16(u" وضعيت واحدهاي تحويل شده و باقيمانده پروژه هاي مسکن شهري نورواد استان ");
// after the oldest year column's year
inline const QString kAndBefore = QString::fromUtf16(u" و ماقبل ");
// total units; delivered; remaining
inline const QStringList kDeliveredHeadings = {QString::fromUtf16(u"تعداد کل واحدها"), QString::fromUtf16(u"جمع کل واحدهاي تحويل شده"), QString::fromUtf16(u"واحدهاي باقيمانده")};
// unit types
inline const QString kUnitTypesCaption = QString::fromUtf16(u" نوع واحدهاي واگذارشده پروژه هاي مسکن شهري نورواد استان ");
inline const QString kSakhtHeading = QString::fromUtf16(u"تاريخ خاتمه عمليات ساخت");
// heading, the unit type counted
inline const QList<QPair<QString, QString>> kUnitTypes = {
    {QString::fromUtf16(u"اجاره يا اجاره بشرط تمليک"), QString::fromUtf16(u"اجاره يا اجاره بشرط تمليک")},
    {QString::fromUtf16(u"نيم درصد"), QString::fromUtf16(u"نيم درصد")},
    {QString::fromUtf16(u"رهبري"), QString::fromUtf16(u"رهبري")},
    {QString::fromUtf16(u"رياست جمهوري"), QString::fromUtf16(u"رياست جمهوري")},
    {QString::fromUtf16(u"خيرين"), QString::fromUtf16(u"خيرين")},
    {QString::fromUtf16(u"محرومين نورواد"), QString::fromUtf16(u"محرومين نورواد")},
    {QString::fromUtf16(u"غيرحمايتي (عادي)"), QString::fromUtf16(u"غير حمايتي")},
};
inline const QString kUnitTypesTotalHeading = QString::fromUtf16(u"تعداد واحد کل پروژه");
// the two listings
inline const QString kListingCaption = QString::fromUtf16(u" پروژه ها و متقاضيان تاورين ");
// the column groups over the projects-to-applicants listing: project, unit, applicant, storage room, parking space
inline const QStringList kListingGroups = {QString::fromUtf16(u"مشخصات پروژه"), QString::fromUtf16(u"مشخصات واحد"), QString::fromUtf16(u"مشخصات متقاضي"), QString::fromUtf16(u"مشخصات انباري"), QString::fromUtf16(u"مشخصات پارکينگ")};

// the provincial cover sheet: the heading of each box and its label
struct CoverItem { QString caption; QString label; };
inline const QList<CoverItem> kCoverItems = {
    {QString::fromUtf16(u"تعداد پروژه هاي استان"), QStringLiteral("prj")},
    {QString::fromUtf16(u"تعداد واحد پروژه"), QStringLiteral("vahed")},
    {QString::fromUtf16(u"جمع کل واحدهاي تحويل شده"), QStringLiteral("tahvil_no")},
    {QString::fromUtf16(u"تعداد واحدهاي باقيمانده"), QStringLiteral("v_mande")},
    {QString::fromUtf16(u"جمع تسهيلات دريافتي از بانکهاي عامل"), QStringLiteral("tashilat")},
    {QString::fromUtf16(u"تعداد متقاضيان معرفي شده به دفترخانه اسناد رسمي جهت اخذ / انتقال سند"), QStringLiteral("daftar_no")},
    {QString::fromUtf16(u"تعدادسند صادره بنام متقاضيان"), QStringLiteral("sanad_no")},
    {QString::fromUtf16(u"تعدادسند واحدهاي باقيمانده"), QStringLiteral("s_mande")},
    {QString::fromUtf16(u"مشارکت مدني"), QStringLiteral("madani")},
    {QString::fromUtf16(u"تسهيلات ساخت مسکن مهر"), QStringLiteral("sakht")},
    {QString::fromUtf16(u"روستايي و ساير"), QStringLiteral("rostaei")},
    {QString::fromUtf16(u"تعداد تسهيلات دريافتي از بانک رسالت"), QStringLiteral("resalat")},
    {QString::fromUtf16(u"جمع تسهيلات دريافتي از بانکهاي عامل "), QStringLiteral("tas_d")},
    {QString::fromUtf16(u"تعداد واحدهايي که بنام متقاضي تقسيط شده"), QStringLiteral("mot")},
    {QString::fromUtf16(u"تعداد واحدهايي که بنام نورواد تقسيط شده"), QStringLiteral("bon")},
    {QString::fromUtf16(u"تعداد واحدهايي که بدون تقسيط مشارکت بابانک تسويه حساب شده است. (توسط نورواد يامتقاضي)"), QStringLiteral("tas")},
    {QString::fromUtf16(u"تعداد کل استفاده کنندگان"), QStringLiteral("est")},
    {QString::fromUtf16(u"بهاء کل واحدهاي  مسکوني"), QStringLiteral("baha")},
    {QString::fromUtf16(u"تعداد متقاضيان ثبت شده در بانک اطلاعات متقاضيان"), QStringLiteral("motegh")},
    {QString::fromUtf16(u"تاريخ گزارشگيري"), QStringLiteral("dat")},
};
// marks the boxes whose amounts are in millions of rials
inline const QString kMillionMark = QString::fromUtf16(u"* 1000,000");
// project types: heading, label, the type counted
struct ProjectType { QString caption; QString label; QString value; };
inline const QList<ProjectType> kProjectTypes = {
    {QString::fromUtf16(u"اجاره يا اجاره بشرط تمليک"), QStringLiteral("ejare"), QString::fromUtf16(u"اجاره به شرط تمليک")},
    {QString::fromUtf16(u"نيم درصد"), QStringLiteral("nim"), QString::fromUtf16(u"نيم درصد")},
    {QString::fromUtf16(u"رهبري"), QStringLiteral("rahbari"), QString::fromUtf16(u"رهبري")},
    {QString::fromUtf16(u"رياست جمهوري"), QStringLiteral("jomhori"), QString::fromUtf16(u"رياست جمهوري")},
    {QString::fromUtf16(u"خيرين"), QStringLiteral("khayerin"), QString::fromUtf16(u"خيرين")},
    {QString::fromUtf16(u"محرومين نورواد"), QStringLiteral("mahromin"), QString::fromUtf16(u"محرومين")},
    {QString::fromUtf16(u"غيرحمايتي (عادي)"), QStringLiteral("adi"), QString::fromUtf16(u"غير حمايتي")},
    {QString::fromUtf16(u"حساب 100 امام"), QStringLiteral("hesab"), QString::fromUtf16(u"حساب صد امام(ره)")},
};
// the facilities counted by the cover sheet
inline const QString kCivilPartnership = QString::fromUtf16(u"مشارکت مدني");
inline const QString kMehrHousing = QString::fromUtf16(u"مسکن مهر");
inline const QString kRuralImprovement = QString::fromUtf16(u"تسهيلات بهسازي روستايي");
inline const QString kResalatBank = QString::fromUtf16(u"رسالت");
inline const QString kCentralOfficeCredit = QString::fromUtf16(u"دفتر مرکزي");

// conversion exports: title and caption before the export's name, and after it
inline const QString kConvertTitlePrefix = QString::fromUtf16(u"شرکت پرورش داده ها - ");
inline const QString kConvertCaptionPrefix = QString::fromUtf16(u" شرکت پرورش داده ها - ");
inline const QString kConvertCaptionSuffix = QString::fromUtf16(u" ");
inline const QString kConvertWebFile = QStringLiteral("Tavrin.htm");
inline const QString kConvertSheetFile = QStringLiteral("Tavrin.xls");
// a column of the receiving system: its name, its description and the
// result column it takes its value from (empty: an empty cell)
struct ConvertColumn { QString target; QString description; QString source; };
inline const QList<ConvertColumn> kProjectUnitColumns = {
    {QStringLiteral("radif"), QString::fromUtf16(u"رديف"), QStringLiteral("")},
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان"), QStringLiteral("ostan")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان"), QStringLiteral("shahrestan")},
    {QStringLiteral("vaziatProje"), QString::fromUtf16(u"آيا پروژه پايان يافته است ؟"), QStringLiteral("")},
    {QStringLiteral("projeId"), QString::fromUtf16(u"کد پروژه"), QStringLiteral("prj_cod")},
    {QStringLiteral("nam_Proje"), QString::fromUtf16(u"نام پروژه"), QStringLiteral("prj_name")},
    {QStringLiteral("markazId_proje"), QString::fromUtf16(u"شهر (کد شهر)"), QStringLiteral("shahrestan")},
    {QStringLiteral("roostaId_Proje"), QString::fromUtf16(u"روستا (روستا)"), QStringLiteral("rosta")},
    {QStringLiteral("tedadVahed_Proje"), QString::fromUtf16(u"تعداد واحد پروژه"), QStringLiteral("vahed_kol")},
    {QStringLiteral("bolookId"), QString::fromUtf16(u"کد بلوک"), QStringLiteral("bolok")},
    {QStringLiteral("BarAzShomal_Bolook"), QString::fromUtf16(u"بر از شمال (بلوک)"), QStringLiteral("")},
    {QStringLiteral("OmghAzShomal_Bolook"), QString::fromUtf16(u"عمق از شمال (بلوک)"), QStringLiteral("")},
    {QStringLiteral("TedadTabaghatRooyeZamin_Bolook"), QString::fromUtf16(u"تعداد طبقات روي زمين (بلوک)"), QStringLiteral("")},
    {QStringLiteral("TedadTabaghatZireZamin_Bolook"), QString::fromUtf16(u"تعداد طبقات زير زمين(بلوک)"), QStringLiteral("")},
    {QStringLiteral("TedadVahed_Bolook"), QString::fromUtf16(u"تعداد واحد بلوک"), QStringLiteral("")},
    {QStringLiteral("Tip_Bolook"), QString::fromUtf16(u"تيپ بلوک"), QStringLiteral("")},
    {QStringLiteral("vahedId"), QString::fromUtf16(u"کد واحد"), QStringLiteral("shenase")},
    {QStringLiteral("GheymatHarMetrHayat_Vahed"), QString::fromUtf16(u"قيمت هر متر حياط(واحد)"), QStringLiteral("hayat1")},
    {QStringLiteral("GheymatHarMetrTeras_Vahed"), QString::fromUtf16(u"قيمت هر متر تراس(واحد)"), QStringLiteral("teras1")},
    {QStringLiteral("GheymatHarMetrVahed"), QString::fromUtf16(u"قيمت هر متر واحد"), QStringLiteral("mablagh1")},
    {QStringLiteral("Jahat_Vahed"), QString::fromUtf16(u"جهت واحد"), QStringLiteral("jahat")},
    {QStringLiteral("Karbari_Vahed"), QString::fromUtf16(u"کاربري واحد"), QStringLiteral("karbari")},
    {QStringLiteral("MasahatHayat_Vahed"), QString::fromUtf16(u"مساحت حياط (واحد)"), QStringLiteral("hayat")},
    {QStringLiteral("MasahatMofid_Vahed"), QString::fromUtf16(u"مساحت مفيد(واحد)"), QStringLiteral("metraj")},
    {QStringLiteral("MasahatTeras_Vahed"), QString::fromUtf16(u"مساحت تراس (واحد)"), QStringLiteral("teras")},
    {QStringLiteral("NoeVahed"), QString::fromUtf16(u"نوع واحد"), QStringLiteral("vahed_typ")},
    {QStringLiteral("ShomareVahed"), QString::fromUtf16(u"شماره واحد"), QStringLiteral("vahed_no")},
    {QStringLiteral("ShomareTabaghe_Vahed"), QString::fromUtf16(u"شماره طبقه (واحد)"), QStringLiteral("tabaghe")},
    {QStringLiteral("tedadOtagh_Vahed"), QString::fromUtf16(u"تعداد اتاق (واحد)"), QStringLiteral("otagh")},
    {QStringLiteral("vaziat_vahed"), QString::fromUtf16(u"وضعيت واحد"), QStringLiteral("status")},
    {QStringLiteral("GheymatPayeVahedDarProje_Vagozari"), QString::fromUtf16(u"قيمت پايه واحد در پروژه"), QStringLiteral("mablagh")},
    {QStringLiteral("TarikhEngheza_Vagozari"), QString::fromUtf16(u"تايخ انقضاي واگذاري"), QStringLiteral("expire_dat")},
    {QStringLiteral("ZaribAfzayeshTabaghe_Vagozari"), QString::fromUtf16(u"ضريب افزايش طبقه"), QStringLiteral("")},
    {QStringLiteral("ZaribHemayati_Vagozari"), QString::fromUtf16(u"ضريب حمايتي در واگذاري"), QStringLiteral("")},
    {QStringLiteral("ZaribBolook_VagozariVahed"), QString::fromUtf16(u"ضريب بلوک"), QStringLiteral("")},
    {QStringLiteral("ZaribJahat_VagozariVahed"), QString::fromUtf16(u"ضريب جهت"), QStringLiteral("")},
    {QStringLiteral("IsNamayande_GharardadMoteghazi"), QString::fromUtf16(u"آيا متقاضي نماينده است"), QStringLiteral("")},
    {QStringLiteral("TedadDang_GharardadMoteghazi"), QString::fromUtf16(u"سهم تعداد دانگ متقاضي"), QStringLiteral("sahm")},
    {QStringLiteral("markazId_Moteghazi"), QString::fromUtf16(u"شهر متقاضي"), QStringLiteral("shahrestan")},
    {QStringLiteral("CodEghtesadi_Moteghazi"), QString::fromUtf16(u"کد اقتصادي متقاضي"), QStringLiteral("")},
    {QStringLiteral("CodMali_Moteghazi"), QString::fromUtf16(u"کد مالي متقاضي"), QStringLiteral("mali_no")},
    {QStringLiteral("CodMeli_Moteghazi"), QString::fromUtf16(u"کد ملي متقاضي"), QStringLiteral("nation")},
    {QStringLiteral("CodPosti_Moteghazi"), QString::fromUtf16(u"کد پستي متقاضي"), QStringLiteral("zipcode")},
    {QStringLiteral("HasSana_Moteghazi"), QString::fromUtf16(u"متقاضي ثبت نام ثنا دارد؟"), QStringLiteral("sana")},
    {QStringLiteral("IsHamkar_Moteghazi"), QString::fromUtf16(u"متقاضي همکار نورواد است؟"), QStringLiteral("nesbat")},
    {QStringLiteral("Jensiat_Moteghazi"), QString::fromUtf16(u"جنسيت متقاضي"), QStringLiteral("gender")},
    {QStringLiteral("MahalSodoor_Moteghazi"), QString::fromUtf16(u"محل صدور متقاضي"), QStringLiteral("sodor")},
    {QStringLiteral("MahalTavalod_Moteghazi"), QString::fromUtf16(u"محل تولد متقاضي"), QStringLiteral("tavalod_loc")},
    {QStringLiteral("Moaref_Moteghazi"), QString::fromUtf16(u"معرف متقاضي"), QStringLiteral("moaref")},
    {QStringLiteral("Mobile_Moteghazi"), QString::fromUtf16(u"شماره همراه متقاضي"), QStringLiteral("mobile")},
    {QStringLiteral("Nam_Moteghazi"), QString::fromUtf16(u"نام متقاضي"), QStringLiteral("fname")},
    {QStringLiteral("NamKhanevadegi_Moteghazi"), QString::fromUtf16(u"نام خانوادگي متقاضي"), QStringLiteral("lname")},
    {QStringLiteral("NamKhanevadegiModirAmel_Moteghazi"), QString::fromUtf16(u"نام خانوادگي مدير عامل"), QStringLiteral("lname")},
    {QStringLiteral("NamModirAmel_Moteghazi"), QString::fromUtf16(u"نام مدير عامل"), QStringLiteral("fname")},
    {QStringLiteral("NamPedar_Moteghazi"), QString::fromUtf16(u"نام پدر متقاضي"), QStringLiteral("father")},
    {QStringLiteral("NamSherkat_Moteghazi"), QString::fromUtf16(u"نام شرکت متقاضي"), QStringLiteral("comp_name")},
    {QStringLiteral("Nesbat_Moteghazi"), QString::fromUtf16(u"نسبت معرف با متقاضي"), QStringLiteral("")},
    {QStringLiteral("NeshaniMahalKar_Moteghazi"), QString::fromUtf16(u"نشاني محل کار"), QStringLiteral("job_adr")},
    {QStringLiteral("NeshaniMahalSokoonat_Moteghazi"), QString::fromUtf16(u"نشاني محل سکونت"), QStringLiteral("adr")},
    {QStringLiteral("NoeHamkari_Moteghazi"), QString::fromUtf16(u"نوع همکاري"), QStringLiteral("")},
    {QStringLiteral("SabegheSokoonat_Moteghazi"), QString::fromUtf16(u"سابقه سکونت متقاضي"), QStringLiteral("sabeghe")},
    {QStringLiteral("ShenaseMeli_Moteghazi"), QString::fromUtf16(u"شناسه ملي متقاضي"), QStringLiteral("comp_shenase")},
    {QStringLiteral("Shoghl_Moteghazi"), QString::fromUtf16(u"شغل متقاضي"), QStringLiteral("job")},
    {QStringLiteral("ShomareMoarefiname_Moteghazi"), QString::fromUtf16(u"شماره معرفي نامه متقاضي"), QStringLiteral("reg_no")},
    {QStringLiteral("ShomareSabt_Moteghazi"), QString::fromUtf16(u"شماره ثبت متقاضي حقوقي"), QStringLiteral("comp_no")},
    {QStringLiteral("ShomareShenasname_Moteghazi"), QString::fromUtf16(u"شماره شناسنامه متقاضي"), QStringLiteral("sh_no")},
    {QStringLiteral("Taahol_Moteghazi"), QString::fromUtf16(u"وضعيت تاهل متقاضي"), QStringLiteral("taahol")},
    {QStringLiteral("Tahsilat_Moteghazi"), QString::fromUtf16(u"تحصيلات متقاضي"), QStringLiteral("tahsilat")},
    {QStringLiteral("TarikhSabt_Moteghazi"), QString::fromUtf16(u"تاريخ ثبت متقاضي"), QStringLiteral("reg_dat")},
    {QStringLiteral("TarikhTavalod"), QString::fromUtf16(u"تاريخ تولد"), QStringLiteral("birthday")},
    {QStringLiteral("Telephone_Moteghazi"), QString::fromUtf16(u"تلفن ثابت  متقاضي"), QStringLiteral("phone")},
    {QStringLiteral("Tozihat_Moteghazi"), QString::fromUtf16(u"توضيحات"), QStringLiteral("cmt_1")},
    {QStringLiteral("Type_Moteghazi"), QString::fromUtf16(u"متقاضي حقيقي يا حقوقي"), QStringLiteral("typ")},
    {QStringLiteral("BankAmelTashilatId_Gharardad"), QString::fromUtf16(u"بانک عامل تسهيلات قرارداد"), QStringLiteral("prj_name")},
    {QStringLiteral("DarsadJarimeTakhirForooshande_Gharardad"), QString::fromUtf16(u"درصدر جريمه تاخير فروشنده"), QStringLiteral("takhir")},
    {QStringLiteral("DarsadJarimeTakhirKharidar_Gharardad"), QString::fromUtf16(u"درصد جريمه تاخير خريدار"), QStringLiteral("jarime")},
    {QStringLiteral("DarsadPadashSalaneVadie_Gharardad"), QString::fromUtf16(u"درصد پاداش سالانه وديعه"), QStringLiteral("")},
    {QStringLiteral("DarsadPadashTasrieForooshande_Gharardad"), QString::fromUtf16(u"درصد پاداش تسريع فروشنده"), QStringLiteral("tashvigh")},
    {QStringLiteral("DarsadPishraftPhysical_Gharardad"), QString::fromUtf16(u"درصد پيشرفت فيزيکي"), QStringLiteral("")},
    {QStringLiteral("EmtiazKasbShode_Gharardad"), QString::fromUtf16(u"امتياز کسب شده"), QStringLiteral("emtiyaz")},
    {QStringLiteral("MablaghTakhfif_Gharardad"), QString::fromUtf16(u"مبلغ تخفيف"), QStringLiteral("takhfif")},
    {QStringLiteral("MarjaTaeedNahaee_Gharardad"), QString::fromUtf16(u"مرجع تاييد نهايي"), QStringLiteral("taeed")},
    {QStringLiteral("ModatZamanSterdadNorvad_Gharardad"), QString::fromUtf16(u"مدت زمان استرداد نورواد"), QStringLiteral("")},
    {QStringLiteral("ModatZamanSterdadMoteghazi_Gharardad"), QString::fromUtf16(u"مدت زمان استرداد متقاضي"), QStringLiteral("")},
    {QStringLiteral("NamMarjaTaeedNahaee_Gharardad"), QString::fromUtf16(u"نام مرجع تاييد نهايي قرارداد"), QStringLiteral("taeed")},
    {QStringLiteral("NoeGharardad"), QString::fromUtf16(u"نوع قرارداد"), QStringLiteral("")},
    {QStringLiteral("NoeGharardadVagozari"), QString::fromUtf16(u"نوع قرارداد واگذاري"), QStringLiteral("prot_typ")},
    {QStringLiteral("ShomareDabirkhane_Gharardad"), QString::fromUtf16(u"شماره دبيرخانه قرارداد"), QStringLiteral("prot_no")},
    {QStringLiteral("ShomareGharardad"), QString::fromUtf16(u"شماره قرارداد"), QStringLiteral("prot_no")},
    {QStringLiteral("ShomareGovahiBank_Gharardad"), QString::fromUtf16(u"شماره گواهي بانک"), QStringLiteral("bank_no")},
    {QStringLiteral("ShomareGovahiTasviyeMali_Gharardad"), QString::fromUtf16(u"شماره گواهي تسويه مالي"), QStringLiteral("mali_no")},
    {QStringLiteral("ShomareMoarefinameBeBank_Gharardad"), QString::fromUtf16(u"شماره معرفي نامه بانک"), QStringLiteral("norvad_no")},
    {QStringLiteral("ShomareMoarefinameBeDaftarkhane_Gharardad"), QString::fromUtf16(u"شماره معرفي به دفترخانه"), QStringLiteral("daftar_no")},
    {QStringLiteral("ShomarePayankarProje_Gharardad"), QString::fromUtf16(u"شماره پايان کار"), QStringLiteral("")},
    {QStringLiteral("TarikhPishbiniTahvilVahed_Gharardad"), QString::fromUtf16(u"تاريخ پيش بيني تحويل واحد"), QStringLiteral("tahvil_time")},
    {QStringLiteral("TarikhSanadSaderShode_Gharardad"), QString::fromUtf16(u"تاريخ سند صادر شده"), QStringLiteral("sanad_dat")},
    {QStringLiteral("TarikhSooratJalaseTahvilVahed_Gharardad"), QString::fromUtf16(u"تاريخ صورتجلسه تحويل واحد"), QStringLiteral("tahvil_dat")},
    {QStringLiteral("vaziat_Gharardad"), QString::fromUtf16(u"وضعيت قرارداد"), QStringLiteral("status_1")},
    {QStringLiteral("Tozihat_Gharardad"), QString::fromUtf16(u"توضيحات قرارداد"), QStringLiteral("cmt_1")},
    {QStringLiteral("vahedId_vagozari"), QString::fromUtf16(u"کد واحد در واگذاري"), QStringLiteral("shenase")},
    {QStringLiteral("projeId_Vadie"), QString::fromUtf16(u"کد پروژه وديعه گذاري"), QStringLiteral("prj_cod")},
};
inline const QList<ConvertColumn> kSpaceColumns = {
    {QStringLiteral("radif"), QString::fromUtf16(u"رديف"), QStringLiteral("")},
    {QStringLiteral("Id"), QString::fromUtf16(u"کد پارکينگ انباري"), QStringLiteral("")},
    {QStringLiteral("bolookId"), QString::fromUtf16(u"کد بلوک"), QStringLiteral("")},
    {QStringLiteral("vahedId"), QString::fromUtf16(u"کد واحد(آنها يي که به واسطه ي  واحد واگذار شده اند)"), QStringLiteral("")},
    {QStringLiteral("NoeParkingAnbari"), QString::fromUtf16(u"نوع"), QStringLiteral("@NoeParkingAnbari")},
    {QStringLiteral("Gheymat"), QString::fromUtf16(u"قيمت"), QStringLiteral("mablagh")},
    {QStringLiteral("MasahatMofid"), QString::fromUtf16(u"مساحت مفيد"), QStringLiteral("metraj")},
    {QStringLiteral("Shomare"), QString::fromUtf16(u"شماره"), QStringLiteral("num")},
    {QStringLiteral("ShomareTabaghe"), QString::fromUtf16(u"شماره طبقه"), QStringLiteral("pos")},
    {QStringLiteral("vaziat"), QString::fromUtf16(u"وضعيت"), QStringLiteral("status")},
};
// the kind of a space: parking (followed by its roofing), storage room
inline const QString kParkingKind = QString::fromUtf16(u" پارکينگ ");
inline const QString kStorageKind = QString::fromUtf16(u"انباري");
inline const QList<ConvertColumn> kObligationColumns = {
    {QStringLiteral("radif"), QString::fromUtf16(u"رديف"), QStringLiteral("")},
    {QStringLiteral("ShomareGharardad"), QString::fromUtf16(u"شماره قرارداد"), QStringLiteral("prot_no")},
    {QStringLiteral("IsVosool_TaahodatPardakht"), QString::fromUtf16(u"تعهد پرداخت وصول شده؟"), QStringLiteral("vosol")},
    {QStringLiteral("Mablagh_TaahodatPardakht"), QString::fromUtf16(u"مبلغ (تعهد پرداخت)"), QStringLiteral("mablagh")},
    {QStringLiteral("NoePardakht_TaahodatPardakht"), QString::fromUtf16(u"نوع پرداخت (تعهد پرداخت)"), QStringLiteral("pardakht_typ")},
    {QStringLiteral("ShenaseCheck_TaahodatPardakht"), QString::fromUtf16(u"شناسه چک (تعهد پرداخت)"), QStringLiteral("num")},
    {QStringLiteral("TarikhTaahod_TaahodatPardakht"), QString::fromUtf16(u"تاريخ تعهد (تعهد پرداخت)"), QStringLiteral("dat")},
    {QStringLiteral("Tozihat_TaahodatPardakht"), QString::fromUtf16(u"توضيحات (تعهد پرداخت)"), QStringLiteral("resid_no")},
};
inline const QList<ConvertColumn> kTransactionColumns = {
    {QStringLiteral("radif"), QString::fromUtf16(u"رديف"), QStringLiteral("")},
    {QStringLiteral("CodMeli"), QString::fromUtf16(u"کد ملي متقاضي"), QStringLiteral("nation")},
    {QStringLiteral("ShomareGharardad"), QString::fromUtf16(u"شماره قرارداد"), QStringLiteral("prot_no")},
    {QStringLiteral("CodPeygiri"), QString::fromUtf16(u"کد پيگيري تراکنش"), QStringLiteral("")},
    {QStringLiteral("Mablagh"), QString::fromUtf16(u"مبلغ تراکنش"), QStringLiteral("mablagh")},
    {QStringLiteral("ShomareHesabMabda"), QString::fromUtf16(u"شماره حساب مبدا"), QStringLiteral("bank")},
    {QStringLiteral("ShomareHesabMaghsad"), QString::fromUtf16(u"شماره حساب مقصد"), QStringLiteral("hesab_no")},
    {QStringLiteral("ShomareResidMali"), QString::fromUtf16(u"شماره رسيد مالي"), QStringLiteral("resid_no")},
    {QStringLiteral("Tarikh"), QString::fromUtf16(u"تاريخ تراکنش"), QStringLiteral("dat")},
    {QStringLiteral("Type"), QString::fromUtf16(u"نوع تراکنش"), QStringLiteral("@Type")},
    {QStringLiteral("Tozihat"), QString::fromUtf16(u"توضيحات تراکنش"), QStringLiteral("norvad_bank")},
};
// the kind of every transaction
inline const QString kDeposit = QString::fromUtf16(u"واريز");
inline const QList<ConvertColumn> kDependantColumns = {
    {QStringLiteral("radif"), QString::fromUtf16(u"رديف"), QStringLiteral("")},
    {QStringLiteral("CodMeli_Moteghazi"), QString::fromUtf16(u"کد ملي متقاضي"), QStringLiteral("nation")},
    {QStringLiteral("Jensiat"), QString::fromUtf16(u"جنسيت"), QStringLiteral("gender")},
    {QStringLiteral("Nam"), QString::fromUtf16(u"نام"), QStringLiteral("fname")},
    {QStringLiteral("NamKhanevadegi"), QString::fromUtf16(u"نام خانوداگي"), QStringLiteral("lname")},
    {QStringLiteral("Nesbat"), QString::fromUtf16(u"نسبت"), QStringLiteral("nesbat")},
    {QStringLiteral("ShomareShenasname"), QString::fromUtf16(u"شماره شناسنامه"), QStringLiteral("sh_no")},
    {QStringLiteral("CodMeli"), QString::fromUtf16(u"کد ملي"), QStringLiteral("nation_1")},
    {QStringLiteral("NamPedar"), QString::fromUtf16(u"نام پدر"), QStringLiteral("father")},
    {QStringLiteral("TarikhTavalod"), QString::fromUtf16(u"تاريخ تولد"), QStringLiteral("birthday")},
    {QStringLiteral("MahalTavalod"), QString::fromUtf16(u"محل تولد"), QStringLiteral("tavalod_loc")},
    {QStringLiteral("MahalSodoor"), QString::fromUtf16(u"محل صدور"), QStringLiteral("sodor")},
    {QStringLiteral("Mobile"), QString::fromUtf16(u"تلفن همراه"), QStringLiteral("mobile")},
    {QStringLiteral("Tahsilat"), QString::fromUtf16(u"تحصيلات"), QStringLiteral("tahsilat")},
    {QStringLiteral("Shoghl"), QString::fromUtf16(u"شغل"), QStringLiteral("job")},
    {QStringLiteral("NeshaniMahalKar"), QString::fromUtf16(u"نشاني محل کار"), QStringLiteral("job_adr")},
};

// captions of the applicant record's fields (headings of the listings' columns)
inline const QList<QPair<QString, QString>> kApplicantCaptions = {
    {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
    {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
    {QStringLiteral("prj_cod"), QString::fromUtf16(u"کد پروژه")},
    {QStringLiteral("shahr"), QString::fromUtf16(u"شهر")},
    {QStringLiteral("rosta"), QString::fromUtf16(u"روستا شهر")},
    {QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
    {QStringLiteral("prj_typ"), QString::fromUtf16(u"نوع پروژه")},
    {QStringLiteral("zamin_pelak"), QString::fromUtf16(u"مشخصات زمين پروژه(شامل مساحت، پلاک ثبتي و...)")},
    {QStringLiteral("zamin_adr"), QString::fromUtf16(u"آدرس زمين پروژه")},
    {QStringLiteral("shenase"), QString::fromUtf16(u"شناسه واحد")},
    {QStringLiteral("karbari"), QString::fromUtf16(u"کاربري")},
    {QStringLiteral("bolok"), QString::fromUtf16(u"بلوک")},
    {QStringLiteral("tabaghe"), QString::fromUtf16(u"طبقه")},
    {QStringLiteral("vahed_no"), QString::fromUtf16(u"شماره واحد")},
    {QStringLiteral("jahat"), QString::fromUtf16(u"جهت")},
    {QStringLiteral("metraj"), QString::fromUtf16(u"متراژ واحد")},
    {QStringLiteral("teras"), QString::fromUtf16(u"متراژ تراس غيرمسقف")},
    {QStringLiteral("hayat"), QString::fromUtf16(u"متراژ حياط")},
    {QStringLiteral("vahed_typ"), QString::fromUtf16(u"نوع")},
    {QStringLiteral("mablagh1"), QString::fromUtf16(u"قيمت هر مترمربع واحد")},
    {QStringLiteral("vam"), QString::fromUtf16(u"مبلغ وام")},
    {QStringLiteral("mablagh"), QString::fromUtf16(u"مبلغ واحد-بعد تخفيف")},
    {QStringLiteral("takhfif"), QString::fromUtf16(u"مبلغ تخفيف")},
    {QStringLiteral("ekhtesasi"), QString::fromUtf16(u"انشعابات اختصاصي")},
    {QStringLiteral("moshtarak"), QString::fromUtf16(u"انشعابات مشترک")},
    {QStringLiteral("otagh"), QString::fromUtf16(u"تعداد اتاق")},
    {QStringLiteral("parking"), QString::fromUtf16(u"جمع متراژ پارکينگ")},
    {QStringLiteral("anbari"), QString::fromUtf16(u"جمع متراژ انباري")},
    {QStringLiteral("pardakht_sum"), QString::fromUtf16(u"جمع پرداخت ها")},
    {QStringLiteral("takhir"), QString::fromUtf16(u"درصد تاخير فروشنده")},
    {QStringLiteral("tashvigh"), QString::fromUtf16(u"درصد تشويق تحويل زودتر از موعد")},
    {QStringLiteral("jarime"), QString::fromUtf16(u"جريمه تاخير خريدار در پرداخت ها")},
    {QStringLiteral("sahm"), QString::fromUtf16(u"قدر السهم")},
    {QStringLiteral("typ"), QString::fromUtf16(u"نوع متقاضي")},
    {QStringLiteral("comp_name"), QString::fromUtf16(u"نام شرکت")},
    {QStringLiteral("comp_no"), QString::fromUtf16(u"شماره ثبت")},
    {QStringLiteral("comp_shenase"), QString::fromUtf16(u"شناسه ملي")},
    {QStringLiteral("eghtesadi_cod"), QString::fromUtf16(u"کد اقتصادي")},
    {QStringLiteral("comp_dat"), QString::fromUtf16(u"تاريخ ثبت")},
    {QStringLiteral("fname"), QString::fromUtf16(u"نام")},
    {QStringLiteral("lname"), QString::fromUtf16(u"نام خانوادگي")},
    {QStringLiteral("father"), QString::fromUtf16(u"نام پدر")},
    {QStringLiteral("nation"), QString::fromUtf16(u"کدملي")},
    {QStringLiteral("sh_no"), QString::fromUtf16(u"ش شناسنامه")},
    {QStringLiteral("birthday"), QString::fromUtf16(u"تاريخ تولد")},
    {QStringLiteral("sodor"), QString::fromUtf16(u"محل صدور")},
    {QStringLiteral("tavalod_loc"), QString::fromUtf16(u"محل تولد")},
    {QStringLiteral("mobile"), QString::fromUtf16(u"تلفن همراه")},
    {QStringLiteral("phone"), QString::fromUtf16(u"تلفن ثابت")},
    {QStringLiteral("zipcode"), QString::fromUtf16(u"کد پستي")},
    {QStringLiteral("taahol"), QString::fromUtf16(u"وضعيت تاهل")},
    {QStringLiteral("gender"), QString::fromUtf16(u"جنسيت")},
    {QStringLiteral("job"), QString::fromUtf16(u"شغل")},
    {QStringLiteral("job_adr"), QString::fromUtf16(u"آدرس محل کار")},
    {QStringLiteral("tahsilat"), QString::fromUtf16(u"ميزان تحصيلات")},
    {QStringLiteral("adr"), QString::fromUtf16(u"آدرس")},
    {QStringLiteral("sabeghe"), QString::fromUtf16(u"سابقه سکونت")},
    {QStringLiteral("nesbat"), QString::fromUtf16(u"نسبت")},
    {QStringLiteral("moaref"), QString::fromUtf16(u"معرف")},
    {QStringLiteral("reg_no"), QString::fromUtf16(u"شماره ثبت نام")},
    {QStringLiteral("reg_dat"), QString::fromUtf16(u"تاريخ ثبت نام")},
    {QStringLiteral("sana"), QString::fromUtf16(u"ثبت نام ثنا")},
    {QStringLiteral("cmt"), QString::fromUtf16(u"ساير توضيحات")},
    {QStringLiteral("vajed"), QString::fromUtf16(u"نظر کميته واگذاري")},
    {QStringLiteral("emtiyaz"), QString::fromUtf16(u"امتياز مکتسبه")},
    {QStringLiteral("taeed"), QString::fromUtf16(u"مرجع تاييد نهايي")},
    {QStringLiteral("mojavez_no"), QString::fromUtf16(u"شماره مجوز")},
    {QStringLiteral("metraj_payankar"), QString::fromUtf16(u"متراژ پايانکار")},
    {QStringLiteral("tahvil_time"), QString::fromUtf16(u"پيش بيني زمان تحويل")},
    {QStringLiteral("prot_no"), QString::fromUtf16(u"شماره قرارداد")},
    {QStringLiteral("prot_dat"), QString::fromUtf16(u"تاريخ قرارداد")},
    {QStringLiteral("norvad_no"), QString::fromUtf16(u"شماره معرفي نامه به بانک")},
    {QStringLiteral("norvad_dat"), QString::fromUtf16(u"تاريخ معرفي نامه به بانک")},
    {QStringLiteral("bank_no"), QString::fromUtf16(u"شماره گواهي بانک")},
    {QStringLiteral("bank_dat"), QString::fromUtf16(u"تاريخ گواهي بانک")},
    {QStringLiteral("mali_no"), QString::fromUtf16(u"شماره گواهي تسويه مالي")},
    {QStringLiteral("mali_dat"), QString::fromUtf16(u"تاريخ گواهي تسويه مالي")},
    {QStringLiteral("tahvil_no"), QString::fromUtf16(u"شماره صورتجلسه تحويل")},
    {QStringLiteral("tahvil_dat"), QString::fromUtf16(u"تاريخ صورتجلسه تحويل")},
    {QStringLiteral("daftar_no"), QString::fromUtf16(u"شماره معرفي نامه به دفترخانه")},
    {QStringLiteral("daftar_dat"), QString::fromUtf16(u"تاريخ معرفي نامه به دفترخانه")},
    {QStringLiteral("sanad_no"), QString::fromUtf16(u"شماره سند")},
    {QStringLiteral("sanad_dat"), QString::fromUtf16(u"تاريخ صدور سند")},
    {QStringLiteral("sanad_enteghal_dat"), QString::fromUtf16(u"تاريخ انتقال سند بنام متقاضي")},
    {QStringLiteral("transport_dat"), QString::fromUtf16(u"تاريخ انتقال/فروش به ديگري")},
    {QStringLiteral("status"), QString::fromUtf16(u"وضعيت قرارداد")},
};

} // namespace tavrin::centraltext
