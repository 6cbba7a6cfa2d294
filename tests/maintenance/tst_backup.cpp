// Backups: a consistent copy of the embedded data file made while another
// connection writes, a pg_dump archive restored and compared, the command
// shown when pg_dump is absent, cancelling, and the backup window.
#include "support/testsupport.h"

#include "app/main_u.h"
#include "app/startup.h"
#include "common/session.h"
#include "maintenance/backup.h"
#include "maintenance/backup_u.h"
#include "maintenance/maintenance_texts.h"
#include "maintenance/portable.h"
#include "maintenance/demodata.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace tavrin;

namespace {
bool sameTables(Database& a, Database& b, const QStringList& except = {})
{
    for (const TableDef& t : schema().tables) {
        if (except.contains(t.name))
            continue;
        const auto cols = portable::sharedColumns(t, a.columns(t.name), b.columns(t.name));
        if (!(portable::digestTable(a, t, cols) == portable::digestTable(b, t, cols))) {
            qWarning("table %s differs", qPrintable(t.name));
            return false;
        }
    }
    return true;
}

qint64 logRows(Database& db)
{
    return db.scalar(QStringLiteral("select count(*) from log")).toLongLong();
}
} // namespace

class TestBackup : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString file(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase() { setUpApplication(); }

    void init()
    {
        destroyWindows();
        Database& db = test::useFreshDatabase();
        demo::Options o;
        o.projects = 6;
        o.unitsPerProject = 20;
        demo::generate(db, o);
        db.exec(QStringLiteral("insert into zamaem (cmt,pictype,pic) values (?,?,?)"),
                {QStringLiteral("آخرين نسخه نرم افزار"), QStringLiteral(".zip"), QByteArray(50000, '\x01')});
        session() = Session();
    }

    void backupIsOneMomentOfTheDatabase()
    {
        Database& db = dm();
        const QString target = file(QStringLiteral("b-%1.bak").arg(test::backendName()));
        // Under the usual umask, and over an older file readable by everyone,
        // the backup is its owner's alone wherever it is written.
        const mode_t umaskBefore = ::umask(022);
        {
            QFile older(target);
            QVERIFY(older.open(QIODevice::WriteOnly));
        }
        if (db.backend() == Backend::PostgreSQL) {
            // The archive restores into a new database holding the same rows.
            const BackupResult r = backupDatabase(db.params(), target, findPgDump());
            ::umask(umaskBefore);
            QVERIFY2(r.status == BackupResult::Status::Done, qPrintable(r.detail));
            QCOMPARE(test::fileMode(target), 0600);
            auto restored = test::openFresh(test::freshDatabaseParams(), false);
            const ConnectionParams& p = restored->params();
            const int rc = QProcess::execute(QStringLiteral("pg_restore"),
                                             {QStringLiteral("--no-owner"), QStringLiteral("--host=") + p.server.section(',', 0, 0),
                                              QStringLiteral("--port=") + p.server.section(',', 1), QStringLiteral("--username=postgres"),
                                              QStringLiteral("--dbname=") + p.database, target});
            QCOMPARE(rc, 0);
            QVERIFY(sameTables(db, *restored));
            return;
        }
        // Another connection commits a row each time the copy reports progress:
        // it is not held up, and the copy is the database of one moment, with
        // the rows committed before that moment and none after.
        Database writer(db.params());
        QVERIFY(writer.open());
        int calls = 0;
        const BackupResult r = backupDatabase(db.params(), target, QString(), [&](qint64 done, qint64 total, const QString&) {
            writer.exec(QStringLiteral("insert into log (karbar,cmt) values ('w',?)"), {QString::number(++calls)});
            return done <= total;
        });
        ::umask(umaskBefore);
        QVERIFY2(r.status == BackupResult::Status::Done, qPrintable(r.detail));
        QVERIFY(!QFile::exists(target + QStringLiteral(".partial")));
        QCOMPARE(test::fileMode(target), 0600);
        ConnectionParams cp = db.params();
        cp.server = target;
        cp.createIfMissing = false;
        Database copy(cp);
        QVERIFY(copy.open());
        QCOMPARE(logRows(db), qint64(calls));
        const QStringList copied = copy.textColumn(QStringLiteral("select cmt from log order by id"));
        QVERIFY2(copied.size() < calls - 1, qPrintable(QStringLiteral("%1 of %2").arg(copied.size()).arg(calls)));
        for (int i = 0; i < copied.size(); ++i)
            QCOMPARE(copied[i], QString::number(i + 1));
        QVERIFY(sameTables(db, copy, {QStringLiteral("log")}));
    }

    void cancelledOrRefusedBackupsLeaveFilesAlone()
    {
        const ConnectionParams p = dm().params();
        const QString target = file(QStringLiteral("keep.bak"));
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("an older backup");
        f.close();
        if (p.backend == Backend::SQLite) {
            BackupResult r = backupDatabase(p, target, QString(), [](qint64, qint64, const QString&) { return false; });
            QCOMPARE(r.status, BackupResult::Status::Cancelled);
            r = backupDatabase(p, p.server, QString());
            QCOMPARE(r.status, BackupResult::Status::SameFile);
        } else {
            // Without pg_dump: the exact command, and nothing written.
            const BackupResult r = backupDatabase(p, target, QString());
            QCOMPARE(r.status, BackupResult::Status::Manual);
            QCOMPARE(r.command, QStringLiteral("pg_dump --format=custom --host=%1 --port=%2 --username=postgres --file=%3 %4")
                                    .arg(p.server.section(',', 0, 0), p.server.section(',', 1), target, p.database));
            QCOMPARE(backupCommand(p, QStringLiteral("/b/it's mine.dump")).section(' ', 5),
                     QStringLiteral("'--file=/b/it'\\''s mine.dump' ") + p.database);
        }
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("an older backup"));
        QVERIFY(!QFile::exists(target + QStringLiteral(".partial")));
    }

    void backupWindowForAdministrators()
    {
        test::DialogRecorder rec;
        test::addUser(QStringLiteral("u1"), QStringLiteral("ostan"));
        test::loginAs(QStringLiteral("u1"));
        mainWindow().action(QStringLiteral("N17"))->trigger();
        QCOMPARE(rec.texts(), QStringList {noAccessMessage()});
        test::loginAs(QStringLiteral("admin"));
        mainWindow().action(QStringLiteral("N17"))->trigger();
        Tbackup& w = window<Tbackup>();
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tbackup"));
        const bool embedded = dm().backend() == Backend::SQLite;
        QCOMPARE(w.path->isVisibleTo(&w), embedded);
        QCOMPARE(w.command->isVisibleTo(&w), !embedded);
        if (embedded) {
            QCOMPARE(w.path->text(), QFileInfo(dm().params().server).absoluteFilePath());
            QCOMPARE(w.Label3->text(), QStringLiteral("فقط کافيست از اين فايل يک کپي تهيه نماييد"));
        } else {
            QVERIFY(w.command->toPlainText().startsWith(w.pgDump + QStringLiteral(" --format=custom")) ||
                    w.command->toPlainText().startsWith(QStringLiteral("pg_dump --format=custom")));
            w.pgDump.clear();
        }
        const QString target = file(QStringLiteral("window.bak"));
        rec.files = {target};
        w.ins_btnClick();
        if (embedded)
            QCOMPARE(rec.lastText(), maintext::kBackupDone + '\n' + target);
        else
            QCOMPARE(rec.lastText(), maintext::kNoPgDump + '\n' + backupCommand(dm().params(), target));
        QCOMPARE(QFile::exists(target), embedded);

        w.show();
        QTest::qWait(50);
        QVERIFY(w.width() <= 1366 && w.height() <= 740);
        const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
        if (!dir.isEmpty())
            QVERIFY(w.grab().save(QDir(dir).filePath(embedded ? QStringLiteral("Tbackup.png") : QStringLiteral("Tbackup_pg.png"))));
        w.hide();
        destroyMainWindow();
    }
};

TAVRIN_DB_TEST_MAIN(TestBackup)
#include "tst_backup.moc"
