// The documents printed for an applicant: the contract's amounts, layouts and
// share question, the settlement's balance, the letters' officers, inputs and
// transfer holders, the offices window, the organisation's own wording, and
// that every document of the menu prints inside the paper without overlaps.
#include "applicants/applicant_fixtures.h"

#include "applicants/applicant_texts.h"
#include "applicants/applicant_windows.h"
#include "applicants/contract_chap.h"
#include "applicants/edarat_u.h"
#include "applicants/form_texts.h"
#include "applicants/letters_chap.h"
#include "applicants/tasviye_chap.h"

#include "common/clipboard_frm_u.h"
#include "common/numberwords.h"
#include "common/session.h"
#include "common/windows.h"
#include "documents/drawcheck.h"
#include "documents/pdftext.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace tavrin;
using namespace tavrin::forms;
using tavrin::doc::Document;

namespace {

const QString kMask = QString::fromLatin1(kEmptyDateMask);

qint64 addRow(const QString& table, const QVariantMap& values)
{
    return dm().insert(table, values.keys(), values.values());
}

// The texts of the table cells of a document's first page.
QList<tavrin::doc::Element> cells(const tavrin::doc::Document& d)
{
    QList<tavrin::doc::Element> out;
    for (const auto& e : d.elements(0, tavrin::doc::Role::Cell))
        if (e.isText())
            out << e;
    return out;
}

// With TAVRIN_SCREENSHOT_DIR set, keeps a picture of a printed page or a window.
void shot(const QString& name, const QImage& image)
{
    const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
    if (!dir.isEmpty() && QDir().mkpath(dir))
        image.save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

QString inWords(qint64 n)
{
    return words::toWords(QString::number(n))->trimmed();
}

} // namespace

class TestForms : public QObject {
    Q_OBJECT
    QSqlRecord m_prj;
    QSqlRecord m_unit;

