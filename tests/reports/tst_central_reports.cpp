// The central office's entries and the conversion exports, run from the
// project list's menu over a small province: the counts of each table cell
// by cell, the files read back by a strict XML reader (valid UTF-8, the
// charset declared, a project named "A & <B>" with a Persian yeh intact,
// every row as wide as every header row), the listings' pairing of storage
// rooms with parking spaces, the cover sheet of a province with and without
// projects, the web page and spreadsheet of each export byte for byte, and
// what a cancelled dialog, an unwritable file or a database failure leave.
#include "support/testsupport.h"

#include "documents/drawcheck.h"

#include "reports/central_reports.h"
#include "reports/central_texts.h"
#include "reports/conversion_exports.h"

#include "app/main_u.h"
#include "common/jalali.h"
#include "common/listmodel.h"
#include "common/session.h"
#include "db/schema.h"
#include "projects/project_src_u.h"
#include "projects/project_texts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace tavrin;
using namespace tavrin::reports;

namespace {

const QString kFars = QStringLiteral("فارس");
const QString kOddName = QStringLiteral("A & <B> ی");   // Persian yeh
const QString kMask = QString::fromLatin1(kEmptyDateMask);

// A page as a strict XML reader sees it.
struct Page {
    QByteArray bytes;
    QString error, title, caption;
    QList<QStringList> head, body;
    QList<int> headWidths;
};

Page readPage(const QString& path)
{
    Page p;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return p.error = QStringLiteral("no file"), p;
    p.bytes = f.readAll();
    auto utf8 = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)utf8(p.bytes);
    if (utf8.hasError())
        return p.error = QStringLiteral("not UTF-8"), p;
    QXmlStreamReader x(p.bytes);
    bool inHead = false;
    while (!x.atEnd()) {
        if (x.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString n = x.name().toString();
        if (n == QLatin1String("title"))
            p.title = x.readElementText();
        else if (n == QLatin1String("caption"))
            p.caption = x.readElementText();
        else if (n == QLatin1String("thead") || n == QLatin1String("tbody"))
            inHead = n == QLatin1String("thead");
        else if (n == QLatin1String("tr") && inHead)
            p.head << QStringList(), p.headWidths << 0;
        else if (n == QLatin1String("tr"))
            p.body << QStringList();
        else if (n == QLatin1String("th")) {
            const int span = x.attributes().hasAttribute(QStringLiteral("colspan"))
                                 ? x.attributes().value(QStringLiteral("colspan")).toInt() : 1;
            p.headWidths.last() += span;
            p.head.last() << x.readElementText();
        } else if (n == QLatin1String("td"))
            p.body.last() << x.readElementText();
    }
    if (x.hasError())
        p.error = x.errorString();
    return p;
}

// The checks every page passes: well-formed, UTF-8 with its charset declared, rows as wide as the headers.
#define VERIFY_PAGE(p)                                                                                          \
    do {                                                                                                        \
        QVERIFY2((p).error.isEmpty(), qPrintable((p).error));                                                   \
        QVERIFY((p).bytes.startsWith("<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />")); \
        for (int w_ : (p).headWidths)                                                                           \
            QCOMPARE(w_, (p).head.last().size());                                                              \
        for (const QStringList& r_ : (p).body)                                                                  \
            QCOMPARE(r_.size(), (p).head.last().size());                                                       \
    } while (false)

qint64 insert(const char* table, const QString& columns, const QVariantList& values)
{
    return dm().insert(QString::fromLatin1(table), columns.split(','), values);
}

} // namespace

class TestCentralReports : public QObject {
    Q_OBJECT

    test::DialogRecorder* rec = nullptr;
    std::unique_ptr<QTemporaryDir> tmp;
    qint64 p1 = 0, p2 = 0, c1 = 0, c2 = 0;
    int year = 0;

