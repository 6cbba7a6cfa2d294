#include "connect.h"

#include "server_u.h"

#include "common/dialogs.h"
#include "common/windows.h"
#include "db/installer.h"
#include "maintenance/install.h"

#include <QDir>
#include <QFileInfo>

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

// A value inside Persian text keeps its own left-to-right order.
QString leftToRight(const QString& v)
{
    return QChar(0x2066) + v + QChar(0x2069);
}

// Whether the embedded data file holds the organisation's work already.
bool holdsWork(Database& db)
{
    return db.scalar(QStringLiteral("select case when exists (select 1 from projects) or exists (select 1 from customers)"
                                    " or exists (select 1 from pishsabt) then 1 else 0 end"))
               .toInt() == 1;
}

// "Internet" is about to open an embedded data file without work in it while
// the user has connection settings stored: asks whether to go on.
bool confirmEmptyEmbedded()
{
    const connection::Resolved stored = connection::resolve(connection::Choice::Local);
    if (stored.problem == connection::Problem::NoStoredSettings)
        return true;
    // (the stored database on a line of its own: values in brackets inside
    // Persian text would be drawn out of order)
    const QString where = stored.params ? QStringLiteral("\nبانک اطلاعاتي ذخيره شده: ") + connectionCaption(*stored.params)
                                        : QString();
    return dialogs().question(QStringLiteral("براي شما تنظيمات اتصال به بانک اطلاعاتي ذخيره شده است، ولي با گزينه "
                                             "Internet فايل تنظيمات اتصال سيستم يافت نشد و بانک اطلاعاتي خالي داخل "
                                             "همين کامپيوتر باز مي شود؛ اطلاعاتي که در آن ثبت شود به بانک اطلاعاتي "
                                             "ذخيره شده نمي رسد. براي کار با آن گزينه Local را انتخاب نماييد.") +
                                  where + QStringLiteral("\nآيا بانک اطلاعاتي خالي داخلي باز شود؟"),
                              Buttons::YesNo, MsgKind::Warning) == Answer::Yes;
}
} // namespace

QString connectionCaption(const ConnectionParams& p)
{
    switch (p.backend) {
    case Backend::SQLite:
        return QStringLiteral("SQLite، فايل ") + leftToRight(QDir::toNativeSeparators(p.server));
    case Backend::PostgreSQL:
        return QStringLiteral("PostgreSQL، سرور ") + leftToRight(p.server) + QStringLiteral("، بانک ") +
               leftToRight(p.database);
    case Backend::SqlServer:
        return QStringLiteral("SQL Server، سرور ") + leftToRight(p.server) + QStringLiteral("، بانک ") +
               leftToRight(p.database);
    }
    return {};
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
        const bool embedded = p.backend == Backend::SQLite && p.server == connection::embeddedDataFile();
        const bool existed = QFileInfo::exists(p.server);
        // A new embedded file is asked about before it is created.
        if (embedded && !existed && !confirmEmptyEmbedded())
            return false;
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
        if (embedded && existed) {
            bool work = true;
            try {
                work = holdsWork(dm());
            } catch (const DbError&) {
                // The driver's text is in the log; the login's own reads report it.
            }
            if (!work && !confirmEmptyEmbedded()) {
                setDm(nullptr);
                return false;
            }
        }
        connection::rememberChoice(choice);
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
    if (openDm(params)) {
        connection::rememberChoice(choice);
        return true;
    }
    dialogs().warning(r.params->backend == Backend::SQLite ? kAccessMissing : kServerFailed);
    showSettings();
    return false;
}

} // namespace tavrin
