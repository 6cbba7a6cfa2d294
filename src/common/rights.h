#pragma once
// Per-page rights of the logged-in user (the dastrasi rows).
#include <QString>

#include <functional>
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

// The rights of a page the user is opening: read (a failed read shows
// readFailed), handed to apply (a window's applyRights: also without the view
// right, so that a kept window does not keep a previous user's rights) and
// returned with the view right.  Without a rights row or the view right the
// no-access warning is shown and nothing is returned.
std::optional<Rights> pageRights(const QString& pageKey, const std::function<void(const Rights&)>& apply = {},
                                 const QString& readFailed = noAccessMessage());

} // namespace tavrin
