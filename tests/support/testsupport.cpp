#include "testsupport.h"

#include "cli/commands.h"
#include "common/activitylog.h"
#include "common/session.h"
#include "db/connection.h"
#include "db/installer.h"
#include "db/password.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>

#include <thread>

#include <sys/stat.h>

namespace tavrin::test {

Backend backendUnderTest()
{
    return qEnvironmentVariable("TAVRIN_TEST_BACKEND") == QLatin1String("pg") ? Backend::PostgreSQL : Backend::SQLite;
}

QString backendName()
{
    return backendUnderTest() == Backend::PostgreSQL ? QStringLiteral("pg") : QStringLiteral("sqlite");
}

QMap<QString, QString> pgServerInfo()
{
    QMap<QString, QString> info;
    QFile f(qEnvironmentVariable("TAVRIN_TEST_PGINFO"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("PostgreSQL test server not running (TAVRIN_TEST_PGINFO unreadable)");
    for (const QByteArray& line : f.readAll().split('\n')) {
        const int eq = line.indexOf('=');
        if (eq > 0)
            info[QString::fromUtf8(line.left(eq))] = QString::fromUtf8(line.mid(eq + 1)).trimmed();
    }
    return info;
}

Backend otherBackend()
{
    return backendUnderTest() == Backend::PostgreSQL ? Backend::SQLite : Backend::PostgreSQL;
}

ConnectionParams freshDatabaseParams()
{
    return freshDatabaseParams(backendUnderTest());
}

std::unique_ptr<Database> openFresh(const ConnectionParams& p, bool install)
{
    auto db = std::make_unique<Database>(p);
    QString why;
    if (!db->open(&why))
        qFatal("cannot open the test database: %s", qPrintable(why));
    if (install) {
        const InstallReport r = installSchema(*db);
        if (!r.ok)
            qFatal("schema install failed at %s: %s", qPrintable(r.failedStep), qPrintable(r.error));
    }
    return db;
}

ConnectionParams freshDatabaseParams(Backend backend)
{
    static int counter = 0;
    ++counter;
    ConnectionParams p;
    p.backend = backend;
    if (p.backend == Backend::SQLite) {
        static QTemporaryDir dir;
        p.server = dir.filePath(QStringLiteral("test%1.db").arg(counter));
        return p;
    }
    const auto info = pgServerInfo();
    p.server = info.value(QStringLiteral("HOST")) + ',' + info.value(QStringLiteral("PORT"));
    p.user = QStringLiteral("postgres");
    const QString name = QStringLiteral("t_%1_%2_%3")
                             .arg(QFileInfo(QCoreApplication::applicationFilePath()).baseName().toLower().remove(QRegularExpression(QStringLiteral("[^a-z0-9_]"))))
                             .arg(QCoreApplication::applicationPid())
                             .arg(counter);
    ConnectionParams admin = p;
    admin.database = QStringLiteral("postgres");
    Database maint(admin);
    QString why;
    if (!maint.open(&why))
        qFatal("cannot reach the PostgreSQL test server: %s", qPrintable(why));
    maint.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + name);
    maint.exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'").arg(name));
    p.database = name;
    return p;
}

Database& useFreshDatabase(bool install)
{
    setDm(nullptr);
    setDm(openFresh(freshDatabaseParams(), install));
    return dm();
}

void DialogRecorder::message(MsgKind kind, const QString& text, const QString& title)
{
    static const char* names[] = {"information", "warning", "error", "question"};
    shownOverProgress += progressOpen > 0;
    shown.append({QString::fromLatin1(names[int(kind)]), title, text});
}

Answer DialogRecorder::question(const QString& text, Buttons, MsgKind, const QString& title)
{
    shownOverProgress += progressOpen > 0;
    shown.append({QStringLiteral("question"), title, text});
    if (answers.empty())
        return Answer::Yes;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<QString> DialogRecorder::input(const QString& title, const QString& prompt, const QString& preset)
{
    shown.append({QStringLiteral("input"), title, prompt});
    if (inputs.empty())
        return preset;
    auto a = inputs.front();
    inputs.pop_front();
    return a;
}

std::optional<QString> DialogRecorder::password(const QString& title, const QString& prompt)
{
    shown.append({QStringLiteral("password"), title, prompt});
    if (inputs.empty())
        return std::nullopt;
    auto a = inputs.front();
    inputs.pop_front();
    return a;
}

QString DialogRecorder::openFile(const QString& title, const QString&, const QString&)
{
    shown.append({QStringLiteral("open"), title, {}});
    if (files.empty())
        return {};
    const QString f = files.front();
    files.pop_front();
    return f;
}

QString DialogRecorder::saveFile(const QString& title, const QString&, const QString& suggested)
{
    shown.append({QStringLiteral("save"), title, suggested});
    if (files.empty())
        return {};
    const QString f = files.front();
    files.pop_front();
    return f;
}

int DialogRecorder::exec(QDialog* window)
{
    shownOverProgress += progressOpen > 0;
    shown.append({QStringLiteral("window"), window->objectName(), window->windowTitle()});
    if (onExec)
        return onExec(window);
    return QDialog::Accepted;
}

void DialogRecorder::openWithDesktop(const QString& path)
{
    shown.append({QStringLiteral("desktop"), {}, path});
}

bool DialogRecorder::openWithDesktopProgram(const QString& path)
{
    shown.append({QStringLiteral("desktop"), {}, path});
    return desktopOpens;
}

std::unique_ptr<ProgressView> DialogRecorder::progress(const QString& label, qint64 total)
{
    struct Recorded final : ProgressView {
        DialogRecorder* r;
        explicit Recorded(DialogRecorder* recorder) : r(recorder) { ++r->progressOpen; }
        ~Recorded() override { --r->progressOpen; }
        bool advance(qint64 done) override
        {
            r->progressDone = done;
            return !(r->cancelProgressAt && done >= *r->cancelProgressAt);
        }
    };
    // Not among the shown dialogs: a progress dialog appears only when the
    // work lasts, and tests count the messages an action shows.
    Q_UNUSED(label);
    progressDone = 0;
    progressTotal = total;
    return std::make_unique<Recorded>(this);
}

void DialogRecorder::balloon(QWidget*, const QString& title, const QString& text)
{
    shown.append({QStringLiteral("balloon"), title, text});
}

void DialogRecorder::endProgram()
{
    shown.append({QStringLiteral("end"), {}, {}});
}

QStringList DialogRecorder::texts() const
{
    QStringList out;
    for (const Shown& s : shown)
        if (s.kind == QLatin1String("information") || s.kind == QLatin1String("warning") ||
            s.kind == QLatin1String("error") || s.kind == QLatin1String("question"))
            out << s.text;
    return out;
}

QString DialogRecorder::lastText() const
{
    const QStringList t = texts();
    return t.isEmpty() ? QString() : t.last();
}

void typeText(QWidget* w, const QString& text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

qint64 addUser(const QString& us, const QString& level, const QString& ostan,
               const QMap<QString, QString>& rights, const QStringList& counties, const QString& pass)
{
    Database& db = dm();
    const qint64 id = db.insert(QStringLiteral("users"),
                                {QStringLiteral("us"), QStringLiteral("ps"), QStringLiteral("ver"), QStringLiteral("lev"),
                                 QStringLiteral("ostan"), QStringLiteral("nam"), QStringLiteral("status")},
                                {us, password::hash(pass), QString(), level, ostan, QString(us + QStringLiteral(" name")),
                                 QStringLiteral("فعال")});
    for (auto it = rights.begin(); it != rights.end(); ++it) {
        const QString f = it.value();
        db.exec(QStringLiteral("insert into dastrasi (prs_id,page_name,darj,virayesh,hazf,namayesh) values (?,?,?,?,?,?)"),
                {id, it.key(), f[0] == '1', f[1] == '1', f[2] == '1', f[3] == '1'});
    }
    for (const QString& c : counties)
        db.exec(QStringLiteral("insert into dastrasi2 (user_id,cmt) values (?,?)"), {id, c});
    return id;
}

void loginAs(const QString& us)
{
    const auto row = dm().firstRow(QStringLiteral("select * from users where us=?"), {us});
    Q_ASSERT(row);
    Session& s = session();
    s = Session();
    s.prsId = row->value(QStringLiteral("id")).toLongLong();
    s.karbar = row->value(QStringLiteral("us")).toString();
    s.level = row->value(QStringLiteral("lev")).toString();
    s.ostan = row->value(QStringLiteral("ostan")).toString();
    s.nam = row->value(QStringLiteral("nam")).toString();
}

void whileAnotherUserHolds(const std::function<void(Database&)>& hold, const std::function<void()>& action, int holdMs)
{
    const ConnectionParams params = dm().params();
    QSemaphore holding;
    bool failed = false;
    std::thread other([&] {
        Database db(params);
        try {
            if (!db.open())
                throw DbError(QStringLiteral("second connection failed"), {});
            db.begin();
            hold(db);
        } catch (const DbError& e) {
            qWarning("the other user's transaction failed: %s", qPrintable(e.driverText));
            failed = true;
            holding.release();
            return;
        }
        holding.release();
        QThread::msleep(holdMs);
        db.commit();
    });
    holding.acquire();
    try {
        if (!failed)
            action();
    } catch (...) {
        other.join();
        throw;
    }
    other.join();
    QVERIFY2(!failed, "the other user's transaction failed");
}

void initApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("norvad"));
    QCoreApplication::setApplicationName(QStringLiteral("Tavrin"));
    QApplication::setLayoutDirection(Qt::RightToLeft);
    setLocalIdentity({QStringLiteral("10.0.0.7"), QStringLiteral("testhost")});
}

bool timeBoundsEnforced()
{
    return qEnvironmentVariableIntValue("TAVRIN_BENCH_STRICT") == 1;
}

int fileMode(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

int envInt(const char* name, int fallback)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok && v > 0 ? v : fallback;
}

Cli runCli(QStringList args, bool connect)
{
    if (connect) {
        const ConnectionParams& p = dm().params();
        args << QStringLiteral("--backend") << (p.backend == Backend::SQLite ? QStringLiteral("sqlite") : QStringLiteral("pg"))
             << QStringLiteral("--server") << p.server;
        if (!p.database.isEmpty())
            args << QStringLiteral("--database") << p.database << QStringLiteral("--user") << p.user;
    }
    Cli r;
    QTextStream out(&r.out), err(&r.err);
    r.rc = cli::run(args, out, err);
    out.flush();
    err.flush();
    return r;
}

void storeSettingsFor(const ConnectionParams& p)
{
    connection::StoredSettings s;
    s.serverName = p.server;
    s.dataBase = p.database;
    s.userName = p.user;
    s.password = p.password;
    s.authentication = QString::fromLatin1(p.backend == Backend::SQLite ? connection::kAuthAccess : connection::kAuthPostgres);
    QVERIFY(connection::writeStored(s));
}

} // namespace tavrin::test
