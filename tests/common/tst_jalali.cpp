// Jalali dates: the documented conversions, the years where the old four-year
// rule goes wrong, and the command-line conversions.
#include "support/testsupport.h"

#include "cli/commands.h"
#include "common/jalali.h"
#include "common/windows.h"
#include "db/schema.h"

using namespace tavrin;

class TestJalali : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void conversions_data()
    {
        QTest::addColumn<QDate>("g");
        QTest::addColumn<QString>("j");
        QTest::newRow("day 80 of a leap year") << QDate(2020, 3, 20) << "1399/01/01";
        QTest::newRow("day 80") << QDate(2021, 3, 21) << "1400/01/01";
        QTest::newRow("leap day") << QDate(2021, 3, 20) << "1399/12/30";
        QTest::newRow("last day, common year") << QDate(2022, 3, 20) << "1400/12/29";
        QTest::newRow("new year 2021") << QDate(2021, 1, 1) << "1399/10/12";
        QTest::newRow("new year 2022") << QDate(2022, 1, 1) << "1400/10/11";
        QTest::newRow("k = 186") << QDate(2021, 9, 22) << "1400/06/31";
        QTest::newRow("k = 187") << QDate(2021, 9, 23) << "1400/07/01";
        QTest::newRow("two-digit month and day") << QDate(2023, 3, 21) << "1402/01/01";
        QTest::newRow("example 1399/07/05") << QDate(2020, 9, 26) << "1399/07/05";
        // The four-year rule would give 1407/12/30 and 1408/12/30 here.
        QTest::newRow("2029-03-20") << QDate(2029, 3, 20) << "1408/01/01";
        QTest::newRow("2030-03-20") << QDate(2030, 3, 20) << "1408/12/30";
        QTest::newRow("2030-03-21") << QDate(2030, 3, 21) << "1409/01/01";
    }
    void conversions()
    {
        QFETCH(QDate, g);
        QFETCH(QString, j);
        QCOMPARE(jalali::fromGregorian(g), j);
        QCOMPARE(jalali::fromGregorian(g.year(), g.month(), g.day()), j);
        QCOMPARE(jalali::fromIsoText(g.toString(Qt::ISODate)), j);
    }

    void agreesWithTheFourYearRuleFrom1994To2028()
    {
        // The stored dates were made with the four-year rule; it must agree over their range.
        const auto fourYearRule = [](int y, int m, int d) {
            static const int gm[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
            int doy = d;
            for (int i = 0; i < m - 1; ++i)
                doy += gm[i];
            if (m > 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0))
                ++doy;
            int jy, jm, jd;
            if (doy > 79) {
                jy = y - 621;
                const int k = doy - 79;
                if (k <= 186) {
                    jm = (k + 30) / 31;
                    jd = k - 31 * (jm - 1);
                } else {
                    const int k2 = k - 186;
                    jm = 6 + (k2 + 29) / 30;
                    jd = k2 - 30 * (jm - 7);
                }
            } else {
                jy = y - 622;
                const int k = doy + 10 + (((y - 1) % 4 == 0) ? 1 : 0);
                jm = 9 + (k + 29) / 30;
                jd = k - 30 * (jm - 10);
            }
            return QStringLiteral("%1/%2/%3").arg(jy).arg(jm, 2, 10, QChar('0')).arg(jd, 2, 10, QChar('0'));
        };
        for (QDate d(1994, 1, 1); d <= QDate(2028, 12, 31); d = d.addDays(1))
            QCOMPARE(jalali::fromGregorian(d), fourYearRule(d.year(), d.month(), d.day()));
    }

    void todayAndEmptyDates()
    {
        QCOMPARE(jalali::today(), jalali::fromGregorian(QDate::currentDate()));
        QCOMPARE(jalali::today().size(), 10);
        QVERIFY(jalali::isEmptyDate(QStringLiteral("    /  /  ")));
        QVERIFY(jalali::isEmptyDate(QStringLiteral("//")));
        QVERIFY(!jalali::isEmptyDate(QStringLiteral("1402/01/01")));
        QCOMPARE(jalali::fromIsoText(QStringLiteral("garbage")), QString());
        // A Jalali text is not the server's Gregorian date.
        QCOMPARE(jalali::fromIsoText(QStringLiteral("1403/01/01")), QString());
        QCOMPARE(jalali::fromIsoText(QStringLiteral(" 2020-03-20 10:00:00")), QStringLiteral("1399/01/01"));
    }

    // What a date field stores: a whole valid date (Persian digits read) or
    // the empty date mask for every stored form of "no date"; nothing else.
    void fieldDates_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");  // "-": refused
        const QString mask = QString::fromLatin1(kEmptyDateMask);
        QTest::newRow("whole") << "1405/08/01" << "1405/08/01";
        QTest::newRow("persian digits") << "۱۴۰۳/۰۱/۰۵" << "1403/01/05";
        QTest::newRow("leap day of a leap year") << "1403/12/30" << "1403/12/30";
        QTest::newRow("mask") << mask << mask;
        QTest::newRow("empty") << "" << mask;
        QTest::newRow("slashes") << "//" << mask;
        QTest::newRow("month 13") << "1405/13/40" << "-";
        QTest::newRow("day 31 of month 7") << "1405/07/31" << "-";
        QTest::newRow("leap day of a common year") << "1404/12/30" << "-";
        QTest::newRow("typed from the middle") << " 140/50/80" << "-";
        QTest::newRow("partly typed") << "1405/08/  " << "-";
        QTest::newRow("no leading zeros") << "1405/8/1" << "-";
        QTest::newRow("year 0999") << "0999/01/01" << "-";
    }
    void fieldDates()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QCOMPARE(jalali::fieldDate(typed).value_or(QStringLiteral("-")), stored);
        QCOMPARE(jalali::isValidDate(typed), stored == typed && !jalali::isEmptyDate(typed));
    }

    // A click anywhere into an empty date field starts typing at the year.
    void dateFieldTypesFromItsStart()
    {
        QWidget form;
        form.setLayoutDirection(Qt::RightToLeft);
        TDateEdit* e = makeDateEdit(&form, QStringLiteral("dat1"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(e->dateText(), QString::fromLatin1(kEmptyDateMask));
        e->setCursorPosition(6);
        const QPoint middle = e->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        e->setCursorPosition(10);
        QTest::mouseClick(e, Qt::LeftButton, {}, middle);
        QTest::keyClicks(e, "14050801");
        QCOMPARE(e->dateText(), QStringLiteral("1405/08/01"));
        QCOMPARE(e->date(), std::optional<QString>(QStringLiteral("1405/08/01")));
        // A click into a date keeps its place; stored forms of no date show the mask.
        e->setCursorPosition(6);
        const QPoint sixth = e->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        e->setCursorPosition(10);
        QTest::mouseClick(e, Qt::LeftButton, {}, sixth);
        QCOMPARE(e->cursorPosition(), 6);
        for (const QString& none : {QString(), QStringLiteral("//"), QStringLiteral("  ")}) {
            e->setDate(none);
            QCOMPARE(e->dateText(), QString::fromLatin1(kEmptyDateMask));
        }
        e->setText(QStringLiteral("14051340"));
        QVERIFY(!e->date());
    }

    void commandLine()
    {
        QString out, err;
        QTextStream o(&out), e(&err);
        QCOMPARE(cli::run({QStringLiteral("to-jalali"), QStringLiteral("2029-03-20")}, o, e), 0);
        o.flush();
        QCOMPARE(out, QStringLiteral("1408/01/01\n"));
        QCOMPARE(cli::run({QStringLiteral("to-jalali"), QStringLiteral("2029-02-30")}, o, e), 2);
        QCOMPARE(cli::run({QStringLiteral("to-jalali")}, o, e), 2);
        out.clear();
        QCOMPARE(cli::run({QStringLiteral("today")}, o, e), 0);
        o.flush();
        QCOMPARE(out.trimmed(), jalali::today());
    }
};

TAVRIN_TEST_MAIN(TestJalali)
#include "tst_jalali.moc"
