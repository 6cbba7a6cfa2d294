// The deposit agreement: the labels of each variant from the person and the
// settings, the reward box, the PDF text of the three pages, a long table of
// deposits that repeats the clauses above it on every page, pages that print
// clean, and an organisation's own wording.
#include "prereg_fixtures.h"

#include "cli/commands.h"
#include "documents/drawcheck.h"
#include "documents/pdftext.h"
#include "prereg/prereg_texts.h"
#include "prereg/vadiegozari_frm.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace tavrin;
using namespace tavrin::doc;
using namespace tavrin::prereg;
using namespace tavrin::test;

namespace {

const QString kAddress = QStringLiteral("تهران، خيابان آزادي، پلاک ۱۲");
const QString kDirector = QStringLiteral("محمد محمدي");
const QString kCountyAddress = QStringLiteral("تجريش، ميدان قدس");
const QString kCountyManager = QStringLiteral("رضا احمدي");
const QString kSectionC = QStringLiteral("ج- تعهدات وديعهگذار:");

QString pdfOf(const Document& d)
{
    static QTemporaryDir dir;
    static int n = 0;
    const QString path = dir.filePath(QStringLiteral("a%1.pdf").arg(++n));
    if (!d.renderToPdf(path))
        return {};
    return withoutBlanks(pdfText(path).value_or(QString()));
}

bool holds(const QString& pdf, const QString& text)
{
    return pdf.contains(withoutBlanks(normalise(text)));
}

QList<QVariantMap> rows(int n)
{
    QList<QVariantMap> out;
    for (int i = 1; i <= n; ++i) {
        Deposit d;
        d.mablagh = 1000000 * i;
        d.dat = QStringLiteral("1403/01/%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0'));
        d.pardakhtTyp = QStringLiteral("چک");
        d.cmt = QStringLiteral("قسط %1").arg(i);
        out << agreementRow(d);
    }
    return out;
}

} // namespace

class TestAgreement : public QObject {
    Q_OBJECT
    QSqlRecord m_person;
    QTemporaryDir m_data;

private Q_SLOTS:
    void initTestCase()
    {
        // A data folder of this run's own: the SQLite and PostgreSQL runs may overlap.
        qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
        useFreshDatabase();
        addPlaces();
        loginAs(QStringLiteral("admin"));
        PersonValues v = person(QStringLiteral("0012345679"), QStringLiteral("کريمي"));
        v[QStringLiteral("adr")] = QStringLiteral("تهران، خيابان وليعصر، کوچه ياس، پلاک ۷");
        v[QStringLiteral("hesab_no")] = QStringLiteral("0101553");
        v[QStringLiteral("bank")] = QStringLiteral("ملي");
        const qint64 id = savedPerson(v);
        m_person = *dm().firstRow(QStringLiteral("select * from pishsabt where id=?"), {id});
        dm().exec(QStringLiteral("insert into setting_ost (ostan,component,cmt) values (?,?,?),(?,?,?)"),
                  {kTehran, preregtext::kSettingAddress, kAddress, kTehran, preregtext::kSettingDirector, kDirector});
        dm().exec(QStringLiteral("insert into setting_city (ostan,shahrestan,component,cmt) values (?,?,?,?),(?,?,?,?)"),
                  {kTehran, kShemiranat, preregtext::kSettingAddress, kCountyAddress, kTehran, kShemiranat,
                   preregtext::kSettingCountyManager, kCountyManager});
    }

