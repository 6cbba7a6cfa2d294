// The national-code enquiry window on a real database: where a code is found
// first, the province it reports, the check on leaving its field.
#include "support/testsupport.h"

#include "common/nation_cod_u.h"
#include "common/nationcode.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

using namespace tavrin;

namespace {
const QString kApplicant = QStringLiteral(" کد ملي وارد شده در اين استان وجود دارد ");
const QString kPartner = QStringLiteral(" کد ملي وارد شده در بخش شرکا اين استان وجود دارد ");
const QString kDependant = QStringLiteral(" کد ملي وارد شده در بخش افراد تحت تکفل اين استان وجود دارد ");
const QString kNotFound = QStringLiteral(" کد ملي وارد شده در سامانه وجود ندارد ");
const QString kInitial = QStringLiteral("نتيجه استعلام");

qint64 addApplicant(const QString& nation, const QString& ostan)
{
    return dm().insert(QStringLiteral("customers"), {QStringLiteral("nation"), QStringLiteral("ostan"), QStringLiteral("lname")},
                       {nation, ostan, QStringLiteral("x")});
}
void addPartner(qint64 customerId, const QString& nation)
{
    dm().insert(QStringLiteral("shoraka"), {QStringLiteral("customer_id"), QStringLiteral("nation")}, {customerId, nation});
}
void addDependant(qint64 customerId, const QString& nation)
{
    dm().insert(QStringLiteral("takafol"), {QStringLiteral("customer_id"), QStringLiteral("nation")}, {customerId, nation});
}
} // namespace

class TestNationCod : public QObject {
    Q_OBJECT

    std::unique_ptr<Tnation_cod> m_w;
    QLineEdit* nation() { return test::child<QLineEdit>(m_w.get(), QStringLiteral("nation")); }
    QLabel* result() { return test::child<QLabel>(m_w.get(), QStringLiteral("result")); }
    QToolButton* search() { return test::child<QToolButton>(m_w.get(), QStringLiteral("SpeedButton1")); }

    QString enquire(const QString& code)
    {
        nation()->setText(code);
        search()->click();
        return result()->text();
    }

private Q_SLOTS:
    void init()
    {
        test::useFreshDatabase();
        m_w = std::make_unique<Tnation_cod>();
    }
    void cleanup() { m_w.reset(); }

    void windowLayout()
    {
        QCOMPARE(m_w->windowTitle(), QStringLiteral("استعلام کد ملي"));
        QCOMPARE(m_w->layoutDirection(), Qt::RightToLeft);
        QVERIFY(m_w->findChild<QLabel*>(QStringLiteral("Label1")));
        QCOMPARE(m_w->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("کد ملي مورد نظر جهت استعلام از سامانه تاورين در کل کشور"));
        QCOMPARE(result()->text(), kInitial);
        QCOMPARE(nation()->maxLength(), 10);
        test::typeText(nation(), QStringLiteral("12ab۳'4"));
        QCOMPARE(nation()->text(), QStringLiteral("1234"));
    }

    void applicantComesFirst()
    {
        const qint64 a = addApplicant(QStringLiteral("1000006379"), QStringLiteral("فارس"));
        const qint64 b = addApplicant(QStringLiteral("0000000000"), QStringLiteral("کرمان"));
        // The same code also as a partner and a dependant of another applicant.
        addPartner(b, QStringLiteral("1000006379"));
        addDependant(b, QStringLiteral("1000006379"));
        Q_UNUSED(a);
        QCOMPARE(enquire(QStringLiteral("1000006379")), kApplicant + QStringLiteral("فارس"));
    }

