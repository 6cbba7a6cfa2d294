// The pre-registration record without its windows: the checks in their order,
// the name warning, one national code under two writers, edits, the delete
// with its deposits in one transaction, and the search's scope and filters.
#include "prereg_fixtures.h"

#include "prereg/prereg_texts.h"

#include "common/fieldcheck.h"
#include "common/session.h"



using namespace tavrin;
using namespace tavrin::prereg;
using namespace tavrin::test;

class TestPishsabt : public QObject {
    Q_OBJECT

    static Outcome attempt(PersonValues v) { return insertPerson(v, askWarning()); }
    static QString refusalOf(const PersonValues& v) { return attempt(v).message(); }

    // Makes the next delete of a pre-registration row fail inside the database.
    static void failRowDeletes()
    {
        if (backendUnderTest() == Backend::SQLite) {
            dm().exec(QStringLiteral("create trigger no_delete before delete on pishsabt begin select raise(abort,'injected'); end"));
        } else {
            dm().exec(QStringLiteral("create function no_delete() returns trigger language plpgsql as "
                                     "$$ begin raise exception 'injected'; end $$"));
            dm().exec(QStringLiteral("create trigger no_delete before delete on pishsabt for each row execute function no_delete()"));
        }
    }

private Q_SLOTS:
    void init()
    {
        useFreshDatabase();
        addPlaces();
        addUser(QStringLiteral("karbar1"), QStringLiteral("city"), kFars, {}, {kShiraz});
        loginAs(QStringLiteral("admin"));
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"), {QStringLiteral("رمز حذف"), QStringLiteral("123")});
    }

    void checksComeInTheirOrder()
    {
        DialogRecorder rec;
        PersonValues v = person(QString(), QStringLiteral("رضايي"), QString(), QString());
        QCOMPARE(refusalOf(v), preregtext::kNoProvince);
        v[QStringLiteral("ostan")] = kTehran;
        QCOMPARE(refusalOf(v), preregtext::kNoCounty);
        // Both names exist, not as a pair; a trailing blank is another name.
        v[QStringLiteral("shahrestan")] = kShiraz;
        QCOMPARE(refusalOf(v), preregtext::kNotFromList);
        v[QStringLiteral("shahrestan")] = kShemiranat + ' ';
        QCOMPARE(attempt(v).focus, QStringLiteral("ostan"));
        v[QStringLiteral("shahrestan")] = kShemiranat;
        QCOMPARE(refusalOf(v), preregtext::kNoNation);
        v[QStringLiteral("nation")] = QStringLiteral("0012345679");
        v[QStringLiteral("birthday")] = QStringLiteral("1370/13/01");
        QCOMPARE(refusalOf(v), QStringLiteral("خطا! تاريخ تولد معتبر نيست"));
        v[QStringLiteral("birthday")] = QStringLiteral("1370/1 /  ");
        QCOMPARE(attempt(v).focus, QStringLiteral("birthday"));
        v[QStringLiteral("birthday")] = QString();
        v[QStringLiteral("adr")] = QString(201, QChar(0x0628));
        QCOMPARE(refusalOf(v), tooLongMessage(QStringLiteral("آدرس"), 200));
        // Half of a character pair (or a NUL) would not come back as typed.
        for (const QString& bad : QStringList {QStringLiteral("تهران ") + QChar(0xD83D), QStringLiteral("ا") + QChar(0) + QStringLiteral("ب")}) {
            v[QStringLiteral("adr")] = bad;
            QCOMPARE(refusalOf(v), QStringLiteral("خطا! آدرس حرفي دارد که قابل ذخيره نيست"));
            QCOMPARE(attempt(v).focus, QStringLiteral("adr"));
        }
        QCOMPARE(countOf(QStringLiteral("select count(*) from pishsabt")), 0);
        QCOMPARE(countOf(QStringLiteral("select count(*) from log")), 0);
        QVERIFY(rec.texts().isEmpty());
    }

    void nationalCodeIsUniqueOverEveryProvince()
    {
        QVERIFY(savedPerson(person(QStringLiteral("0012345679"), QStringLiteral("رضايي"), kFars, kShiraz)));
        // A county user of Tehran who cannot see Fars is refused all the same;
        // Persian digits are the same code.
        addUser(QStringLiteral("karbar2"), QStringLiteral("city"), kTehran, {}, {kShemiranat});
        loginAs(QStringLiteral("karbar2"));
        QCOMPARE(refusalOf(person(QStringLiteral("۰۰۱۲۳۴۵۶۷۹"))), preregtext::kDuplicateNation);
        QCOMPARE(countOf(QStringLiteral("select count(*) from pishsabt")), 1);
    }

