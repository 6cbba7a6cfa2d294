// An applicant's paper file: upload and save of whole files (the bytes come
// back unchanged, with the stored extension), refusals that store nothing,
// delete with the password, and the checklist adding only missing types.
#include "applicants/applicant_fixtures.h"

#include "applicants/applicant_windows.h"
#include "applicants/child_texts.h"
#include "applicants/customers_pic_u.h"
#include "applicants/savabegh_u.h"
#include "applicants/documents_logic.h"

#include "admin/attachments.h"
#include "common/listmodel.h"
#include "common/windows.h"

#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <algorithm>

using namespace tavrin;
using namespace tavrin::applicantfiles;
using namespace tavrin::childtext;

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

QByteArray sampleBytes()
{
    QByteArray b;
    for (int i = 0; i < 70000; ++i)
        b.append(char(i * 7 % 256));  // every byte value, NUL included
    return b;
}

} // namespace

class TestDocuments : public QObject {
    Q_OBJECT
    qint64 m_a = 0;
    QTemporaryDir m_dir;

private Q_SLOTS:
    void init()
    {
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        const QSqlRecord prj = test::addProject(QStringLiteral("مهر"), 10);
        m_a = test::addBuyer(prj.value(QStringLiteral("id")).toLongLong(),
                             test::addUnit(prj, QStringLiteral("1-1-1"), 1000).value(QStringLiteral("id")).toLongLong(),
                             QStringLiteral("کريمي"), QStringLiteral("0012345679"));
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,'pw')"), {QStringLiteral("رمز حذف")});
        for (const QString& t : {QStringLiteral("شناسنامه"), QStringLiteral("کارت ملي"), QStringLiteral("قرارداد")})
            dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"), {kSetDocTypes, t});
    }

    void refusalsStoreNothingAndSavedNamesGetTheExtension()
    {
        const QString jpg = writeFile(m_dir, QStringLiteral("scan.jpg"), "x");
        QCOMPARE(addPicture(m_a, QStringLiteral(" "), jpg).texts(), QStringList {kNoDescription});
        QCOMPARE(addPicture(m_a, QStringLiteral("سند"), writeFile(m_dir, QStringLiteral("scan.jpeg12"), "x")).texts(),
                 QStringList {kUploadFailed});
        QCOMPARE(addPicture(m_a, QString(151, QChar(0x0633)), jpg).texts(), QStringList {kUploadFailed});
        QCOMPARE(addPicture(m_a, QStringLiteral("سند"), m_dir.filePath(QStringLiteral("gone.jpg"))).texts(),
                 QStringList {kUploadFailed});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from customers_pic")), 0);
        QCOMPARE(savedName(QStringLiteral("/tmp/a"), QStringLiteral(".jpg")), QStringLiteral("/tmp/a.jpg"));
        QCOMPARE(savedName(QStringLiteral("/tmp/a.JPG"), QStringLiteral(".jpg")), QStringLiteral("/tmp/a.JPG"));
        QCOMPARE(extensionOf(QStringLiteral("/x/README")), QStringLiteral(""));
    }

    // Another user deletes the applicant's file while this one uploads a scan:
    // the upload waits for the delete and is refused; no picture is left behind.
    void uploadDuringADeleteLeavesNoPicture()
    {
        Outcome r;
        test::whileAnotherUserHolds(
            [this](Database& db) {
                db.exec(QStringLiteral("update customers set lname=lname where id=?"), {m_a});
                db.exec(QStringLiteral("delete from customers where id=?"), {m_a});
            },
            [&] { r = addPicture(m_a, QStringLiteral("سند"), writeFile(m_dir, QStringLiteral("late.jpg"), "x")); });
        QCOMPARE(r.texts(), QStringList {kCustomerGone});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from customers_pic")), 0);
    }

    void checklistAddsOnlyMissingTypes()
    {
        QVERIFY(recordTypes(m_a, {QStringLiteral("شناسنامه")}).done);
        // A NULL description among the recorded rows does not empty the missing list.
        dm().exec(QStringLiteral("insert into savabegh (cust_id,cmt) values (?,NULL)"), {m_a});
        QCOMPARE(missingTypes(m_a), (QStringList {QStringLiteral("کارت ملي"), QStringLiteral("قرارداد")}));
        QVERIFY(recordTypes(m_a, {QStringLiteral("شناسنامه"), QStringLiteral("قرارداد")}).done);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from savabegh where cmt is not null")), 2);
        QCOMPARE(missingTypes(m_a), QStringList {QStringLiteral("کارت ملي")});
        QCOMPARE(test::logComments().size(), 2);
        QVERIFY(test::logComments()[0].startsWith(QStringLiteral(" ثبت مدارک پرونده علي کريمي")));
    }

    void windowsUploadSaveDeleteAndTick()
    {
        ::umask(022);
        test::DialogRecorder rec;
        applicants::clearApplicantWindows();
        applicants::registerApplicantWindows();
        test::addUser(QStringLiteral("d1"), QStringLiteral("admin"), {}, {{QStringLiteral("customers_pic"), QStringLiteral("1011")}});
        test::loginAs(QStringLiteral("d1"));
        const QByteArray bytes = sampleBytes();
        const QString source = writeFile(m_dir, QStringLiteral("scan.png"), bytes);
        const QString target = m_dir.filePath(QStringLiteral("copy"));
        rec.onExec = [&](QDialog* d) {
            if (auto* w = qobject_cast<Tcustomers_pic*>(d)) {
                w->ins_btnClick();  // no description: refused before the file dialog
                test::child<QComboBox>(w, QStringLiteral("cmt"))->setEditText(QStringLiteral("پلان"));
                rec.files = {source, target};
                w->ins_btnClick();
                w->grid()->setCurrentIndex(w->grid()->listModel()->index(0, 0));
                w->DBGrid1CellClick();
                // No program opens it: the user is told where it was saved.
                rec.desktopOpens = false;
                rec.files = {target + QStringLiteral("2")};
                w->DBGrid1CellClick();
                rec.inputs = {QStringLiteral("wrong"), QStringLiteral("pw")};
                w->N1Click();
                w->N1Click();
            } else if (auto* s = qobject_cast<Tsavabegh*>(d)) {
                auto* all = test::child<QListWidget>(s, QStringLiteral("CheckListBox1"));
                for (int i = 0; i < all->count(); ++i)
                    all->item(i)->setCheckState(Qt::Checked);
                s->BitBtn1Click();
                s->grid()->setCurrentIndex(s->grid()->listModel()->index(0, 0));
                rec.inputs = {QStringLiteral("wrong")};
                s->N1Click();
            }
            return 0;
        };
        QVERIFY(applicants::openApplicantWindow(QStringLiteral("N6"), m_a, nullptr, 700, {}));
        QFile saved(target + QStringLiteral(".png"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), bytes);
        QCOMPARE(test::fileMode(saved.fileName()), 0600);  // a scanned document, under the usual umask
        QCOMPARE(rec.texts(), (QStringList {kNoDescription,
                                            attachments::kSavedAt + QLatin1Char('\n') + target + QStringLiteral("2.png"),
                                            kWrongPassword, kDeleted}));
        QCOMPARE(rec.shown.at(2).kind, QStringLiteral("open"));  // after the window and the refusal
        QCOMPARE(rec.shown.last().kind, QStringLiteral("information"));
        QVERIFY(std::any_of(rec.shown.cbegin(), rec.shown.cend(), [&](const auto& s) {
            return s.kind == QLatin1String("desktop") && s.text == target + QStringLiteral(".png");
        }));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from customers_pic")), 0);
        // The checklist: every type ticked is recorded once; a wrong password removes nothing, silently.
        rec.clear();
        QVERIFY(applicants::openApplicantWindow(QStringLiteral("N3"), m_a, nullptr, 700, {}));
        QCOMPARE(rec.texts(), QStringList {kSaved});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from savabegh")), 3);
        QVERIFY(missingTypes(m_a).isEmpty());
    }
};

TAVRIN_DB_TEST_MAIN(TestDocuments)
#include "tst_documents.moc"
