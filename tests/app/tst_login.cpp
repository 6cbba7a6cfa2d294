// Start-up and login: the connect procedure, the login sequence, the password
// change and the main window's rights check.
#include "support/testsupport.h"

#include "app/change_pass_u.h"
#include "app/connect.h"
#include "maintenance/install.h"
#include "app/login_u.h"
#include "app/main_u.h"
#include "app/server_u.h"
#include "app/startup.h"
#include "admin/rights_templates.h"
#include "common/lookups.h"
#include "common/session.h"
#include "db/connection.h"
#include "db/password.h"
#include "db/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>

using namespace tavrin;

namespace {
// A page window standing in for the real ones in the rights tests.
class ProbeWindow : public TWindow {
public:
    ProbeWindow() : TWindow(QStringLiteral("ProbeWindow"), QStringLiteral("probe")) {}
    void applyRights(const Rights& r) override { rights = r; ++applied; }
    void prepareToShow() override { ++prepared; }
    Rights rights;
    int applied = 0, prepared = 0;
};

} // namespace

class TestLogin : public QObject {
    Q_OBJECT
    ConnectionParams m_params;

    Tlogin& login(const QString& user, const QString& pass)
    {
        Tlogin& w = window<Tlogin>();
        w.local->setChecked(true);
        w.us->setText(user);
        w.ps->setText(pass);
        return w;
    }

private Q_SLOTS:
    void init()
    {
        destroyMainWindow();
        destroyWindows();
        Database& db = test::useFreshDatabase();
        m_params = db.params();
        test::storeSettingsFor(m_params);
        QFile::remove(Tlogin::markerFile());
        session() = Session();
    }

    void passwordScrambling()
    {
        QCOMPARE(connection::scramble(QStringLiteral("abc")), QStringLiteral("ba`"));
        QCOMPARE(connection::unscramble(QStringLiteral("ba`")), QStringLiteral("abc"));
        QCOMPARE(connection::unscramble(QString()), QString());
        const QString odd = QStringLiteral("p'ss ;}رمز");
        QCOMPARE(connection::unscramble(connection::scramble(odd)), odd);
    }

    void settingsWindowChecksAndStores()
    {
        test::DialogRecorder rec;
        Tserver& w = window<Tserver>();
        w.selectAuthentication(QStringLiteral("SQL Server"));
        w.SqlServerName1->clear();
        w.BitBtn1Click();
        QCOMPARE(rec.lastText(), QStringLiteral("نام سرور را وارد نمائيد"));
        w.SqlServerName1->setText(QStringLiteral("127.0.0.1,1"));
        w.DataBase1->setText(QStringLiteral("Tavrin"));
        w.UserName1->clear();
        w.BitBtn1Click();
        QCOMPARE(rec.lastText(), QStringLiteral("کلمه کاربري را وارد نمائيد"));
        w.UserName1->setText(QStringLiteral("sa"));
        w.Password1->setText(QStringLiteral("abc"));
        rec.clear();
        w.BitBtn1Click();
        // Stored, and tried: no server answers there.
        QCOMPARE(rec.texts(), QStringList {QStringLiteral("تنظيمات ذخيره شد، ولي اتصال به بانک اطلاعاتي برقرار نشد؛ نام "
                                                          "سرور، نام ديتابيس، کلمه کاربري و رمز عبور را بررسي نماييد")});
        const auto s = connection::readStored();
        QCOMPARE(s.serverName, QStringLiteral("127.0.0.1,1"));
        QCOMPARE(s.authentication, QStringLiteral("SQL Server"));
        QCOMPARE(s.password, QStringLiteral("abc"));
        QSettings raw(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("norvad"));
        QCOMPARE(raw.value(QStringLiteral("TavrinPassword")).toString(), QStringLiteral("ba`"));
    }

