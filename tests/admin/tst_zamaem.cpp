// Attachments: storing with its refusals and extension rules, opening only
// inside the attachments folder with the bytes intact, deleting, the page
// rights and the password, and the login's offers of fixed attachments.
#include "support/testsupport.h"

#include "admin/attachments.h"
#include "admin/commtexts.h"
#include "admin/zamaem_u.h"
#include "app/login_u.h"
#include "app/main_u.h"
#include "common/fieldcheck.h"
#include "common/listmodel.h"
#include "common/session.h"
#include "db/connection.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace tavrin;
using namespace tavrin::commtext;

namespace {
qint64 attachment(const QString& cmt, const QString& pictype, const QByteArray& pic, const QString& ramz = QStringLiteral(""))
{
    return dm().insert(QStringLiteral("zamaem"),
                       {QStringLiteral("cmt"), QStringLiteral("ramz"), QStringLiteral("pictype"), QStringLiteral("pic")},
                       {cmt, ramz, pictype, pic});
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int rows(const QString& cmt)
{
    return dm().scalar(QStringLiteral("select count(*) from zamaem where cmt=?"), {cmt}).toInt();
}
} // namespace

class TestZamaem : public QObject {
    Q_OBJECT
    QTemporaryDir m_files;

    QString file(const QString& name, const QByteArray& bytes = "bytes")
    {
        const QString path = m_files.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

    Tzamaem& openWindow()
    {
        Tzamaem& w = window<Tzamaem>();
        w.applyRights(Rights{true, true, true, true});
        w.prepareToShow();
        return w;
    }

    // Clicks the first attachment listed under a description; the opened path.
    QString openFirst(Tzamaem& w, const QString& cmt, test::DialogRecorder& rec)
    {
        w.Combo_type->setEditText(cmt);
        rec.clear();
        w.DBGrid1CellClick(0);
        return !rec.shown.isEmpty() && rec.shown.last().kind == QLatin1String("desktop") ? rec.shown.last().text : QString();
    }

private Q_SLOTS:
    // Written files are checked to be their owner's alone under the usual umask.
    void initTestCase() { ::umask(022); }

    void init()
    {
        destroyMainWindow();
        destroyWindows();
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        QDir(attachments::folder()).removeRecursively();
    }

    void openedFilesStayInsideTheFolder()
    {
        test::DialogRecorder rec;
        const QByteArray bytes("\x00\x01\xff\xfe binary", 11);
        attachment(QStringLiteral("../../x"), QStringLiteral(".pdf"), bytes);
        attachment(QStringLiteral("a/b"), QStringLiteral("/../a"), bytes);
        attachment(QStringLiteral("a:b"), QStringLiteral(".JPG"), bytes);
        const QString control = QStringLiteral("..\\c") + QChar(1) + QStringLiteral("d");
        attachment(control, QStringLiteral(".."), bytes);
        attachment(QString(150, QChar(0x0628)), QStringLiteral(".txt"), bytes);
        Tzamaem& w = openWindow();
        QCOMPARE(w.Combo_type->count(), 5);
        const QDir folder(attachments::folder());
        const QStringList expected = {QStringLiteral("____x.pdf"), QStringLiteral("a_b"), QStringLiteral("a_b.JPG"),
                                      QStringLiteral("__c_d")};
        const QStringList cmts = {QStringLiteral("../../x"), QStringLiteral("a/b"), QStringLiteral("a:b"), control};
        for (int i = 0; i < cmts.size(); ++i) {
            const QString path = openFirst(w, cmts[i], rec);
            QCOMPARE(QFileInfo(path).fileName(), expected[i]);
            QCOMPARE(QFileInfo(path).absolutePath(), folder.absolutePath());
            QCOMPARE(readAll(path), bytes);
            QCOMPARE(test::fileMode(path), 0600);
        }
        QCOMPARE(test::fileMode(folder.absolutePath()), 0700);
        const QString longName = openFirst(w, QString(150, QChar(0x0628)), rec);
        QCOMPARE(QFileInfo(longName).fileName(), QString(100, QChar(0x0628)) + QStringLiteral(".txt"));
        // Nothing was written outside the folder.
        QCOMPARE(folder.entryList(QDir::Files).size(), 5);
        QVERIFY(!QFile::exists(folder.absoluteFilePath(QStringLiteral("../../x.pdf"))));

        // A write that fails is said, and nothing is opened.
        QFile::remove(folder.absoluteFilePath(QStringLiteral("____x.pdf")));
        folder.mkpath(QStringLiteral("____x.pdf/inside"));
        QVERIFY(openFirst(w, QStringLiteral("../../x"), rec).isEmpty());
        QCOMPARE(rec.lastText(), attachments::kWriteFailed);
    }

    void storingFollowsTheRules()
    {
        test::DialogRecorder rec;
        Tzamaem& w = openWindow();
        // No description, or one longer than its column: refused before any file is chosen.
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), kEmptyDescription);
        QVERIFY(rec.shown.size() == 1);
        QCOMPARE(attachments::refuseBeforeChoosing(QString(151, QChar('x')), {}), tooLongMessage(kZamaemCmt, 150));
        // A description, then a cancelled dialog: nothing.
        w.Combo_type->setEditText(QStringLiteral("فرم"));
        w.ramz->setText(QStringLiteral("r1"));
        w.ins_btnClick();
        QCOMPARE(rows(QStringLiteral("فرم")), 0);
        rec.files = {file(QStringLiteral("form.docx"), "DOCX")};
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), kSaved);
        const auto stored = dm().firstRow(QStringLiteral("select ramz,pictype,pic from zamaem where cmt=?"), {QStringLiteral("فرم")});
        QCOMPARE(stored->value(0).toString(), QStringLiteral("r1"));
        QCOMPARE(stored->value(1).toString(), QStringLiteral(".docx"));
        QCOMPARE(stored->value(2).toByteArray(), QByteArray("DOCX"));
        QCOMPARE(w.DBGrid1->listModel()->totalCount(), 1);
        QVERIFY(w.Combo_type->findText(QStringLiteral("فرم")) >= 0);
        // The same description again is refused; the loan signature may repeat.
        rec.files = {file(QStringLiteral("other.docx"))};
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), kDupDescription);
        QCOMPARE(rows(QStringLiteral("فرم")), 1);
        w.Combo_type->setEditText(kSignature);
        for (const char* name : {"s1.png", "s2.png"}) {
            rec.files = {file(QString::fromLatin1(name))};
            w.ins_btnClick();
            QCOMPARE(rec.lastText(), kSaved);
        }
        QCOMPARE(rows(kSignature), 2);
        // Descriptions that expect one kind of file.
        w.Combo_type->setEditText(kRebuildSignature);
        rec.files = {file(QStringLiteral("sign.jpeg"))};
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), kJpegOnly);
        rec.files = {file(QStringLiteral("sign.JPG"))};
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), kSaved);
        w.Combo_type->setEditText(kRebuildReport);
        rec.files = {file(QStringLiteral("report.rav.txt"))};
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), kRavOnly);
        // An unreadable file, and an extension that is not kept.
        w.Combo_type->setEditText(QStringLiteral("راهنما"));
        rec.files = {m_files.filePath(QStringLiteral("missing.pdf"))};
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), attachments::kReadFailed);
        rec.files = {file(QStringLiteral("guide.backup"))};
        w.ins_btnClick();
        QCOMPARE(text(dm().scalar(QStringLiteral("select pictype from zamaem where cmt=?"), {QStringLiteral("راهنما")})), QString());
    }

    void deletingKeepsTheRestListed()
    {
        test::DialogRecorder rec;
        const qint64 first = attachment(kSignature, QStringLiteral(".png"), "1");
        attachment(kSignature, QStringLiteral(".png"), "2");
        Tzamaem& w = openWindow();
        w.Combo_type->setEditText(kSignature);
        w.DBGrid1->setCurrentIndex(w.DBGrid1->listModel()->index(0, 0));
        w.N1Click();
        QCOMPARE(rec.lastText(), kDeleted);
        QCOMPARE(w.DBGrid1->listModel()->totalCount(), 1);
        if (const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR"); !dir.isEmpty()) {
            w.show();
            QTest::qWait(50);
            QVERIFY(w.grab().save(QDir(dir).filePath(QStringLiteral("Tzamaem.png"))));
            w.hide();
        }
        QVERIFY(!dm().firstRow(QStringLiteral("select id from zamaem where id=?"), {first}));
        // Deleted meanwhile by someone else.
        w.DBGrid1->setCurrentIndex(w.DBGrid1->listModel()->index(0, 0));
        dm().exec(QStringLiteral("delete from zamaem"));
        w.N1Click();
        QCOMPARE(rec.lastText(), kNothingDeleted);
        QCOMPARE(w.DBGrid1->listModel()->totalCount(), 0);
    }

    void rightsAndPassword()
    {
        test::DialogRecorder rec;
        test::addUser(QStringLiteral("z1"), QStringLiteral("city"), {}, {{QStringLiteral("zamaem"), QStringLiteral("0001")}});
        test::addUser(QStringLiteral("z2"), QStringLiteral("city"));
        attachment(QStringLiteral("فرم"), QStringLiteral(".pdf"), "PDF", QStringLiteral("s3cret"));
        Tmain& m = mainWindow();
        QAction* n12 = m.action(QStringLiteral("N12"));
        QVERIFY(n12->isEnabled());
        test::loginAs(QStringLiteral("z2"));
        n12->trigger();
        QCOMPARE(rec.lastText(), QStringLiteral("شما دسترسي به اين صفحه را نداريد"));
        test::loginAs(QStringLiteral("z1"));
        n12->trigger();
        Tzamaem& w = window<Tzamaem>();
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tzamaem"));
        QVERIFY(!w.ins_btn->isEnabled() && !w.N1->isEnabled());
        // A stored password is asked before the file is written.
        rec.inputs = {QStringLiteral("wrong")};
        QVERIFY(openFirst(w, QStringLiteral("فرم"), rec).isEmpty());
        QCOMPARE(rec.lastText(), attachments::kWrongRamz);
        rec.inputs = {QStringLiteral("s3cret")};
        QCOMPARE(readAll(openFirst(w, QStringLiteral("فرم"), rec)), QByteArray("PDF"));
        // Without a desktop program for it, the user is told where the file is.
        rec.desktopOpens = false;
        rec.inputs = {QStringLiteral("s3cret")};
        w.DBGrid1CellClick(0);
        QVERIFY(rec.lastText().startsWith(attachments::kSavedAt));
        QVERIFY(rec.lastText().endsWith(QStringLiteral("فرم.pdf")));
    }

    void loginOffersWriteSafely()
    {
        test::DialogRecorder rec;
        attachment(kFontHelp, QStringLiteral("/../a"), "HELP");
        // The login connects by the stored settings, which name the test database.
        const ConnectionParams p = dm().params();
        connection::StoredSettings stored;
        stored.serverName = p.server;
        stored.dataBase = p.database;
        stored.userName = p.user;
        stored.password = p.password;
        stored.authentication = QString::fromLatin1(p.backend == Backend::SQLite ? connection::kAuthAccess : connection::kAuthPostgres);
        QVERIFY(connection::writeStored(stored));
        Tlogin& login = window<Tlogin>();
        login.local->setChecked(true);
        const QString chosen = m_files.filePath(QStringLiteral("help"));
        rec.files = {chosen};
        login.Label9Click();
        QCOMPARE(readAll(chosen), QByteArray("HELP"));  // the unsafe extension is left off
        QCOMPARE(test::fileMode(chosen), 0600);
        QCOMPARE(rec.shown.last().kind, QStringLiteral("desktop"));
        QCOMPARE(rec.shown.last().text, chosen);
        // A failed write is said, and nothing is opened.
        rec.clear();
        rec.files = {m_files.filePath(QStringLiteral("no/such/folder/help"))};
        login.Label9Click();
        QCOMPARE(rec.lastText(), attachments::kWriteFailed);
        QVERIFY(rec.shown.last().kind != QLatin1String("desktop"));
    }
};

TAVRIN_DB_TEST_MAIN(TestZamaem)
#include "tst_zamaem.moc"
