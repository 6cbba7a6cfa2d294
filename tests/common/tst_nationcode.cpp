// National codes: the check digit, the messages, the digit filter of numeric
// fields, the check on leaving a code field, and the command-line check.
#include "support/testsupport.h"

#include "common/nationcode.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QVBoxLayout>

// The command table lives in the command-line program; compiled in here so
// its commands can be run on strings.
#include "cli/commands.h"

using namespace tavrin;

namespace {
const QString kWrong = QStringLiteral("کد ملي صحيح نيست");
const QString kLength = QStringLiteral("كد ملي مي بايست 10 رقم باشد");

// A form with a national-code field and another field to move to.
struct CodeForm {
    QWidget window;
    QLineEdit* nation = new QLineEdit(&window);
    QLineEdit* other = new QLineEdit(&window);
    CodeForm()
    {
        auto* l = new QVBoxLayout(&window);
        l->addWidget(nation);
        l->addWidget(other);
        nation->setMaxLength(10);
        installDigitFilter(nation);
        checkNationCodeOnExit(nation);
        window.show();
        window.activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(&window); }
    // Types the code and tabs to the other field; lets the check run.
    void typeAndLeave(const QString& code)
    {
        nation->setFocus(Qt::TabFocusReason);
        nation->clear();
        test::typeText(nation, code);
        other->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }
};
} // namespace

