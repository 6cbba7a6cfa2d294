#pragma once
// The check of the texts a save writes.  The schema knows every text
// column's declared length; SQLite would store a longer text whole and the
// servers refuse it with a failure no user can act on.  A text with a
// character no database stores (a lone surrogate, a NUL) would fail the
// statement.  So every save hands its texts to checkTextLengths before
// writing, and refuses the first such text with a message naming the field:
//
//     if (auto r = checkTextLengths("phone", {{"name", name, reftext::kName},
//                                             {"tel", tel, reftext::kTel}}))
//         return refuse(r->message, r->field);
#include <QList>
#include <QString>

#include <optional>

namespace tavrin {

// One text a save writes to a column: the value, the caption the user knows
// the field by, and the object name of the field a refusal focuses (the
// column's name when empty).
struct ColumnText {
    QString column;
    QString value;
    QString caption;
    QString field = {};
};

// The same with its table, for a save that writes several tables.
struct TextField {
    QString table;
    ColumnText text;
};

// A save's refusal: the message to show and the field to focus.
struct FieldRefusal {
    QString message;
    QString field;
};

// The first text (in the order given) that cannot be stored as it is (a NUL
// character or a lone surrogate, see storableText) or is longer than its
// column, or nothing.  The length of a column the schema does not know, or
// of one that is not text, is not checked.  Lengths count UTF-16 code units,
// as the fields' maximum lengths do (never fewer than the characters the
// servers count).
std::optional<FieldRefusal> checkTextLengths(const QList<TextField>& texts);

// The same for texts of one table.
std::optional<FieldRefusal> checkTextLengths(const QString& table, const QList<ColumnText>& texts);

// "خطا! طول <caption> بيش از حد مجاز است (حداکثر <n> حرف)"
QString tooLongMessage(const QString& caption, int maxLength);
// "خطا! <caption> حرفي دارد که قابل ذخيره نيست"
QString unstorableMessage(const QString& caption);

} // namespace tavrin