    // An applicant of m_unit; extra columns override the defaults.
    qint64 buyer(const QVariantMap& extra = {})
    {
        QVariantMap v {{QStringLiteral("ostan"), QStringLiteral("فارس")},
                       {QStringLiteral("shahrestan"), QStringLiteral("شيراز")},
                       {QStringLiteral("prj_name"), m_prj.value(QStringLiteral("prj_name"))},
                       {QStringLiteral("prj_id"), m_prj.value(QStringLiteral("id"))},
                       {QStringLiteral("vahed_id"), m_unit.value(QStringLiteral("id"))},
                       {QStringLiteral("shenase"), QStringLiteral("A-3-12")},
                       {QStringLiteral("bolok"), QStringLiteral("A")},
                       {QStringLiteral("tabaghe"), QStringLiteral("3")},
                       {QStringLiteral("vahed_no"), QStringLiteral("12")},
                       {QStringLiteral("metraj"), 85.5},
                       {QStringLiteral("fname"), QStringLiteral("رضا")},
                       {QStringLiteral("lname"), QStringLiteral("کريمي")},
                       {QStringLiteral("father"), QStringLiteral("حسن")},
                       {QStringLiteral("nation"), QStringLiteral("0012345678")},
                       {QStringLiteral("prot_no"), QStringLiteral("ق-125")},
                       {QStringLiteral("prot_dat"), QStringLiteral("1402/05/10")},
                       {QStringLiteral("tahvil_dat"), QStringLiteral("1403/01/20")},
                       {QStringLiteral("mablagh"), 1250000000.0},
                       {QStringLiteral("vam"), 0},
                       {QStringLiteral("takhfif"), 0},
                       {QStringLiteral("sahm"), 6.0},
                       {QStringLiteral("typ"), QStringLiteral("حقيقي")},
                       {QStringLiteral("transport_dat"), kMask}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            v.insert(it.key(), it.value());
        return addRow(QStringLiteral("customers"), v);
    }
    ApplicantFile file(qint64 id) { return loadApplicant(test::rowOf(QStringLiteral("customers"), id)); }
    void space(const char* table, qint64 customer, double mablagh, const QString& pos)
    {
        addRow(QString::fromLatin1(table), QVariantMap {{QStringLiteral("customer_id"), customer}, {QStringLiteral("num"), 7},
                                            {QStringLiteral("metraj"), 6.0}, {QStringLiteral("pos"), pos},
                                            {QStringLiteral("mablagh"), mablagh}});
    }
    void payment(qint64 customer, const QString& kind, double mablagh, double vosol, const QString& num = {})
    {
        addRow(QStringLiteral("pardakht"), {{QStringLiteral("customer_id"), customer}, {QStringLiteral("pardakht_typ"), kind},
                                            {QStringLiteral("mablagh"), mablagh}, {QStringLiteral("vosol"), vosol},
                                            {QStringLiteral("num"), num}, {QStringLiteral("dat"), QStringLiteral("1402/06/01")},
                                            {QStringLiteral("bank"), QStringLiteral("ملت")},
                                            {QStringLiteral("hesab_no"), QString(num + QStringLiteral("-h"))}});
    }
    void partner(qint64 customer, const QString& lname, double sahm)
    {
        addRow(QStringLiteral("shoraka"), {{QStringLiteral("customer_id"), customer}, {QStringLiteral("fname"), QStringLiteral("مريم")},
                                           {QStringLiteral("lname"), lname}, {QStringLiteral("nation"), QStringLiteral("0087654321")},
                                           {QStringLiteral("sahm"), sahm}});
    }
    void setting(const char* table, const QString& component, const QString& cmt)
    {
        QVariantMap v {{QStringLiteral("ostan"), QStringLiteral("فارس")}, {QStringLiteral("component"), component},
                       {QStringLiteral("cmt"), cmt}};
        if (QLatin1String(table) == QLatin1String("setting_city"))
            v.insert(QStringLiteral("shahrestan"), QStringLiteral("شيراز"));
        addRow(QString::fromLatin1(table), v);
    }

private Q_SLOTS:
    void init()
    {
        test::useFreshDatabase();
        m_prj = test::addProject(QStringLiteral("مهر"), 10);
        m_unit = test::addUnit(m_prj, QStringLiteral("A-3-12"), 1250000000);
        session() = Session {};
        session().level = QStringLiteral("ostan");
    }

    // Page 2's price, words, storage and parking, balance and payments; page 1's counts.
    void contractAmounts()
    {
        test::DialogRecorder rec;
        const qint64 id = buyer();
        Document p2 = contractPage(2, file(id), Seat::Province);
        QCOMPARE(p2.field("mablagh"), QStringLiteral("1,250,000,000"));
        QCOMPARE(p2.field("mablagh_horof"), inWords(1250000000));
        QCOMPARE(p2.field("pish_mablagh"), QStringLiteral("0"));
        QCOMPARE(p2.field("hesab_no"), QString());
        QCOMPARE(contractPage(1, file(id), Seat::Province).field("anbari_cnt"), QStringLiteral("صفر"));

        space("anbari", id, 100000000, QStringLiteral("زيرزمين"));
        space("parking", id, 75000000, QStringLiteral("همکف"));
        space("parking", id, 75000000, QStringLiteral("زيرزمين"));
        dm().exec(QStringLiteral("update customers set vam=?, takhfif=? where id=?"), {500000000, 50000000, id});
        payment(id, formtext::kDownPayment, 200000000, 200000000, QStringLiteral("11"));
        payment(id, formtext::kDownPayment, 9, 9, QStringLiteral("12"));
        payment(id, formtext::kDelivery, 300000000, 0, QStringLiteral("21"));
        p2 = contractPage(2, file(id), Seat::Province);
        QCOMPARE(p2.field("mablagh"), QStringLiteral("1,500,000,000"));
        QCOMPARE(p2.field("anbari_mablagh"), QStringLiteral("100,000,000"));
        QCOMPARE(p2.field("parking_mablagh"), QStringLiteral("150,000,000"));
        QCOMPARE(p2.field("mande"), QStringLiteral("1,000,000,000"));
        QCOMPARE(p2.field("pish_mablagh"), QStringLiteral("200,000,000"));
        QCOMPARE(p2.field("hesab_no"), QStringLiteral("11-h"));
        QCOMPARE(p2.field("tahvil_mablagh"), QStringLiteral("300,000,000"));
        QCOMPARE(p2.field("tahvil_num"), QStringLiteral("21"));
        QCOMPARE(p2.field("mablagh_sum"), QStringLiteral("500,000,009"));
        QCOMPARE(p2.field("vosol_sum"), QStringLiteral("200,000,009"));
        QCOMPARE(cells(p2).size(), 3 * 8);
        VERIFY_PRINTS_CLEAN(p2);
        shot(QStringLiteral("Tprotocol_ghati_frm2"), p2.toImage(0, 110));
        const Document p1 = contractPage(1, file(id), Seat::Province);
        QCOMPARE(p1.field("parking_cnt"), inWords(2));
        QCOMPARE(p1.field("parking_tabaghe"), QStringLiteral("همکف"));
        QCOMPARE(p1.field("metraj"), QStringLiteral("85.5"));
        QVERIFY(rec.shown.isEmpty());

        // The printed PDF carries the total and its words.
        if (test::havePdfTools()) {
            QTemporaryDir dir;
            const QString pdf = dir.filePath(QStringLiteral("p2.pdf"));
            QVERIFY(p2.renderToPdf(pdf));
            const QString text = test::withoutBlanks(test::pdfText(pdf).value_or(QString()));
            QVERIFY(text.contains(QStringLiteral("1,500,000,000")));
            QVERIFY(text.contains(test::withoutBlanks(test::normalise(inWords(1500000000)))));
        }
    }

    // A price that is missing, fractional, negative: never a wrong amount in words.
    void contractPriceEdges()
    {
        test::DialogRecorder rec;
        const qint64 none = buyer({{QStringLiteral("mablagh"), QVariant()}});
        Document d = contractPage(2, file(none), Seat::Province);
        QCOMPARE(d.field("mablagh"), QString());
        QCOMPARE(d.field("mablagh_horof"), QString());
        QCOMPARE(rec.texts(), QStringList {formtext::kNoPrice});
        rec.clear();
        const qint64 frac = buyer({{QStringLiteral("mablagh"), 1250000000.4}});
        d = contractPage(2, file(frac), Seat::Province);
        QCOMPARE(d.field("mablagh"), QStringLiteral("1,250,000,000"));
        QCOMPARE(d.field("mablagh_horof"), inWords(1250000000));
        QVERIFY(rec.shown.isEmpty());
        const qint64 neg = buyer({{QStringLiteral("mablagh"), -5000.0}});
        rec.inputs.push_back(QStringLiteral("منفي پنج هزار"));
        d = contractPage(2, file(neg), Seat::Province);
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.shown.first().title, QStringLiteral("Mablagh Horofi"));
        QCOMPARE(d.field("mablagh"), QStringLiteral("-5,000"));
        QCOMPARE(d.field("mablagh_horof"), QStringLiteral("منفي پنج هزار"));
    }