class TestNationCode : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void checkDigit_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("valid");
        QTest::newRow("all zero") << QStringLiteral("0000000000") << true;
        // Weighted sum of the first nine digits leaves remainder 0: check digit 0.
        QTest::newRow("r0 ok") << QStringLiteral("1000013650") << true;
        QTest::newRow("r0 with 1") << QStringLiteral("1000013651") << false;
        // Remainder 1: only check digit 1 (11 - 1 = 10 is no digit).
        QTest::newRow("r1 ok") << QStringLiteral("1000002731") << true;
        QTest::newRow("r1 with 0") << QStringLiteral("1000002730") << false;
        // Remainder 2: only 11 - 2 = 9.
        QTest::newRow("r2 ok") << QStringLiteral("1000006379") << true;
        QTest::newRow("r2 with 2") << QStringLiteral("1000006372") << false;
        QTest::newRow("r5 ok") << QStringLiteral("1000007286") << true;
        // Remainder 10: 11 - 10 = 1.
        QTest::newRow("r10 ok") << QStringLiteral("1000000001") << true;
        QTest::newRow("r10 with 0") << QStringLiteral("1000000000") << false;
        QTest::newRow("persian digits") << QStringLiteral("۱۰۰۰۰۰۶۳۷۹") << true;
        QTest::newRow("letters") << QStringLiteral("10000a6379") << false;
        QTest::newRow("nine digits") << QStringLiteral("000000000") << false;
    }
    void checkDigit()
    {
        QFETCH(QString, code);
        QFETCH(bool, valid);
        QCOMPARE(isValidNationCode(code), valid);
    }

    void exactlyOneCheckDigitFitsEachCode()
    {
        for (const char* prefix : {"000000000", "100001365", "100000273", "100000637", "987654321", "123456789"}) {
            int fits = 0;
            for (char d = '0'; d <= '9'; ++d)
                fits += isValidNationCode(QString::fromLatin1(prefix) + QLatin1Char(d));
            QCOMPARE(fits, 1);
        }
    }

    void messages()
    {
        QCOMPARE(nationCodeMessage(QString()), QString());
        QCOMPARE(nationCodeMessage(QStringLiteral("0000000000")), QString());
        QCOMPARE(nationCodeMessage(QStringLiteral("1000006372")), kWrong);
        QCOMPARE(nationCodeMessage(QStringLiteral("10000a6379")), kWrong);
        QCOMPARE(nationCodeMessage(QStringLiteral("000000000")), kLength);
        QCOMPARE(nationCodeMessage(QStringLiteral("1")), kLength);
        QCOMPARE(nationCodeMessage(QStringLiteral("10000063790")), kLength);
    }

    void asciiDigits()
    {
        QCOMPARE(toAsciiDigits(QStringLiteral("۰۱۲۳۴۵۶۷۸۹")), QStringLiteral("0123456789"));
        QCOMPARE(toAsciiDigits(QStringLiteral("٠١٢٣٤٥٦٧٨٩")), QStringLiteral("0123456789"));
        QCOMPARE(toAsciiDigits(QStringLiteral("a۱-2 ب")), QStringLiteral("a1-2 ب"));
        QVERIFY(isValidNationCode(QStringLiteral("١٠٠٠٠٠٦٣٧٩")));
    }

    void digitFilterKeepsOnlyDigits()
    {
        QLineEdit e;
        e.setMaxLength(10);
        installDigitFilter(&e);
        test::typeText(&e, QStringLiteral("1a2-۳ ٤'b5"));
        QCOMPARE(e.text(), QStringLiteral("12345"));
        QTest::keyClick(&e, Qt::Key_Backspace);
        QCOMPARE(e.text(), QStringLiteral("1234"));
        QTest::keyClick(&e, Qt::Key_Left);
        QTest::keyClick(&e, Qt::Key_Left);
        test::typeText(&e, QStringLiteral("x9"));
        QCOMPARE(e.text(), QStringLiteral("12934"));
        QCOMPARE(e.cursorPosition(), 3);   // the caret stays after the digit typed
        QTest::keyClick(&e, Qt::Key_Backspace);
        QCOMPARE(e.text(), QStringLiteral("1234"));

        // Pasted text is filtered the same way.
        e.clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("۰۰۱-۲۳ 45"));
        e.paste();
        QCOMPARE(e.text(), QStringLiteral("0012345"));
        // Program-set text too; the length limit still holds.
        e.setText(QStringLiteral("12345678901234"));
        QCOMPARE(e.text(), QStringLiteral("1234567890"));
    }

    void digitFieldsAlignRightInRightToLeftForms()
    {
        QWidget form;
        form.setLayoutDirection(Qt::RightToLeft);
        auto* e = new QLineEdit(&form);
        installDigitFilter(e);
        QCOMPARE(e->layoutDirection(), Qt::LeftToRight);
        QCOMPARE(e->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight | Qt::AlignAbsolute);
    }

    void checkOnLeavingTheField()
    {
        test::DialogRecorder rec;
        CodeForm f;
        QVERIFY(f.ready());

        // A valid code passes silently.
        f.typeAndLeave(QStringLiteral("1000006379"));
        QVERIFY(rec.shown.isEmpty());
        QVERIFY(f.other->hasFocus());

        // An empty field is accepted silently.
        f.typeAndLeave(QString());
        QVERIFY(rec.shown.isEmpty());

        // Wrong check digit: a warning, and the user may go on.
        f.typeAndLeave(QStringLiteral("1000006372"));
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.shown[0].kind, QStringLiteral("warning"));
        QCOMPARE(rec.shown[0].text, kWrong);
        QVERIFY(f.other->hasFocus());

        // Nine digits: the length message and the focus back in the field.
        rec.clear();
        f.typeAndLeave(QStringLiteral("100000637"));
        QCOMPARE(rec.texts(), QStringList{kLength});
        QVERIFY(f.nation->hasFocus());

        // Persian digits typed on a Persian keyboard make a valid code.
        rec.clear();
        f.typeAndLeave(QStringLiteral("۱۰۰۰۰۰۶۳۷۹"));
        QCOMPARE(f.nation->text(), QStringLiteral("1000006379"));
        QVERIFY(rec.shown.isEmpty());
    }

    void checkResetsTheFieldColour()
    {
        test::DialogRecorder rec;
        CodeForm f;
        QVERIFY(f.ready());
        QPalette p = f.nation->palette();
        p.setColor(QPalette::Base, Qt::yellow);
        f.nation->setPalette(p);
        f.typeAndLeave(QStringLiteral("0000000000"));
        QCOMPARE(f.nation->palette().color(QPalette::Base), QApplication::palette(f.nation).color(QPalette::Base));
    }

    void switchingWindowsIsNotLeavingTheField()
    {
        test::DialogRecorder rec;
        CodeForm f;
        QVERIFY(f.ready());
        f.nation->setFocus(Qt::TabFocusReason);
        test::typeText(f.nation, QStringLiteral("123"));
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(f.nation, &out);
        QCoreApplication::processEvents();
        QVERIFY(rec.shown.isEmpty());
        // Closing the window takes the focus too, without a message.
        f.window.hide();
        QCoreApplication::processEvents();
        QVERIFY(rec.shown.isEmpty());
    }

    void commandLine_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("rc");
        QTest::addColumn<QString>("printed");
        QTest::newRow("valid") << QStringLiteral("1000006379") << 0 << QString();
        QTest::newRow("wrong") << QStringLiteral("1000006372") << 1 << QString(kWrong + QLatin1Char('\n'));
        QTest::newRow("short") << QStringLiteral("123") << 1 << QString(kLength + QLatin1Char('\n'));
        QTest::newRow("quote") << QStringLiteral("12345'7890") << 1 << QString(kWrong + QLatin1Char('\n'));
        QTest::newRow("empty") << QString() << 1 << QString();
    }
    void commandLine()
    {
        QFETCH(QString, code);
        QFETCH(int, rc);
        QFETCH(QString, printed);
        QString out, err;
        {
            QTextStream o(&out), e(&err);
            QCOMPARE(cli::run({QStringLiteral("nation-check"), code}, o, e), rc);
        }
        QCOMPARE(out, printed);
    }
};

TAVRIN_TEST_MAIN(TestNationCode)
#include "tst_nationcode.moc"
