#pragma once
// The fixed texts of the facilities window and the unit-loan window: captions,
// notes, the contract types the form knows, and the messages of their checks.
// Every text is exactly what the user sees or what is stored, blanks included.
#include <QString>

namespace tavrin::factext {

inline const QString kFacilitiesCaption = QString::fromUtf16(u"تسهيلات پروژه");
inline const QString kLoansCaption = QString::fromUtf16(u"تسهيلات يک واحد");
inline const QString kSupportive = QString::fromUtf16(u"حمايتي");
inline const QString kCivilPartnership = QString::fromUtf16(u"مشارکت مدني");
inline const QString kProtTypCaption = QString::fromUtf16(u"نوع قرارداد");
inline const QString kSettingContractType = QString::fromUtf16(u"نوع قرارداد تسهيلات");
inline const QString kBankCaption = QString::fromUtf16(u"نام بانک");
inline const QString kSettingBank = QString::fromUtf16(u"بانک");
inline const QString kEtebarLocCaption = QString::fromUtf16(u"نوع اعتبار");
inline const QString kSettingCreditSource = QString::fromUtf16(u"محل اعتبار");
inline const QString kMablaghCaption = QString::fromUtf16(u"مبلغ کل تسهيلات/اعتبار");
inline const QString kRial = QString::fromUtf16(u"(بريال)");
inline const QString kDaryaftiCaption = QString::fromUtf16(u"مبلغ دريافتي ");
inline const QString kTakhsisDatCaption = QString::fromUtf16(u"تاريخ تخصيص اعتبار");
inline const QString kDat1Caption = QString::fromUtf16(u"تاريخ شروع/دريافت ");
inline const QString kDat2Caption = QString::fromUtf16(u"تاريخ خاتمه");
inline const QString kTamdidDatCaption = QString::fromUtf16(u"تاريخ آخرين تمديد");
inline const QString kDarsadCaption = QString::fromUtf16(u"درصد وام");
inline const QString kVahedCntCaption = QString::fromUtf16(u"تعداد واحد");
inline const QString kCmtCaption = QString::fromUtf16(u"توضيحات");
inline const QString kOstanCaption = QString::fromUtf16(u"مربوط به استان");
inline const QString kUsedNote = QString::fromUtf16(u"*روي هر رديف در جدول بالا کليک نماييد تا جمع تسهيلات استفاده شده از آن را مشاهده نماييد:");
inline const QString kRemainingCaption = QString::fromUtf16(u"مانده اعتبار:");
inline const QString kReceivedNote = QString::fromUtf16(u"*تذکر مهم: فيلد مبلغ دريافتي ملاک ميزان اعتبار/تسهيلات است.بنابراين ممکن است شما مبلغ کل اعتبار/تسهيلات و تاريخ تخصيص را داشته باشيد اما هنوز دريافتي نداشته باشيد");
inline const QString kColDaryafti = QString::fromUtf16(u"مبلغ دريافتي");
inline const QString kColTakhsisDat = QString::fromUtf16(u"تاريخ تخصيص");
inline const QString kColDat1 = QString::fromUtf16(u"تاريخ شروع/دريافت");
inline const QString kColDarsad = QString::fromUtf16(u"درصد");
inline const QString kColTamdidDat = QString::fromUtf16(u"تاريخ تمديد");
inline const QString kPrjNameCaption = QString::fromUtf16(u"نام پروژه");
inline const QString kBolokCaption = QString::fromUtf16(u"بلوک");
inline const QString kShenaseCaption = QString::fromUtf16(u"شناسه واحد");
inline const QString kColLoanAmount = QString::fromUtf16(u"مبلغ تسهيلات");
inline const QString kInsert = QString::fromUtf16(u"ثبت");
inline const QString kEdit = QString::fromUtf16(u"ويرايش");
inline const QString kDelete = QString::fromUtf16(u"حذف");
inline const QString kExcel = QString::fromUtf16(u"اکسل");
inline const QString kMablaghCaptionSupportive = QString::fromUtf16(u"مبلغ کل اعتبار");
inline const QString kDat1CaptionSupportive = QString::fromUtf16(u"تاريخ دريافت اعتبار");
inline const QString kMablaghCaptionPartnership = QString::fromUtf16(u"مبلغ کل تسهيلات");
inline const QString kDat1CaptionPartnership = QString::fromUtf16(u"تاريخ شروع");
inline const QString kTotalBelowReceived = QString::fromUtf16(u"خطا! مبلغ کل بايد از مبلغ دريافتي بيشتر يا مساوي باشد");
inline const QString kReceivedAboveTotal = QString::fromUtf16(u"خطا! مبلغ دريافتي بايد از مبلغ کل کمتر يا مساوي باشد");
inline const QString kBankRequired = QString::fromUtf16(u"خطا! نام بانک الزاميست");
inline const QString kProtTypRequired = QString::fromUtf16(u"خطا! نوع قرارداد الزاميست");
inline const QString kEtebarLocRequired = QString::fromUtf16(u"خطا! محل اعتبار الزاميست");
inline const QString kDuplicate = QString::fromUtf16(u"خطا! تکراري است");
inline const QString kMablaghNotNumber = QString::fromUtf16(u"خطا! مقدار مبلغ کل بايد عدد صحيح باشد");
inline const QString kDaryaftiNotNumber = QString::fromUtf16(u"خطا! مقدار مبلغ دريافتي بايد عدد صحيح باشد");
inline const QString kReceivedBelowUsed = QString::fromUtf16(u" خطا! مجموع مبالغ استفاده شده از اين وام در واحدها بيشتر از اين مبلغ دريافتي است و ميبايست مبلغ دريافتي را افزايش دهيد ");
inline const QString kDeleteRefused = QString::fromUtf16(u"خطا! بدليل آنکه از اين رديف تسهيلات در واحدها استفاده شده است، امکان حذف نيست");
inline const QString kExcelId = QString::fromUtf16(u"شناسه");
inline const QString kExcelMablagh = QString::fromUtf16(u"مبلغ واحد");
inline const QString kOnlyReceivedNote = QString::fromUtf16(u"تنها تسهيلاتي که مبلغ دريافتي دارند نشان داده مي شوند");
inline const QString kNoFacilityQuestion = QString::fromUtf16(u"تسهيلاتي انتخاب نشده است. بنابراين مبلغ وام صفر ميخورد. آيا ميخواهيد ادامه دهيد؟");
inline const QString kFacilityExhausted = QString::fromUtf16(u"خطا! مجموع تسهيلات ارائه شده از اين رديف اعتبار، از مبلغ دريافتي اعتبار/تسهيلات بيشتر شده است و امکان ارائه وام به اين واحد نيست");
inline const QString kAlreadyGiven = QString::fromUtf16(u"خطا! از اين رديف اعتبار قبلا براي اين واحد استفاده شده است");
inline const QString kLoanNotNumber = QString::fromUtf16(u"خطا! مقدار مبلغ وام بايد عدد صحيح باشد");

// Texts of this program's own (failures of the database, rows deleted meanwhile,
// values the form cannot take).
inline const QString kFacilitySaveFailed = QString::fromUtf16(u"خطا! ثبت تسهيلات انجام نشد");
inline const QString kFacilityDeleteFailed = QString::fromUtf16(u"خطا! حذف تسهيلات انجام نشد");
inline const QString kFacilityGone = QString::fromUtf16(u"خطا! اين رديف تسهيلات ديگر وجود ندارد");
// The facility's name in the refusal of a save another user overtook.
inline const QString kRecordName = QString::fromUtf16(u"رديف تسهيلات");
inline const QString kLoanSaveFailed = QString::fromUtf16(u"خطا! ثبت وام انجام نشد");
inline const QString kLoanDeleteFailed = QString::fromUtf16(u"خطا! حذف وام انجام نشد");
inline const QString kLoanGone = QString::fromUtf16(u"خطا! اين وام ديگر وجود ندارد");
inline const QString kUnitGone = QString::fromUtf16(u"خطا! اين واحد ديگر وجود ندارد");
inline const QString kProjectGone = QString::fromUtf16(u"خطا! اين پروژه ديگر وجود ندارد");
inline const QString kListFailed = QString::fromUtf16(u"خطا! ليست خوانده نشد");
inline const QString kDarsadNotNumber = QString::fromUtf16(u"خطا! مقدار درصد وام بايد عدد صحيح يا اعشاري باشد");
inline const QString kVahedCntNotNumber = QString::fromUtf16(u"خطا! تعداد واحد بايد عدد صحيح باشد");
// A text longer than its column.
inline QString tooLong(const QString& caption, int max)
{
    return QString::fromUtf16(u"خطا! ") + caption + QString::fromUtf16(u" حداکثر ") + QString::number(max) +
           QString::fromUtf16(u" حرف مي تواند داشته باشد");
}
// The placeholder the contract-type rules put into a field that does not apply.
inline const QString kNotApplicable = QStringLiteral("---");

} // namespace tavrin::factext
