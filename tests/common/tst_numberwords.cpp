// Persian words of amounts: the documented examples, the edges of the scale
// table, rejected input, the printing fallback and the command-line tool.
#include "support/testsupport.h"

#include "common/numberwords.h"

// The command table lives in the command-line program; compiled in here so
// its commands can be run on strings.
#include "cli/commands.h"

using namespace tavrin;

class TestNumberWords : public QObject {
    Q_OBJECT

    static QString words(const char* digits)
    {
        const auto w = words::toWords(QString::fromLatin1(digits));
        if (!w)
            return QStringLiteral("<error>");
        return *w;
    }

private Q_SLOTS:
    void groupsOfThree_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("expected");
        QTest::newRow("5") << 5 << QStringLiteral("پنج");
        QTest::newRow("15") << 15 << QStringLiteral("پانزده");
        QTest::newRow("40") << 40 << QStringLiteral("چهل");
        QTest::newRow("45") << 45 << QStringLiteral("چهل و پنج");
        QTest::newRow("100") << 100 << QStringLiteral("يکصد");
        QTest::newRow("115") << 115 << QStringLiteral("يکصد و پانزده");
        QTest::newRow("999") << 999 << QStringLiteral("نهصد و نود و نه");
    }
    void groupsOfThree()
    {
        QFETCH(int, n);
        QFETCH(QString, expected);
        QCOMPARE(words::groupWords(n), expected);
    }

    void documentedExamples_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("expected");
        QTest::newRow("2000") << QStringLiteral("2000") << QStringLiteral("دو هزار");
        QTest::newRow("2500") << QStringLiteral("2500") << QStringLiteral("دو هزار و پانصد ");
        QTest::newRow("1015") << QStringLiteral("1015") << QStringLiteral("يک هزار و پانزده ");
        QTest::newRow("5") << QStringLiteral("5") << QStringLiteral("پنج ");
        QTest::newRow("1000") << QStringLiteral("1000") << QStringLiteral("يک هزار");
        QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("صفر");
        QTest::newRow("000") << QStringLiteral("000") << QString();
        QTest::newRow("1000000") << QStringLiteral("1000000") << QStringLiteral("يک ميليون");
        QTest::newRow("1000001") << QStringLiteral("1000001") << QStringLiteral("يک ميليون و يک ");
        QTest::newRow("110") << QStringLiteral("110") << QStringLiteral("يکصد و ده ");
        QTest::newRow("120") << QStringLiteral("120") << QStringLiteral("يکصد و بيست ");
    }
    void documentedExamples()
    {
        QFETCH(QString, digits);
        QFETCH(QString, expected);
        const auto w = words::toWords(digits);
        QVERIFY(w.has_value());
        QCOMPARE(*w, expected);
    }

    void zeroGroupsAddNothing()
    {
        QCOMPARE(words("1000005"), words("1000000") + QStringLiteral(" و ") + words("5"));
        QCOMPARE(words("0005"), words("5"));
        QCOMPARE(words("000000"), QString());
    }

    void everyScaleWord()
    {
        // 15 digits: groups of trillions, billions, millions, thousands, units.
        const QString j = QStringLiteral(" و ");
        QCOMPARE(words("123456789012345"),
                 QStringLiteral("يکصد") + j + QStringLiteral("بيست") + j + QStringLiteral("سه")
                     + QStringLiteral(" تريليون") + j
                     + QStringLiteral("چهارصد") + j + QStringLiteral("پنجاه") + j + QStringLiteral("شش")
                     + QStringLiteral(" ميليارد") + j
                     + QStringLiteral("هفتصد") + j + QStringLiteral("هشتاد") + j + QStringLiteral("نه")
                     + QStringLiteral(" ميليون") + j
                     + QStringLiteral("دوازده") + QStringLiteral(" هزار") + j
                     + QStringLiteral("سيصد") + j + QStringLiteral("چهل") + j + QStringLiteral("پنج")
                     + QLatin1Char(' '));
        QCOMPARE(words("100000000000000"), QStringLiteral("يکصد تريليون"));
        QCOMPARE(words("1000000000"), QStringLiteral("يک ميليارد"));
    }

    void invalidInputIsRejected_data()
    {
        QTest::addColumn<QString>("input");
        QTest::newRow("16 digits") << QStringLiteral("1000000000000000");
        QTest::newRow("empty") << QString();
        QTest::newRow("separator") << QStringLiteral("2,500");
        QTest::newRow("decimal point") << QStringLiteral("2500.0");
        QTest::newRow("minus") << QStringLiteral("-5");
        QTest::newRow("blank") << QStringLiteral(" 5");
        QTest::newRow("letters") << QStringLiteral("12a");
        QTest::newRow("persian digits") << QStringLiteral("۲۵۰۰");
    }
    void invalidInputIsRejected()
    {
        QFETCH(QString, input);
        QVERIFY(!words::toWords(input).has_value());
    }

    void amountInWordsAsksOnlyWhenNeeded()
    {
        test::DialogRecorder rec;
        QCOMPARE(words::amountInWords(QStringLiteral("2500")), QStringLiteral("دو هزار و پانصد "));
        QVERIFY(rec.shown.isEmpty());

        rec.inputs.push_back(QStringLiteral("دو ميليون ريال"));
        QCOMPARE(words::amountInWords(QStringLiteral("2,000,000")), QStringLiteral("دو ميليون ريال"));
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.shown[0].kind, QStringLiteral("input"));
        QCOMPARE(rec.shown[0].title, QStringLiteral("Mablagh Horofi"));
        QCOMPARE(rec.shown[0].text, QStringLiteral("مبلغ را بحروف وارد نماييد"));

        // Cancelled: the digits offered in the box are printed.
        rec.inputs.push_back(std::nullopt);
        QCOMPARE(words::amountInWords(QStringLiteral("-15")), QStringLiteral("-15"));
        QCOMPARE(rec.shown.size(), 2);
        QCOMPARE(rec.shown[1].text, QStringLiteral("مبلغ را بحروف وارد نماييد"));
    }

    void commandLine()
    {
        QString out, err;
        {
            QTextStream o(&out), e(&err);
            QCOMPARE(cli::run({QStringLiteral("words"), QStringLiteral("2500")}, o, e), 0);
        }
        QCOMPARE(out, QStringLiteral("دو هزار و پانصد \n"));
        QVERIFY(err.isEmpty());

        for (const QString& bad : {QStringLiteral("12,5"), QStringLiteral("1000000000000000"), QStringLiteral("x")}) {
            out.clear();
            err.clear();
            {
                QTextStream o(&out), e(&err);
                QCOMPARE(cli::run({QStringLiteral("words"), bad}, o, e), 1);
            }
            QVERIFY(out.isEmpty());
            QVERIFY(err.contains(bad));
        }
        out.clear();
        err.clear();
        {
            QTextStream o(&out), e(&err);
            QCOMPARE(cli::run({QStringLiteral("words")}, o, e), 2);
        }
        QVERIFY(err.contains(QStringLiteral("usage")));
    }
};

TAVRIN_TEST_MAIN(TestNumberWords)
#include "tst_numberwords.moc"