    void labelsFollowTheVariant()
    {
        const QVariantMap p = agreementPage1Values(m_person, AgreementVariant::Province, QStringLiteral("18%"));
        QCOMPARE(p.value("lname").toString(), QStringLiteral("علي کريمي"));
        QCOMPARE(p.value("shahrestan").toString(), preregtext::kWordProvince);
        QCOMPARE(p.value("ostan").toString(), kTehran);
        QCOMPARE(p.value("norvad_adr").toString(), kAddress);
        QCOMPARE(p.value("modirkol").toString(), kDirector);
        QCOMPARE(p.value("QRLabel29").toString(), preregtext::kTitleProvince);
        const QVariantMap c = agreementPage1Values(m_person, AgreementVariant::County, QStringLiteral("18%"));
        QCOMPARE(c.value("shahrestan").toString(), preregtext::kWordCounty);
        QCOMPARE(c.value("ostan").toString(), kShemiranat);
        QCOMPARE(c.value("norvad_adr").toString(), kCountyAddress);
        QCOMPARE(c.value("modirkol").toString(), kCountyManager);
        QCOMPARE(agreementPage3Values(m_person, AgreementVariant::County).value("semat").toString(), preregtext::kSematCounty);
        // A county without settings prints them empty.
        QSqlRecord rey = m_person;
        rey.setValue(QStringLiteral("shahrestan"), kRey);
        QCOMPARE(agreementPage1Values(rey, AgreementVariant::County, {}).value("norvad_adr").toString(), QString());

        DialogRecorder rec;
        rec.inputs = {std::nullopt, QStringLiteral("18%")};
        QCOMPARE(askPadash(), QStringLiteral("?"));
        QCOMPARE(askPadash(), QStringLiteral("18%"));
        QCOMPARE(askPadash(), QStringLiteral("?"));  // the preset accepted
        QCOMPARE(rec.shown.first().title, preregtext::kPadashTitle);
        QCOMPARE(rec.shown.first().text, preregtext::kPadashPrompt);
    }

    void pdfCarriesThePersonAndTheOffice()
    {
        if (!havePdfTools())
            QSKIP("pdftotext is not installed");
        const Document p1 = Tvadiegozari_frm1::build(agreementPage1Values(m_person, AgreementVariant::Province, QStringLiteral("18")));
        QCOMPARE(p1.pageCount(), 1);
        const QString text = pdfOf(p1);
        for (const QString& s : {QStringLiteral("علي کريمي"), QStringLiteral("حسن"), QStringLiteral("0012345679"),
                                 QStringLiteral("کوچه ياس"), kAddress, kDirector, QStringLiteral("0101553"),
                                 preregtext::kAgreementLine1, QStringLiteral("الف- موضوع تفاهمنامه:")})
            QVERIFY2(holds(text, s), qPrintable(s));
        QVERIFY(holds(text, QStringLiteral("18 سالانه")) || holds(text, QStringLiteral("سالانه 18")));
        const QString p3 = pdfOf(Tvadiegozari_frm3::build(agreementPage3Values(m_person, AgreementVariant::County)));
        for (const QString& s : {preregtext::kSematCounty, kShemiranat, QStringLiteral("ساير شرايط")})
            QVERIFY2(holds(p3, s), qPrintable(s));
    }

    void longTableRepeatsTheClausesOnEveryPage()
    {
        const Document d = Tvadiegozari_frm2::build(rows(60));
        QVERIFY(d.pageCount() >= 2);
        int cells = 0;
        for (int p = 0; p < d.pageCount(); ++p) {
            QVERIFY(d.texts(p, Role::PageHeader).contains(kSectionC));
            QCOMPARE(d.texts(p, Role::ColumnHeading).size(), 5);
            cells += d.elements(p, Role::Cell).size() / 2;  // a box and a text per cell
        }
        QCOMPARE(cells, 60 * 5);
        QCOMPARE(d.texts(0, Role::ColumnHeading).first(), QStringLiteral("رديف"));
        // The amounts print in groups of three; the clauses after the table come last.
        QVERIFY(d.texts(0, Role::Cell).contains(QStringLiteral("1,000,000")));
        QVERIFY(!d.texts(0, Role::Cell).contains(QStringLiteral("1000000")));
        QVERIFY(d.texts(d.pageCount() - 1, Role::Summary).join(' ').startsWith(QStringLiteral("3-")));
        for (int p = 0; p + 1 < d.pageCount(); ++p)
            QVERIFY(d.texts(p, Role::Summary).isEmpty());
        VERIFY_PRINTS_CLEAN(d);
        if (havePdfTools()) {
            const QString text = pdfOf(d);
            QCOMPARE(text.count(withoutBlanks(normalise(kSectionC))), d.pageCount());
        }
        // Without deposits: the clauses and an empty table on one page.
        const Document empty = Tvadiegozari_frm2::build({});
        QCOMPARE(empty.pageCount(), 1);
        QCOMPARE(empty.texts(0, Role::ColumnHeading).size(), 5);
        QVERIFY(!empty.texts(0, Role::Summary).isEmpty());
    }