    void nameWarningNamesThePlaceAndYesSavesASecondRow()
    {
        QVERIFY(savedPerson(person(QStringLiteral("1111111111"))));
        DialogRecorder rec;
        rec.answers = {Answer::No, Answer::Cancel, Answer::Yes};
        const Outcome no = attempt(person(QStringLiteral("2222222222")));
        QVERIFY(!no.done && no.message().isEmpty());
        QVERIFY(!attempt(person(QStringLiteral("2222222222"))).done);
        QCOMPARE(rec.texts().first(), preregtext::kNameWarning + kTehran + ' ' + kShemiranat);
        QVERIFY(savedPerson(person(QStringLiteral("2222222222"))));
        // The same names in another county are no namesakes.
        QVERIFY(savedPerson(person(QStringLiteral("3333333333"), QStringLiteral("رضايي"), kTehran, kRey)));
        QCOMPARE(rec.texts().size(), 3);
        QCOMPARE(countOf(QStringLiteral("select count(*) from pishsabt")), 3);
    }

    void newPersonIsStoredWithItsUserAndLogRow()
    {
        loginAs(QStringLiteral("karbar1"));
        PersonValues v = person(QStringLiteral("۰۰۱۲۳۴۵۶۷۹"), QStringLiteral("کريمي"), kFars, kShiraz);
        v[QStringLiteral("birthday")] = QStringLiteral("۱۳۷۰/۰۵/۰۱");
        const qint64 id = savedPerson(v);
        const auto r = dm().firstRow(QStringLiteral("select * from pishsabt where id=?"), {id});
        QVERIFY(r);
        QCOMPARE(r->value(QStringLiteral("reg_user")).toString(), QStringLiteral("karbar1"));
        QCOMPARE(r->value(QStringLiteral("nation")).toString(), QStringLiteral("0012345679"));
        QCOMPARE(r->value(QStringLiteral("birthday")).toString(), QStringLiteral("1370/05/01"));
        QVERIFY(!r->value(QStringLiteral("job")).isNull());
        QCOMPARE(logComments(), QStringList {QStringLiteral(" ثبت اطلاعات پيش ثبت نام ") + kFars + ' ' + kShiraz +
                                             QStringLiteral(" کريمي")});
    }

    // Another user records the same code while this one saves: the code is
    // looked up again after the other's commit, so one row results.
    void twoUsersCannotRecordOneCode()
    {
        Outcome r;
        test::whileAnotherUserHolds(
            [&](Database& db) {
                const QString lock = db.dialect().lockTableStatement(QStringLiteral("pishsabt"));
                if (!lock.isEmpty())
                    db.exec(lock);
                db.exec(QStringLiteral("insert into pishsabt (ostan,shahrestan,lname,nation) values (?,?,?,?)"),
                        {kFars, kShiraz, QStringLiteral("ديگري"), QStringLiteral("0012345679")});
            },
            [&] {
                PersonValues v = person(QStringLiteral("0012345679"));
                r = insertPerson(v, askWarning());
            });
        QCOMPARE(r.message(), preregtext::kDuplicateNation);
        QCOMPARE(countOf(QStringLiteral("select count(*) from pishsabt")), 1);
        QCOMPARE(countOf(QStringLiteral("select count(*) from log")), 0);
    }

    void editKeepsTheUserAndGuardsTheCode()
    {
        const qint64 a = savedPerson(person(QStringLiteral("1111111111"), QStringLiteral("الف")));
        const qint64 b = savedPerson(person(QStringLiteral("2222222222"), QStringLiteral("ب")));
        loginAs(QStringLiteral("karbar1"));
        PersonValues v = person(QStringLiteral("1111111111"), QStringLiteral("الف"), kTehran, kRey);
        const auto row = [](qint64 id) { return *dm().firstRow(QStringLiteral("select * from pishsabt where id=?"), {id}); };
        QVERIFY(updatePerson(a, valuesOf(row(a)), v).done);
        QCOMPARE(row(a).value(QStringLiteral("shahrestan")).toString(), kRey);
        QCOMPARE(row(a).value(QStringLiteral("reg_user")).toString(), QStringLiteral("admin"));
        QCOMPARE(logComments().last(), QStringLiteral(" ويرايش اطلاعات پيش ثبت نام ") + kTehran + ' ' + kRey + QStringLiteral(" الف"));
        // A code another person holds is refused; an already shared code is left alone.
        v[QStringLiteral("nation")] = QStringLiteral("2222222222");
        QCOMPARE(updatePerson(a, valuesOf(row(a)), v).message(), preregtext::kDuplicateNation);
        QCOMPARE(row(a).value(QStringLiteral("nation")).toString(), QStringLiteral("1111111111"));
        dm().exec(QStringLiteral("update pishsabt set nation=? where id=?"), {QStringLiteral("2222222222"), a});
        v[QStringLiteral("cmt")] = QStringLiteral("توضيح");
        QVERIFY(updatePerson(a, valuesOf(row(a)), v).done);
        // A row deleted meanwhile is reported as such and nothing is logged.
        const int logs = countOf(QStringLiteral("select count(*) from log"));
        const PersonValues read = valuesOf(row(b));
        dm().exec(QStringLiteral("delete from pishsabt where id=?"), {b});
        PersonValues w = person(QStringLiteral("2222222222"), QStringLiteral("ب"));
        const Outcome gone = updatePerson(b, read, w);
        QVERIFY(gone.gone && !gone.done);
        QCOMPARE(gone.message(), kPersonGone);
        QCOMPARE(countOf(QStringLiteral("select count(*) from log")), logs);
    }

