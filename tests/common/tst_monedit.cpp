// The money and real-number fields as the user types and pastes into them,
// the amount reader, and the text copy window.
#include "support/testsupport.h"

#include "common/clipboard_frm_u.h"
#include "common/monedit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>

using namespace tavrin;

class TestMonEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typingGroupsTheDigits()
    {
        TMonEdit e;
        const QStringList shown{"9", "98", "987", "9,876", "98,765", "987,654", "9,876,543"};
        const QString typed = QStringLiteral("9876543");
        for (int i = 0; i < typed.size(); ++i) {
            test::typeText(&e, typed.mid(i, 1));
            QCOMPARE(e.text(), shown[i]);
            QCOMPARE(e.cursorPosition(), e.text().size());
        }
        QCOMPARE(e.value(), 9876543);
        // Deleting from the end regroups.
        QTest::keyClick(&e, Qt::Key_Backspace);
        QCOMPARE(e.text(), QStringLiteral("987,654"));
        QTest::keyClick(&e, Qt::Key_Backspace);
        QCOMPARE(e.text(), QStringLiteral("98,765"));
    }

    void typingInTheMiddleRegroups()
    {
        TMonEdit e;
        e.setText(QStringLiteral("1234"));
        QCOMPARE(e.text(), QStringLiteral("1,234"));
        e.setCursorPosition(1);
        test::typeText(&e, QStringLiteral("5"));
        QCOMPARE(e.text(), QStringLiteral("15,234"));
        QCOMPARE(e.cursorPosition(), e.text().size());
    }

    void lettersAreDroppedAndPersianDigitsKept()
    {
        TMonEdit e;
        test::typeText(&e, QStringLiteral("1a2b3ج4"));
        QCOMPARE(e.text(), QStringLiteral("1,234"));
        test::typeText(&e, QStringLiteral("۵۶٧"));
        QCOMPARE(e.text(), QStringLiteral("1,234,567"));
        QCOMPARE(e.value(), 1234567);
        e.clear();
        test::typeText(&e, QStringLiteral("abc"));
        QCOMPARE(e.text(), QString());
        QCOMPARE(e.value(), 0);
    }

    void pasting()
    {
        TMonEdit e;
        QGuiApplication::clipboard()->setText(QStringLiteral("98,76"));
        e.paste();
        QCOMPARE(e.text(), QStringLiteral("9,876"));
        e.clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("1 200 000 ريال"));
        e.paste();
        QCOMPARE(e.text(), QStringLiteral("1,200,000"));
        QCOMPARE(e.value(), 1200000);
    }

    void oneChangeSignalWithTheGroupedText()
    {
        TMonEdit e;
        test::typeText(&e, QStringLiteral("123"));
        QSignalSpy spy(&e, &QLineEdit::textChanged);
        test::typeText(&e, QStringLiteral("4"));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy[0][0].toString(), QStringLiteral("1,234"));
    }

    void negativeAmounts()
    {
        TMonEdit e;
        test::typeText(&e, QStringLiteral("-"));
        QCOMPARE(e.text(), QStringLiteral("-"));
        QCOMPARE(e.value(), 0);
        test::typeText(&e, QStringLiteral("500000"));
        QCOMPARE(e.text(), QStringLiteral("-500,000"));
        QCOMPARE(e.value(), -500000);
        e.setValue(-123);
        QCOMPARE(e.text(), QStringLiteral("-123"));
        e.setValue(-1234567);
        QCOMPARE(e.text(), QStringLiteral("-1,234,567"));
        QCOMPARE(e.value(), -1234567);
        // A minus anywhere but in front is dropped.
        e.clear();
        test::typeText(&e, QStringLiteral("12-3"));
        QCOMPARE(e.text(), QStringLiteral("123"));
    }

    void setValueAndLargeAmounts()
    {
        TMonEdit e;
        e.setValue(0);
        QCOMPARE(e.text(), QStringLiteral("0"));
        e.setValue(123456789012345);
        QCOMPARE(e.text(), QStringLiteral("123,456,789,012,345"));
        QCOMPARE(e.value(), 123456789012345);
        e.setText(QString());
        QCOMPARE(e.text(), QString());
    }

    void readingAmounts()
    {
        QCOMPARE(parseAmount(QStringLiteral("9,876,543")), 9876543);
        QCOMPARE(parseAmount(QStringLiteral("۹,۸۷۶")), 9876);
        QCOMPARE(parseAmount(QStringLiteral("9٬876")), 9876);
        QCOMPARE(parseAmount(QStringLiteral("-500,000")), -500000);
        QCOMPARE(parseAmount(QString()), 0);
        QCOMPARE(parseAmount(QStringLiteral("12.5")), 0);
        QVERIFY(!tryParseAmount(QStringLiteral("12.5")));
        QVERIFY(!tryParseAmount(QStringLiteral("98") + QChar(0) + QStringLiteral("767")));  // not 98
        QVERIFY(!tryParseAmount(QStringLiteral("-")));
        // The money columns hold 15 digits before the point: a longer amount is no amount.
        QCOMPARE(tryParseAmount(QStringLiteral("999,999,999,999,999")), std::optional<qint64>(kMaxAmount));
        QCOMPARE(tryParseAmount(QStringLiteral("-999999999999999")), std::optional<qint64>(-kMaxAmount));
        QVERIFY(!tryParseAmount(QStringLiteral("1,000,000,000,000,000")));
        QVERIFY(!tryParseAmount(QStringLiteral("9,999,999,999,999,900")));
        QCOMPARE(formatAmount(1000), QStringLiteral("1,000"));
        QCOMPARE(formatAmount(-1000000), QStringLiteral("-1,000,000"));
        QCOMPARE(groupAmount(QStringLiteral("007")), QStringLiteral("007"));
    }

    void areaTimesPriceIsExact()
    {
        // 87.6 is 87.59999... as a binary fraction: the product is not one rial short.
        QCOMPARE(areaAmount({{87.6, 94000000}}), std::optional<qint64>(8234400000));
        QCOMPARE(areaAmount({{0.1, 3}, {0.2, 3}, {0.7, 1}}), std::optional<qint64>(2));  // 0.9+0.7 rounded once
        QCOMPARE(areaAmount({{12.5, 1}}), std::optional<qint64>(13));                     // halves away from zero
        QCOMPARE(areaAmountText({{1000, kMaxAmount}}), QStringLiteral("999999999999999000"));
        QCOMPARE(areaAmountText({{999999999999999.0, kMaxAmount}}), QStringLiteral("999999999999998000000000000001"));
        QVERIFY(!areaAmount({{999999999999999.0, kMaxAmount}}));
        QVERIFY(!areaAmount({{qInf(), 1}}));
        // Beyond 128 bits: refused, and shown as a number far too long to save.
        const qint64 top = std::numeric_limits<qint64>::max();
        QVERIFY(!areaAmount({{9e14, top}, {9e14, top}}));
        QVERIFY(areaAmountText({{9e14, top}, {9e14, top}}).size() > 30);
        QCOMPARE(areaAmountText({{qQNaN(), 1}}), QStringLiteral("0"));
    }

    void realField()
    {
        TRealEdit e;
        test::typeText(&e, QStringLiteral("12a.5م"));
        QCOMPARE(e.text(), QStringLiteral("12.5"));
        QCOMPARE(e.cursorPosition(), e.text().size());
        QCOMPARE(e.value(), 12.5);
        e.clear();
        QCOMPARE(e.value(), 0.0);
        QVERIFY(e.isNumber());
        test::typeText(&e, QStringLiteral("۷٫۲۵"));
        QCOMPARE(e.text(), QStringLiteral("7.25"));
        QCOMPARE(e.value(), 7.25);
        // A minus sign is not kept: areas and shares are never negative.
        e.clear();
        test::typeText(&e, QStringLiteral("-3"));
        QCOMPARE(e.text(), QStringLiteral("3"));
        // Two points are kept as typed but do not make a number.
        e.clear();
        test::typeText(&e, QStringLiteral("1.2.3"));
        QCOMPARE(e.text(), QStringLiteral("1.2.3"));
        QVERIFY(!e.isNumber());
        QCOMPARE(e.value(), 0.0);
        QGuiApplication::clipboard()->setText(QStringLiteral("1,234.5 m2"));
        e.clear();
        e.paste();
        QCOMPARE(e.text(), QStringLiteral("1234.52"));
        e.setValue(120.75);
        QCOMPARE(e.text(), QStringLiteral("120.75"));
        e.setValue(3);
        QCOMPARE(e.text(), QStringLiteral("3"));
        QVERIFY(!tryParseReal(QStringLiteral(".")));
        QCOMPARE(tryParseReal(QStringLiteral(".5")), std::optional<double>(0.5));
    }

    void numbersSitRightInRightToLeftForms()
    {
        QWidget form;
        form.setLayoutDirection(Qt::RightToLeft);
        auto* m = new TMonEdit(&form);
        auto* r = new TRealEdit(&form);
        for (QLineEdit* e : {static_cast<QLineEdit*>(m), static_cast<QLineEdit*>(r)}) {
            QCOMPARE(e->layoutDirection(), Qt::LeftToRight);
            QCOMPARE(e->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight | Qt::AlignAbsolute);
        }
    }

    void clipboardWindowCopiesTheWholeMemo()
    {
        TClipBoard_frm w;
        w.show();
        auto* memo = test::child<QPlainTextEdit>(&w, QStringLiteral("Memo1"));
        auto* copy = test::child<QPushButton>(&w, QStringLiteral("Button1"));
        QVERIFY(memo && copy);
        QCOMPARE(copy->text(), QStringLiteral("Copy and Exit"));
        QGuiApplication::clipboard()->setText(QStringLiteral("old"));
        const QString notice = QStringLiteral("پيرو قرارداد شماره 12\nمورخ 1402/01/05");
        w.setText(notice);
        // Only a part selected: the button still copies everything.
        QTextCursor c = memo->textCursor();
        c.setPosition(2);
        memo->setTextCursor(c);
        copy->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), notice);
        QCOMPARE(memo->textCursor().selectedText().size(), notice.size());
        QVERIFY(w.isVisible());
    }
};

TAVRIN_TEST_MAIN(TestMonEdit)
#include "tst_monedit.moc"
