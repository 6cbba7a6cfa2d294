#pragma once
// The fixed texts of the messages, news and attachments windows: captions,
// messages and the descriptions other windows look attachments up by,
// character for character as the program shows and stores them (Arabic and
// Persian yeh and kaf forms, leading and trailing blanks included).
// Generated; do not retype these texts.
#include <QString>

namespace tavrin::commtext {

inline const QString kPayamMenu = QStringLiteral("پيام");
inline const QString kPayamMenuUnread = QStringLiteral("پيام*");
inline const QString kUnreadNotice = QStringLiteral("شما اين تعداد پيام ناخوانده داريد ");
inline const QString kPayamCaption = QStringLiteral("تبادل پيام");
inline const QString kTazehaCaption = QStringLiteral("تازه ها");
inline const QString kTazehaInsCaption = QStringLiteral("ثبت/ويرايش تازه");
inline const QString kFerestande = QStringLiteral("فرستنده");
inline const QString kSendDat = QStringLiteral("تاريخ ارسال");
inline const QString kShowDat = QStringLiteral("تاريخ ملاحظه");
inline const QString kMozo = QStringLiteral("موضوع");
inline const QString kGirande = QStringLiteral("گيرنده");
inline const QString kSubjectsKey = QStringLiteral("موضوع پيام");
inline const QString kCmtLabel = QStringLiteral("متن پيام");
inline const QString kAllRecipients = QStringLiteral("گروه گيرندگان پيام");
inline const QString kSend = QStringLiteral("ارسال");
inline const QString kMarkRead = QStringLiteral("خوانده شد");
inline const QString kHazf = QStringLiteral("حذف");
inline const QString kSenderDetails = QStringLiteral("فرستنده پيام");
inline const QString kRecipientDetails = QStringLiteral("گيرنده پيام");
inline const QString kDeleteAllRead = QStringLiteral("حذف تمام خوانده شده ها");
inline const QString kDeleteSelected = QStringLiteral("حذف انتخاب شده ها");
inline const QString kPayamNote = QStringLiteral("تذكر مهم: هر پيامي را كه ملاحظه كرديد تيك ملاحظه شد را با كليك راست اعمال نماييد");
inline const QString kSabt = QStringLiteral("ثبت");
inline const QString kVirayesh = QStringLiteral("ويرايش");
inline const QString kBastan = QStringLiteral("بستن");
inline const QString kNewsDates = QStringLiteral("تاريخ تازه ها");
inline const QString kTa = QStringLiteral("تا");
inline const QString kSearch = QStringLiteral("جستجو");
inline const QString kDat = QStringLiteral("تاريخ");
inline const QString kMatn = QStringLiteral("متن");
inline const QString kDoNotShowAgain = QStringLiteral("اين صفحه تا زمان نيامدن تازه جديد ديگر نمايش داده نشود");
inline const QString kNewsText = QStringLiteral("متن تازه");
inline const QString kSent = QStringLiteral("ارسال انجام شد");
inline const QString kAdminOnlyDelete = QStringLiteral("حذف فقط توسط مدير سيستم قابل انجام است");
inline const QString kDeleted = QStringLiteral("حذف شد");
inline const QString kNoNewsAccess = QStringLiteral("شما دسترسي به صفحه تازه ها را نداريد");
inline const QString kZamaemCaption = QStringLiteral("ضمائم");
inline const QString kNewestVersion = QStringLiteral("آخرين نسخه نرم افزار");
inline const QString kFontHelp = QStringLiteral("راهنمايي حل مشکل نمايش فونت ها");
inline const QString kZamaemCmt = QStringLiteral("شرح ضميمه");
inline const QString kZamaemRamz = QStringLiteral("رمز ضميمه جهت دسترسي");
inline const QString kZamaemType = QStringLiteral("فرمت ضميمه");
inline const QString kZamaemBrowse = QStringLiteral("انتخاب و ثبت ضميمه (Browse)");
inline const QString kClickToSave = QStringLiteral("*جهت ذخيره هر ضميه بر روي آن كليك نماييد");
inline const QString kRightClickToDelete = QStringLiteral("*جهت حذف هر مورد بر روي آن کليک راست نماييد.");
inline const QString kSignature = QStringLiteral("تصوير امضاء وام");
inline const QString kDupDescription = QStringLiteral("شرح ضميمه تكراري است");
inline const QString kEmptyDescription = QStringLiteral("خطا، ابتدا شرح ضميمه را وارد نماييد");
inline const QString kRebuildSignature = QStringLiteral("تصوير امضاء وام بازسازي");
inline const QString kJpegOnly = QStringLiteral("خطا! پسوند تصاوير نمونه امضا مي بايست با فرمت مقابل باشد JPEG ");
inline const QString kRebuildReport = QStringLiteral("فايل گزارش باركد وام بازسازي");
inline const QString kRavOnly = QStringLiteral("خطا! پسوند فايل گزارش مي بايست با فرمت مقابل باشد .rav ");
inline const QString kSaved = QStringLiteral("ثبت شد");
inline const QString kNothingSent = QStringLiteral("هيچ پيامي ارسال نشد");
inline const QString kNothingDeleted = QStringLiteral("موردي حذف نشد");

// Texts of this system's own.
inline const QString kRecipientFilter = QStringLiteral("فيلتر فهرست پيام ها");

} // namespace tavrin::commtext