    // Sole owner, partnership with the share question, company, villa, county seller.
    void contractLayouts()
    {
        test::DialogRecorder rec;
        setting("setting_ost", formtext::kModirKol, QStringLiteral("احمدي"));
        setting("setting_city", formtext::kModirCity, QStringLiteral("صادقي"));
        const qint64 sole = buyer({{QStringLiteral("typ"), QStringLiteral("حقوقي")}, {QStringLiteral("comp_name"), QStringLiteral("آرمان")}});
        partner(sole, QStringLiteral("نادري"), 2);
        Document d = contractPage(1, file(sole), Seat::Province);
        QVERIFY(rec.shown.isEmpty());
        QCOMPARE(cells(d).size(), 0);
        QCOMPARE(d.field("modirkol"), QStringLiteral("احمدي"));
        QCOMPARE(d.field("kharidar"), QStringLiteral("\"خريدار و نماينده حقوقي\""));
        QCOMPARE(d.field("comp_name"), QStringLiteral("آرمان"));
        d = contractPage(1, file(sole), Seat::County);
        QCOMPARE(d.field("modirkol"), QStringLiteral("صادقي"));
        QCOMPARE(d.field("os_city"), formtext::kCityWord);
        QCOMPARE(d.field("ostan"), QStringLiteral("شيراز"));

        const qint64 shared = buyer({{QStringLiteral("sahm"), 3.0}});
        partner(shared, QStringLiteral("نادري"), 2);
        partner(shared, QStringLiteral("صالحي"), 1);
        rec.answers.push_back(Answer::Yes);
        d = contractPage(1, file(shared), Seat::Province);
        QCOMPARE(rec.texts(), QStringList {formtext::kShareQuestion});
        QCOMPARE(d.field("sahm"), QStringLiteral("3"));
        QCOMPARE(d.field("sahm_caption"), formtext::kShareCaption);
        const auto shown = cells(d);
        QVERIFY(std::any_of(shown.begin(), shown.end(), [](const doc::Element& e) { return e.text == QStringLiteral("مريم صالحي"); }));
        QVERIFY(std::any_of(shown.begin(), shown.end(), [](const doc::Element& e) { return e.column == QStringLiteral("sahm"); }));
        VERIFY_PRINTS_CLEAN(d);
        rec.answers.push_back(Answer::Cancel);
        d = contractPage(1, file(shared), Seat::Province);
        QCOMPARE(d.field("sahm"), QString());
        QVERIFY(!d.plainText().contains(formtext::kShareCaption));
        const auto hidden = cells(d);
        QVERIFY(std::none_of(hidden.begin(), hidden.end(), [](const doc::Element& e) { return e.column == QStringLiteral("sahm"); }));

        dm().exec(QStringLiteral("update vahedha set bana=?, metraj_z=? where id=?"),
                  {formtext::kVilla, 240.25, m_unit.value(QStringLiteral("id"))});
        QCOMPARE(contractPage(1, file(sole), Seat::Province).field("metraj"), QStringLiteral("240.25"));
        QCOMPARE(contractPage(2, file(sole), Seat::Province).field("bana"), formtext::kLand);
        QCOMPARE(contractPage(8, file(sole), Seat::County).field("semat"), formtext::kModirCity);
    }

