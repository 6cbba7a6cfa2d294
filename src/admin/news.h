#pragma once
// News items (tazeha) for every user: the list with its date range, adding,
// editing and deleting items, the "do not show again" mark (tazeha_readed) and
// the check after login for items the user has not seen.
#include "common/listquery.h"

#include <QString>

#include <optional>

namespace tavrin::news {

struct Item {
    QString dat, mozo, msg;
};

// Newest first; with dates, only items from `from` to `to` (both included,
// compared as Jalali date texts).
ListQuery listQuery(const std::optional<std::pair<QString, QString>>& dates = std::nullopt);

// Checks an item before it is written: the refusal to show (empty when it is
// fine) and the field it concerns ("dat", "mozo").
QString refuse(const Item& item, QString* field = nullptr);

// Each throws DbError; the item must have passed refuse().
qint64 insertItem(const Item& item);
// False when the item is gone meanwhile.
bool updateItem(qint64 id, const Item& item);
bool deleteItem(qint64 id);
std::optional<Item> readItem(qint64 id);

// The user asked not to see the news again until a newer item comes: one
// tazeha_readed row per user, holding the day of the request.
void dismiss(qint64 prsId, const QString& today);
// Whether an item dated after the user's last dismissal exists (any dated item
// when he never dismissed the news).
bool hasUnseen(qint64 prsId);
// The one statement hasUnseen runs (one value bound: the user's id; answers 1
// or 0), for a caller that reads it together with other values.
QString unseenQuery();

extern const QString kDateIncomplete;
extern const QString kNeedTitle;
extern const QString kItemMissing;  // the edited item was deleted meanwhile
extern const QString kSaveFailed;
extern const QString kDeleteFailed;
extern const QString kSearchFailed;

} // namespace tavrin::news