    void deleteTakesTheDepositsInOneTransaction()
    {
        const qint64 a = savedPerson(person(QStringLiteral("1111111111"), QStringLiteral("الف")));
        const qint64 b = savedPerson(person(QStringLiteral("2222222222"), QStringLiteral("ب"), kTehran, kRey));
        for (qint64 id : {a, a, b}) {
            DepositValues d = deposit(QStringLiteral("1000"), QStringLiteral("0"), QString::number(countOf(QStringLiteral("select count(*) from pishpardakht"))));
            QVERIFY(insertDeposit(id, d).done);
        }
        const QSqlRecord rowA = *dm().firstRow(QStringLiteral("select * from pishsabt where id=?"), {a});
        DialogRecorder rec;
        dm().exec(QStringLiteral("delete from log"));
        // A wrong password stops silently.
        rec.inputs = {QStringLiteral("999")};
        QCOMPARE(deletePerson(rowA), DeleteOutcome::Cancelled);
        QVERIFY(rec.texts().isEmpty());
        // A failure after the deposits' delete leaves everything as it was.
        failRowDeletes();
        rec.inputs = {QStringLiteral("123")};
        QCOMPARE(deletePerson(rowA), DeleteOutcome::Failed);
        QCOMPARE(countOf(QStringLiteral("select count(*) from pishpardakht where pishsabt_id=?"), {a}), 2);
        QCOMPARE(countOf(QStringLiteral("select count(*) from pishsabt")), 2);
        QCOMPARE(countOf(QStringLiteral("select count(*) from log")), 0);
        QCOMPARE(dm().transactionDepth(), 0);
        dm().exec(backendUnderTest() == Backend::SQLite ? QStringLiteral("drop trigger no_delete")
                                                        : QStringLiteral("drop trigger no_delete on pishsabt"));
        rec.inputs = {QStringLiteral("123")};
        QCOMPARE(deletePerson(rowA), DeleteOutcome::Deleted);
        QCOMPARE(countOf(QStringLiteral("select count(*) from pishpardakht")), 1);
        QCOMPARE(logComments(), QStringList {QStringLiteral(" حذف اطلاعات پيش ثبت علي الف")});
        // Deleted meanwhile: said so, nothing logged.
        rec.inputs = {QStringLiteral("123")};
        QCOMPARE(deletePerson(rowA), DeleteOutcome::Gone);
        QCOMPARE(rec.lastText(), kPersonGone);
        QCOMPARE(countOf(QStringLiteral("select count(*) from log")), 1);
        // The applicant record's conversion removes the rest without a log row,
        // and rolls back with its own transaction.
        {
            Transaction outer(dm());
            QVERIFY(removePreregistration(b));
        }
        QCOMPARE(countOf(QStringLiteral("select count(*) from pishsabt")), 1);
        QVERIFY(removePreregistration(b));
        QCOMPARE(countOf(QStringLiteral("select count(*) from pishsabt")) + countOf(QStringLiteral("select count(*) from pishpardakht")), 0);
        QCOMPARE(countOf(QStringLiteral("select count(*) from log")), 1);
    }

    void searchKeepsToTheUsersCounties()
    {
        QVERIFY(savedPerson(person(QStringLiteral("1111111111"), QStringLiteral("کاظمي"))));
        QVERIFY(savedPerson(person(QStringLiteral("2222222222"), QStringLiteral("نيکو"), kTehran, kRey)));
        QVERIFY(savedPerson(person(QStringLiteral("3333333333"), QStringLiteral("زارع"), kFars, kShiraz)));
        dm().exec(QStringLiteral("update pishsabt set reg_user=?,gender=? where nation=?"),
                  {QStringLiteral("سايت ثبت نام"), QStringLiteral("زن"), QStringLiteral("2222222222")});
        const auto found = [](const PersonFilter& f) {
            const ListQuery q = personQuery(f);
            return countOf(q.countSql(), q.values());
        };
        QCOMPARE(found({}), 3);
        // The preset lists the internet channel's rows, whatever their exact text.
        PersonFilter f;
        f.regUser = preregtext::kInternetPreset;
        QCOMPARE(found(f), 1);
        f = {};
        f.ostan = kTehran;
        QCOMPARE(found(f), 2);
        f.lname = QStringLiteral("كاظمي");  // Arabic kaf and yeh find the Persian spelling
        QCOMPARE(found(f), 1);
        f = {};
        f.gender = QStringLiteral("زن");
        f.nation = QStringLiteral("۲۲۲");
        QCOMPARE(found(f), 1);
        // Every level but admin sees only its granted counties; none, nothing.
        loginAs(QStringLiteral("karbar1"));
        QCOMPARE(found({}), 1);
        addUser(QStringLiteral("keshvar1"), QStringLiteral("keshvar"));
        loginAs(QStringLiteral("keshvar1"));
        QCOMPARE(found({}), 0);
    }
};

TAVRIN_DB_TEST_MAIN(TestPishsabt)
#include "tst_pishsabt.moc"
