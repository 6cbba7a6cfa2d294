#pragma once
// The logged-in identity, set once by the login and read by every window.
#include <QString>
#include <QStringList>

namespace tavrin {

struct Session {
    qint64 prsId = 0;     // users.id
    QString karbar;       // users.us as stored
    QString level;        // users.lev: "admin", "keshvar", "ostan" or "city"
    QString ostan;        // users.ostan
    QString nam;          // users.nam
    QString sabtCod;      // the general setting "کد ثبت"

    bool isAdminLevel() const { return level == QLatin1String("admin"); }
    bool isProvincialOrCounty() const { return level == QLatin1String("ostan") || level == QLatin1String("city"); }
};

Session& session();

// The user levels as users.lev stores them, in the order pick lists offer
// them: "ostan", "city", "keshvar", "admin".
const QStringList& userLevels();
// A level as windows and lists show it ("استاني" for "ostan"); a stored text
// that is no level is shown as it is.  The stored values never change.
QString levelCaption(const QString& level);

} // namespace tavrin