    Tproject_src& openList(int selectProject)
    {
        mainWindow().action(QStringLiteral("N10"))->trigger();
        Tproject_src& list = tavrin::window<Tproject_src>();
        const ListModel* m = list.grid()->listModel();
        for (int r = 0; r < m->rowCount(); ++r)
            if (m->value(r, QStringLiteral("id")).toLongLong() == selectProject)
                list.grid()->setCurrentIndex(m->index(r, 0));
        return list;
    }
    // Runs a menu entry of the list into a file of the temporary folder and reads it back.
    Page run(Tproject_src& list, const char* entry, const QString& file)
    {
        rec->clear();
        rec->files = {tmp->filePath(file)};
        list.menuAction(QString::fromLatin1(entry))->trigger();
        return readPage(tmp->filePath(file));
    }
    void tickProvince(Tproject_src& list, const QString& ostan)
    {
        test::child<QCheckBox>(&list, QStringLiteral("CheckBox10"))->setChecked(true);
        test::child<QComboBox>(&list, QStringLiteral("ostan"))->setEditText(ostan);
    }

private Q_SLOTS:
    void init()
    {
        destroyWindows();
        destroyMainWindow();
        test::useFreshDatabase();
        tmp = std::make_unique<QTemporaryDir>();
        year = jalali::today().left(4).toInt();
        const auto y = [&](int back, const char* rest) -> QString { return QString::number(year - back) + QLatin1String(rest); };
        const QString prj = QStringLiteral("ostan,shahrestan,prj_name,prj_cod,prj_typ,vahed_kol,sakht_dat,status");
        p1 = insert("projects", prj, {kFars, QStringLiteral("شيراز"), kOddName, QStringLiteral("1"), QStringLiteral("خيرين"), 10, QStringLiteral("1400/01/01"), QStringLiteral("فعال")});
        p2 = insert("projects", prj, {kFars, QStringLiteral("مرکزي"), QStringLiteral("مهر"), QStringLiteral("2"), QStringLiteral("محرومین"), QVariant(), kMask, QStringLiteral("فعال")});
        insert("projects", prj, {QStringLiteral("تهران"), QStringLiteral("ري"), QStringLiteral("ت"), QStringLiteral("3"), QStringLiteral("خيرين"), 4, kMask, QStringLiteral("فعال")});
        const QString unit = QStringLiteral("prj_id,shenase,vahed_typ,mablagh");
        const qint64 u1 = insert("vahedha", unit, {p1, QStringLiteral("1"), QStringLiteral("غير حمايتي"), 1234567});
        const qint64 u2 = insert("vahedha", unit, {p1, QStringLiteral("2"), QStringLiteral("رهبری"), QVariant()});
        insert("vahedha", unit, {p1, QStringLiteral("3"), QStringLiteral("خيرين"), QVariant()});
        const qint64 u4 = insert("vahedha", unit, {p1, QStringLiteral("4"), QStringLiteral("نيم درصد"), QVariant()});
        const QString fac = QStringLiteral("prj_id,vahed_cnt,daryafti,etebar_loc,bank,prot_typ");
        const qint64 t1 = insert("tashilat", fac, {p1, 3, 2500000, QStringLiteral("مسکن مهر"), QStringLiteral("رسالت"), QStringLiteral("مشارکت مدني")});
        const qint64 t2 = insert("tashilat", fac, {p1, 0, 0, QStringLiteral("دفتر مرکزي"), QStringLiteral("ملي"), QStringLiteral("")});
        const QString loan = QStringLiteral("prj_id,tashilat_id,vahed_id,mablagh");
        insert("vahed_vam", loan, {p1, t1, u1, 1500000});
        insert("vahed_vam", loan, {p1, t1, u2, 2000000});
        insert("vahed_vam", loan, {p1, t2, u4, 1000000});
        insert("vahed_vam", loan, {p1, t1, QVariant(), 500000});   // a legacy loan without its unit
        const QString cust = QStringLiteral("ostan,shahrestan,prj_name,prj_id,vahed_id,fname,lname,nation,daftar_no,sanad_no,tahvil_no,tahvil_dat,transport_dat");
        c1 = insert("customers", cust, {kFars, QStringLiteral("شيراز"), kOddName, p1, u1, kOddName, QStringLiteral("لطفي"), QStringLiteral("0012345678"), QStringLiteral("12"), QStringLiteral(""), QStringLiteral("5"), y(0, "/05/31"), kMask});
        c2 = insert("customers", cust, {kFars, QStringLiteral("شيراز"), kOddName, p1, QVariant(), QStringLiteral("ب"), QStringLiteral("ب"), QStringLiteral("1"), QVariant(), QVariant(), QStringLiteral(""), kMask, QVariant()});
        insert("customers", cust, {kFars, QStringLiteral("شيراز"), kOddName, p1, u2, QStringLiteral("ج"), QStringLiteral("ج"), QStringLiteral("2"), QStringLiteral(""), QStringLiteral("9"), QStringLiteral("7"), y(6, "/02/02"), QStringLiteral("1402/01/01")});
        insert("customers", cust, {kFars, QStringLiteral("شيراز"), kOddName, p1, QVariant(), QStringLiteral("د"), QStringLiteral("د"), QStringLiteral("3"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral(""), y(1, "/12/30"), QStringLiteral("")});
        // c1: two storage rooms and one parking space; the project has one more, free, parking space.
        const QString space = QStringLiteral("customer_id,prj_id,num,metraj");
        insert("anbari", space, {c1, p1, 71, 5});
        insert("anbari", space, {c1, p1, 72, 6});
        const qint64 ph = insert("parkingha", QStringLiteral("prj_id,num,saghf,mablagh,status"), {p1, 81, QStringLiteral("مسقف"), 90000000, QStringLiteral(" فروخته شد لطفي")});
        insert("parkingha", QStringLiteral("prj_id,num,saghf,status"), {p1, 82, QStringLiteral("غير مسقف"), QStringLiteral("فعال")});
        insert("parking", space + QStringLiteral(",parking_id"), {c1, p1, 81, 12, ph});
        insert("pardakht", QStringLiteral("customer_id,mablagh,vosol,dat,norvad_bank"), {c1, 5000000, 5000000, QStringLiteral("1402/01/01"), QStringLiteral("ملت")});
        insert("takafol", QStringLiteral("customer_id,fname,nation"), {c1, QStringLiteral("ه"), QStringLiteral("0098765432")});
        test::addUser(QStringLiteral("boss"), QStringLiteral("admin"), kFars, {{QStringLiteral("prj"), QStringLiteral("0001")}});
        test::loginAs(QStringLiteral("boss"));
        rec = new test::DialogRecorder;
    }
    void cleanup()
    {
        delete rec;
        destroyWindows();
        destroyMainWindow();
    }

    void provinceTablesCountEachProjectInOneStatement()
    {
        Tproject_src& list = openList(p1);
        const QString y0 = QString::number(year);
        const struct {
            const char* entry;
            QStringList p1, p2;
        } tables[] = {
            // NULL numbers count as absent as "" does.
            {"N53", {QStringLiteral("4"), QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("2")},
             {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}},
            // The loan row without a unit does not hide the unit without a loan.
            {"N54", {QStringLiteral("3"), QStringLiteral("3"), QStringLiteral("1")}, {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}},
            // The empty date mask is no delivery, not even in the oldest column.
            {"N55", {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("3"), QStringLiteral("7")},
             {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}},
            // Unit types compare with either yeh.
            {"N56", {QStringLiteral("1400/01/01"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("10")},
             {kMask, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}},
        };
        for (const auto& t : tables) {
            const qint64 before = dm().statementCount();
            const Page p = run(list, t.entry, QStringLiteral("projects.htm"));
            QCOMPARE(dm().statementCount() - before, 1);
            VERIFY_PAGE(p);
            QCOMPARE(p.title, centraltext::kProvinceTitle);
            QVERIFY(p.caption.startsWith(jalali::today() + ' '));
            QCOMPARE(p.head.last().mid(0, 4), centraltext::kProvinceHeadings);
            QCOMPARE(p.body.size(), 2);   // the two projects of the province, by county
            QCOMPARE(p.body.at(0).mid(0, 4), (QStringList {QStringLiteral("1"), kFars, QStringLiteral("شيراز"), kOddName}));
            QCOMPARE(p.body.at(0).mid(4), t.p1);
            QCOMPARE(p.body.at(1).mid(4), t.p2);
            QCOMPARE(rec->shown.first().text, QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(QStringLiteral("projects.htm")));
            QCOMPARE(rec->shown.last().kind, QStringLiteral("desktop"));
        }
        const Page delivered = run(list, "N55", QStringLiteral("projects.htm"));
        QCOMPARE(delivered.head.last().mid(4, 5), (QStringList {y0, QString::number(year - 1), QString::number(year - 2),
                                                                 QString::number(year - 3), QString::number(year - 4) + centraltext::kAndBefore}));
    }

    void listingsShowEachRoomAndSpaceOnce()
    {
        Tproject_src& list = openList(p1);
        tickProvince(list, kFars);
        const Page p = run(list, "N57", QStringLiteral("Tavrin.htm"));
        VERIFY_PAGE(p);
        QCOMPARE(p.head.size(), 2);
        QCOMPARE(p.head.first().mid(1), centraltext::kListingGroups);
        // c1 twice (two rooms, one space), three more applicants, the project without applicants.
        QCOMPARE(p.body.size(), 6);
        const QList<ListingColumn> cols = listingColumns(Listing::ProjectsApplicants);
        const auto column = [&](const Page& page, const QList<ListingColumn>& cs, const char* alias, const char* name) {
            QStringList out;
            for (int i = 0; i < cs.size(); ++i)
                if (cs[i].alias == QLatin1String(alias) && cs[i].column == QLatin1String(name))
                    for (const QStringList& r : page.body)
                        out << r.at(i + 1);
            return out;
        };
        QCOMPARE(column(p, cols, "a", "num").join(',').remove(','), QStringLiteral("7172"));
        QCOMPARE(column(p, cols, "k", "num").join(',').remove(','), QStringLiteral("81"));
        QCOMPARE(column(p, cols, "c", "nation").first(), QStringLiteral("0012345678"));
        // Spreadsheet programs keep its leading zeros (an amount stays a number).
        QVERIFY(p.bytes.contains("<td sdnum=\"1033;0;@\" style=\"mso-number-format:'\\@'\">0012345678</td>"));
        QVERIFY(p.bytes.contains("<td>71</td>"));
        QCOMPARE(column(p, cols, "p", "prj_name").first(), kOddName);
        QVERIFY(p.caption.startsWith(jalali::today() + centraltext::kListingCaption));

        // Applicants with their projects: no grouped header; a county user sees his counties only.
        test::addUser(QStringLiteral("c"), QStringLiteral("city"), kFars, {{QStringLiteral("prj"), QStringLiteral("0001")}}, {QStringLiteral("ري")});
        test::loginAs(QStringLiteral("c"));
        list.menuAction(QStringLiteral("N6"))->trigger();
        Tproject_src& same = openList(p1);
        const Page q = run(same, "N58", QStringLiteral("Tavrin.htm"));
        VERIFY_PAGE(q);
        QCOMPARE(q.head.size(), 1);
        QVERIFY(q.body.isEmpty());   // the only applicants are in شيراز
        test::loginAs(QStringLiteral("boss"));
        const Page all = run(same, "N58", QStringLiteral("Tavrin.htm"));
        QCOMPARE(all.body.size(), 5);
        QCOMPARE(column(all, listingColumns(Listing::ApplicantsProjects), "c", "fname").first(), kOddName);
    }

    void coverSheetCountsAProvinceAndPrintsClean()
    {
        const QVariantMap fars = coverSheetValues(dm(), kFars, QStringLiteral("1403/01/01"));
        const QVariantMap expected {
            {"prj", "2"},        {"vahed", "10"},     {"tahvil_no", "2"}, {"v_mande", "8"},   {"tashilat", "2.5"},
            {"daftar_no", "2"},  {"sanad_no", "2"},   {"s_mande", "8"},   {"khayerin", "1"},  {"mahromin", "1"},
            {"ejare", "0"},      {"madani", "1"},     {"sakht", "1"},     {"rostaei", "0"},   {"resalat", "1"},
            {"tas_d", "5"},      {"mot", "2"},        {"bon", "1"},       {"tas", "1"},       {"est", "1"},
            {"baha", "1,234,567"}, {"motegh", "3"},   {"dat", "1403/01/01"}, {"ostan", kFars}};
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(fars.value(it.key()).toString() + ' ' + it.key(), it.value().toString() + ' ' + it.key());
        // A province without projects: zeros, no subtraction of nothing.
        const QVariantMap none = coverSheetValues(dm(), QStringLiteral("کرمان"), QStringLiteral("1403/01/01"));
        for (const char* k : {"prj", "vahed", "v_mande", "s_mande", "tashilat", "tas_d", "baha", "motegh", "bon"})
            QCOMPARE(none.value(QString::fromLatin1(k)).toString(), QStringLiteral("0"));
        QCOMPARE(millions(1234567890), QStringLiteral("1,234.57"));
        QCOMPARE(millions(-999999), QStringLiteral("-1"));

        const doc::Document d = coverSheet(dm(), kFars, QStringLiteral("1403/01/01"));
        QCOMPARE(d.pageCount(), 1);
        QCOMPARE(d.field(QStringLiteral("bon")), QStringLiteral("1"));
        QVERIFY(d.cutTexts().isEmpty());
        VERIFY_PRINTS_CLEAN(d);
        if (const QString shots = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR"); !shots.isEmpty())
            QVERIFY(d.toImage(0, 110).save(QDir(shots).filePath(QStringLiteral("Trokesh_ost.png"))));

        // From the menu: the selected project's province, or a message without one.
        Tproject_src& list = openList(p1);
        rec->clear();
        list.menuAction(QStringLiteral("N52"))->trigger();
        QCOMPARE(rec->shown.last().title, QStringLiteral("preview"));
        QCOMPARE(rec->shown.last().text, QStringLiteral("روکش استاني"));  // the preview's title is the entry's
        list.grid()->setCurrentIndex({});
        rec->clear();
        for (const char* e : {"N52", "N53"})
            list.menuAction(QString::fromLatin1(e))->trigger();
        QCOMPARE(rec->texts(), (QStringList {kSelectProject, kSelectProject}));
    }

    void conversionExportsWriteTheSameBytesTwice()
    {
        Tproject_src& list = openList(p1);
        tickProvince(list, kFars);
        // Cancelled part way, a page leaves no file.
        rec->clear();
        rec->cancelProgressAt = 2;
        rec->files = {tmp->filePath(QStringLiteral("cancelled.htm"))};
        list.menuAction(QString::fromLatin1(qPrintable(prjtext::kConvertEntries.at(0).htmlName)))->trigger();
        QCOMPARE(rec->progressDone, 2);
        QVERIFY(!QFile::exists(tmp->filePath(QStringLiteral("cancelled.htm"))));
        rec->cancelProgressAt.reset();
        QStringList checked;
        for (const Conversion c : kAllConversions) {
            const prjtext::ConvertEntry& e = prjtext::kConvertEntries.at(int(c));
            const Page web = run(list, qPrintable(e.htmlName), QStringLiteral("Tavrin.htm"));
            const Page sheet = run(list, qPrintable(e.xlsName), QStringLiteral("Tavrin.xls"));
            VERIFY_PAGE(web);
            QCOMPARE(sheet.bytes, web.bytes);
            QCOMPARE(web.caption, centraltext::kConvertCaptionPrefix + conversionName(c) + ' ');
            QCOMPARE(web.head.size(), 2);
            // The key cells are headed by their names in both header rows.
            for (const QStringList& h : web.head)
                QCOMPARE(h.mid(1, conversionKeys(c).size()), conversionKeys(c));
            const QStringList first = web.body.first();
            switch (c) {
            case Conversion::ProjectsUnits:   // P1's four applicants, then P2 alone
                QCOMPARE(web.body.size(), 5);
                QCOMPARE(web.body.last().mid(1, 2), (QStringList {QString::number(p2), QString()}));
                QCOMPARE(first.at(3), kFars);
                break;
            case Conversion::Parking:
                QCOMPARE(web.body.size(), 3);   // two spaces, and P2 without any
                QCOMPARE(first.mid(1, 2), (QStringList {QString::number(p1), QString::number(c1)}));
                QCOMPARE(first.at(6), centraltext::kParkingKind + QStringLiteral("مسقف"));
                QCOMPARE(first.at(7), QStringLiteral("90000000"));
                break;
            case Conversion::Storage:
                QCOMPARE(first.at(6), centraltext::kStorageKind);
                break;
            case Conversion::Transactions:   // c1's payment; the others have none
                QCOMPARE(web.body.size(), 4);
                QCOMPARE(first.mid(1, 3), (QStringList {QString::number(c1), QStringLiteral("0012345678"), QString()}));
                QCOMPARE(first.at(5), QStringLiteral("5000000"));
                QCOMPARE(first.at(10), centraltext::kDeposit);
                break;
            case Conversion::Dependants:
                QCOMPARE(first.at(8), QStringLiteral("0098765432"));   // the dependant's code, not the applicant's
                break;
            default:
                break;
            }
            checked << conversionName(c);
        }
        QCOMPARE(checked.size(), 6);
        // A part of the county's name, typed with the Persian yeh.
        test::child<QCheckBox>(&list, QStringLiteral("CheckBox11"))->setChecked(true);
        test::child<QComboBox>(&list, QStringLiteral("shahrestan"))->setEditText(QStringLiteral("شیر"));
        QCOMPARE(run(list, "N61", QStringLiteral("Tavrin.htm")).body.size(), 4);
    }

    void failuresLeaveTheFileAndOpenNothing()
    {
        Tproject_src& list = openList(p1);
        // Cancelled: nothing written, nothing said.
        rec->clear();
        list.menuAction(QStringLiteral("N53"))->trigger();
        QCOMPARE(rec->shown.size(), 1);
        // A folder that does not exist.
        rec->files = {tmp->filePath(QStringLiteral("none/projects.htm"))};
        list.menuAction(QStringLiteral("N53"))->trigger();
        QCOMPARE(rec->lastText(), kPageWriteFailed);
        QVERIFY(std::none_of(rec->shown.begin(), rec->shown.end(), [](const auto& s) { return s.kind == QLatin1String("desktop"); }));
        // A database failure midway keeps the previous file whole.
        const Page good = run(list, "N57", QStringLiteral("Tavrin.htm"));
        dm().setStatementHook([](const QString& sql) {
            if (sql.contains(QLatin1String("row_number")))
                throw DbError(QStringLiteral("lost"), sql);
        });
        const Page after = run(list, "N57", QStringLiteral("Tavrin.htm"));
        dm().setStatementHook({});
        QCOMPARE(rec->lastText(), kPageWriteFailed);
        QCOMPARE(after.bytes, good.bytes);
        QCOMPARE(QDir(tmp->path()).entryList(QDir::Files), (QStringList {QStringLiteral("Tavrin.htm")}));
    }
};

TAVRIN_DB_TEST_MAIN(TestCentralReports)
#include "tst_central_reports.moc"
