#include "fieldcheck.h"

#include "db/database.h"
#include "db/schema.h"

namespace tavrin {

QString tooLongMessage(const QString& caption, int maxLength)
{
    return QStringLiteral("خطا! طول %1 بيش از حد مجاز است (حداکثر %2 حرف)").arg(caption).arg(maxLength);
}

QString unstorableMessage(const QString& caption)
{
    return QStringLiteral("خطا! %1 حرفي دارد که قابل ذخيره نيست").arg(caption);
}

std::optional<FieldRefusal> checkTextLengths(const QList<TextField>& texts)
{
    for (const auto& [tableName, t] : texts) {
        const TableDef* table = schema().table(tableName);
        const ColumnDef* column = table ? table->column(t.column) : nullptr;
        Q_ASSERT_X(column, "checkTextLengths", qPrintable(tableName + '.' + t.column));
        const QString field = t.field.isEmpty() ? t.column : t.field;
        // Refused here, the text is not silently changed or the whole save
        // failed by the database.
        if (!storableText(t.value))
            return FieldRefusal{unstorableMessage(t.caption), field};
        if (!column || column->type != ColType::Text || column->length <= 0)
            continue;
        if (t.value.size() > column->length)
            return FieldRefusal{tooLongMessage(t.caption, column->length), field};
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