    // The trial contract: four asked values (a cancelled box prints its preset) and the unit's oldest loan.
    void trialContract()
    {
        test::DialogRecorder rec;
        const qint64 id = buyer();
        rec.inputs = {std::nullopt, QStringLiteral("14"), std::nullopt, QStringLiteral("بتني")};
        Document d = trialPage(1, file(id));
        QStringList prompts;
        for (const auto& s : rec.shown)
            prompts << s.title + QLatin1Char('/') + s.text;
        QCOMPARE(prompts, (QStringList {formtext::kSoratTitle + QLatin1Char('/') + formtext::kSoratPrompt,
                                        formtext::kTabaghatTitle + QLatin1Char('/') + formtext::kTabaghatPrompt,
                                        formtext::kVahedTitle + QLatin1Char('/') + formtext::kVahedPrompt,
                                        formtext::kSazeTitle + QLatin1Char('/') + formtext::kSazePrompt}));
        QCOMPARE(d.field("soratjalase"), formtext::kSoratPreset);
        QCOMPARE(d.field("prj_tabaghe"), QStringLiteral("14"));
        QCOMPARE(d.field("prj_vahed"), QStringLiteral("62"));
        QCOMPARE(d.field("saze"), QStringLiteral("بتني"));
        const QVariant prj = m_prj.value(QStringLiteral("id"));
        const auto facility = [&](const QString& bank) {
            const qint64 t = addRow(QStringLiteral("tashilat"), {{QStringLiteral("prj_id"), prj}, {QStringLiteral("bank"), bank},
                                                                 {QStringLiteral("etebar_loc"), QString(bank + QStringLiteral("-محل"))}});
            addRow(QStringLiteral("vahed_vam"), {{QStringLiteral("prj_id"), prj}, {QStringLiteral("tashilat_id"), t},
                                                 {QStringLiteral("vahed_id"), m_unit.value(QStringLiteral("id"))},
                                                 {QStringLiteral("mablagh"), 1}});
        };
        QCOMPARE(trialPage(2, file(id)).field("bank"), QString());
        facility(QStringLiteral("مسکن"));
        facility(QStringLiteral("ملي"));
        d = trialPage(2, file(id));
        QCOMPARE(d.field("bank"), QStringLiteral("مسکن"));
        QCOMPARE(d.field("etebar_loc"), QStringLiteral("مسکن-محل"));
        QCOMPARE(d.field("mande"), QStringLiteral("1,250,000,000"));
    }

