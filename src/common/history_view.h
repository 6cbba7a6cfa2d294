#pragma once
// What the record-history window ("سابقه تغييرات") needs from the
// windows below it: the captions of the tables and fields the history names
// (each folder's windows register their own field tables, so that a field
// reads as it does in its window), the page right that opens it, and the
// opener the lists call from their pop-up menus (the window lives in admin/,
// above the project and pre-registration windows; app/ registers it).
#include <QList>
#include <QPair>
#include <QString>

class QAction;
class QMenu;

#include <functional>
#include <utility>

namespace tavrin::history {

// The page key of the window's rights (dastrasi.page_name).
inline constexpr auto kPageKey = "taghirat";
// The window's caption, also the caption of its pop-up entries.
QString windowCaption();

// The caption of a table and of its fields (column -> caption).  A later
// registration of a field keeps the first caption.
void registerCaptions(const QString& table, const QString& tableCaption,
                      const QList<QPair<QString, QString>>& fields = {});
// The same from a field table of fixed UTF-8 texts (column, caption).
template <class Pairs>
void registerUtf8Captions(const QString& table, const QString& tableCaption, const Pairs& pairs)
{
    QList<QPair<QString, QString>> fields;
    for (const auto& [column, caption] : pairs)
        fields.append({QString::fromUtf8(column), QString::fromUtf8(caption)});
    registerCaptions(table, tableCaption, fields);
}
// The table's caption, its name when none was registered.
QString tableCaption(const QString& table);
// The field's caption in its table's windows, its column name when it has none.
QString fieldCaption(const QString& table, const QString& field);
// A stored value as the window shows it: an amount (a money column's whole
// or decimal number) with "," between groups of three, as the windows show
// amounts; every other value as stored.
QString shownValue(const QString& table, const QString& field, const QString& stored);
// The stored action (history::kInsert ...) in words.
QString actionCaption(const QString& action);

// Opens the history of one record (table, id) with a line naming it (the
// applicant's name, the unit's identifier) after checking the page right.
using WindowOpener = std::function<void(const QString& table, qint64 id, const QString& label)>;
void setWindowOpener(WindowOpener open);
bool canOpenWindow();
void openWindow(const QString& table, qint64 id, const QString& label = {});

// The record a list's pop-up entry opens: none while `id` is 0.
struct RecordRef {
    QString table;
    qint64 id = 0;
    QString label;
};
// Adds a list's pop-up entry "سابقه تغييرات" (object name "taghirat_mnu"),
// enabled while the window can be opened (checked as the menu shows), that
// opens the history of the record `current` names.
QAction* addWindowEntry(QMenu* popup, std::function<RecordRef()> current);

} // namespace tavrin::history
