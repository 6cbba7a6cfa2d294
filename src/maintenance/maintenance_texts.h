#pragma once
// The Persian texts of the administrators' tools: backup and data transfer.
#include <QString>

namespace tavrin::maintext {

// ---- Backup -------------------------------------------------------------
inline const QString kBackupCaption = QStringLiteral("تهيه پشتيبان");
// Beside the data file's path of the embedded database.
inline const QString kCopyThisFile = QStringLiteral("فقط کافيست از اين فايل يک کپي تهيه نماييد");
// Below it: copying the file is complete only once every program using it is
// closed; while it is open, recent changes may still be in the write-ahead log.
inline const QString kWhileOpen =
    QStringLiteral("تا وقتي برنامه باز است، نسخه پشتيبان را با دکمه «تهيه پشتيبان» تهيه نماييد؛ کپي فايل فقط وقتي برنامه بسته است کامل است");
inline const QString kDataFileLabel = QStringLiteral("مسير فايل بانک اطلاعاتي :");
inline const QString kDatabaseLabel = QStringLiteral("بانک اطلاعاتي جاري :");
inline const QString kCommandLabel = QStringLiteral("دستور تهيه پشتيبان :");
inline const QString kBackupButton = QStringLiteral("تهيه پشتيبان ...");
inline const QString kClose = QStringLiteral("بستن");
inline const QString kBackupFileTitle = QStringLiteral("ذخيره نسخه پشتيبان");
inline const QString kBackupDone = QStringLiteral("نسخه پشتيبان در اين فايل ذخيره شد:");
inline const QString kBackupFailed = QStringLiteral("تهيه نسخه پشتيبان با خطا مواجه شد");
inline const QString kBackupCancelled = QStringLiteral("تهيه نسخه پشتيبان لغو شد");
inline const QString kBackupSameFile = QStringLiteral("فايل پشتيبان نمي تواند همان فايل بانک اطلاعاتي باشد");
inline const QString kNoPgDump =
    QStringLiteral("برنامه pg_dump روي اين رايانه نصب نيست؛ نسخه پشتيبان را با اين دستور تهيه نماييد:");
inline const QString kManualCommand = QStringLiteral("نسخه پشتيبان را با اين دستور تهيه نماييد:");
inline const QString kBackingUp = QStringLiteral("در حال تهيه نسخه پشتيبان ...");

// ---- Data transfer ------------------------------------------------------
inline const QString kTransferMenu = QStringLiteral("انتقال اطلاعات");
inline const QString kTransferCaption = QStringLiteral("انتقال اطلاعات از بانک اطلاعاتي ديگر به اين بانک اطلاعاتي");
inline const QString kSourceGroup = QStringLiteral("بانک اطلاعاتي مبدا");
inline const QString kBackendLabel = QStringLiteral("نوع بانک اطلاعاتي :");
inline const QString kServerLabel = QStringLiteral("فايل يا نام سرور :");
inline const QString kDatabaseNameLabel = QStringLiteral("نام ديتابيس :");
inline const QString kUserLabel = QStringLiteral("کلمه کاربري :");
inline const QString kPasswordLabel = QStringLiteral("رمز عبور :");
inline const QString kConnect = QStringLiteral("اتصال");
inline const QString kChooseFile = QStringLiteral("انتخاب فايل بانک اطلاعاتي مبدا");
inline const QString kSabtCodLabel = QStringLiteral("کد ثبت :");
// The choice for applicants registered without a code.
inline const QString kNoCode = QStringLiteral("(بدون کد ثبت)");
inline const QString kApplicantsOfCode = QStringLiteral("تعداد متقاضيان :");
inline const QString kTransferButton = QStringLiteral("انتقال");
inline const QString kRefusedLabel = QStringLiteral("متقاضياني که منتقل نشدند :");
inline const QString kColName = QStringLiteral("نام و نام خانوادگي");
inline const QString kColNation = QStringLiteral("کد ملي");
inline const QString kColProject = QStringLiteral("پروژه");
inline const QString kColUnit = QStringLiteral("شناسه واحد");
inline const QString kColReason = QStringLiteral("علت");
inline const QString kNoServer = QStringLiteral("فايل يا نام سرور بانک اطلاعاتي مبدا را وارد نماييد");
inline const QString kSourceFailed = QStringLiteral("اتصال به بانک اطلاعاتي مبدا برقرار نشد");
inline const QString kSourceIsCurrent = QStringLiteral("بانک اطلاعاتي مبدا همان بانک اطلاعاتي جاري است");
inline const QString kSourceHasNoApplicants = QStringLiteral("در بانک اطلاعاتي مبدا جدول متقاضيان يافت نشد");
inline const QString kConnectFirst = QStringLiteral("ابتدا به بانک اطلاعاتي مبدا متصل شويد");
inline const QString kChooseCode = QStringLiteral("کد ثبت را انتخاب نماييد");
inline const QString kNoApplicantsOfCode = QStringLiteral("متقاضي با اين کد ثبت در بانک اطلاعاتي مبدا نيست");
inline const QString kTransferAsk = QStringLiteral("متقاضيان اين کد ثبت با همه اطلاعات وابسته به اين بانک اطلاعاتي منتقل شوند؟ ");
inline const QString kTransferring = QStringLiteral("در حال انتقال اطلاعات ...");
inline const QString kTransferFailed = QStringLiteral("انتقال اطلاعات با خطا مواجه شد؛ هيچ اطلاعاتي منتقل نشد");
inline const QString kTransferCancelled = QStringLiteral("انتقال اطلاعات لغو شد؛ هيچ اطلاعاتي منتقل نشد");
// "n متقاضي با m رديف وابسته منتقل شد" and "k متقاضي منتقل نشد"
inline const QString kCopiedApplicants = QStringLiteral(" متقاضي با ");
inline const QString kCopiedRows = QStringLiteral(" رديف وابسته منتقل شد");
inline const QString kRefusedApplicants = QStringLiteral(" متقاضي منتقل نشد (فهرست در پايين صفحه)");
inline const QString kCancel = QStringLiteral("انصراف");

// Why an applicant was not transferred.
inline const QString kWhyDuplicate = QStringLiteral("اين کد ملي براي همين واحد در اين بانک اطلاعاتي ثبت شده است");
inline const QString kWhyNoProject = QStringLiteral("پروژه اين متقاضي در اين بانک اطلاعاتي يافت نشد");
inline const QString kWhyNoUnit = QStringLiteral("واحد اين متقاضي در اين بانک اطلاعاتي يافت نشد");
inline const QString kWhyNoAnbari = QStringLiteral("انباري اين متقاضي در اين بانک اطلاعاتي يافت نشد");
inline const QString kWhyNoParking = QStringLiteral("پارکينگ اين متقاضي در اين بانک اطلاعاتي يافت نشد");
// followed by the table's name
inline const QString kWhyNoRow = QStringLiteral("رديف مرتبط اين متقاضي در اين بانک اطلاعاتي يافت نشد: ");
// followed by the table's name
inline const QString kWhyDangling = QStringLiteral("رديفي از اطلاعات وابسته به رديفي اشاره مي کند که منتقل نمي شود: ");
// followed by table.column
inline const QString kWhyBadValue = QStringLiteral("مقدار نادرست يا بلندتر از حد مجاز در ");

// Activity-log comment: followed by the registration code, the number of applicants
// transferred and the number refused.
inline const QString kTransferLog = QStringLiteral(" انتقال اطلاعات متقاضيان از بانک اطلاعاتي ديگر کد ثبت ");

} // namespace tavrin::maintext