    // Price − loan − collected, exactly; a credit with its sign; the county's name in eight places.
    void settlements()
    {
        test::DialogRecorder rec;
        const qint64 id = buyer({{QStringLiteral("mablagh"), 800000000.0}, {QStringLiteral("vam"), 200000000}});
        partner(id, QStringLiteral("نادري"), 2);
        Document d = settlement(file(id), Seat::Province);
        QCOMPARE(d.field("mablagh"), QStringLiteral("800,000,000"));
        QCOMPARE(d.field("mande"), QStringLiteral("600,000,000"));
        QCOMPARE(cells(d).size(), 0);
        payment(id, formtext::kDownPayment, 600500000, 600500000);
        d = settlement(file(id), Seat::County);
        QCOMPARE(d.field("mande"), QStringLiteral("-500,000"));
        QCOMPARE(d.field("ostan"), QStringLiteral("فارس"));
        for (const QString& c : {QStringLiteral("city"), QStringLiteral("city5"), QStringLiteral("city8")})
            QCOMPARE(d.field(c), QStringLiteral("شيراز"));
        shot(QStringLiteral("Tfrm_tasviye_city"), d.toImage(0, 110));
        VERIFY_PRINTS_CLEAN(d);
        dm().exec(QStringLiteral("update customers set sahm=? where id=?"), {4.0, id});
        d = settlement(file(id), Seat::Province);
        QCOMPARE(d.field("sahm"), QStringLiteral("4"));
        QCOMPARE(cells(d).size(), 6);
        test::saveArtifacts(d, QStringLiteral("settlement"));
    }

    // Fractional amounts of older data: page 2, the settlement and letter 25 add
    // the stored amounts exactly and round each total and balance once.
    void fractionalAmountsAddBeforeRounding()
    {
        test::DialogRecorder rec;
        const qint64 id = buyer({{QStringLiteral("mablagh"), 100000000.4}, {QStringLiteral("vam"), 5000000.5}});
        space("anbari", id, 30000000.3, QStringLiteral("زيرزمين"));
        space("parking", id, 25000000.3, QStringLiteral("همکف"));
        for (const char* num : {"1", "2", "3"})
            payment(id, formtext::kDownPayment, 0.5, 0.5, QString::fromLatin1(num));
        const Document p2 = contractPage(2, file(id), Seat::Province);
        QCOMPARE(p2.field("mablagh"), QStringLiteral("155,000,001"));
        QCOMPARE(p2.field("mablagh_horof"), inWords(155000001));
        QCOMPARE(p2.field("vam"), QStringLiteral("5,000,001"));
        QCOMPARE(p2.field("mande"), QStringLiteral("150,000,001"));   // 150,000,000.5
        QCOMPARE(p2.field("mablagh_sum"), QStringLiteral("2"));
        QCOMPARE(p2.field("vosol_sum"), QStringLiteral("2"));
        const Document s = settlement(file(id), Seat::Province);
        QCOMPARE(s.field("mablagh"), QStringLiteral("155,000,001"));
        QCOMPARE(s.field("mande"), QStringLiteral("149,999,999"));
        const FormFill l25 = letterFill(25, file(id), Seat::Province);
        QCOMPARE(l25.values.value(QStringLiteral("mablagh")).toString(), QStringLiteral("155,000,001"));
        QCOMPARE(l25.values.value(QStringLiteral("mablagh2")).toString(), QStringLiteral("155000001"));
        QCOMPARE(l25.values.value(QStringLiteral("anbari_mablagh")).toString(), QStringLiteral("30,000,000"));
        QVERIFY(rec.shown.isEmpty());
        // Halves go away from zero, and a text with more decimals than the columns keep rounds at the fifth.
        QCOMPARE(rialsOf(*exactAmount(QStringLiteral("-2.5"))), qint64(-3));
        QCOMPARE(*exactAmount(QStringLiteral("1.00005")), Exact(10001));
        QVERIFY(!exactAmount(QStringLiteral("1.2.3")) && !exactAmount(QStringLiteral("")));
    }