    void partnerAndDependantReportTheApplicantsProvince()
    {
        const qint64 fars = addApplicant(QStringLiteral("1000006379"), QStringLiteral("فارس"));
        const qint64 kerman = addApplicant(QStringLiteral("0000000000"), QStringLiteral("کرمان"));
        addPartner(fars, QStringLiteral("1000002731"));
        addDependant(kerman, QStringLiteral("1000013650"));
        // Partner comes before dependant.
        addDependant(kerman, QStringLiteral("1000002731"));

        QCOMPARE(enquire(QStringLiteral("1000002731")), kPartner + QStringLiteral("فارس"));
        QCOMPARE(enquire(QStringLiteral("1000013650")), kDependant + QStringLiteral("کرمان"));
        QCOMPARE(nationEnquiry(QStringLiteral("1000013650")), kDependant + QStringLiteral("کرمان"));
    }

    void partnerOfAMissingApplicant()
    {
        addPartner(999, QStringLiteral("1000002731"));
        QCOMPARE(enquire(QStringLiteral("1000002731")), kPartner);
    }

    void notFound()
    {
        addApplicant(QStringLiteral("1000006379"), QStringLiteral("فارس"));
        QCOMPARE(enquire(QStringLiteral("0000000000")), kNotFound);
        // Exact comparison: part of a code is not the code.
        QCOMPARE(enquire(QStringLiteral("100000637")), kNotFound);
        QCOMPARE(enquire(QString()), kNotFound);
    }

    void persianDigitsFindTheCode()
    {
        addApplicant(QStringLiteral("1000006379"), QStringLiteral("فارس"));
        test::typeText(nation(), QStringLiteral("۱۰۰۰۰۰۶۳۷۹"));
        search()->click();
        QCOMPARE(result()->text(), kApplicant + QStringLiteral("فارس"));
    }

    void quotesCannotBreakTheStatement()
    {
        addApplicant(QStringLiteral("1'or'1'='1"), QStringLiteral("فارس"));
        addApplicant(QStringLiteral("1000006379"), QStringLiteral("کرمان"));
        // Straight to the search: the value is bound, so it matches itself only.
        QCOMPARE(nationEnquiry(QStringLiteral("0' or '1'='1")), kNotFound);
        QCOMPARE(nationEnquiry(QStringLiteral("1'or'1'='1")), kApplicant + QStringLiteral("فارس"));
        QCOMPARE(nationEnquiry(QStringLiteral("'); delete from customers; --")), kNotFound);
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from customers")).toInt(), 2);
        // In the window the quote never reaches the field.
        test::typeText(nation(), QStringLiteral("1000'006379"));
        QCOMPARE(nation()->text(), QStringLiteral("1000006379"));
    }

    void failureShowsTheFixedMessage()
    {
        test::DialogRecorder rec;
        dm().exec(QStringLiteral("drop table takafol"));
        nation()->setText(QStringLiteral("1000006379"));
        search()->click();
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.shown[0].kind, QStringLiteral("error"));
        QVERIFY(!rec.shown[0].text.contains(QLatin1String("takafol")));
        QVERIFY(result()->text().isEmpty());
    }

    void checkOnLeavingWritesTheResultLabel()
    {
        test::DialogRecorder rec;
        auto* other = new QLineEdit(m_w.get());
        m_w->show();
        m_w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
        auto leave = [&](const QString& code) {
            nation()->setFocus(Qt::TabFocusReason);
            nation()->setText(code);
            other->setFocus(Qt::TabFocusReason);
            QCoreApplication::processEvents();
        };

        leave(QStringLiteral("1000006372"));
        QCOMPARE(result()->text(), kNationCodeWrong);
        QVERIFY(other->hasFocus());

        leave(QStringLiteral("123"));
        QCOMPARE(result()->text(), kNationCodeLength);
        QVERIFY(nation()->hasFocus());

        // Corrected: the complaint goes away.
        leave(QStringLiteral("1000006379"));
        QCOMPARE(result()->text(), kInitial);
        // A search result is not disturbed by leaving a valid code.
        search()->click();
        leave(QStringLiteral("1000006379"));
        QCOMPARE(result()->text(), kNotFound);
        QVERIFY(rec.shown.isEmpty());
    }
};

TAVRIN_DB_TEST_MAIN(TestNationCod)
#include "tst_nation_cod.moc"
