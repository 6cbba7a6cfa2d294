#pragma once
// Fixed texts of the applicant documents: setting keys, words the documents
// print, questions and input boxes.
#include <QString>

namespace tavrin::formtext {

#define T(name, text) inline const QString name = QStringLiteral(text)

// Setting keys of the selling office and officers.
T(kEghtesadi, "کد اقتصادي");
T(kShenaseMeli, "شناسه ملي");
T(kNorvadAdr, "آدرس نورواد");
T(kNorvadPhone, "تلفن نورواد");
T(kModirKol, "مدير کل");
T(kModirCity, "مدير شهرستان");
T(kOstanWord, "استان");
T(kCityWord, "شهرستان");
T(kMoavenMaskan, "معاون مسکن شهري");
T(kModirForosh, "مدير فروش پروژه");
T(kOffices, "ادارات");

// Words the documents print.
T(kVilla, "ويلايي");
T(kLand, "زمين");
T(kFloorArea, "زيربناي مفيد");
T(kLegal, "حقوقي");
T(kNatural, "حقيقي");
T(kDownPayment, "پيش پرداخت");
T(kDelivery, "تحويل واحد");
T(kSana, "سامانه ثنا");
T(kHas, "دارد");
T(kPost, "پست سفارشي");
T(kShareCaption, "قدرالسهم");
T(kShareQuestion, "آيا ميخواهيد قدرالسهم چاپ شود؟");
T(kSpouse, "همسر");

// The trial contract's input boxes.
T(kSoratTitle, "Sorat Jalase");
T(kSoratPrompt, "صورتجلسه کميسيون معاملات");
T(kSoratPreset, "صورت جلسه کميسيون معاملات مورخ  1401/09/24");
T(kTabaghatTitle, "Bolok Tabaghat");
T(kTabaghatPrompt, "تعداد طبقات بلوک");
T(kVahedTitle, "Vahed Number");
T(kVahedPrompt, "تعداد واحد بلوک");
T(kSazeTitle, "Saze");
T(kSazePrompt, "سيستم سازه اي");
T(kSazePreset, "قالب تونلي");

// The offices window.
T(kEdaratCaption, "ادارات و سازمان ها");
T(kSazemanLabel, "نام سازمان/اداره:");
T(kEmzaLabel, "امضا کننده:");
T(kEmtiyazLabel, "امتياز دريافتي:");
T(kEmtiyazInitial, "زمين/واحد مسکوني/انشعاب");
T(kShowLetter, "مشاهده نامه");
T(kNorvad, "نورواد");
T(kOldNameTitle, "Old Name");
T(kOldNamePrompt, "نام قديم");
T(kOldNamePreset, "---");

// Letters.
T(kBankTitle, "Bank Name");
T(kBankPrompt, "نام بانک");
T(kBankPreset, "مسکن");
T(kShobeTitle, "Shobe Name");
T(kShobePrompt, "نام شعبه");
T(kShobePreset, "مرکزي");
T(kNamayandeTitle, "Namayande");
T(kNamayandePrompt, "نماينده");
T(kNamayandePreset, "نماينده");
T(kOstanHeading, "نورواد استان");
T(kCityHeading, "نورواد شهرستان");
T(kOstanAddressee, "مدير کل محترم نورواد استان");
T(kCityAddressee, "مدير محترم نورواد شهرستان");
T(kTahvilDatTitle, "Date Tahvil");
T(kTahvilDatPrompt, "تاريخ حضور و تحويل");
T(kOstanMoavenTitle, "معاون مسکن شهري نورواد استان");
T(kCityModirTitle, "مدير نورواد شهرستان");
T(kBankContractPrompt, "نام بانک طرف قرارداد");
T(kBankNoTitle, "Bank Number");
T(kBankNoPrompt, "شماره قرارداد با بانک");
T(kBankDatTitle, "Bank Date");
T(kBankDatPrompt, "تاريخ قرارداد با بانک");
T(kBank2Prompt, "نام بانک وثيقه");
T(kShobeBankTitle, "Shobe Bank");
T(kShobeBankPrompt, "نام شعبه بانک");
T(kTahvilTypTitle, "Tahvil Type");
T(kTahvilTypPrompt, "نوع تحويل");
T(kTahvilTypPreset, "قطعي/موقت");
T(kDateTitle, "Date");
T(kSoodPrompt, "تاريخ محاسبه سود مشارکت");
T(kOstanSupport, "معاون محترم پشتيباني");
T(kCitySupport, "مسئول محترم پشتيباني");
T(kSharjTitle, "Mablagh Sharj");
T(kSharjPrompt, "مبلغ شارژ");
T(kSharjPreset, "500,000");
T(kVarizTitle, "Mablagh Variz");
T(kVarizPrompt, "واريزي اوليه");
T(kFaghedPrompt, "تاريخ فاقد واحد مسکوني");
// Document 15's notice.
T(kPeyroContract, "پيرو قرارداد شماره");
T(kMovarekh, "مورخ");
T(kSettleOn, "بمنظور تسويه حساب  وتحويل واحد در تاريخ");
T(kFromHour, "از ساعت");
T(kToHour, "الي");

#undef T

// This system's own.
inline const QString kNoPrice = QStringLiteral("قيمت واحد اين متقاضي ثبت نشده است؛ مبلغ کل و حروف آن خالي چاپ مي شود");
inline const QString kReadFailed = QStringLiteral("خطا! اطلاعات متقاضي براي چاپ خوانده نشد");
inline const QString kPdfTitle = QStringLiteral("ذخيره همه صفحات قرارداد در فايل PDF");
inline const QString kPdfQuestion = QStringLiteral("همه صفحات قرارداد در يک فايل PDF هم ذخيره شود؟");
inline const QString kPdfSaved = QStringLiteral("فايل PDF ذخيره شد");
inline const QString kPdfFailed = QStringLiteral("خطا! فايل PDF نوشته نشد");

} // namespace tavrin::formtext
