#pragma once
// Messages of the reference windows that are this program's own (the failure
// messages of actions and the checks added to the entry fields).
#include <QString>

namespace tavrin::refmsg {

// A database failure while saving, changing, deleting, searching, importing.
inline const QString kSaveFailed = QStringLiteral("خطا در ثبت اطلاعات");
inline const QString kEditFailed = QStringLiteral("خطا در ويرايش اطلاعات");
inline const QString kDeleteFailed = QStringLiteral("خطا در حذف اطلاعات");
inline const QString kReadFailed = QStringLiteral("خطا در خواندن اطلاعات");
inline const QString kImportFailed = QStringLiteral("خطا در انتقال اطلاعات، اطلاعات قبلي بدون تغيير باقي ماند");

// A settings value was entered without choosing its key.
inline const QString kNoKey = QStringLiteral("لطفا عنوان اطلاعات را انتخاب نماييد");
// The phone book refuses an entry without a name (the list never shows one).
inline const QString kEmptyName = QStringLiteral("لطفا نام را وارد نماييد");
// A settlement needs its code (it identifies the row).
inline const QString kEmptyCod = QStringLiteral("لطفا کد آبادي را وارد نماييد");
// A rename needs a new name.
inline const QString kEmptyNewName = QStringLiteral("نام جديد وارد نشده است، تغييري انجام نشد");
// Rows of a spreadsheet that cannot be imported: followed by the row number.
inline const QString kBadRowEmpty = QStringLiteral("خطا! استان يا شهرستان خالي است، رديف ");
inline const QString kBadRowLong = QStringLiteral("خطا! طول متن بيش از حد مجاز است، رديف ");
// A cell of a spreadsheet whose value cannot be read (an error value, a
// formula without its stored result): %1 is the cell ("B7").
inline const QString kBadCell = QStringLiteral("خطا! مقدار خانه %1 فايل اکسل خوانده نشد (خطا يا فرمول بدون مقدار)، هيچ رديفي منتقل نشد");
// A spreadsheet without a single settlement.
inline const QString kNoRows = QStringLiteral("فايل اکسل هيچ رديفي ندارد");
// Choose a spreadsheet before replacing the table with it.
inline const QString kNoFile = QStringLiteral("لطفا ابتدا فايل اکسل را انتخاب نماييد");

} // namespace tavrin::refmsg
