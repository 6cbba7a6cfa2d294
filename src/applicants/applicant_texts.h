#pragma once
// The fixed texts of the applicant windows: captions, messages, menu entries,
// column titles and the keys of their choice lists, as the staff know them.
#include <QString>

#include <utility>

namespace tavrin::custext {

using Pair = std::pair<const char*, const char*>;

// ---------------------------------------------------------------- the record
// caption of the record window
inline const QString kInsCaption = QStringLiteral("ثبت/ويرايش اطلاعات مشتري");
// The record as the message of a save refused for another user's change names it.
inline const QString kRecordName = QStringLiteral("متقاضي");
// Caption of each field of the record window, by column.
inline constexpr Pair kFieldCaptions[] = {
    {"ostan", "استان"},
    {"shahrestan", "شهرستان"},
    {"prj_cod", "کد پروژه"},
    {"shahr", "شهر"},
    {"rosta", "روستا شهر"},
    {"prj_name", "نام پروژه"},
    {"prj_typ", "نوع پروژه"},
    {"zamin_pelak", "مشخصات زمين پروژه(شامل مساحت، پلاک ثبتي و...)"},
    {"zamin_adr", "آدرس زمين پروژه"},
    {"shenase", "شناسه واحد"},
    {"karbari", "کاربري"},
    {"bolok", "بلوک"},
    {"tabaghe", "طبقه"},
    {"vahed_no", "شماره واحد"},
    {"jahat", "جهت"},
    {"metraj", "متراژ واحد"},
    {"teras", "متراژ تراس غيرمسقف"},
    {"hayat", "متراژ حياط"},
    {"vahed_typ", "نوع"},
    {"mablagh1", "قيمت هر مترمربع واحد"},
    {"vam", "مبلغ وام"},
    {"mablagh", "مبلغ واحد-بعد تخفيف"},
    {"takhfif", "مبلغ تخفيف"},
    {"ekhtesasi", "انشعابات اختصاصي"},
    {"moshtarak", "انشعابات مشترک"},
    {"otagh", "تعداد اتاق"},
    {"parking", "جمع متراژ پارکينگ"},
    {"anbari", "جمع متراژ انباري"},
    {"pardakht_sum", "جمع پرداخت ها"},
    {"takhir", "درصد تاخير فروشنده"},
    {"tashvigh", "درصد تشويق تحويل زودتر از موعد"},
    {"jarime", "جريمه تاخير خريدار در پرداخت ها"},
    {"sahm", "قدر السهم"},
    {"typ", "نوع متقاضي"},
    {"comp_name", "نام شرکت"},
    {"comp_no", "شماره ثبت"},
    {"comp_shenase", "شناسه ملي"},
    {"eghtesadi_cod", "کد اقتصادي"},
    {"comp_dat", "تاريخ ثبت"},
    {"fname", "نام"},
    {"lname", "نام خانوادگي"},
    {"father", "نام پدر"},
    {"nation", "کدملي"},
    {"sh_no", "ش شناسنامه"},
    {"birthday", "تاريخ تولد"},
    {"sodor", "محل صدور"},
    {"tavalod_loc", "محل تولد"},
    {"mobile", "تلفن همراه"},
    {"phone", "تلفن ثابت"},
    {"zipcode", "کد پستي"},
    {"taahol", "وضعيت تاهل"},
    {"gender", "جنسيت"},
    {"job", "شغل"},
    {"job_adr", "آدرس محل کار"},
    {"tahsilat", "ميزان تحصيلات"},
    {"adr", "آدرس"},
    {"sabeghe", "سابقه سکونت"},
    {"nesbat", "نسبت"},
    {"moaref", "معرف"},
    {"reg_no", "شماره ثبت نام"},
    {"reg_dat", "تاريخ ثبت نام"},
    {"sana", "ثبت نام ثنا"},
    {"cmt", "ساير توضيحات"},
    {"vajed", "نظر کميته واگذاري"},
    {"emtiyaz", "امتياز مکتسبه"},
    {"taeed", "مرجع تاييد نهايي"},
    {"mojavez_no", "شماره مجوز"},
    {"metraj_payankar", "متراژ پايانکار"},
    {"tahvil_time", "پيش بيني زمان تحويل"},
    {"prot_no", "شماره قرارداد"},
    {"prot_dat", "تاريخ قرارداد"},
    {"norvad_no", "شماره معرفي نامه به بانک"},
    {"norvad_dat", "تاريخ معرفي نامه به بانک"},
    {"bank_no", "شماره گواهي بانک"},
    {"bank_dat", "تاريخ گواهي بانک"},
    {"mali_no", "شماره گواهي تسويه مالي"},
    {"mali_dat", "تاريخ گواهي تسويه مالي"},
    {"tahvil_no", "شماره صورتجلسه تحويل"},
    {"tahvil_dat", "تاريخ صورتجلسه تحويل"},
    {"daftar_no", "شماره معرفي نامه به دفترخانه"},
    {"daftar_dat", "تاريخ معرفي نامه به دفترخانه"},
    {"sanad_no", "شماره سند"},
    {"sanad_dat", "تاريخ صدور سند"},
    {"sanad_enteghal_dat", "تاريخ انتقال سند بنام متقاضي"},
    {"transport_dat", "تاريخ انتقال/فروش به ديگري"},
    {"status", "وضعيت قرارداد"},
    {"teras1", "قيمت هر مترمربع تراس غيرمسقف"},
    {"hayat1", "قيمت هر مترمربع حياط"},
};
// heading of the person block of a company
inline const QString kCompanyHeading = QStringLiteral("مشخصات نماينده حقوقي");
// heading of the person block of a natural person
inline const QString kPersonHeading = QStringLiteral("مشخصات متقاضي");
inline const QString kActiveProjectsNote = QStringLiteral("تنها پروژه هايي که وضعيت فعال دارند نشان داده مي شوند");
inline const QString kActiveUnitsNote = QStringLiteral("تنها واحد هايي که وضعيت فعال دارند نشان داده مي شوند");
inline const QString kPerson = QStringLiteral("حقيقي");
inline const QString kCompany = QStringLiteral("حقوقي");
inline const QString kInsert = QStringLiteral("ثبت");
inline const QString kEdit = QStringLiteral("ويرايش");
// choices of the fixed pick lists
inline const QString kSingle = QStringLiteral("مجرد");
inline const QString kMarried = QStringLiteral("متاهل");
inline const QString kHead = QStringLiteral("سرپرست");
inline const QString kMale = QStringLiteral("مرد");
inline const QString kFemale = QStringLiteral("زن");
inline const QString kHas = QStringLiteral("دارد");
inline const QString kHasNot = QStringLiteral("ندارد");
// contract statuses with a fixed meaning
inline const QString kActive = QStringLiteral("فعال");
inline const QString kTransferred = QStringLiteral("منتقل شد");
inline const QString kCompleted = QStringLiteral("اتمام");
// setting keys of the record's pick lists
inline const QString kSetNesbat = QStringLiteral("نسبت متقاضي");
inline const QString kSetTahsilat = QStringLiteral("تحصيلات");
inline const QString kSetVajed = QStringLiteral("نظر کميته واگذاري");
inline const QString kSetTaeed = QStringLiteral("مرجع تاييد");
inline const QString kSetJob = QStringLiteral("شغل");
inline const QString kSetMoaref = QStringLiteral("معرف");
inline const QString kSetStatus = QStringLiteral("وضعيت متقاضي");
inline const QString kSetSabtCod = QStringLiteral("کد ثبت");

// field checks on leaving a field
inline const QString kMobileLength = QStringLiteral("خطا! تعداد ارقام موبايل بايد 11 رقم باشد");
inline const QString kSahmRange = QStringLiteral("ميزان قدرالسهم بين يک تا شش مي باشد");
// the pre-registration lookup
inline const QString kNotPreregistered = QStringLiteral("اين کد ملي در بخش پيش ثبت نام نيست");
inline const QString kAskRemovePrereg = QStringLiteral("آيا اين متقاضي از بخش پيش ثبت نام حذف شود؟ پرداخت ها نيز حذف مي شوند");
// the checks of a save, in their order
inline const QString kNoOstan = QStringLiteral("خطا! نام استان نمي تواند خالي باشد");
inline const QString kNoShahrestan = QStringLiteral("خطا! نام شهرستان نمي تواند خالي باشد");
inline const QString kNoStatus = QStringLiteral("خطا! وضعيت قرارداد نميتواند خالي باشد");
inline const QString kNoProject = QStringLiteral("خطا! اين پروژه در بخش پروژه ها نيست");
inline const QString kNoUnit = QStringLiteral("خطا! اين واحد در بخش واحدها نيست");
inline const QString kUnitSoldTo = QStringLiteral(" خطا! اين واحد قبلا فروخته شده به ");
inline const QString kNoNation = QStringLiteral("خطا! کد ملي نمي تواند خالي باشد");
inline const QString kNoLname = QStringLiteral("خطا! نام خانوادگي نمي تواند خالي باشد");
inline const QString kWarnDependant = QStringLiteral(" هشدار! اين کد ملي قبلا در بخش افراد تحت تکفل ثبت شده است. آيا مي خواهيد ادامه دهيد؟ ");
inline const QString kWarnApplicant = QStringLiteral(" هشدار! اين کد ملي قبلا ثبت شده است.آيا مي خواهيد ادامه دهيد؟");
inline const QString kWarnPartner = QStringLiteral(" هشدار! اين کد ملي قبلا در بخش شرکا ثبت شده است.آيا مي خواهيد ادامه دهيد؟");
inline const QString kWarnSamePerson = QStringLiteral(" هشدار! اين نام و نام خانوادگي و نام پدر قبلا ثبت شده است. آيا مي خواهيد ادامه دهيد؟ ");
inline const QString kTransferNoDate = QStringLiteral("خطا! وضعيت قرارداد منتقل شد هست اما تاريخ انتقال ندارد");
inline const QString kWarnContract = QStringLiteral(" هشدار!  شماره و تاريخ قرارداد با اين وضعيت  تکراريست. آيا مي خواهيد ادامه دهيد؟ ");
inline const QString kDupBlockStatus = QStringLiteral("خطا! بلوک و طبقه و شماره واحد با اين وضعيت تکراريست");
inline const QString kDupShenaseProject = QStringLiteral("خطا! شناسه واحد در اين پروژه استان و شهرستان تکراريست. اگر قصد انتقال داريد ابتدا وضعيت قرارداد قبلي اين واحد را منتقل شد قرار دهيد و واحد را فعال نماييد");
inline const QString kCompletedNoEdit = QStringLiteral("خطا! وضعيت اين متقاضي اتمام هست و امکان ويرايش نيست و فقط توسط کاربر استان قابل تغيير است");
inline const QString kDupContract = QStringLiteral("خطا!شماره و تاريخ قرارداد تکراريست");
inline const QString kDupBlock = QStringLiteral("خطا! بلوک و طبقه و شماره واحد تکراريست");
inline const QString kDupShenase = QStringLiteral("خطا! شناسه واحد تکراريست");
inline const QString kSaved = QStringLiteral("ثبت شد");
// the messages of the fields that do not convert, by column
inline constexpr Pair kConversionMessages[] = {
    {"metraj", "خطا! مقدار متراژ بايد عدد صحيح يا اعشاري باشد"},
    {"parking", "خطا! مقدار پارکينگ بايد عدد صحيح يا اعشاري باشد"},
    {"anbari", "خطا! مقدار انباري بايد عدد صحيح يا اعشاري باشد"},
    {"mablagh", "خطا! مقدار مبلغ واحد بايد عدد صحيح باشد"},
    {"vam", "خطا! مقدار وام واحد بايد عدد صحيح باشد"},
    {"pardakht_sum", "خطا! مقدار مجموع پرداخت ها بايد عدد صحيح باشد"},
    {"teras", "خطا! مقدار تراس بايد عدد صحيح يا اعشاري باشد"},
    {"teras1", "خطا! مقدار مبلغ هر متر مربع تراس بايد عدد صحيح يا اعشاري باشد"},
    {"takhfif", "خطا! مقدار تخفيف بايد عدد صحيح باشد"},
    {"sahm", "خطا! مقدار سهم بايد عدد صحيح يا اعشاري باشد"},
    {"mablagh1", "خطا! مقدار مبلغ هر متر مربع  واحد بايد عدد صحيح باشد"},
    {"takhir", "خطا! مقدار تاخير بايد عدد اعشاري باشد"},
    {"tashvigh", "خطا! مقدار تشويق بايد عدد اعشاري باشد"},
    {"jarime", "خطا! مقدار مبلغ جريمه تاخير خريدار بايد عدد صحيح باشد"},
    {"hayat", "خطا! مقدار حياط بايد عدد صحيح يا اعشاري باشد"},
    {"hayat1", "خطا! مقدار مبلغ هر متر مربع حياط بايد عدد صحيح يا اعشاري باشد"},
    {"metraj_z", "خطا! مقدار متراژ زمين بايد عدد صحيح يا اعشاري باشد"},
};
// the share of the applicant and his partners together
inline const QString kShareSum = QStringLiteral("خطا! مجموع قدرالسهم ها بيشتر از شش شد");
// the remark after which a pre-registration deposit's own remark is kept in
// the payment's bank column when the deposits move to the applicant
inline const QString kPreregBankSuffix = QStringLiteral(" پيش ثبت نام ");
// selling a unit from the units list of a project
inline const QString kProjectNotActive = QStringLiteral("خطا! بدليل آنکه وضعيت اين پروژه فعال نيست، امکان ثبت متقاضي نيست");
inline const QString kUnitNotActive = QStringLiteral("خطا! بدليل آنکه وضعيت  اين واحد فعال نيست ُامکان ثبت متقاضي براي اين واحد نيست");
inline const QString kNoInsertRight = QStringLiteral("خطا! شما دسترسي ثبت متقاضي را نداريد");

// ---------------------------------------------------------------- the list
// caption of the list window
inline const QString kSrcCaption = QStringLiteral("ليست متقاضيان");
// The grid's first columns with their titles, in order.
inline constexpr Pair kGridColumns[] = {
    {"ostan", "استان"},
    {"shahrestan", "شهرستان"},
    {"prj_name", "نام پروژه"},
    {"prj_typ", "نوع پروژه"},
    {"karbari", "کاربري"},
    {"fname", "نام"},
    {"lname", "نام خانوادگي"},
    {"father", "نام پدر"},
    {"nation", "کد ملي"},
    {"sahm", "سهم"},
    {"bolok", "شماره بلوک"},
    {"tabaghe", "طبقه"},
    {"vahed_no", "شماره واحد"},
    {"shenase", "شناسه واحد"},
    {"prot_dat", "تاريخ قرارداد"},
    {"prot_no", "شماره قرارداد"},
    {"mali_no", "ش تسويه مالي"},
    {"tahvil_no", "ش صورتجلسه تحويل"},
    {"sanad_enteghal_dat", "تاريخ انتقال سند بنام متقاضي"},
    {"jahat", "جهت"},
    {"metraj", "متراژ واحد"},
    {"parking", "پارکينگ"},
    {"anbari", "انباري"},
    {"mablagh", "مبلغ واحد"},
    {"vam", "ميزان وام"},
    {"pardakht_sum", "جمع پرداخت ها"},
};
// The criteria: check box caption, in the order the search adds them.
inline constexpr Pair kCriteria[] = {
    {"ostan", "استان"},
    {"shahrestan", "شهرستان"},
    {"nation", "کد ملي"},
    {"lname", "نام خانوادگي"},
    {"prj_name", "نام پروژه"},
    {"bolok", "شماره بلوک"},
    {"tabaghe", "شماره طبقه"},
    {"karbari", "کاربري"},
    {"shenase", "شناسه واحد"},
    {"status", "وضعيت"},
    {"prot_no", "شماره قرارداد"},
    {"sanad_no", "شماره سند"},
    {"gender", "جنسيت"},
    {"transport_dat", "تاريخ انتقال/فروش"},
    {"typ", "نوع متقاضي"},
    {"reg_user", "کاربر"},
};
// setting keys of the criteria's pick lists
inline const QString kSetFloors = QStringLiteral("طبقات");
inline const QString kSetKarbari = QStringLiteral("کاربري");
inline const QString kSetListStatus = QStringLiteral("وضعيت");
inline const QString kSetTyp = QStringLiteral("نوع متقاضي");
// the menus
inline constexpr Pair kMenuCaptions[] = {
    {"N1", "ثبت جديد"},
    {"N2", "ويرايش"},
    {"N4", "افراد تحت تکفل"},
    {"N21", "پرداخت ها"},
    {"N6", "پرونده الکترونيک"},
    {"N3", "مدارک پرونده"},
    {"N22", "انباري و پارکينگ"},
    {"N26", "شرکا"},
    {"N5", "حذف"},
    {"N7", "گزارشات"},
    {"N8", "اکسل"},
    {"N20", "چاپ"},
    {"SMS1", "SMS"},
    {"N29", "افراد تحت تکفل"},
    {"N23", "پرداخت ها"},
    {"N24", "انباري و پارکينگ"},
    {"N30", "شرکا"},
    {"N50", "استعلام کد ملي در کل کشور"},
    {"N9", "فرم ها"},
    {"N10", "خروج"},
};
inline const QString kSearch = QStringLiteral("جستجو");
inline const QString kNationPreset = QStringLiteral("??????????");
inline const QString kNationResult = QStringLiteral("نتيجه استعلام");
// the edit of a completed file by a county user (the word اتمام in quotes)
inline const QString kCompletedFile = QStringLiteral("وضعيت اين پرونده \"اتمام\" است و امکان ويرايش نيست");
inline const QString kDeleted = QStringLiteral("حذف شد");
inline const QString kDeletePrompt = QStringLiteral("لطفا رمز حذف را وارد نماييد:");
// the Excel export: title of every column
inline constexpr Pair kExcelHeaders[] = {
    {"id", "شناسه"},
    {"ostan", "استان"},
    {"shahrestan", "شهرستان"},
    {"shahr", "شهر"},
    {"prj_name", "نام پروژه"},
    {"prj_typ", "نوع پروژه"},
    {"karbari", "کاربري"},
    {"bolok", "شماره بلوک"},
    {"tabaghe", "طبقه"},
    {"vahed_no", "شماره واحد"},
    {"shenase", "شناسه واحد"},
    {"jahat", "جهت"},
    {"metraj", "متراژ واحد"},
    {"metraj_z", "متراژ زمين"},
    {"parking", "جمع متراژ پارکينگ"},
    {"anbari", "جمع متراژ انباري"},
    {"mablagh", "مبلغ واحد"},
    {"vam", "ميزان وام"},
    {"pardakht_sum", "جمع پرداخت ها"},
    {"fname", "نام"},
    {"lname", "نام خانوادگي"},
    {"father", "نام پدر"},
    {"nation", "کد ملي"},
    {"sh_no", "شماره شناسنامه"},
    {"birthday", "تاريخ تولد"},
    {"sodor", "محل صدور"},
    {"tavalod_loc", "محل تولد"},
    {"mobile", "موبايل"},
    {"phone", "تلفن ثابت"},
    {"taahol", "تاهل"},
    {"gender", "جنسيت"},
    {"cmt", "توضيحات"},
    {"sabeghe", "سابقه سکونت"},
    {"adr", "آدرس"},
    {"job", "شغل"},
    {"job_adr", "آدرس محل کار"},
    {"moaref", "معرف"},
    {"reg_dat", "تاريخ ثبت نام"},
    {"reg_no", "شماره ثبت نام"},
    {"prot_no", "شماره قرارداد"},
    {"prot_dat", "تاريخ قرارداد"},
    {"reg_user", "نام کاربر"},
    {"vajed", "نظر کميته واگذاري در خصوص واجد شرايط بودن"},
    {"taeed", "مرجع تاييد نهايي"},
    {"emtiyaz", "امتياز مکتسبه"},
    {"status", "وضعيت"},
    {"norvad_no", "شماره معرفي نامه به بانک"},
    {"norvad_dat", "تاريخ معرفي نامه به بانک"},
    {"bank_no", "شماره گواهي بانک"},
    {"bank_dat", "تاريخ گواهي بانک"},
    {"mali_no", "شماره گواهي تسويه مالي"},
    {"mali_dat", "تاريخ گواهي تسويه مالي"},
    {"tahvil_no", "شماره صورتجلسه تحويل"},
    {"tahvil_dat", "تاريخ صورتجلسه تحويل"},
    {"daftar_no", "شماره معرفي نامه به دفترخانه"},
    {"daftar_dat", "تاريخ معرفي نامه به دفترخانه"},
    {"sanad_no", "شماره سند"},
    {"sanad_dat", "تاريخ سند"},
    {"rosta", "روستا شهر"},
    {"prj_cod", "کد پروژه"},
    {"mojavez_no", "شماره مجوز"},
    {"metraj_payankar", "متراژ پايانکار"},
    {"tahvil_time", "پيش بيني زمان تحويل"},
    {"teras", "متراژ تراس"},
    {"takhfif", "مبلغ تخفيف"},
    {"sahm", "قدرالسهم"},
    {"zamin_pelak", "مشخصات زمين پروژه"},
    {"zamin_adr", "آدرس زمين پروژه"},
    {"mablagh1", "مبلغ هر متر مربع واحد"},
    {"ekhtesasi", "انشعابات اختصاصي"},
    {"moshtarak", "انشعابات مشترک"},
    {"takhir", "درصد تاخير فروشنده"},
    {"tashvigh", "درصد تشويق تحويل زودتر از موعد"},
    {"sabt_cod", "کد ثبت"},
    {"prj_id", "شناسه پروژه"},
    {"vahed_id", "شناسه واحد"},
    {"otagh", "تعداد اتاق"},
    {"sana", "شماره ثنا"},
    {"jarime", "جريمه تاخير خريدار در پرداخت ها"},
    {"transport_dat", "تاريخ انتقال/فروش به ديگري"},
    {"tahsilat", "تحصيلات"},
    {"zipcode", "کد پستي"},
    {"teras1", "قيمت هر متر مربع تراس"},
    {"typ", "نوع شخص"},
    {"comp_name", "نام شرکت"},
    {"comp_no", "شماره ثبت"},
    {"comp_shenase", "شناسه ملي"},
    {"eghtesadi_cod", "کد اقتصادي"},
    {"comp_dat", "تاريخ ثبت"},
    {"sanad_enteghal_dat", "تاريخ انتقال سند بنام متقاضي"},
    {"nesbat", "نسبت با کارکنان"},
    {"vahed_typ", "نوع واحد"},
    {"hayat", "متراژ حياط"},
    {"hayat1", "مبلغ هر متر مربع حياط"},
    {"anbari_mablagh", "مبلغ انباري"},
    {"parking_mablagh", "مبلغ پارکينگ"},
};
// the printed list: its title and column titles
inline const QString kPrintTitle = QStringLiteral("ليست متقاضيان");
inline constexpr const char* kPrintColumns[] = {"رديف", "نام پروژه", "نام خانوادگي", "نام", "تلفن همراه", "شناسه واحد", "مبلغ واحد", "مبلغ پرداختي"};
inline const QString kMobilesFile = QStringLiteral("mobiles.txt");

// The menu "فرم ها": every document printed for the current applicant, in
// menu order; path holds the captions of the submenus it sits in.
struct FormEntry {
    const char* submenu;     // "" for an entry of the menu itself
    const char* subsubmenu;  // "" unless the entry sits two levels down
    const char* name;
    const char* caption;
};
inline constexpr FormEntry kFormEntries[] = {
    {"1-قرارداد فروش به قيمت قطعي", "استان", "N110", "صفحه1-طرفين و موضوع قرارداد"},
    {"1-قرارداد فروش به قيمت قطعي", "استان", "N25", "صفحه2- ثمن معامله و پرداخت ها"},
    {"1-قرارداد فروش به قيمت قطعي", "استان", "N31", "صفحه3 - فسخ و تحويل واحد"},
    {"1-قرارداد فروش به قيمت قطعي", "استان", "N41", "صفحه4 - تنظيم سند"},
    {"1-قرارداد فروش به قيمت قطعي", "استان", "N51", "صفحه5 - انتقال به غير"},
    {"1-قرارداد فروش به قيمت قطعي", "استان", "N61", "صفحه6 - حوادث غيرمترقبه و مرجع حل اختلاف"},
    {"1-قرارداد فروش به قيمت قطعي", "استان", "N71", "صفحه7 - ساير شروط"},
    {"1-قرارداد فروش به قيمت قطعي", "استان", "N81", "صفحه8 - اقامتگاه و نسخ"},
    {"1-قرارداد فروش به قيمت قطعي", "استان", "N27", "چاپ همه صفحات قرارداد"},
    {"1-قرارداد فروش به قيمت قطعي", "شهرستان", "N111", "صفحه1-طرفين و موضوع قرارداد"},
    {"1-قرارداد فروش به قيمت قطعي", "شهرستان", "N82", "صفحه8 - اقامتگاه و نسخ"},
    {"", "", "N35", "2-استعلام از ادارات و سازمان هاي مرتبط"},
    {"3- معرفي به بانک - نوع يک", "", "N52", "استان"},
    {"3- معرفي به بانک - نوع يک", "", "N53", "شهرستان"},
    {"", "", "N15", "4-معرفي به بانک - نوع دو"},
    {"", "", "N531", "5- معرفي به بانک - نوع سه"},
    {"", "", "N37", "6-فرم ثبت نام متقاضيان واحدهاي مسکوني شهري"},
    {"", "", "N38", "7-فرم دعوت از متقاضيان"},
    {"", "", "N39", "8-معرفي نامه به دفترخانه اسناد رسمي"},
    {"", "", "N40", "9-معرفي نامه به سازمان مسکن و شهرسازي"},
    {"", "", "N42", "10-فرم تقاضاي نقشه و صورتمجلس تفکيکي و صدور سند از اداره ثبت"},
    {"", "", "N43", "11-درخواست پايان کار از شهرداري"},
    {"", "", "N44", "12-فرم انجام تحقيقات محلي"},
    {"", "", "N45", "13-صورتجلسه تحويل واحد مسکوني به متقاضي"},
    {"", "", "N46", "14-صورتجلسه رفع نواقص واحد مسکوني تحويلي به متقاضي"},
    {"", "", "N47", "15-فراخوان متقاضي جهت تسويه حساب و تحويل واحد - A5 -Clipboard"},
    {"", "", "N11", "16-وکالتنامه با وام"},
    {"", "", "N12", "17-وکالتنامه بدون وام"},
    {"", "", "N14", "18-معرفي به پروژه جهت تحويل واحد - A5"},
    {"", "", "N16", "19-معرفي به حسابداري جهت بانک"},
    {"", "", "N17", "20-معرفي به حسابداري جهت اخذ شارژ"},
    {"", "", "N18", "21-معرفي به حسابداري جهت خريد"},
    {"", "", "N19", "22-تسويه حساب استان"},
    {"", "", "N221", "23-تسويه حساب شهرستان"},
    {"", "", "N34", "24-تعهدنامه محضري پروژه هاي حمايتي"},
    {"", "", "N32", "25-تقاضاي انتقال واحد مسکوني (روي رکورد انتقال گيرنده باشيد)"},
    {"", "", "N33", "26-توافقنامه انتقال قرارداد پيش فروش"},
    {"27 - قرارداد فروش - نمونه ديگر (آزمايشي)", "", "N112", "صفحه1"},
    {"27 - قرارداد فروش - نمونه ديگر (آزمايشي)", "", "N210", "صفحه2"},
};
inline const QString kFormsMenu = QStringLiteral("فرم ها");

// ---------------------------------------------------------------- this system's own
// (failures of the database and the few cases the record rules leave open)
inline const QString kSaveFailed = QStringLiteral("خطا! ثبت اطلاعات متقاضي انجام نشد");
inline const QString kDeleteFailed = QStringLiteral("خطا! حذف متقاضي انجام نشد");
inline const QString kSearchFailed = QStringLiteral("خطا! جستجوي متقاضيان انجام نشد");
inline const QString kListsFailed = QStringLiteral("خطا! فهرست هاي انتخاب خوانده نشد");
inline const QString kCustomerGone = QStringLiteral("خطا! اين متقاضي ديگر وجود ندارد");
inline const QString kMobilesFailed = QStringLiteral("خطا! فايل شماره هاي موبايل نوشته نشد");
inline const QString kPrintFailed = QStringLiteral("خطا! ليست متقاضيان خوانده نشد");
inline const QString kMobilesSaveTitle = QStringLiteral("ذخيره شماره هاي موبايل");
inline const QString kChoosePreregTitle = QStringLiteral("انتخاب از پيش ثبت نام");
inline const QString kChoosePreregPrompt = QStringLiteral("چند نفر با اين نام در پيش ثبت نام هستند؛ يکي را انتخاب کنيد:");
inline const QString kChoose = QStringLiteral("انتخاب");
inline const QString kCancel = QStringLiteral("انصراف");
inline const QString kCountCaption = QStringLiteral("تعداد:");

}  // namespace tavrin::custext
