// The deposits of a pre-registration without their windows: typed amounts,
// the duplicate check on the amount's value, a person deleted meanwhile, the
// three totals, the delete that gives the values back, and the searches.
#include "prereg_fixtures.h"

#include "prereg/prereg_texts.h"

using namespace tavrin;
using namespace tavrin::prereg;
using namespace tavrin::test;

class TestDeposits : public QObject {
    Q_OBJECT
    qint64 m_a = 0;
    qint64 m_b = 0;

    static Outcome save(qint64 person, DepositValues v) { return insertDeposit(person, v); }
    static int deposits() { return countOf(QStringLiteral("select count(*) from pishpardakht")); }

private Q_SLOTS:
    void init()
    {
        useFreshDatabase();
        addPlaces();
        loginAs(QStringLiteral("admin"));
        m_a = savedPerson(person(QStringLiteral("1111111111"), QStringLiteral("الف")));
        m_b = savedPerson(person(QStringLiteral("2222222222"), QStringLiteral("ب"), kFars, kShiraz));
        QVERIFY(m_a && m_b);
    }

    void totalsGroupWholeRialsWithTheSignInFront()
    {
        QCOMPARE(depositTotals(m_a).mablaghSum, QString());
        QCOMPARE(depositTotals(m_a).mande, QString());
        QVERIFY(save(m_a, deposit(QStringLiteral("30,000,000"), QStringLiteral("20,000,000"), QStringLiteral("1"))).done);
        QVERIFY(save(m_a, deposit(QStringLiteral("50000000"), QStringLiteral("۳۰۰۰۰۰۰۰"), QStringLiteral("2"))).done);
        const DepositTotals t = depositTotals(m_a);
        QCOMPARE(t.mablaghSum, QStringLiteral("80,000,000"));
        QCOMPARE(t.vosolSum, QStringLiteral("50,000,000"));
        QCOMPARE(t.mande, QStringLiteral("30,000,000"));
        // More collected than promised.
        QVERIFY(save(m_b, deposit(QStringLiteral("500000"), QStringLiteral("1000000"))).done);
        QCOMPARE(depositTotals(m_b).mande, QStringLiteral("-500,000"));
        QCOMPARE(echoAmount(QStringLiteral("-500000")), QStringLiteral("-500,000"));
        QCOMPARE(echoAmount(QStringLiteral("30,000,000")), QStringLiteral("30,000,000"));
        QCOMPARE(echoAmount(QStringLiteral("123")), QStringLiteral("123"));
        QCOMPARE(echoAmount(QStringLiteral("1234a")), QStringLiteral("12,34a"));
    }

    void duplicateComparesTheAmountsValue()
    {
        QVERIFY(save(m_a, deposit(QStringLiteral("30,000,000"), QStringLiteral("0"))).done);
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from pishpardakht where mablagh=30000000")).toInt(), 1);
        for (const QString& typed : {QStringLiteral("30000000"), QStringLiteral("۳۰,۰۰۰,۰۰۰")}) {
            const Outcome r = save(m_a, deposit(typed, QStringLiteral("5")));
            QCOMPARE(r.message(), preregtext::kDuplicateDeposit);
        }
        // Another person, number or date is another deposit.
        QVERIFY(save(m_b, deposit(QStringLiteral("30000000"), QStringLiteral("0"))).done);
        QVERIFY(save(m_a, deposit(QStringLiteral("30000000"), QStringLiteral("0"), QStringLiteral("12"))).done);
        QVERIFY(save(m_a, deposit(QStringLiteral("30000000"), QStringLiteral("0"), QStringLiteral("11"), QStringLiteral("1403/01/16"))).done);
        QCOMPARE(deposits(), 4);
    }

