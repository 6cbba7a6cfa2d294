#pragma once
// The fixed texts of the reference windows (settings, country divisions, phone
// book): captions, messages, questions and log-comment texts, character for
// character as the program shows and stores them (Arabic and Persian yeh and
// kaf forms, leading, trailing and doubled blanks included).  Generated; do not
// retype these texts.
#include <QString>
#include <QStringList>

namespace tavrin::reftext {

inline const QString kAbadihaCaption = QStringLiteral("آبادي ها");
inline const QString kAbadihaInsCaption = QStringLiteral("ثبت/ويرايش آبادي");
inline const QString kOstan = QStringLiteral("استان");
inline const QString kShahrestan = QStringLiteral("شهرستان");
inline const QString kShahr = QStringLiteral("شهر");
inline const QString kBakhsh = QStringLiteral("بخش");
inline const QString kDehestan = QStringLiteral("دهستان");
inline const QString kRosta = QStringLiteral("روستا");
inline const QString kCodAbadi = QStringLiteral("کد آبادي");
inline const QString kSabt = QStringLiteral("ثبت");
inline const QString kVirayesh = QStringLiteral("ويرايش");
inline const QString kSearch = QStringLiteral("جستجو");
inline const QString kHazf = QStringLiteral("حذف");
inline const QString kRenameSingleMenu = QStringLiteral("تغيير نام موردي");
inline const QString kRenameOstan = QStringLiteral("تغيير نام استان");
inline const QString kRenameShahrestan = QStringLiteral("تغيير نام شهرستان");
inline const QString kRenameShahr = QStringLiteral("تغيير نام شهر");
inline const QString kRenameBakhshMisspelt = QStringLiteral("تغغير نام بخش");
inline const QString kRenameDehestan = QStringLiteral("تغيير نام دهستان");
inline const QString kRenameRosta = QStringLiteral("تغيير نام روستا");
inline const QString kRenameBulkMenu = QStringLiteral("تغيير نام دسته جمعي");
inline const QString kShenase = QStringLiteral("شناسه");
inline const QString kDupAll = QStringLiteral("خطا! شهرستان و روستا و استان و کدآبادي تکراري است");
inline const QString kDupCod = QStringLiteral("خطا! کد آبادي تکراريست");
inline const QString kSaved = QStringLiteral("ثبت شد");
inline const QString kLogNewAbadi = QStringLiteral(" ثبت کدآبادي جديد  ");
inline const QString kDupCodEdit = QStringLiteral("خطا! کد آبادي تکراري است");
inline const QString kLogEditAbadi = QStringLiteral(" ويرايش آبادي  ");
inline const QString kDeletePasswordKey = QStringLiteral("رمز حذف");
inline const QString kDeletePasswordTitle = QStringLiteral("Delete Password");
inline const QString kInputPreset = QStringLiteral("?");
inline const QString kDeleted = QStringLiteral("حذف شد");
inline const QString kLogDeleteAbadi = QStringLiteral(" حذف آبادي  ");
inline const QString kTitleShahrestan = QStringLiteral("Shahrestan Name:");
inline const QString kPromptShahrestan = QStringLiteral("نام جديد شهرستان را وارد نماييد");
inline const QString kChanged = QStringLiteral("تغيير يافت");
inline const QString kTitleBakhsh = QStringLiteral("Bakhsh Name:");
inline const QString kPromptBakhsh = QStringLiteral("نام جديد بخش را وارد نماييد");
inline const QString kTitleDehestan = QStringLiteral("Dehestan Name:");
inline const QString kPromptDehestan = QStringLiteral("نام جديد دهستان را وارد نماييد");
inline const QString kTitleRosta = QStringLiteral("Rosta Name:");
inline const QString kPromptRosta = QStringLiteral("نام جديد روستا را وارد نماييد");
inline const QString kAskShahrestan = QStringLiteral("اين تعداد شهرستان شامل اين تغيير مي شوند، آيا از اين عمل مطمئن هستيد؟");
inline const QString kBulkDone = QStringLiteral(" اين تعداد تغيير يافتند ");
inline const QString kTitleOstan = QStringLiteral("Ostan Name:");
inline const QString kPromptOstan = QStringLiteral("نام جديد استان را وارد نماييد");
inline const QString kAskOstan = QStringLiteral("اين تعداد استان شامل اين تغيير مي شوند، آيا از اين عمل مطمئن هستيد؟");
inline const QString kTitleShahr = QStringLiteral("SHahe Name:");
inline const QString kPromptShahr = QStringLiteral("نام جديد شهر را وارد نماييد");
inline const QString kAskShahr = QStringLiteral("اين تعداد شهر شامل اين تغيير مي شوند، آيا از اين عمل مطمئن هستيد؟");
inline const QString kAskBakhsh = QStringLiteral("اين تعداد بخش شامل اين تغيير مي شوند، آيا از اين عمل مطمئن هستيد؟");
inline const QString kAskDehestan = QStringLiteral("اين تعداد دهستان شامل اين تغيير مي شوند، آيا از اين عمل مطمئن هستيد؟");
inline const QString kAskRosta = QStringLiteral("اين تعداد روستا شامل اين تغيير مي شوند، آيا از اين عمل مطمئن هستيد؟");
inline const QString kBrowseExcel = QStringLiteral("Browse Excel...");
inline const QString kExcelReadFailed = QStringLiteral("خطا در خواندن فايل اکسل! لطفا فايل را ببنديد و يا از نام شيت آن مطمئن شويد Sheet1 ");
inline const QString kReplaceExcel = QStringLiteral("جايگزيني اکسل با وضع موجود");
inline const QString kReplaceWarning = QStringLiteral("اين عمل ممکن است دقايقي بطول انجامد و اطلاعات قبلي حذف و اطلاعات اکسل جايگزين مي گردد. آيا براي ادامه عمليات اطمينان داريد؟");
inline const QString kColumnCount = QStringLiteral("خطا! تعداد ستون ها برابر نيست");
inline const QString kTransferDone = QStringLiteral("انتقال انجام شد");
inline const QString kExcelNote = QStringLiteral("تذکر: فايل اکسل مي بايست دقيقا داراي 7 ستون به ترتيب فوق باشد");
inline const QString kSabtCodKey = QStringLiteral("کد ثبت");
inline const QString kDefault = QStringLiteral("پيش فرض");
inline const QString kDefColumn = QStringLiteral("پيشفرض");
inline const QString kSettingCaption = QStringLiteral("تنظيمات عمومي");
inline const QString kComponentCaption = QStringLiteral("عنوان اطلاعات");
inline const QString kCmtCaption = QStringLiteral("توضيحات");
inline const QString kDefaultNote = QStringLiteral("*در صورتيكه مي خواهيد يك آيتم بصورت پيش فرض باشد بر روي آن كليك راست نماييد");
inline const QString kEmptyValue = QStringLiteral("لطفا مقدار مناسب را وارد نماييد");
inline const QString kDuplicate = QStringLiteral("تكراري است");
inline const QString kSettingOstCaption = QStringLiteral("تنظيمات استاني");
inline const QString kSettingCityCaption = QStringLiteral("تنظيمات شهرستان");
inline const QString kEmptyCmtCity = QStringLiteral("لطفا توضيحات مناسب را وارد نماييد");
inline const QString kEmptyOstan = QStringLiteral("لطفا استان مناسب را وارد نماييد");
inline const QString kEmptyShahrestan = QStringLiteral("لطفا شهرستان مناسب را وارد نماييد");
inline const QString kPhoneCaption = QStringLiteral("دفترچه تلفن");
inline const QString kName = QStringLiteral("نام");
inline const QString kTel = QStringLiteral("تلفن");
inline const QString kSharh = QStringLiteral("شرح");
inline const QString kSearchBy = QStringLiteral("جستجو بر اساس");
inline const QString kPersianKaf = QStringLiteral("ک");
inline const QString kArabicKaf = QStringLiteral("ك");
inline const QString kDupName = QStringLiteral("نام تکراري است");
inline const QString kExcel = QStringLiteral("اکسل");

// Keys of the general settings, in the order of their drop-down list.
inline const QStringList kGeneralKeys = {
    QStringLiteral("ادارات"),
    QStringLiteral("انشعابات اختصاصي"),
    QStringLiteral("انشعابات مشترک"),
    QStringLiteral("انواع مدارک موجود در پرونده"),
    QStringLiteral("بانک"),
    QStringLiteral("بلوک"),
    QStringLiteral("بنا"),
    QStringLiteral("تحصيلات"),
    QStringLiteral("جهت واحد"),
    QStringLiteral("رمز حذف"),
    QStringLiteral("شرح پرونده الکترونيک"),
    QStringLiteral("شغل"),
    QStringLiteral("طبقات"),
    QStringLiteral("کاربري"),
    QStringLiteral("کد ثبت"),
    QStringLiteral("گروه کاربري"),
    QStringLiteral("محل اعتبار"),
    QStringLiteral("مرجع تاييد"),
    QStringLiteral("معرف"),
    QStringLiteral("موضوع پيام"),
    QStringLiteral("موقعيت انباري"),
    QStringLiteral("موقعيت پارکينگ"),
    QStringLiteral("نحوه پرداخت"),
    QStringLiteral("نسبت"),
    QStringLiteral("نسبت متقاضي"),
    QStringLiteral("نظر کميته واگذاري"),
    QStringLiteral("نوع پروژه"),
    QStringLiteral("نوع خريد"),
    QStringLiteral("نوع قرارداد پروژه"),
    QStringLiteral("نوع قرارداد تسهيلات"),
    QStringLiteral("نوع متقاضي"),
    QStringLiteral("نوع واحد"),
    QStringLiteral("وضعيت انباري"),
    QStringLiteral("وضعيت پارکينگ"),
    QStringLiteral("وضعيت پروژه"),
    QStringLiteral("وضعيت تاهل"),
    QStringLiteral("وضعيت فروش پروژه"),
    QStringLiteral("وضعيت کاربر"),
    QStringLiteral("وضعيت متقاضي"),
    QStringLiteral("وضعيت واحد")};
// Keys of the provincial settings.
inline const QStringList kProvinceKeys = {
    QStringLiteral("آدرس نورواد"),
    QStringLiteral("تلفن نورواد"),
    QStringLiteral("رمز حذف"),
    QStringLiteral("شماره حساب"),
    QStringLiteral("شناسه ملي"),
    QStringLiteral("کد اقتصادي"),
    QStringLiteral("کد ثبت"),
    QStringLiteral("مدير فروش پروژه"),
    QStringLiteral("مدير کل"),
    QStringLiteral("معاون مسکن شهري"),
    QStringLiteral("نام پروژه")};
// Keys of the county settings.
inline const QStringList kCountyKeys = {
    QStringLiteral("آدرس نورواد"),
    QStringLiteral("تلفن نورواد"),
    QStringLiteral("رمز حذف"),
    QStringLiteral("شماره حساب"),
    QStringLiteral("شناسه ملي"),
    QStringLiteral("کد اقتصادي"),
    QStringLiteral("کد ثبت"),
    QStringLiteral("مدير شهرستان"),
    QStringLiteral("مدير فروش پروژه")};

} // namespace tavrin::reftext