    // Letters 3, 15, 18: officers by seat and user, inputs and their presets, the notice.
    void letters()
    {
        test::DialogRecorder rec;
        setting("setting_ost", formtext::kNorvadAdr, QStringLiteral("شيراز، خيابان زند"));
        setting("setting_city", formtext::kNorvadAdr, QStringLiteral("شيراز، معالي آباد"));
        setting("setting_city", formtext::kModirCity, QStringLiteral("صادقي"));
        const qint64 id = buyer();
        rec.inputs = {QStringLiteral("ملي"), std::nullopt, std::nullopt};
        Document d = letter(3, file(id), Seat::County);
        QCOMPARE(d.field("bank"), QStringLiteral("ملي"));
        QCOMPARE(d.field("shobe"), formtext::kShobePreset);
        QCOMPARE(d.field("QRLabel34"), formtext::kCityAddressee);
        QCOMPARE(d.field("ostan2"), QStringLiteral("شيراز"));
        QCOMPARE(d.field("lname2"), QStringLiteral("رضا کريمي"));
        QCOMPARE(letter(3, file(id), Seat::Province).field("ostan3"), QStringLiteral("فارس"));

        rec.clear();
        session().level = QStringLiteral("city");
        const FormFill fill = letterFill(15, file(id), Seat::Province);
        QCOMPARE(rec.shown.first().text, formtext::kTahvilDatPrompt);
        QCOMPARE(fill.values.value(QStringLiteral("dat")).toString(), QStringLiteral("1403/01/20"));
        QCOMPARE(fill.values.value(QStringLiteral("adr")).toString(), QStringLiteral("شيراز، معالي آباد"));
        QCOMPARE(fill.values.value(QStringLiteral("moaven_maskan")).toString(), QStringLiteral("صادقي"));
        QCOMPARE(fill.values.value(QStringLiteral("QRLabel32")).toString(), formtext::kCityModirTitle);
        printLetter(test::rowOf(QStringLiteral("customers"), id), 15, Seat::Province);
        const QString notice = tavrin::window<TClipBoard_frm>().text();
        for (const QString& part : QStringList {formtext::kPeyroContract + QStringLiteral(" ق-125"), formtext::kSettleOn + QStringLiteral(" 1403/01/20"),
                                    QStringLiteral("از ساعت 8 الي 12"), QStringLiteral("شيراز، معالي آباد")})
            QVERIFY2(notice.contains(part), qPrintable(notice));

        const qint64 shared = buyer({{QStringLiteral("sahm"), 2.0}});
        partner(shared, QStringLiteral("نادري"), 4);
        d = letter(18, file(shared), Seat::Province);
        QCOMPARE(d.field("lname"), QStringLiteral("کريمي"));
        QCOMPARE(d.field("tahvil_typ2"), formtext::kTahvilTypPreset);
        QCOMPARE(cells(d).size(), 5);
        QCOMPARE(letter(18, file(id), Seat::Province).field("lname"), QStringLiteral("رضا کريمي"));
    }

    // Numbers joined by "-" read on paper as stored: the bank letter's unit
    // (never another unit), every contract page's number, the office's phone.
    void numbersReadAsStored()
    {
        test::DialogRecorder rec;
        setting("setting_ost", formtext::kNorvadPhone, QStringLiteral("021-88776655"));
        const qint64 id = buyer({{QStringLiteral("shenase"), QStringLiteral("1-2-3")},
                                 {QStringLiteral("prot_no"), QStringLiteral("1405-101")}});
        // How many texts show the field, each reading value and not its parts reversed.
        const auto shown = [](const Document& d, const QString& field, const QString& value, const QString& reversed) {
            int n = 0;
            for (int p = 0; p < d.pageCount(); ++p) {
                const QList<test::DrawnItem> items = test::drawnItems(d, p, 300);
                for (int i = 0; i < d.page(p).elements.size(); ++i)
                    if (d.page(p).elements.at(i).fields.contains(field)) {
                        const QString read = test::readLeftToRight(items, i);
                        if (!read.contains(value) || read.contains(reversed))
                            return -1;
                        ++n;
                    }
            }
            return n;
        };
        rec.inputs = {QStringLiteral("ملي")};
        QCOMPARE(shown(letter(4, file(id), Seat::Province), QStringLiteral("shenase"), QStringLiteral("1-2-3"), QStringLiteral("3-2-1")), 1);
        for (int page = 1; page <= 8; ++page) {
            rec.answers.push_back(Answer::Yes);
            const Document d = contractPage(page, file(id), Seat::Province);
            QVERIFY2(shown(d, QStringLiteral("prot_no"), QStringLiteral("1405-101"), QStringLiteral("101-1405")) >= 1, qPrintable(QString::number(page)));
            if (page == 1)
                QCOMPARE(shown(d, QStringLiteral("norvad_phone"), QStringLiteral("021-88776655"), QStringLiteral("88776655-021")), 1);
        }
    }

