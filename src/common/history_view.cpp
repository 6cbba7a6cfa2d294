#include "history_view.h"

#include "history.h"
#include "monedit.h"

#include "db/schema.h"

#include <QAction>
#include <QHash>
#include <QMenu>

namespace tavrin::history {

namespace {
struct Captions {
    QHash<QString, QString> tables;
    QHash<QString, QString> fields;   // "table.column" -> caption
};

Captions& captions()
{
    static Captions c;
    return c;
}

WindowOpener& opener()
{
    static WindowOpener open;
    return open;
}
} // namespace

QString windowCaption()
{
    return QStringLiteral("سابقه تغييرات");
}

void registerCaptions(const QString& table, const QString& tableCaption, const QList<QPair<QString, QString>>& fields)
{
    Captions& c = captions();
    if (!tableCaption.isEmpty())
        c.tables.insert(table, tableCaption);
    for (const auto& [column, caption] : fields) {
        const QString key = table + QLatin1Char('.') + column;
        // Captions end with ":" in some forms; the history shows the bare word.
        QString shown = caption.trimmed();
        while (shown.endsWith(QLatin1Char(':')))
            shown.chop(1);
        if (!c.fields.contains(key) && !shown.isEmpty())
            c.fields.insert(key, shown.trimmed());
    }
}

QString tableCaption(const QString& table)
{
    return captions().tables.value(table, table);
}

QString shownValue(const QString& table, const QString& field, const QString& stored)
{
    const TableDef* t = schema().table(table);
    const ColumnDef* c = t ? t->column(field) : nullptr;
    if (!c || c->type != ColType::Money)
        return stored;
    const qsizetype point = stored.indexOf(QLatin1Char('.'));
    bool ok = false;
    const qint64 whole = stored.left(point < 0 ? stored.size() : point).toLongLong(&ok);
    if (!ok || (whole == 0 && stored.startsWith(QLatin1Char('-'))))
        return stored;
    return formatAmount(whole) + (point < 0 ? QString() : stored.mid(point));
}

QString fieldCaption(const QString& table, const QString& field)
{
    return captions().fields.value(table + QLatin1Char('.') + field, field);
}

QString actionCaption(const QString& action)
{
    if (action == QLatin1String(kInsert))
        return QStringLiteral("ثبت");
    if (action == QLatin1String(kEdit))
        return QStringLiteral("ويرايش");
    if (action == QLatin1String(kDelete))
        return QStringLiteral("حذف");
    return action;
}

void setWindowOpener(WindowOpener open)
{
    opener() = std::move(open);
}

bool canOpenWindow()
{
    return bool(opener());
}

void openWindow(const QString& table, qint64 id, const QString& label)
{
    if (opener())
        opener()(table, id, label);
}

QAction* addWindowEntry(QMenu* popup, std::function<RecordRef()> current)
{
    QAction* entry = popup->addAction(windowCaption());
    entry->setObjectName(QStringLiteral("taghirat_mnu"));
    entry->setEnabled(canOpenWindow());
    QObject::connect(popup, &QMenu::aboutToShow, entry, [entry] { entry->setEnabled(canOpenWindow()); });
    QObject::connect(entry, &QAction::triggered, entry, [current = std::move(current)] {
        const RecordRef r = current();
        if (r.id > 0)
            openWindow(r.table, r.id, r.label);
    });
    return entry;
}

} // namespace tavrin::history
