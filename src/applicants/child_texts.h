#pragma once
// The fixed texts of the windows that work on one applicant's payments,
// partners, dependants, storage rooms and parking spaces and documents:
// captions, messages, column titles and the keys of their choice lists.
#include <QString>

#include <utility>

namespace tavrin::childtext {

using Pair = std::pair<const char*, const char*>;

// ---------------------------------------------------------------- payments
// caption of the payments window
inline const QString kPaymentsCaption = QStringLiteral("پرداخت ها");
// caption of the payment search
inline const QString kPaymentSearchCaption = QStringLiteral("گزارشات پرداخت ها");
// setting keys of the pick lists
inline const QString kSetPaymentKind = QStringLiteral("نحوه پرداخت");
inline const QString kSetBank = QStringLiteral("بانک");
inline const QString kSetOstAccount = QStringLiteral("شماره حساب");
// captions of the payment fields, by column
inline constexpr Pair kPaymentFields[] = {
    {"pardakht_typ", "نحوه پرداخت"},
    {"mablagh", "مبلغ قسط/چک"},
    {"num", "شماره فيش/چک"},
    {"vosol", "مبلغ وصول شده"},
    {"dat", "تاريخ چک/فيش"},
    {"bank", "بانک متقاضي"},
    {"resid_no", "شماره رسيد مالي"},
    {"hesab_no", "شماره حساب نورواد"},
    {"norvad_bank", "بانک نورواد"},
};
// the kinds the note asks for: down payment, cheque at delivery
inline const QString kDownPayment = QStringLiteral("پيش پرداخت");
inline const QString kDelivery = QStringLiteral("تحويل واحد");
// captions of the account figures, by label
inline constexpr Pair kAccountLabels[] = {
    {"mablagh_vahed", "مبلغ واحد:"},
    {"anbari_mablagh", "مبلغ انباري:"},
    {"parking_mablagh", "مبلغ پارکينگ:"},
    {"takhfif", "مبلغ تخفيف:"},
    {"vam", "مبلغ وام:"},
    {"vahed_sum", "مبلغ کل واحد:"},
    {"mablagh_sum", "جمع کل اقساط:"},
    {"vosol_sum", "جمع کل وصول ها:"},
    {"mande", "مانده حساب :"},
};
// second line of the unit total's caption
inline const QString kVahedSumNote = QStringLiteral("(پس از کسر تخفيف و وام)");
inline const QString kFullName = QStringLiteral("نام و نام خانوادگي:");
inline const QString kInsert = QStringLiteral("ثبت");
inline const QString kDelete = QStringLiteral("حذف");
inline const QString kExcel = QStringLiteral("اکسل");
// columns of the payments grid
inline constexpr Pair kPaymentColumns[] = {
    {"pardakht_typ", "نحوه پرداخت"},
    {"mablagh", "مبلغ قسط"},
    {"num", "شماره فيش"},
    {"vosol", "مبلغ وصول"},
    {"dat", "تاريخ چک/فيش"},
    {"bank", "بانک متقاضي"},
    {"resid_no", "شماره رسيد"},
    {"hesab_no", "شماره حساب"},
    {"norvad_bank", "بانک نورواد"},
};
inline const QString kDuplicatePayment = QStringLiteral("خطا! مبلغ و شماره فيش و تاريخ فيش براي اين متقاضي تکراري است");
inline const QString kMablaghNotNumber = QStringLiteral("خطا! مبلغ قسط/چک مي بايست عدد صحيح باشد");
inline const QString kVosolNotNumber = QStringLiteral("خطا! مبلغ وصول مي بايست عدد صحيح باشد");
// the marker after a deposit's remark in the bank column of an imported payment
inline const QString kPreregMarker = QStringLiteral(" پيش ثبت نام ");
// criteria of the payment search, in the order they are added
inline constexpr Pair kPaymentCriteria[] = {
    {"ostan", "استان"},
    {"shahrestan", "شهرستان"},
    {"prj_name", "نام پروژه"},
    {"shenase", "شناسه واحد"},
    {"nation", "کد ملي"},
    {"lname", "نام خانوادگي"},
    {"pardakht_typ", "نحوه پرداخت"},
    {"dat", "تاريخ چک/فيش"},
    {"norvad_bank", "بانک نورواد"},
    {"hesab_no", "شماره حساب نورواد"},
    {"num", "شماره فيش"},
};
inline const QString kCalcError = QStringLiteral("خطا در محاسبات");
// titles of the payment search's Excel export
inline constexpr Pair kPaymentSearchExcel[] = {
    {"id", "شناسه پرداخت"},
    {"ostan", "استان"},
    {"shahrestan", "شهرستان"},
    {"prj_name", "نام پروژه"},
    {"mablagh", "مبلغ قسط"},
    {"vosol", "مبلغ وصول"},
    {"dat", "تاريخ وصول"},
    {"pardakht_typ", "نحوه پرداخت"},
    {"num", "شماره فيش يا چک"},
    {"resid_no", "شماره رسيد مالي"},
    {"hesab_no", "شماره حساب نورواد"},
    {"norvad_bank", "بانک نورواد"},
    {"bank", "بانک متقاضي"},
    {"fname_asli", "نام"},
    {"lname_asli", "نام خانوادگي"},
    {"nation_asli", "کد ملي"},
    {"ostan_asli", "استان"},
    {"shahrestan_asli", "شهرستان"},
    {"mablagh_asli", "مبلغ واحد"},
    {"vam", "وام واحد"},
    {"anbari_mablagh", "مبلغ انباري"},
    {"parking_mablagh", "مبلغ پارکينگ"},
    {"shenase", "شناسه واحد"},
    {"customer_id", "شناسه متقاضي"},
};
// titles of the payments window's Excel export
inline constexpr Pair kPaymentExcel[] = {
    {"id", "شناسه پرداخت"},
    {"customer_id", "شناسه متقاضي"},
    {"pardakht_typ", "نحوه پرداخت"},
    {"mablagh", "مبلغ"},
    {"num", "شماره فيش/چک"},
    {"vosol", "مبلغ وصول"},
    {"dat", "تاريخ"},
    {"bank", "بانک"},
};

// ---------------------------------------------------------------- partners and dependants
inline const QString kPartnersCaption = QStringLiteral("شرکا");
inline const QString kDependantsCaption = QStringLiteral("افراد تحت تکفل");
inline const QString kHas = QStringLiteral("دارد");
inline const QString kHasNot = QStringLiteral("ندارد");
inline const QString kSupported = QStringLiteral("هست");
inline const QString kNotSupported = QStringLiteral("نيست");
inline const QString kShareSixNoPartner = QStringLiteral("ميزان قدرالسهم اين متقاضي شش هست و امکان افزودن شريک را ندارد");
inline const QString kShareMaxSix = QStringLiteral("ميزان قدرالسهم حداکثر شش مي باشد");
inline const QString kSetEducation = QStringLiteral("تحصيلات");
// fields and grid columns of the partners window
inline constexpr Pair kPartnerFields[] = {
    {"fname", "نام"},
    {"lname", "نام خانوادگي"},
    {"father", "نام پدر"},
    {"nation", "کد ملي"},
    {"sahm", "سهم"},
    {"sh_no", "ش شناسنامه"},
    {"birthday", "ت تولد"},
    {"sodor", "محل صدور"},
    {"tavalod_loc", "محل تولد"},
    {"mobile", "موبايل"},
    {"phone", "تماس منزل"},
    {"taahol", "تاهل"},
    {"gender", "جنسيت"},
    {"sabeghe", "سابقه سکونت"},
    {"adr", "آدرس"},
    {"job", "شغل"},
    {"job_adr", "آدرس محل کار"},
    {"cmt", "توضيحات"},
    {"tahsilat", "تحصيلات"},
    {"sana", "ثنا"},
};
// the hidden box of the dependants window: whose dependants they are
inline const QString kOwnerBox = QStringLiteral("تکفل متقاضي اصلي=1 و شرکا=0");
// fields and grid columns of the dependants window
inline constexpr Pair kDependantFields[] = {
    {"nesbat", "نسبت"},
    {"fname", "نام"},
    {"lname", "نام خانوادگي"},
    {"father", "نام پدر"},
    {"nation", "کد ملي"},
    {"sh_no", "ش شناسنامه"},
    {"birthday", "ت تولد"},
    {"sodor", "محل صدور"},
    {"tavalod_loc", "محل تولد"},
    {"mobile", "موبايل"},
    {"gender", "جنسيت"},
    {"job", "شغل"},
    {"job_adr", "آدرس محل کار"},
    {"takafol", "تحت تکفل"},
    {"tahsilat", "تحصيلات"},
};
inline const QString kSetJob = QStringLiteral("شغل");
inline const QString kSetRelation = QStringLiteral("نسبت");
// the relation that takes the applicant's surname and first name as father
inline const QString kChild = QStringLiteral("فرزند");
inline const QString kShareOverSix = QStringLiteral("خطا! مجموع قدرالسهم ها بيشتر از شش شد");
inline const QString kPartnerElsewhere = QStringLiteral("اين فرد قبلا در بخش شرکا براي اين واحد وجود داشته است. آيا ميخواهيد ادامه دهيد؟");
inline const QString kApplicantElsewhere = QStringLiteral("اين فرد قبلا در بخش  متقاضيان براي اين واحد وجود داشته است. آيا ميخواهيد ادامه دهيد؟");
inline const QString kDuplicateDependant = QStringLiteral("خطا! نام،نام خانوادگي،نسبت تکراريست");
inline const QString kStatusTitle = QStringLiteral("وضعيت");

// ---------------------------------------------------------------- storage and parking
inline const QString kSpacesCaption = QStringLiteral("پارکينگ و انباري");
inline const QString kSpaceSearchCaption = QStringLiteral("پارکينگ و انباري ها");
inline const QString kSoldWord = QStringLiteral(" فروخته شد ");
inline const QString kSetParkingPos = QStringLiteral("موقعيت پارکينگ");
inline const QString kSetStoragePos = QStringLiteral("موقعيت انباري");
inline const QString kBolok = QStringLiteral("بلوک");
inline const QString kParkingNum = QStringLiteral("شماره پارکينگ");
inline const QString kPosition = QStringLiteral("طبقه/موقعيت");
inline const QString kMetraj = QStringLiteral("متراژ");
inline const QString kPerMetre = QStringLiteral("قيمت هر مترمربع");
inline const QString kTotal = QStringLiteral("مبلغ کل");
inline const QString kStorageNum = QStringLiteral("شماره انباري");
inline const QString kFloor = QStringLiteral("طبقه");
inline const QString kPerMetreColumn = QStringLiteral("مبلغ هر متر مربع");
inline const QString kParkingWord = QStringLiteral("شماره پارکينگ");
inline const QString kStorageWord = QStringLiteral("انباري");
inline const QString kParkingNotInProject = QStringLiteral("خطا! اين پارکينگ در بخش پروژه ها وجود ندارد");
inline const QString kParkingNotActive = QStringLiteral(" خطا! وضعيت اين پارکينگ در بخش پروژه ها فعال نيست ");
inline const QString kParkingSoldTo = QStringLiteral(" خطا! اين پارکينگ قبلا فروخته شده به ");
inline const QString kParkingDuplicate = QStringLiteral("خطا! شماره پارکينگ تکراريست");
inline const QString kParkingMetrajWrong = QStringLiteral("متراژ پارکينگ عدد صحيح يا اعشاري نيست");
inline const QString kParkingMablaghWrong = QStringLiteral("خطا! مقدار مبلغ کل پارکينگ بايد عدد صحيح باشد");
inline const QString kParkingMablagh1Wrong = QStringLiteral("خطا! مقدار مبلغ هر متر مربع پارکينگ بايد عدد صحيح باشد");
inline const QString kAreaTotalsWrong = QStringLiteral("مجموع اعداد پارکينگ و انباري عدد صحيح يا اعشاري نيست");
inline const QString kCounty = QStringLiteral("شهرستان");
inline const QString kProjectName = QStringLiteral("نام پروژه");
inline const QString kProvince = QStringLiteral("استان");
inline const QString kUnitBlock = QStringLiteral("بلوک واحد");
inline const QString kFirstName = QStringLiteral("نام");
inline const QString kLastName = QStringLiteral("نام خانوادگي");
inline const QString kUnitId = QStringLiteral("شناسه واحد");
inline const QString kParkingBlock = QStringLiteral("بلوک پارکينگ");
inline const QString kStorageBlock = QStringLiteral("بلوک انباري");
inline const QString kPositionTitle = QStringLiteral("موقعيت");
inline const QString kIdTitle = QStringLiteral("شناسه");

// ---------------------------------------------------------------- documents
inline const QString kPicCaption = QStringLiteral("پرونده الکترونيک متقاضي");
inline const QString kChecklistCaption = QStringLiteral("تکميل پرونده متقاضي");
inline const QString kSetDocTypes = QStringLiteral("انواع مدارک موجود در پرونده");
inline const QString kSetPicDescriptions = QStringLiteral("شرح پرونده الکترونيک");
inline const QString kPicNote = QStringLiteral("توجه: هنگام بارگذاري مدرک نام آن يا در پوشه فارسي نباشد.");
inline const QString kDescription = QStringLiteral("شرح مستند");
inline const QString kOpenAfterSave = QStringLiteral("پس از ذخيره باز شود");
inline const QString kDocTitle = QStringLiteral("شرح مدرک");
inline const QString kFormatTitle = QStringLiteral("فرمت تصوير");
inline const QString kMissing = QStringLiteral("کسري در پرونده");
inline const QString kAllTypes = QStringLiteral("چک ليست کل");
inline const QString kNoDescription = QStringLiteral("خطا! ابتدا شرح ضميمه را مشخص نماييد");
inline const QString kMapPicture = QStringLiteral("تصوير نقشه");
inline const QString kUploadFailed = QStringLiteral("خطايي در ثبت رخ داده است!");
inline const QString kPicDeletePrompt = QStringLiteral("رمز حذف");
inline const QString kWrongPassword = QStringLiteral("رمز حذف اشتباه بود");
inline const QString kDeleted = QStringLiteral("حذف شد");
inline const QString kSaved = QStringLiteral("ثبت شد");
inline const QString kChecklistDeletePrompt = QStringLiteral("لطفا رمز حذف را وارد نماييد:");

// ---------------------------------------------------------------- this system's own
// (failures of the database and the cases the windows' rules leave open)
inline const QString kPaymentNote =
    QStringLiteral("توجه: فيش پيش پرداخت با نحوه پرداخت «پيش پرداخت» و چک تحويل واحد با «تحويل واحد» ثبت شود");
inline const QString kPaymentSaveFailed = QStringLiteral("خطا! ثبت پرداخت انجام نشد");
inline const QString kPaymentDeleteFailed = QStringLiteral("خطا! حذف پرداخت انجام نشد");
inline const QString kImportFailed = QStringLiteral("خطا! انتقال پرداخت هاي پيش ثبت نام انجام نشد");
inline const QString kNoDeposits = QStringLiteral("براي کد ملي اين متقاضي پرداختي در پيش ثبت نام نيست");
// "n پرداخت پيش ثبت نام منتقل شد" and, when some were already there, the count skipped
inline QString importedMessage(int imported, int skipped)
{
    QString t = QString::number(imported) + QStringLiteral(" پرداخت پيش ثبت نام منتقل شد");
    if (skipped > 0)
        t += QStringLiteral("؛ ") + QString::number(skipped) + QStringLiteral(" پرداخت از قبل ثبت شده بود");
    return t;
}
inline const QString kImportTip = QStringLiteral("انتقال پرداخت هاي پيش ثبت نام اين متقاضي");
inline const QString kRial = QStringLiteral("ريال");
inline const QString kSearchFailed = QStringLiteral("خطا! جستجو انجام نشد");
inline const QString kListsFailed = QStringLiteral("خطا! فهرست هاي انتخاب خوانده نشد");
inline const QString kCustomerGone = QStringLiteral("خطا! اين متقاضي ديگر وجود ندارد");
inline const QString kRowGone = QStringLiteral("خطا! اين رديف ديگر وجود ندارد");
inline const QString kNegativeAmount = QStringLiteral("خطا! مبلغ نمي تواند منفي باشد");
inline const QString kCountCaption = QStringLiteral("تعداد:");
inline const QString kApplicantsCount = QStringLiteral("تعداد متقاضيان:");
inline const QString kPaymentsCount = QStringLiteral("تعداد پرداخت ها:");
inline const QString kUnitsTotal = QStringLiteral("جمع مبلغ واحدها:");
inline const QString kLoansTotal = QStringLiteral("جمع وام ها:");
inline const QString kStorageTotal = QStringLiteral("جمع مبلغ انباري ها:");
inline const QString kParkingTotal = QStringLiteral("جمع مبلغ پارکينگ ها:");
inline const QString kSearch = QStringLiteral("جستجو");
inline const QString kTo = QStringLiteral("تا");
inline const QString kPartnerSaveFailed = QStringLiteral("خطا! ثبت شريک انجام نشد");
inline const QString kPartnerDeleteFailed = QStringLiteral("خطا! حذف شريک انجام نشد");
inline const QString kDependantSaveFailed = QStringLiteral("خطا! ثبت فرد تحت تکفل انجام نشد");
inline const QString kDependantDeleteFailed = QStringLiteral("خطا! حذف فرد تحت تکفل انجام نشد");
inline const QString kNoShare = QStringLiteral("خطا! مقدار سهم بايد عدد صحيح يا اعشاري باشد");
inline const QString kNoPartnerName = QStringLiteral("خطا! نام خانوادگي شريک نمي تواند خالي باشد");
inline const QString kNoDependantName = QStringLiteral("خطا! نام خانوادگي فرد تحت تکفل نمي تواند خالي باشد");
inline const QString kPartnerGone = QStringLiteral("خطا! اين شريک ديگر وجود ندارد");
inline const QString kApplicantDependants = QStringLiteral("افراد تحت تکفل متقاضي: ");
inline const QString kPartnerDependants = QStringLiteral("افراد تحت تکفل شريک: ");
// the storage side's messages, where the window gives only the parking side's
inline const QString kStorageNotInProject = QStringLiteral("خطا! اين انباري در بخش پروژه ها وجود ندارد");
inline const QString kStorageNotActive = QStringLiteral(" خطا! وضعيت اين انباري در بخش پروژه ها فعال نيست ");
inline const QString kStorageSoldTo = QStringLiteral(" خطا! اين انباري قبلا فروخته شده به ");
inline const QString kStorageDuplicate = QStringLiteral("خطا! شماره انباري تکراريست");
inline const QString kStorageMetrajWrong = QStringLiteral("متراژ انباري عدد صحيح يا اعشاري نيست");
inline const QString kStorageMablaghWrong = QStringLiteral("خطا! مقدار مبلغ کل انباري بايد عدد صحيح باشد");
inline const QString kStorageMablagh1Wrong = QStringLiteral("خطا! مقدار مبلغ هر متر مربع انباري بايد عدد صحيح باشد");
inline const QString kChooseParking = QStringLiteral("خطا! ابتدا بلوک، شماره و موقعيت پارکينگ را انتخاب نماييد");
inline const QString kChooseStorage = QStringLiteral("خطا! ابتدا بلوک، شماره و موقعيت انباري را انتخاب نماييد");
inline const QString kSpaceSaveFailed = QStringLiteral("خطا! ثبت پارکينگ يا انباري متقاضي انجام نشد");
inline const QString kSpaceDeleteFailed = QStringLiteral("خطا! حذف پارکينگ يا انباري متقاضي انجام نشد");
inline const QString kNoProjectOfApplicant = QStringLiteral("خطا! اين متقاضي پروژه ندارد");
inline const QString kParkingSide = QStringLiteral("پارکينگ");
inline const QString kStorageSide = QStringLiteral("انباري");
inline const QString kAreaSum = QStringLiteral("جمع متراژ:");
inline const QString kAmountSum = QStringLiteral("جمع مبلغ:");
inline const QString kPicTooLarge = QStringLiteral("خطا! حجم فايل بيش از حد مجاز است");
inline const QString kPicSaveFailed = QStringLiteral("خطا! ذخيره فايل انجام نشد");
inline const QString kPicDeleteFailed = QStringLiteral("خطا! حذف مدرک انجام نشد");
inline const QString kUpload = QStringLiteral("بارگذاري مدرک");
inline const QString kChooseFile = QStringLiteral("انتخاب فايل مدرک");
inline const QString kSaveFileTitle = QStringLiteral("ذخيره مدرک");
inline const QString kChecklistSaveFailed = QStringLiteral("خطا! ثبت مدارک پرونده انجام نشد");
inline const QString kChecklistDeleteFailed = QStringLiteral("خطا! حذف مدرک پرونده انجام نشد");
// the applicant's columns of the partner and dependant searches
inline const QString kApplicantFname = QStringLiteral("نام متقاضي");
inline const QString kApplicantLname = QStringLiteral("نام خانوادگي متقاضي");
inline const QString kApplicantNation = QStringLiteral("کد ملي متقاضي");
inline const QString kRecordTypes = QStringLiteral("ثبت موارد علامت خورده");
inline const QString kPresent = QStringLiteral("مدارک موجود در پرونده");

} // namespace tavrin::childtext