    // Transfers: the former holder is the latest transfer, never the row itself; none leaves the fields empty.
    void transfers()
    {
        test::DialogRecorder rec;
        const qint64 alone = buyer();
        QCOMPARE(letter(25, file(alone), Seat::Province).field("nam"), QString());
        // A buyer whose transfer date is only slashes holds the unit: he is no former holder.
        const qint64 slashes = buyer({{QStringLiteral("lname"), QStringLiteral("سوم")}, {QStringLiteral("transport_dat"), QStringLiteral("//")}});
        QCOMPARE(letter(25, file(alone), Seat::Province).field("nam"), QString());
        QCOMPARE(letter(26, file(alone), Seat::Province).field("nam2"), QStringLiteral("رضا سوم"));
        dm().exec(QStringLiteral("delete from customers where id=?"), {slashes});
        const qint64 first = buyer({{QStringLiteral("lname"), QStringLiteral("اول")}, {QStringLiteral("transport_dat"), QStringLiteral("1401/01/01")}});
        buyer({{QStringLiteral("lname"), QStringLiteral("دوم")}, {QStringLiteral("transport_dat"), QStringLiteral("1402/01/01")}});
        const Document d = letter(25, file(alone), Seat::Province);
        QCOMPARE(d.field("nam"), QStringLiteral("رضا دوم"));
        QCOMPARE(d.field("nam2"), QStringLiteral("رضا کريمي"));
        QCOMPARE(d.field("mablagh"), QStringLiteral("1,250,000,000"));
        QCOMPARE(d.field("mablagh2"), QStringLiteral("1250000000"));
        VERIFY_PRINTS_CLEAN(d);
        const Document t = letter(26, file(first), Seat::Province);
        QCOMPARE(t.field("nam"), QStringLiteral("رضا اول"));
        QCOMPARE(t.field("nam2"), QStringLiteral("رضا کريمي"));
        QCOMPARE(letter(26, file(alone), Seat::Province).field("nam2"), QString());
    }