    void longValuesStayOnThePaper()
    {
        QSqlRecord p = m_person;
        p.setValue(QStringLiteral("adr"), QStringLiteral("خيابان آزادي، کوچه شهيد ۱۲، ").repeated(8).left(200));
        p.setValue(QStringLiteral("father"), QStringLiteral("محمد ").repeated(10).left(50));
        QVariantMap v = agreementPage1Values(p, AgreementVariant::County, QStringLiteral("?"));
        VERIFY_PRINTS_CLEAN(Tvadiegozari_frm1::build(v));
        VERIFY_PRINTS_CLEAN(Tvadiegozari_frm3::build(agreementPage3Values(p, AgreementVariant::Province)));
    }

    void organisationsWordingReplacesItsSections()
    {
        const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/templates");
        QVERIFY(QDir().mkpath(dir));
        QFile f(dir + QStringLiteral("/vadiegozari.txt"));
        // The command-line tool writes the built-in wording as a starting point.
        QString out, err;
        QTextStream o(&out), e(&err);
        QCOMPARE(cli::run({QStringLiteral("agreement-wording"), f.fileName()}, o, e), 0);
        QVERIFY(err.contains(f.fileName()));
        const AgreementTemplate copy = AgreementTemplate::load();
        QCOMPARE(copy.source(), f.fileName());
        for (const QString& section : AgreementTemplate::sectionNames())
            QCOMPARE(copy.paragraphs(section).size(), AgreementTemplate::builtIn().paragraphs(section).size());
        QVERIFY(f.open(QIODevice::WriteOnly));
        // Page 3 of its own, far longer than the built-in one.
        QString page3 = QStringLiteral("[page3]\n== شرايط ويژه سازمان\n\n");
        for (int i = 1; i <= 25; ++i)
            page3 += QStringLiteral("%1- اين بند نمونه اي از متن خود سازمان است که جاي متن اصلي را مي گيرد و بلند است.\n\n").arg(i);
        f.write(page3.toUtf8());
        f.close();
        const AgreementTemplate t = AgreementTemplate::load();
        QCOMPARE(t.source(), f.fileName());
        QCOMPARE(t.paragraphs(QStringLiteral("page3")).first().text, QStringLiteral("شرايط ويژه سازمان"));
        QVERIFY(t.paragraphs(QStringLiteral("page3")).first().heading);
        QCOMPARE(t.lines(QStringLiteral("header")), AgreementTemplate::builtIn().lines(QStringLiteral("header")));
        const Document d = Tvadiegozari_frm3::build(agreementPage3Values(m_person, AgreementVariant::Province), t);
        QCOMPARE(d.pageCount(), 1);
        QVERIFY(d.plainText().contains(QStringLiteral("25- اين بند")));
        VERIFY_PRINTS_CLEAN(d);
        // Longer still, it goes on over a second sheet under the same header.
        QVERIFY(f.open(QIODevice::Append));
        f.write(page3.mid(page3.indexOf('\n')).toUtf8());
        f.close();
        const Document two = Tvadiegozari_frm3::build(agreementPage3Values(m_person, AgreementVariant::Province));
        QCOMPARE(two.pageCount(), 2);
        QCOMPARE(two.texts(1).first(), preregtext::kAgreementLine1);
        VERIFY_PRINTS_CLEAN(two);
        QVERIFY(f.remove());
        QVERIFY(AgreementTemplate::load().source().isEmpty());
    }
};

TAVRIN_DB_TEST_MAIN(TestAgreement)
#include "tst_vadiegozari.moc"
