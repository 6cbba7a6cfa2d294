#include "fieldcheck.h"

#include "db/schema.h"

namespace tavrin {

QString tooLongMessage(const QString& caption, int maxLength)
{
    return QStringLiteral("خطا! طول %1 بيش از حد مجاز است (حداکثر %2 حرف)").arg(caption).arg(maxLength);
}

std::optional<FieldRefusal> checkTextLengths(const QList<TextField>& texts)
{
    for (const auto& [tableName, t] : texts) {
        const TableDef* table = schema().table(tableName);
        const ColumnDef* column = table ? table->column(t.column) : nullptr;
        Q_ASSERT_X(column, "checkTextLengths", qPrintable(tableName + '.' + t.column));
        if (!column || column->type != ColType::Text || column->length <= 0)
            continue;
        if (t.value.size() > column->length)
            return FieldRefusal{tooLongMessage(t.caption, column->length), t.field.isEmpty() ? t.column : t.field};
    }
    return std::nullopt;
}

std::optional<FieldRefusal> checkTextLengths(const QString& table, const QList<ColumnText>& texts)
{
    QList<TextField> all;
    all.reserve(texts.size());
    for (const ColumnText& t : texts)
        all.append({table, t});
    return checkTextLengths(all);
}

} // namespace tavrin