    void settingsFileIsReadableByItsOwnerOnly()
    {
        const QString path = QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("norvad")).fileName();
        const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        const auto mode = [&path] {
            struct stat st {};
            return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
        };
        connection::StoredSettings s;
        s.authentication = QString::fromLatin1(connection::kAuthPostgres);
        s.serverName = QStringLiteral("db.example");
        s.password = QStringLiteral("secret");
        // Created new (also in a folder that does not exist yet), under a
        // permissive umask, and again over a file an older version left open.
        QFile::remove(path);
        QDir(QFileInfo(path).absolutePath()).removeRecursively();
        const mode_t old = umask(0);
        QVERIFY(connection::writeStored(s));
        umask(old);
        QCOMPARE(mode(), 0600);
        QVERIFY(QFile::setPermissions(path, ownerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        QCOMPARE(connection::readStored().password, QStringLiteral("secret"));
        QCOMPARE(mode(), 0600);
        QVERIFY(QFile::setPermissions(path, ownerOnly | QFileDevice::ReadOther));
        QVERIFY(connection::writeStored(s));
        QCOMPARE(mode(), 0600);
        QFile::remove(path);
    }

    void connectFailuresGiveTheFixedMessages()
    {
        test::DialogRecorder rec;
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("norvad")).clear();
        QVERIFY(!connectProcedure(connection::Choice::Local, false));
        QCOMPARE(rec.lastText(), QStringLiteral("لطفا") + QChar('"') + QChar(' ') +
                                     QStringLiteral("ابتدا تنظيمات اتصال به بانک اطلاعاتي را انجام دهيد"));
        QCOMPARE(rec.shown.last().kind, QStringLiteral("warning"));  // the login does not open the settings

        rec.clear();
        QVERIFY(!connectProcedure(connection::Choice::Local, true));
        QCOMPARE(rec.shown.last().kind, QStringLiteral("window"));
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tserver"));

        connection::StoredSettings s;
        s.authentication = QStringLiteral("Access");
        s.serverName = QStringLiteral("/nonexistent/folder/data.db");
        connection::writeStored(s);
        rec.clear();
        QVERIFY(!connectProcedure(connection::Choice::Local, false));
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("فايل اكسس يافت نشد")});
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tserver"));

        s.authentication = QStringLiteral("PostgreSQL");
        s.serverName = QStringLiteral("/nonexistent-socket-dir,1");
        s.dataBase = QStringLiteral("x");
        connection::writeStored(s);
        rec.clear();
        QVERIFY(!connectProcedure(connection::Choice::Local, false));
        QCOMPARE(rec.texts().first(),
                 QStringLiteral("تنظيمات اتصال به بانک اطلاعاتي اشتباه انجام شده است، لطفا با مدير شبکه تماس حاصل کنيد"));

        s.authentication = QStringLiteral("Windows");
        connection::writeStored(s);
        rec.clear();
        QVERIFY(!connectProcedure(connection::Choice::Local, false));
        QCOMPARE(rec.texts().size(), 1);
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tserver"));
    }

    void installerCreatesANewDataFile()
    {
        test::DialogRecorder rec;
        QTemporaryDir dir;
        connection::StoredSettings s;
        s.authentication = QStringLiteral("Access");
        s.serverName = dir.filePath(QStringLiteral("office.db"));
        connection::writeStored(s);
        setCurrentChoice(connection::Choice::Local);
        // Logging in needs an existing file ...
        QVERIFY(!connectProcedure(connection::Choice::Local, false));
        QCOMPARE(rec.texts().first(), QStringLiteral("فايل اكسس يافت نشد"));
        // ... the installer makes one, with the admin user and the provinces.
        rec.clear();
        window<Tserver>().Label7Click();
        QCOMPARE(rec.lastText(), QStringLiteral("همه تنظيمات انجام شد"));
        QVERIFY(QFile::exists(s.serverName));
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from users")).toInt(), 1);
        QCOMPARE(dm().scalar(QStringLiteral("select count(distinct ostan) from abadiha")).toInt(), 31);
        // A user name held twice is reported after the install, and both rows stay.
        dm().exec(QStringLiteral("insert into users (us,lev) values ('admin','city')"));
        rec.clear();
        window<Tserver>().Label7Click();
        QCOMPARE(rec.texts().size(), 2);
        QVERIFY(rec.lastText().endsWith(QStringLiteral(": admin")));
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from users")).toInt(), 2);
        setCurrentChoice(connection::Choice::Internet);
    }

    // The system connection file exactly as the README prints it reaches the
    // organisation's server (here the test server in place of db.example.org:5432);
    // the unquoted "host,port" used to come out as an empty server.
    void systemConnectionFileOfTheReadme()
    {
        if (test::backendUnderTest() != Backend::PostgreSQL)
            QSKIP("needs the PostgreSQL test server");
        QFile readme(QStringLiteral(TAVRIN_TEST_DATA "/../../README.md"));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        const qsizetype from = text.indexOf(QStringLiteral("```ini\n")) + 7;
        QString ini = text.mid(from, text.indexOf(QStringLiteral("```"), from) - from);
        QVERIFY(ini.contains(QStringLiteral("\nServer=db.example.org,5432\n")));
        const QString host = m_params.server.section(',', 0, -2), port = m_params.server.section(',', -1);
        ini.replace(QStringLiteral("db.example.org"), host).replace(QStringLiteral("5432"), port);
        // The example's user and database, on the test server.
        if (!dm().firstRow(QStringLiteral("select 1 from pg_roles where rolname='tavrin'")))
            dm().exec(QStringLiteral("create role tavrin login"));
        if (!dm().firstRow(QStringLiteral("select 1 from pg_database where datname='tavrin'")))
            dm().exec(QStringLiteral("create database tavrin owner tavrin"));
        QFile conf(qEnvironmentVariable("TAVRIN_SYSTEM_CONFIG"));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write(ini.toUtf8());
        conf.close();
        test::DialogRecorder rec;
        const bool connected = connectProcedure(connection::Choice::Internet, false);
        conf.remove();
        QVERIFY(connected);
        QCOMPARE(dm().params().server, host + ',' + port);
        QCOMPARE(dm().scalar(QStringLiteral("select current_user||' '||current_database()")).toString(),
                 QStringLiteral("tavrin tavrin"));
    }

    void aFailingLoginStepUndoesTheLogin()
    {
        test::DialogRecorder rec;
        test::addUser(QStringLiteral("u7"), QStringLiteral("city"));
        dm().exec(QStringLiteral("update users set ps='plain' where us='u7'"));
        // The server-date step cannot run: nothing of the login may remain.
        dm().exec(QStringLiteral("drop table server_dat"));
        QVERIFY(!login(QStringLiteral("u7"), QStringLiteral("plain")).BitBtn1Click());
        QVERIFY(!mainWindowShown());
        QCOMPARE(session().karbar, QString());
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from log")).toInt(), 0);
        QCOMPARE(dm().scalar(QStringLiteral("select ps from users where us='u7'")).toString(), QStringLiteral("plain"));
        QCOMPARE(text(dm().scalar(QStringLiteral("select ver from users where us='u7'"))), QString());
    }

    // The settings window names the chosen backend's fields, starts empty,
    // tells whether the stored settings connect, and "خاتمه" only closes it.
    void settingsWindowTriesWhatItStores()
    {
        test::DialogRecorder rec;
        Tserver& w = window<Tserver>();
        for (QLineEdit* e : {w.SqlServerName1, w.DataBase1, w.UserName1, w.Password1})
            QCOMPARE(e->text(), QString());
        const auto label = [&w](const char* name) { return w.findChild<QLabel*>(QString::fromLatin1(name))->text(); };
        QCOMPARE(label("Label9"), QStringLiteral("کلمه کاربري SQL Server :"));
        w.selectAuthentication(QStringLiteral("PostgreSQL"));
        QCOMPARE(label("Label3"), QStringLiteral("نام سرور PostgreSQL :"));
        QCOMPARE(label("Label9"), QStringLiteral("کلمه کاربري PostgreSQL :"));
        QCOMPARE(label("Label10"), QStringLiteral("رمز عبور PostgreSQL :"));
        w.selectAuthentication(QStringLiteral("Access"));
        QCOMPARE(label("Label3"), QStringLiteral("مسير فايل بانک اطلاعاتي :"));
        QVERIFY(!w.UserName1->isEnabled() && !w.Password1->isEnabled());
        // The test database: connected and stored; a data file that is not there: stored, not found.
        w.selectAuthentication(QString::fromLatin1(m_params.backend == Backend::SQLite ? connection::kAuthAccess
                                                                                       : connection::kAuthPostgres));
        w.SqlServerName1->setText(m_params.server);
        w.DataBase1->setText(m_params.database);
        w.UserName1->setText(m_params.user.isEmpty() ? QStringLiteral("u") : m_params.user);
        w.Password1->setText(QStringLiteral("pw"));
        w.BitBtn1Click();
        QCOMPARE(rec.texts(), QStringList {QStringLiteral("اتصال به بانک اطلاعاتي برقرار شد و تنظيمات ذخيره شد")});
        QCOMPARE(connection::readStored().serverName, m_params.server);
        w.selectAuthentication(QStringLiteral("Access"));
        w.SqlServerName1->setText(m_params.server + QStringLiteral(".gone"));
        rec.clear();
        w.BitBtn1Click();
        QCOMPARE(rec.texts(), QStringList {QStringLiteral("تنظيمات ذخيره شد، ولي فايل بانک اطلاعاتي يافت نشد؛ براي ساختن "
                                                          "فايل جديد روي \". . .\" کليک نماييد")});
        QCOMPARE(connection::readStored().serverName, m_params.server + QStringLiteral(".gone"));
        rec.clear();
        w.show();
        w.Button2Click();
        QVERIFY(!w.isVisible());
        QVERIFY(rec.shown.isEmpty());  // the program goes on
    }

    // The choice that connected is the next start's; "Internet" without a
    // system connection file asks before an empty embedded file while settings
    // are stored; the main window names the database.
    void theConnectionChoiceIsKept()
    {
        test::DialogRecorder rec;
        test::addUser(QStringLiteral("u8"), QStringLiteral("city"));
        QVERIFY(login(QStringLiteral("u8"), QStringLiteral("1")).BitBtn1Click());
        const QString caption = mainWindow().findChild<QLabel*>(QStringLiteral("connection_lbl"))->text();
        const auto ltr = [](const QString& v) { return QString(QChar(0x2066) + v + QChar(0x2069)); };
        QCOMPARE(caption, m_params.backend == Backend::SQLite
                              ? QString(QStringLiteral("بانک اطلاعاتي: SQLite، فايل ") + ltr(m_params.server))
                              : QStringLiteral("بانک اطلاعاتي: PostgreSQL، سرور ") + ltr(m_params.server) +
                                    QStringLiteral("، بانک ") + ltr(m_params.database));
        destroyMainWindow();
        destroyWindows();
        QVERIFY(window<Tlogin>().local->isChecked());
        QCOMPARE(currentChoice(), connection::Choice::Local);

        const QString embedded = connection::embeddedDataFile();
        QFile::remove(embedded);
        const QString question = QStringLiteral("براي شما تنظيمات اتصال به بانک اطلاعاتي ذخيره شده است، ولي با گزينه "
                                                "Internet فايل تنظيمات اتصال سيستم يافت نشد و بانک اطلاعاتي خالي داخل "
                                                "همين کامپيوتر باز مي شود؛ اطلاعاتي که در آن ثبت شود به بانک اطلاعاتي "
                                                "ذخيره شده نمي رسد. براي کار با آن گزينه Local را انتخاب نماييد.\nبانک "
                                                "اطلاعاتي ذخيره شده: ") +
                                 connectionCaption(m_params) + QStringLiteral("\nآيا بانک اطلاعاتي خالي داخلي باز شود؟");
        rec.answers = {Answer::No};
        QVERIFY(!connectProcedure(connection::Choice::Internet, false));
        QCOMPARE(rec.texts(), QStringList {question});
        QVERIFY(!QFile::exists(embedded));
        QCOMPARE(connection::rememberedChoice(), connection::Choice::Local);
        // Yes opens it; the file, still without work, is asked about again.
        rec.answers = {Answer::Yes, Answer::No};
        QVERIFY(connectProcedure(connection::Choice::Internet, false));
        QCOMPARE(connection::rememberedChoice(), connection::Choice::Internet);
        QVERIFY(!connectProcedure(connection::Choice::Internet, false));
        QCOMPARE(rec.texts().size(), 3);
        QVERIFY(!hasDm());
        // Once it holds a project, or without stored settings, it opens as before.
        rec.answers = {Answer::Yes};
        QVERIFY(connectProcedure(connection::Choice::Internet, false));
        dm().exec(QStringLiteral("insert into projects (prj_name) values ('p')"));
        rec.clear();
        QVERIFY(connectProcedure(connection::Choice::Internet, false));
        QFile::remove(embedded);
        {
            QSettings stored(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("norvad"));
            stored.remove(QStringLiteral("TavrinSqlServerName"));
            stored.remove(QStringLiteral("TavrinAuthentication"));
        }
        QVERIFY(connectProcedure(connection::Choice::Internet, false));
        QVERIFY(rec.shown.isEmpty());
    }

    void builtInConnectionInstallsTheEmbeddedDatabase()
    {
        test::DialogRecorder rec;
        // A desk without stored connection settings.
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("norvad")).clear();
        QFile::remove(connection::embeddedDataFile());
        QVERIFY(connectProcedure(connection::Choice::Internet, false));
        QCOMPARE(dm().backend(), Backend::SQLite);
        QVERIFY(dm().firstRow(QStringLiteral("select id from users where us='admin'")));
        // A new database starts with the provinces, so a project can be registered at once.
        QCOMPARE(dm().scalar(QStringLiteral("select count(distinct ostan) from abadiha")).toInt(), 31);
        QVERIFY(rec.shown.isEmpty());
        // The next start finds it current and adds nothing twice.
        QVERIFY(connectProcedure(connection::Choice::Internet, false));
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from abadiha")).toInt(), 31);
    }

    void aNewDatabaseLetsItsAdministratorWork()
    {
        // A new database: admin has the admin template's rights on every page, and
        // the role and user-status lists have their first values.
        test::useFreshDatabase(false);
        QVERIFY(installDatabase(dm()).ok);
        const qint64 admin = dm().scalar(QStringLiteral("select id from users where us='admin'")).toLongLong();
        const RightsMap template_ = roleTemplate(QStringLiteral("admin"), QString());
        const RightsMap rights = loadRights(admin);
        for (const RightsPage& page : rightsPages())
            QVERIFY2(sameRights(rights.value(page.key), template_.value(page.key)), qPrintable(page.key));
        QVERIFY(rights.value(QStringLiteral("prj")).namayesh && rights.value(QStringLiteral("karbaran")).darj);
        QCOMPARE(settingList(QStringLiteral("گروه کاربري")).size(), 4);
        QCOMPARE(settingList(QStringLiteral("وضعيت کاربر")).first(), QStringLiteral("فعال"));
        const int rows = dm().scalar(QStringLiteral("select count(*) from dastrasi")).toInt();
        QCOMPARE(rows, rightsPages().size());
        // Running the installer again, or on an existing database, adds nothing:
        // a database installed before keeps its single rights row and empty lists.
        QVERIFY(installDatabase(dm()).ok);
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from dastrasi")).toInt(), rows);
        test::useFreshDatabase();
        QVERIFY(installDatabase(dm()).ok);
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from dastrasi")).toInt(), 1);
        QVERIFY(settingList(QStringLiteral("گروه کاربري")).isEmpty());
    }

    void loginWindowIsCentredAndKeyedWithEnter()
    {
        test::DialogRecorder rec;
        Tlogin& w = showLoginWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const QPoint off = w.frameGeometry().center() - w.screen()->availableGeometry().center();
        QVERIFY2(off.manhattanLength() <= 40, qPrintable(QStringLiteral("%1,%2").arg(off.x()).arg(off.y())));
        login(QStringLiteral("admin"), QStringLiteral("wrong"));
        // Enter in the user name goes on to the password ...
        w.us->setFocus();
        QTest::keyClick(w.us, Qt::Key_Return);
        QVERIFY(w.ps->hasFocus());
        QVERIFY(rec.shown.isEmpty());
        // ... and there logs in once: a wrong password is told once.
        QTest::keyClick(w.ps, Qt::Key_Return);
        QCOMPARE(rec.texts(), QStringList {QStringLiteral("کلمه يا رمز عبور اشتباه است")});
        w.ps->setText(QStringLiteral("1"));
        QTest::keyClick(w.ps, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(mainWindowShown());
        QCOMPARE(session().karbar, QStringLiteral("admin"));
    }

    void successfulLoginRunsTheSequence()
    {
        test::DialogRecorder rec;
        test::addUser(QStringLiteral("0012345678"), QStringLiteral("city"), QStringLiteral("تهران"));
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"), {QStringLiteral("کد ثبت"), QStringLiteral("R-77")});
        dm().exec(QStringLiteral("insert into projects (prj_name,status,expire_dat) values ('old','فعال','1390/01/01'),"
                                 "('open','فعال',?),('future','فعال','1499/12/29'),('slashes','فعال','//')"),
                  {QString::fromLatin1(kEmptyDateMask)});
        QVERIFY(login(QStringLiteral("0012345678"), QStringLiteral("1")).BitBtn1Click());
        QVERIFY(mainWindowShown());
        QCOMPARE(session().karbar, QStringLiteral("0012345678"));
        QCOMPARE(session().level, QStringLiteral("city"));
        QCOMPARE(session().sabtCod, QStringLiteral("R-77"));
        QCOMPARE(dm().scalar(QStringLiteral("select ver from users where us='0012345678'")).toString(), QStringLiteral("33"));
        const auto log = dm().firstRow(QStringLiteral("select * from log order by id desc"));
        QCOMPARE(log->value("cmt").toString(), QStringLiteral("  ورود موفق به نرم افزار  0012345678 0012345678 name"));
        QCOMPARE(log->value("karbar").toString(), QStringLiteral("0012345678"));
        QCOMPARE(log->value("tarikh").toString().size(), 10);
        QVERIFY(!log->value("saat_sys").isNull());
        // Expiry by the server's date; an empty expiry date never expires.
        QCOMPARE(dm().scalar(QStringLiteral("select status from projects where prj_name='old'")).toString(), QStringLiteral("انقضا فروش"));
        for (const char* open : {"open", "future", "slashes"})
            QCOMPARE(dm().scalar(QStringLiteral("select status from projects where prj_name=?"), {QString::fromLatin1(open)}).toString(),
                     QStringLiteral("فعال"));
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from server_dat")).toInt(), 0);
        // The next login on this computer offers the name.
        Tlogin& w = window<Tlogin>();
        w.us->clear();
        w.FormShow();
        QCOMPARE(w.us->text(), QStringLiteral("0012345678"));
    }

    void wrongOrInactiveUsersAreRefused()
    {
        test::DialogRecorder rec;
        test::addUser(QStringLiteral("u1"), QStringLiteral("city"));
        QVERIFY(!login(QStringLiteral("u1"), QStringLiteral("2")).BitBtn1Click());
        QCOMPARE(rec.lastText(), QStringLiteral("کلمه يا رمز عبور اشتباه است"));
        QVERIFY(!login(QStringLiteral("U1"), QStringLiteral("1")).BitBtn1Click());  // names compare exactly
        QCOMPARE(rec.lastText(), QStringLiteral("کلمه يا رمز عبور اشتباه است"));
        // An absent password matches nothing, not even an empty one, and stays absent.
        dm().exec(QStringLiteral("update users set ps=NULL where us='u1'"));
        QVERIFY(!login(QStringLiteral("u1"), QString()).BitBtn1Click());
        QCOMPARE(rec.lastText(), QStringLiteral("کلمه يا رمز عبور اشتباه است"));
        login(QStringLiteral("u1"), QString()).Label3Click();
        QCOMPARE(rec.lastText(), QStringLiteral("كلمه و رمز عبور را در صفحه فعلي درست وارد نماييد"));
        QVERIFY(dm().scalar(QStringLiteral("select ps from users where us='u1'")).isNull());
        dm().exec(QStringLiteral("update users set ps=? where us='u1'"), {password::hash(QStringLiteral("1"))});
        for (const QVariant& status : {QVariant(QString()), QVariant(QStringLiteral("غيرفعال")), QVariant()}) {
            dm().exec(QStringLiteral("update users set status=? where us='u1'"), {status});
            QVERIFY(!login(QStringLiteral("u1"), QStringLiteral("1")).BitBtn1Click());
            QCOMPARE(rec.lastText(), QStringLiteral("کاربر شما غير فعال شده است"));
        }
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from log")).toInt(), 0);
        QVERIFY(!mainWindowShown());
    }

    void quotesInNameAndPassword()
    {
        test::DialogRecorder rec;
        test::addUser(QStringLiteral("o'neil"), QStringLiteral("city"), {}, {}, {}, QStringLiteral("p'w"));
        QVERIFY(login(QStringLiteral("o'neil"), QStringLiteral("p'w")).BitBtn1Click());
        QCOMPARE(session().karbar, QStringLiteral("o'neil"));
    }

    void legacyPlainPasswordIsReplacedByItsHash()
    {
        test::DialogRecorder rec;
        test::addUser(QStringLiteral("old"), QStringLiteral("city"));
        dm().exec(QStringLiteral("update users set ps='secret' where us='old'"));
        QVERIFY(login(QStringLiteral("old"), QStringLiteral("secret")).BitBtn1Click());
        const QString stored = dm().scalar(QStringLiteral("select ps from users where us='old'")).toString();
        QVERIFY(password::isHash(stored));
        QVERIFY(password::verify(QStringLiteral("secret"), stored));
    }

    void olderProgramIsRefused()
    {
        test::DialogRecorder rec;
        test::addUser(QStringLiteral("u2"), QStringLiteral("city"));
        dm().exec(QStringLiteral("update users set ver='34' where us='admin'"));
        dm().exec(QStringLiteral("insert into zamaem (cmt,pictype,pic) values (?,?,?)"),
                  {QStringLiteral("آخرين نسخه نرم افزار"), QStringLiteral(".deb"), QByteArray("PKG")});
        QTemporaryDir dir;
        rec.files.push_back(dir.filePath(QStringLiteral("newest")));
        QVERIFY(!login(QStringLiteral("u2"), QStringLiteral("1")).BitBtn1Click());
        QCOMPARE(rec.texts().first(), QStringLiteral("اين نسخه قديمي است و قابل اجرا نيست. جديدترين نسخه  -  34 در ادامه نسخه جديد را دانلود و استفاده نماييد "));
        QVERIFY(rec.shown.last().kind == QStringLiteral("end"));
        QFile saved(dir.filePath(QStringLiteral("newest.deb")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("PKG"));
        QCOMPARE(dm().scalar(QStringLiteral("select cmt from log order by id desc")).toString(),
                 QStringLiteral("  ورود ناموفق به نرم افزار بدليل استفاده از نسخه قديمي   34 u2"));
        QVERIFY(!mainWindowShown());
        // Admin's own login with this program sets his version back to 33 first.
        rec.clear();
        QVERIFY(login(QStringLiteral("admin"), QStringLiteral("1")).BitBtn1Click());
        QCOMPARE(dm().scalar(QStringLiteral("select ver from users where us='admin'")).toString(), QStringLiteral("33"));
        // No admin row at all: the check passes.
        destroyMainWindow();
        dm().exec(QStringLiteral("delete from users where us='admin'"));
        QVERIFY(login(QStringLiteral("u2"), QStringLiteral("1")).BitBtn1Click());
    }

    void unreadMessagesMarkTheMenu()
    {
        test::DialogRecorder rec;
        const qint64 id = test::addUser(QStringLiteral("u3"), QStringLiteral("city"));
        dm().exec(QStringLiteral("insert into payamha (send_prs_id,rec_prs_id,send_dat,show_dat,mozo) values (1,?,'1403/01/01','','x')"), {id});
        QVERIFY(login(QStringLiteral("u3"), QStringLiteral("1")).BitBtn1Click());
        QCOMPARE(mainWindow().findChild<QAction*>(QStringLiteral("N9"))->text(), QStringLiteral("پيام*"));

        // The poll runs every five seconds; what was unread at login is not announced again.
        Tmain& main = mainWindow();
        QVERIFY(main.messageTimer()->isActive() && main.messageTimer()->interval() == 5000);
        rec.clear();
        main.Timer1Timer();
        QVERIFY(rec.shown.isEmpty());
        // A new message is announced once, with the count, but not while a modal window is in front.
        const QString insert = QStringLiteral("insert into payamha (send_prs_id,rec_prs_id,send_dat,show_dat,mozo) values (1,?,'1403/01/02','','y')");
        dm().exec(insert, {id});
        {
            QDialog front(&main);
            front.setModal(true);
            front.show();
            main.Timer1Timer();
            QVERIFY(rec.shown.isEmpty());
        }
        main.Timer1Timer();
        main.Timer1Timer();
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.lastText(), QStringLiteral("شما اين تعداد پيام ناخوانده داريد 2"));
        // Read everything: the mark goes; a later message is announced again.
        dm().exec(QStringLiteral("update payamha set show_dat='1403/01/03' where rec_prs_id=?"), {id});
        main.Timer1Timer();
        QCOMPARE(main.findChild<QAction*>(QStringLiteral("N9"))->text(), QStringLiteral("پيام"));
        dm().exec(insert, {id});
        main.Timer1Timer();
        QCOMPARE(rec.lastText(), QStringLiteral("شما اين تعداد پيام ناخوانده داريد 1"));
        QCOMPARE(main.findChild<QAction*>(QStringLiteral("N9"))->text(), QStringLiteral("پيام*"));
    }

    void newsCheckAfterLogin()
    {
        test::DialogRecorder rec;
        const qint64 id = test::addUser(QStringLiteral("u6"), QStringLiteral("city"));
        QVERIFY(login(QStringLiteral("u6"), QStringLiteral("1")).BitBtn1Click());
        QVERIFY(!mainWindow().newsRequested());
        // No tazeha_readed row: any news with a date counts as unseen.
        destroyMainWindow();
        dm().exec(QStringLiteral("insert into tazeha (dat,mozo) values ('1402/05/01','x')"));
        QVERIFY(login(QStringLiteral("u6"), QStringLiteral("1")).BitBtn1Click());
        QVERIFY(mainWindow().newsRequested());
        QCOMPARE(rec.shown.last().title, QStringLiteral("Ttazeha"));  // opened, for reading only
        // Seen up to that date: nothing new.
        destroyMainWindow();
        dm().exec(QStringLiteral("insert into tazeha_readed (prs_id,dat) values (?,'1402/05/01')"), {id});
        QVERIFY(login(QStringLiteral("u6"), QStringLiteral("1")).BitBtn1Click());
        QVERIFY(!mainWindow().newsRequested());
    }

    void passwordChange()
    {
        test::DialogRecorder rec;
        test::addUser(QStringLiteral("u4"), QStringLiteral("city"));
        Tlogin& w = login(QStringLiteral("u4"), QStringLiteral("bad"));
        w.Label3Click();
        QCOMPARE(rec.lastText(), QStringLiteral("كلمه و رمز عبور را در صفحه فعلي درست وارد نماييد"));
        w.ps->setText(QStringLiteral("1"));
        rec.clear();
        w.Label3Click();
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tchange_pass"));
        Tchange_pass& c = window<Tchange_pass>();
        c.BitBtn1Click();
        QCOMPARE(rec.lastText(), QStringLiteral("كلمه عبور صحيح نيست"));
        c.Edit1->setText(QStringLiteral("n1"));
        c.Edit2->setText(QStringLiteral("n2"));
        c.BitBtn1Click();
        QCOMPARE(rec.lastText(), QStringLiteral("كلمه عبور جديد همخواني ندارد"));
        c.Edit2->setText(QStringLiteral("n1"));
        c.BitBtn1Click();
        QCOMPARE(rec.lastText(), QStringLiteral("كلمه عبور تغيير يافت"));
        const QString stored = dm().scalar(QStringLiteral("select ps from users where us='u4'")).toString();
        QVERIFY(password::isHash(stored));
        QVERIFY(password::verify(QStringLiteral("n1"), stored));
    }

    void rightsCheckOfThePages()
    {
        test::DialogRecorder rec;
        const qint64 id = test::addUser(QStringLiteral("u5"), QStringLiteral("city"), {}, {{QStringLiteral("customers"), QStringLiteral("0001")}});
        test::loginAs(QStringLiteral("u5"));
        Tmain& m = mainWindow();
        // No rights row: refused, the window is not shown.
        QVERIFY(!m.openPage<ProbeWindow>(QStringLiteral("prj")));
        QCOMPARE(rec.lastText(), QStringLiteral("شما دسترسي به اين صفحه را نداريد"));
        QCOMPARE(window<ProbeWindow>().prepared, 0);
        // View without insert: shown with its insert control disabled.
        rec.clear();
        QVERIFY(m.openPage<ProbeWindow>(QStringLiteral("customers")));
        QVERIFY(!window<ProbeWindow>().rights.darj);
        QCOMPARE(rec.shown.last().kind, QStringLiteral("window"));
        // The state is set anew at every opening.
        dm().exec(QStringLiteral("update dastrasi set darj=? where prs_id=?"), {true, id});
        QVERIFY(m.openPage<ProbeWindow>(QStringLiteral("customers")));
        QVERIFY(window<ProbeWindow>().rights.darj);
        // Without the view right the controls are still set, then the message.
        dm().exec(QStringLiteral("update dastrasi set namayesh=?, darj=? where prs_id=?"), {false, false, id});
        rec.clear();
        QVERIFY(!m.openPage<ProbeWindow>(QStringLiteral("customers")));
        QVERIFY(!window<ProbeWindow>().rights.darj);
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("شما دسترسي به اين صفحه را نداريد")});
    }

    void closingAsksFirst()
    {
        test::DialogRecorder rec;
        Tmain& m = mainWindow();
        m.show();
        rec.answers = {Answer::No};
        m.close();
        QVERIFY(m.isVisible());
        QCOMPARE(rec.lastText(), QStringLiteral("آيا مي خواهيد از برنامه خارج شويد"));
        rec.answers = {Answer::Yes};
        m.close();
        QVERIFY(!m.isVisible());
        QCOMPARE(rec.shown.last().kind, QStringLiteral("end"));
    }

    void menuIsRightToLeftAndInOrder()
    {
        Tmain& m = mainWindow();
        QStringList top;
        for (QAction* a : m.menuBar()->actions())
            top << a->text();
        QCOMPARE(top, (QStringList{QStringLiteral("پيش ثبت نام"), QStringLiteral("پروژه ها"), QStringLiteral("متقاضيان"),
                                   QStringLiteral("گزارشات"), QStringLiteral("پيام"), QStringLiteral("ضمائم"),
                                   QStringLiteral("اطلاعات پايه"), QStringLiteral("خروج")}));
        QCOMPARE(m.layoutDirection(), Qt::RightToLeft);
    }
};

TAVRIN_DB_TEST_MAIN(TestLogin)
#include "tst_login.moc"