    void badValuesSaveNothing()
    {
        const auto refused = [this](const DepositValues& v) { return save(m_a, v); };
        QCOMPARE(refused(deposit(QStringLiteral("12a"), QStringLiteral("0"))).message(), preregtext::kBadAmount);
        QCOMPARE(refused(deposit(QString(), QStringLiteral("0"))).focus, QStringLiteral("mablagh"));
        // More digits than a money column holds.
        QCOMPARE(refused(deposit(QStringLiteral("1,000,000,000,000,000"), QStringLiteral("0"))).message(), preregtext::kBadAmount);
        QCOMPARE(refused(deposit(QStringLiteral("10"), QStringLiteral("x"))).message(), preregtext::kBadVosol);
        QCOMPARE(refused(deposit(QStringLiteral("10"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1403/12/30"))).focus,
                 QString());  // 1403 is a leap year
        QCOMPARE(refused(deposit(QStringLiteral("10"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("1402/12/30"))).message(),
                 QStringLiteral("خطا! تاريخ چک/فيش معتبر نيست"));
        DepositValues longNumber = deposit(QStringLiteral("10"), QStringLiteral("0"), QString(21, QLatin1Char('7')));
        QCOMPARE(refused(longNumber).focus, QStringLiteral("num"));
        QCOMPARE(deposits(), 1);
    }

    void aPersonDeletedMeanwhileTakesNoDeposit()
    {
        dm().exec(QStringLiteral("delete from pishsabt where id=?"), {m_a});
        const Outcome r = save(m_a, deposit(QStringLiteral("10"), QStringLiteral("0")));
        QVERIFY(r.gone && !r.done);
        QCOMPARE(r.message(), kPersonGone);
        QCOMPARE(deposits(), 0);
    }

    void deleteGivesTheValuesBack()
    {
        DepositValues v = deposit(QStringLiteral("30,000,000"), QStringLiteral("1,500"));
        v[QStringLiteral("cmt")] = QStringLiteral("قسط اول");
        v[QStringLiteral("norvad_bank")] = QStringLiteral("مسکن");
        const qint64 id = save(m_a, v).id;
        const auto back = deleteDeposit(id);
        QVERIFY(back);
        QCOMPARE(back->value(QStringLiteral("mablagh")), QStringLiteral("30000000"));
        QCOMPARE(back->value(QStringLiteral("vosol")), QStringLiteral("1500"));
        QCOMPARE(back->value(QStringLiteral("cmt")), QStringLiteral("قسط اول"));
        QCOMPARE(deposits(), 0);
        QVERIFY(!deleteDeposit(id));
        // Saving them again restores the deposit.
        QVERIFY(save(m_a, *back).done);
        QCOMPARE(depositTotals(m_a).mablaghSum, QStringLiteral("30,000,000"));
    }

    void searchesAndReadsForTheApplicantWindows()
    {
        QVERIFY(save(m_a, deposit(QStringLiteral("10"), QStringLiteral("0"), QStringLiteral("1"))).done);
        QVERIFY(save(m_a, deposit(QStringLiteral("20"), QStringLiteral("0"), QStringLiteral("2"))).done);
        QVERIFY(save(m_b, deposit(QStringLiteral("30"), QStringLiteral("0"), QStringLiteral("3"))).done);
        const auto found = [](const AllDepositsFilter& f) {
            const ListQuery q = allDepositsQuery(f);
            return countOf(q.countSql(), q.values());
        };
        QCOMPARE(found({}), 3);
        AllDepositsFilter f;
        f.lname = QStringLiteral("الف");
        QCOMPARE(found(f), 2);
        f = {};
        f.shahrestan = kShiraz;
        QCOMPARE(found(f), 1);
        // Only the provincial and county levels are held to their counties.
        addUser(QStringLiteral("ostani"), QStringLiteral("ostan"), kFars, {}, {kShiraz});
        loginAs(QStringLiteral("ostani"));
        QCOMPARE(found({}), 1);
        addUser(QStringLiteral("keshvar1"), QStringLiteral("keshvar"));
        loginAs(QStringLiteral("keshvar1"));
        QCOMPARE(found({}), 3);

        const QList<Deposit> byCode = depositsByNationCode(QStringLiteral("۱۱۱۱۱۱۱۱۱۱"));
        QCOMPARE(byCode.size(), 2);
        QCOMPARE(byCode[0].mablagh, std::optional<qint64>(10));
        QCOMPARE(byCode[1].num, QStringLiteral("2"));
        QCOMPARE(depositsOf(m_b).size(), 1);
    }
};

TAVRIN_DB_TEST_MAIN(TestDeposits)
#include "tst_deposits.moc"
