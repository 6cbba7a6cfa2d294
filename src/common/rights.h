#pragma once
// Per-page rights of the logged-in user (the dastrasi rows).
#include <QString>

#include <optional>

namespace tavrin {

struct Rights {
    bool darj = false;      // insert
    bool virayesh = false;  // edit
    bool hazf = false;      // delete
    bool namayesh = false;  // view
};

// The rights row of the session's user for a page key; nothing when there is none.
std::optional<Rights> readRights(const QString& pageKey);
std::optional<Rights> readRights(qint64 prsId, const QString& pageKey);

// "شما دسترسي به اين صفحه را نداريد"
QString noAccessMessage();

} // namespace tavrin
