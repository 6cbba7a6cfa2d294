#include "connect.h"

#include "server_u.h"

#include "common/dialogs.h"
#include "common/windows.h"
#include "db/installer.h"
#include "admin/rights_templates.h"
#include "reference/divisions.h"

namespace tavrin {

namespace {
connection::Choice g_choice = connection::Choice::Internet;

const QString kInternetFailed = QStringLiteral("از اتصال خود به اينترنت مطمئن شويد");
const QString kAccessMissing = QStringLiteral("فايل اكسس يافت نشد");
const QString kServerFailed =
    QStringLiteral("تنظيمات اتصال به بانک اطلاعاتي اشتباه انجام شده است، لطفا با مدير شبکه تماس حاصل کنيد");
// Integrated Windows login has no meaning on this system.
const QString kWindowsLogin = QStringLiteral("اتصال با حساب کاربري ويندوز در اين نسخه پشتيباني نمي شود؛ لطفا نحوه اتصال را تغيير دهيد");

QString noSettingsMessage()
{
    return QStringLiteral("لطفا") + QChar('"') + QChar(' ') +
           QStringLiteral("ابتدا تنظيمات اتصال به بانک اطلاعاتي را انجام دهيد");
}

bool openDm(const ConnectionParams& p)
{
    auto db = std::make_unique<Database>(p);
    if (!db->open())
        return false;
    setDm(std::move(db));
    return true;
}

void showSettings()
{
    window<Tserver>().showModal();
}
} // namespace

InstallReport installDatabase(Database& db)
{
    InstallReport r = installSchema(db);
    // A new database: its administrator can open every page at once.  The
    // rows of an existing database are left as they are.
    if (r.ok && r.actions.contains(QStringLiteral("created table dastrasi"))) {
        try {
            if (const int n = seedFirstUse(db); n > 0)
                r.actions << QStringLiteral("added %1 first-use rights and list rows").arg(n);
        } catch (const DbError& e) {
            r.ok = false;
            r.failedStep = QStringLiteral("first-use rights");
            r.error = e.driverText;
        }
    }
    if (r.ok && r.actions.contains(QStringLiteral("created table abadiha"))) {
        try {
            const int n = seedStarterDivisions(db);
            if (n > 0)
                r.actions << QStringLiteral("added %1 starter divisions").arg(n);
        } catch (const DbError& e) {
            r.ok = false;
            r.failedStep = QStringLiteral("starter divisions");
            r.error = e.driverText;
        }
    }
    return r;
}

connection::Choice currentChoice()
{
    return g_choice;
}

void setCurrentChoice(connection::Choice c)
{
    g_choice = c;
}

bool connectProcedure(connection::Choice choice, bool showSettingsWhenMissing, bool forInstaller)
{
    setDm(nullptr);
    if (choice == connection::Choice::Internet) {
        const ConnectionParams p = connection::builtIn();
        if (!openDm(p)) {
            dialogs().warning(kInternetFailed);
            return false;
        }
        // The embedded data file sets itself up on first use (and after an update).
        if (p.backend == Backend::SQLite) {
            const InstallReport r = installDatabase(dm());
            if (!r.ok) {
                qCWarning(lcDb) << "installing the embedded database failed:" << r.failedStep << r.error;
                setDm(nullptr);
                dialogs().warning(kInternetFailed);
                return false;
            }
        }
        return true;
    }
    const connection::Resolved r = connection::resolve(choice);
    switch (r.problem) {
    case connection::Problem::NoStoredSettings:
        dialogs().warning(noSettingsMessage());
        if (showSettingsWhenMissing)
            showSettings();
        return false;
    case connection::Problem::WindowsLogin:
        dialogs().warning(kWindowsLogin);
        showSettings();
        return false;
    case connection::Problem::UnknownAuthentication:
        dialogs().warning(kServerFailed);
        showSettings();
        return false;
    case connection::Problem::None:
        break;
    }
    ConnectionParams params = *r.params;
    if (forInstaller && params.backend == Backend::SQLite)
        params.createIfMissing = true;
    if (openDm(params))
        return true;
    dialogs().warning(r.params->backend == Backend::SQLite ? kAccessMissing : kServerFailed);
    showSettings();
    return false;
}

} // namespace tavrin