    // The offices window: offices in their order, signer, spouse of the applicant himself, former name.
    void offices()
    {
        test::DialogRecorder rec;
        addRow(QStringLiteral("setting"), {{QStringLiteral("component"), formtext::kOffices}, {QStringLiteral("cmt"), QStringLiteral("شهرداري")}});
        addRow(QStringLiteral("setting"), {{QStringLiteral("component"), formtext::kOffices}, {QStringLiteral("cmt"), QStringLiteral("آب و فاضلاب")}});
        const qint64 id = buyer();
        const auto spouse = [&](const QString& lname, qint64 shoraka) {
            addRow(QStringLiteral("takafol"), {{QStringLiteral("customer_id"), id}, {QStringLiteral("nesbat"), formtext::kSpouse},
                                               {QStringLiteral("fname"), QStringLiteral("زهرا")}, {QStringLiteral("lname"), lname},
                                               {QStringLiteral("shoraka_id"), shoraka}});
        };
        spouse(QStringLiteral("شريک"), 5);
        spouse(QStringLiteral("اولي"), 0);
        spouse(QStringLiteral("دومي"), 0);
        applicants::registerApplicantWindows();
        QStringList seen;
        rec.onExec = [&](QDialog* w) {
            auto* e = qobject_cast<Tedarat*>(w);
            if (!e)
                return 0;
            seen << QString::number(e->sazeman->count()) << e->sazeman->itemText(0) << e->sazeman->currentText()
                 << e->emza->text();
            e->sazeman->setEditText(QStringLiteral("آب و فاضلاب"));
            shot(QStringLiteral("Tedarat"), e->grab().toImage());
            rec.inputs.push_back(QStringLiteral("علي کريمي"));
            e->BitBtn1->click();
            return 0;
        };
        QVERIFY(applicants::openApplicantWindow(QStringLiteral("N35"), id, nullptr, 600, {}));
        QCOMPARE(seen, (QStringList {QStringLiteral("2"), QStringLiteral("شهرداري"), QString(), formtext::kNorvad}));
        QVERIFY(std::any_of(rec.shown.begin(), rec.shown.end(), [](const auto& s) { return s.title == formtext::kOldNameTitle; }));
        const FormFill f = enquiryFill(test::rowOf(QStringLiteral("customers"), id), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z"));
        QCOMPARE(f.values.value(QStringLiteral("h_lname")).toString(), QStringLiteral("زهرا اولي"));
        dm().exec(QStringLiteral("delete from takafol where shoraka_id=0"));
        const Document d = enquiryLetter(test::rowOf(QStringLiteral("customers"), id), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z"));
        QCOMPARE(d.field("h_lname"), QString());
        QCOMPARE(d.setup().paper, doc::Paper::A5);
    }

    // Every entry of the menu is registered, and every document prints inside the paper without overlaps.
    void everyDocumentPrintsClean()
    {
        test::DialogRecorder rec;
        applicants::clearApplicantWindows();
        applicants::registerApplicantWindows();
        for (const auto& e : custext::kFormEntries)
            QVERIFY2(applicants::applicantWindow(QString::fromLatin1(e.name)), e.name);
        const QString longText = QStringLiteral("نشاني بسيار طولاني خيابان امام خميني کوچه شهيد مطهري پلاک دويست و سي و چهار طبقه سوم");
        const qint64 id = buyer({{QStringLiteral("adr"), longText}, {QStringLiteral("zamin_adr"), longText}, {QStringLiteral("sahm"), 3.0}});
        partner(id, QStringLiteral("نادري"), 3);
        payment(id, formtext::kDownPayment, 100000000, 100000000, QStringLiteral("1"));
        const ApplicantFile f = file(id);
        QList<QPair<QString, Document>> docs;
        for (int p = 1; p <= 8; ++p) {
            rec.answers.push_back(Answer::Yes);
            docs.append({QStringLiteral("contract%1").arg(p), contractPage(p, f, Seat::Province)});
        }
        for (int p = 1; p <= 2; ++p)
            docs.append({QStringLiteral("trial%1").arg(p), trialPage(p, f)});
        for (int n : {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 24, 25, 26})
            docs.append({QStringLiteral("letter%1").arg(n), letter(n, f, Seat::County)});
        docs.append({QStringLiteral("letter2"), enquiryLetter(f.customer, QStringLiteral("شهرداري"), formtext::kNorvad, formtext::kEmtiyazInitial)});
        docs.append({QStringLiteral("tasviye_city"), settlement(f, Seat::County)});
        for (const auto& [name, d] : docs) {
            const FormTemplate t = formTemplate(name);
            QVERIFY2(!t.lines.isEmpty(), qPrintable(name));
            for (const QString& field : t.fieldNames())
                QVERIFY2(d.hasField(field) || name == QLatin1String("contract1") || name.startsWith(QLatin1String("trial1")),
                         qPrintable(name + QLatin1Char(' ') + field));
            QVERIFY2(d.cutTexts().isEmpty(), qPrintable(name));
            const QStringList faults = test::drawingFaults(d, 300);
            QVERIFY2(faults.isEmpty(), qPrintable(name + QLatin1Char('\n') + faults.join(QLatin1Char('\n'))));
            QVERIFY2(!d.plainText().contains(QLatin1Char('{')), qPrintable(name));
            test::saveArtifacts(d, name);
        }
    }

    // "All pages" from the menu: eight previews in order, then one PDF of the eight.
    void allPagesToPdf()
    {
        test::DialogRecorder rec;
        applicants::clearApplicantWindows();
        applicants::registerApplicantWindows();
        const qint64 id = buyer();
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("all.pdf"));
        rec.answers = {Answer::Yes};
        rec.files = {pdf};
        QVERIFY(applicants::openApplicantWindow(QStringLiteral("N27"), id, nullptr, 600, {}));
        int previews = 0;
        for (const auto& s : rec.shown)
            previews += s.kind == QLatin1String("window");
        QCOMPARE(previews, 8);
        QCOMPARE(rec.lastText(), formtext::kPdfSaved);
        if (test::havePdfTools()) {
            const QString text = test::pdfText(pdf).value_or(QString());
            QCOMPARE(text.count(QChar('\f')), 8);
            QVERIFY(text.contains(QStringLiteral("1,250,000,000")));
        }
    }

    // An organisation's own wording replaces the built-in one without rebuilding.
    void organisationWording()
    {
        const QString dir = formOverrideDir();
        QVERIFY(QDir().mkpath(dir));
        QFile own(dir + QStringLiteral("/letter6.txt"));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write(QStringLiteral("paper: A5\ntitle: فرم ويژه {ostan}\n").toUtf8());
        own.close();
        test::DialogRecorder rec;
        const Document d = letter(6, file(buyer()), Seat::Province);
        QFile::remove(own.fileName());
        QCOMPARE(d.setup().paper, doc::Paper::A5);
        QVERIFY(d.plainText().contains(QStringLiteral("فرم ويژه فارس")));
        QVERIFY(formTemplate(QStringLiteral("letter6")).setup.paper == doc::Paper::A4);
    }
};

TAVRIN_DB_TEST_MAIN(TestForms)
#include "tst_forms.moc"
