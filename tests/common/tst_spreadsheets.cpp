// The Excel export (checked with openpyxl, a reader that is not ours) and the
// spreadsheet reader (checked on files written by openpyxl, LibreOffice, xlwt
// and by hand; see tests/data/make_spreadsheets.py).
#include "support/testsupport.h"

#include "common/spreadsheetreader.h"
#include "common/xlsxexport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlField>
#include <QTemporaryDir>

using namespace tavrin;

namespace {

QString fixture(const char* name)
{
    return QStringLiteral(TAVRIN_TEST_DATA "/") + QString::fromUtf8(name);
}

// Reads a workbook with openpyxl and describes it as JSON.
const char* kInspect = R"PY(
import json, sys, openpyxl
from openpyxl.utils.escape import unescape
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
def cell(c):
    b = c.border
    return {"v": c.value, "bold": bool(c.font.b), "t": c.data_type, "fmt": c.number_format,
            "u": unescape(c.value) if isinstance(c.value, str) else None,
            "border": [b.left.style, b.right.style, b.top.style, b.bottom.style]}
out = {
    "sheets": wb.sheetnames,
    "rtl": bool(ws.sheet_view.rightToLeft),
    "maxRow": ws.max_row,
    "cols": sorted([[d.min, d.max, d.width] for d in ws.column_dimensions.values() if d.width]),
    "rows": [[cell(c) for c in row] for row in ws.iter_rows(min_row=1, max_row=ws.max_row, max_col=30)],
}
print(json.dumps(out, ensure_ascii=False))
)PY";

// The sheet's column widths as one [first, last, width] entry (built step by
// step: a braced QJsonArray of one QJsonArray is a copy under some compilers).
QJsonArray columnsOf(const QJsonArray& range)
{
    QJsonArray cols;
    cols.append(range);
    return cols;
}

QJsonObject inspect(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(kInspect), path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning("openpyxl failed (python3-openpyxl missing?): %s", p.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

QJsonObject cellOf(const QJsonObject& book, int row, int col)  // 1-based like Excel
{
    return book.value("rows").toArray().at(row - 1).toArray().at(col - 1).toObject();
}

QString valueOf(const QJsonObject& book, int row, int col)
{
    const QJsonValue v = cellOf(book, row, col).value("v");
    return v.isNull() ? QString() : v.toVariant().toString();
}

QStringList bordersOf(const QJsonObject& book, int row, int col)
{
    QStringList out;
    for (const QJsonValue& v : cellOf(book, row, col).value("border").toArray())
        out << (v.isNull() ? QStringLiteral("none") : v.toString());
    return out;
}

const QStringList kSlant(4, QStringLiteral("slantDashDot"));
const QStringList kThin(4, QStringLiteral("thin"));
const QStringList kNone(4, QStringLiteral("none"));

QList<QStringList> read(const QString& path, QString* sheet = nullptr)
{
    QString error;
    const auto data = readSpreadsheet(path, &error);
    if (!data) {
        qWarning("read failed: %s", qPrintable(error));
        return {};
    }
    if (sheet)
        *sheet = data->sheetName;
    return data->rows;
}

// What the fixtures made from make_spreadsheets.py's table hold, for rows 1-5
// and 8 (rows 6 and 7 differ between the files).
const QList<QStringList> kHead = {
    {"استان", "شهرستان", "کد آبادي", "مقدار"},
    {"تهران", "ري", "1234567890", "12.5"},
    {"اصفهان", "", "987654321", "-7"},
    {QString::fromUtf8("  نیم\u200cفاصله  "), "كرمان يزد", "0.3", "100000000000000000000"},
    {"text 001", "0012", "0.0015", "100"},
};
const QStringList kLast = {"آخر", "", "", "D8"};

} // namespace

class TestSpreadsheets : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString tmp(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    // ------------------------------------------------------------ numbers ---

    void numberText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("code") << 1234567890.0 << "1234567890";
        QTest::newRow("half") << 12.5 << "12.5";
        QTest::newRow("negative") << -7.0 << "-7";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("float noise") << 0.1 + 0.2 << "0.3";
        QTest::newRow("huge") << 1e20 << "100000000000000000000";
        QTest::newRow("small") << 0.0015 << "0.0015";
        QTest::newRow("tiny") << 1e-10 << "0.0000000001";
        QTest::newRow("15 digits") << 123456789012345.0 << "123456789012345";
        QTest::newRow("rial amount") << 98765432100.0 << "98765432100";
    }
    void numberText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(spreadsheetNumberText(value), text);
    }

    void cellTextOfFieldValues()
    {
        QCOMPARE(exportCellText(QVariant()), QString());
        QCOMPARE(exportCellText(QVariant(QMetaType::fromType<QString>())), QString());
        QCOMPARE(exportCellText(1500000.0), QStringLiteral("1500000"));
        QCOMPARE(exportCellText(12.5), QStringLiteral("12.5"));
        QCOMPARE(exportCellText(qlonglong(1234567890123)), QStringLiteral("1234567890123"));
        QCOMPARE(exportCellText(true), QStringLiteral("True"));
        QCOMPARE(exportCellText(QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9))), QStringLiteral("2024-03-05 07:08:09"));
        QCOMPARE(exportCellText(QByteArray("متن")), QStringLiteral("متن"));
        QCOMPARE(exportCellText(QByteArray("\x89PNG\0\x01", 6)), QString());
        QCOMPARE(exportCellText(QStringLiteral("  x ")), QStringLiteral("  x "));  // trimmed by the writer
    }

    // ------------------------------------------------------------- export ---

    void exportLaysOutTheSheet()
    {
        // 15 fields: the bordered header ends at M, the bold one goes on to O.
        QStringList fields;
        HeaderMap headers;
        for (int i = 1; i <= 15; ++i)
            fields << QStringLiteral("f%1").arg(i);
        headers.insert("f1", "شناسه");
        headers.insert("f2", "نام خانوادگي");
        headers.insert("f3", "کد ملي");
        // f4 ... f15 are not in the map and keep their names
        const QString path = tmp("layout.xlsx");
        QString error;
        QVERIFY2(exportRows(path, fields, headers,
                            [](const RowVisitor& row) {
                                QStringList a, b;
                                for (int i = 1; i <= 15; ++i) {
                                    a << QStringLiteral("  a%1 ").arg(i);
                                    b << QStringLiteral("\tb%1").arg(i);
                                }
                                a[1] = QStringLiteral("  رضايي  ");
                                a[2] = QStringLiteral("0012345678");
                                row(a);
                                row(b);
                            },
                            &error),
                 qPrintable(error));

        const QJsonObject book = inspect(path);
        QVERIFY2(!book.isEmpty(), "openpyxl could not read the export");
        QCOMPARE(book.value("sheets").toArray(), QJsonArray({"Sheet1"}));
        QCOMPARE(book.value("rtl").toBool(), true);
        QCOMPARE(book.value("maxRow").toInt(), 3);
        // header texts
        QCOMPARE(valueOf(book, 1, 1), QStringLiteral("شناسه"));
        QCOMPARE(valueOf(book, 1, 2), QStringLiteral("نام خانوادگي"));
        QCOMPARE(valueOf(book, 1, 3), QStringLiteral("کد ملي"));
        QCOMPARE(valueOf(book, 1, 4), QStringLiteral("f4"));
        QCOMPARE(valueOf(book, 1, 15), QStringLiteral("f15"));
        // values trimmed, kept as text (leading zeros survive)
        QCOMPARE(valueOf(book, 2, 1), QStringLiteral("a1"));
        QCOMPARE(valueOf(book, 2, 2), QStringLiteral("رضايي"));
        QCOMPARE(valueOf(book, 2, 3), QStringLiteral("0012345678"));
        QCOMPARE(valueOf(book, 3, 15), QStringLiteral("b15"));
        // bold A1:AA1 (only the written cells matter), data not bold
        QVERIFY(cellOf(book, 1, 1).value("bold").toBool());
        QVERIFY(cellOf(book, 1, 13).value("bold").toBool());
        QVERIFY(cellOf(book, 1, 15).value("bold").toBool());
        QVERIFY(!cellOf(book, 2, 1).value("bold").toBool());
        // borders: header A..M slanted dash-dot, data A..M thin, nothing beyond M
        QCOMPARE(bordersOf(book, 1, 1), kSlant);
        QCOMPARE(bordersOf(book, 1, 13), kSlant);
        QCOMPARE(bordersOf(book, 1, 14), kNone);
        QCOMPARE(bordersOf(book, 2, 1), kThin);
        QCOMPARE(bordersOf(book, 3, 13), kThin);
        QCOMPARE(bordersOf(book, 3, 14), kNone);
        // every field column 10 characters wide; a file stores that width as
        // 10.7109375 (the width plus the cell padding of the default font)
        QCOMPARE(book.value("cols").toArray(), columnsOf({1, 15, 10.7109375}));
    }

    void narrowExportStillBordersAToM()
    {
        const QString path = tmp("narrow.xlsx");
        QVERIFY(exportRows(path, {"id", "cod"}, {{"id", "شناسه"}},
                           [](const RowVisitor& row) { row({"1", "   "}); }));
        const QJsonObject book = inspect(path);
        QCOMPARE(valueOf(book, 1, 1), QStringLiteral("شناسه"));
        QCOMPARE(valueOf(book, 1, 2), QStringLiteral("cod"));
        QCOMPARE(valueOf(book, 2, 2), QString());  // blanks only: an empty cell
        QCOMPARE(bordersOf(book, 1, 12), kSlant);
        QCOMPARE(bordersOf(book, 2, 13), kThin);
        QCOMPARE(bordersOf(book, 2, 14), kNone);
        QCOMPARE(book.value("cols").toArray(), columnsOf({1, 2, 10.7109375}));
        // our own reader sees the two columns only
        QCOMPARE(read(path), (QList<QStringList>{{"شناسه", "cod"}, {"1", ""}}));
    }

    void emptyListGivesTheHeaderRowOnly()
    {
        const QString path = tmp("empty.xlsx");
        QString error;
        QVERIFY2(exportRows(path, {"ostan", "shahrestan"}, {{"ostan", "استان"}}, {}, &error), qPrintable(error));
        const QJsonObject book = inspect(path);
        QCOMPARE(book.value("maxRow").toInt(), 1);
        QCOMPARE(valueOf(book, 1, 1), QStringLiteral("استان"));
        QCOMPARE(valueOf(book, 1, 2), QStringLiteral("shahrestan"));
        QCOMPARE(read(path), (QList<QStringList>{{"استان", "shahrestan"}}));
    }

    void longExportStreamsAndReadsBack()
    {
        // Far larger than the reader's chunks, so rows and texts are cut
        // between chunks; the writer holds one row at a time.
        const int n = 30000;
        const QString path = tmp("long.xlsx");
        QString error;
        QVERIFY2(exportRows(path, {"cod", "rosta", "amount"}, {{"rosta", "روستا"}},
                            [&](const RowVisitor& row) {
                                for (int i = 0; i < n; ++i)
                                    row({QString::number(1000000000 + i), QStringLiteral("روستاي شماره %1").arg(i),
                                         QStringLiteral(" 00%1 ").arg(i)});
                            },
                            &error),
                 qPrintable(error));
        QList<int> progress;
        int rows = 0;
        int lastNumber = 0;
        bool allRight = true;
        QVERIFY2(readSpreadsheetRows(
                     path,
                     [&](const QStringList& cells, int number) {
                         if (number > 1) {
                             const int i = number - 2;
                             allRight = allRight && cells == QStringList{QString::number(1000000000 + i),
                                                                         QStringLiteral("روستاي شماره %1").arg(i),
                                                                         QStringLiteral("00%1").arg(i)};
                         }
                         lastNumber = number;
                         ++rows;
                         return true;
                     },
                     &error, [&](int p) { progress << p; }),
                 qPrintable(error));
        QCOMPARE(rows, n + 1);
        QCOMPARE(lastNumber, n + 1);
        QVERIFY(allRight);
        QVERIFY(progress.size() > 10);
        QCOMPARE(progress.last(), 100);
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
    }

    // A text that looks like an escaped character, and texts longer than a
    // cell holds, read back as they were written (cut between whole
    // characters), by our reader and by openpyxl's unescaping.
    void textsReadBackAsWritten()
    {
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");   // two UTF-16 units
        const QStringList values {
            QStringLiteral("_x0041_"), QStringLiteral("a_x0041_x0042_b"), QStringLiteral("_x00zz_ _X004a_"),
            QString(32766, QLatin1Char('a')) + emoji,                       // the pair would cross the limit
            QStringLiteral("_x0041_").repeated(5000),                      // 35,000 characters, escapes included
            QStringLiteral("ب") + QString(32765, QChar(0x0650)) + QStringLiteral("پ") + QString(3, QChar(0x0650)),
        };
        const QString path = tmp("texts.xlsx");
        QString error;
        QVERIFY2(exportRows(path, {"a", "b", "c", "d", "e", "f"}, {{"a", "_x0041_"}},
                            [&](const RowVisitor& row) { row(values); }, &error),
                 qPrintable(error));
        const QList<QStringList> back = read(path);
        QCOMPARE(back.value(0).value(0), QStringLiteral("_x0041_"));
        const QJsonObject book = inspect(path);
        const QStringList expected {values[0], values[1], values[2], QString(32766, QLatin1Char('a')),
                                    QStringLiteral("_x0041_").repeated(2520) + QStringLiteral("_"),
                                    values[5].left(32766)};
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(back.value(1).value(i).size(), expected[i].size());
            QCOMPARE(back.value(1).value(i), expected[i]);
            QCOMPARE(cellOf(book, 2, i + 1).value("u").toString(), expected[i]);
        }
        QCOMPARE(cellOf(book, 1, 1).value("u").toString(), QStringLiteral("_x0041_"));
        QCOMPARE(xlsxCellText(QStringLiteral("_x0041_")), QStringLiteral("_x005F_x0041_"));
    }

    // Markup characters, control characters, the two non-characters and a
    // lone half of a surrogate pair go into the sheet's XML escaped and read
    // back as written; a title keeps its blanks.  The file is read by
    // openpyxl too (a sheet with a character XML forbids would not open).
    void markupAndControlCharactersReadBack()
    {
        const QStringList values {QStringLiteral("a&b<c>d\"e'"), QStringLiteral("x\x01y\rz\tw\nv\x1f"),
                                  QString(QChar(0xFFFE)) + QChar(0xFFFF)};
        const QString path = tmp("markup.xlsx");
        QString error;
        QVERIFY2(exportRows(path, {"a", "b", "c"}, {{"a", QStringLiteral(" سر ")}},
                            [&](const RowVisitor& row) { row(values); }, &error),
                 qPrintable(error));
        const QList<QStringList> back = read(path);
        QCOMPARE(back.value(0).value(0), QStringLiteral(" سر "));
        QCOMPARE(back.value(1), values);
        const QJsonObject book = inspect(path);
        QCOMPARE(cellOf(book, 1, 1).value("u").toString(), QStringLiteral(" سر "));
        for (int i = 0; i < values.size(); ++i)
            QCOMPARE(cellOf(book, 2, i + 1).value("u").toString(), values[i]);
        QVERIFY(book.value("rtl").toBool());
        // A lone half of a pair (which no tool here prints) comes back too.
        const QString lone = QString(QChar(0xD800)) + QStringLiteral("ی");
        QVERIFY(exportRows(tmp("lone.xlsx"), {"a"}, {}, [&](const RowVisitor& row) { row({lone}); }));
        QCOMPARE(read(tmp("lone.xlsx")).value(1), QStringList {lone});
    }

    // Numeric columns are written as numbers a user can add up, with
    // columns wide enough to show them; codes and other texts stay text.
    void numericColumnsAreNumbers()
    {
        Database& db = test::useFreshDatabase();
        db.exec("insert into vahedha (prj_id, shenase, metraj, mablagh, vam, otagh, status) values (?,?,?,?,?,?,?)",
                {7, "0012345678", 87.6, 8234400000LL, 999999999999999LL, 3, "فعال"});
        db.exec("insert into vahedha (prj_id, shenase, metraj, mablagh, vam, otagh, status) values (?,?,?,?,?,?,?)",
                {8, "0099", 120, 0, QVariant(), 2, " 42 "});
        const QString sql = "select prj_id, shenase, metraj, mablagh, vam, otagh, status from vahedha where id<>? order by id";
        QString error;
        QVERIFY2(exportStatement(tmp("units.xlsx"), sql, {-1}, {}, &error), qPrintable(error));
        {
            QSqlQuery q = db.exec("select count(*) as c, sum(mablagh) as s from vahedha where id<>?", {-1});
            QVERIFY2(exportQuery(tmp("sums.xlsx"), q, {}, &error), qPrintable(error));
        }
        const QJsonObject book = inspect(tmp("units.xlsx"));
        const auto typeOf = [&](const QJsonObject& b, int row, int col) { return cellOf(b, row, col).value("t").toString(); };
        // prj_id, metraj, mablagh, vam, otagh are numbers; shenase and status text
        for (int col : {1, 3, 4, 5, 6})
            QCOMPARE(typeOf(book, 2, col), QStringLiteral("n"));
        QCOMPARE(typeOf(book, 2, 2), QStringLiteral("s"));
        QCOMPARE(valueOf(book, 2, 2), QStringLiteral("0012345678"));
        QCOMPARE(valueOf(book, 3, 2), QStringLiteral("0099"));
        QCOMPARE(valueOf(book, 3, 7), QStringLiteral("42"));     // a text of digits in a text column
        QCOMPARE(typeOf(book, 3, 7), QStringLiteral("s"));
        QCOMPARE(cellOf(book, 2, 3).value("v").toDouble(), 87.6);
        QCOMPARE(cellOf(book, 2, 4).value("v").toDouble(), 8234400000.0);
        QCOMPARE(cellOf(book, 2, 5).value("v").toDouble(), 999999999999999.0);
        QCOMPARE(cellOf(book, 2, 4).value("fmt").toString(), QStringLiteral("#,##0"));
        QCOMPARE(cellOf(book, 2, 1).value("fmt").toString(), QStringLiteral("0"));
        QCOMPARE(bordersOf(book, 2, 4), kThin);
        QCOMPARE(valueOf(book, 3, 5), QString());                // NULL: an empty cell
        // 8,234,400,000 and 999,999,999,999,999 need 13 and 19 characters
        // (and the cell's padding); the other columns keep 10
        QCOMPARE(book.value("cols").toArray(), QJsonArray({QJsonArray({1, 3, 10.7109375}), QJsonArray({4, 4, 15.7109375}),
                                                           QJsonArray({5, 5, 21.7109375}), QJsonArray({6, 7, 10.7109375})}));
        const QJsonObject sums = inspect(tmp("sums.xlsx"));
        QCOMPARE(typeOf(sums, 2, 1), QStringLiteral("n"));
        QCOMPARE(cellOf(sums, 2, 1).value("v").toInt(), 2);
        QCOMPARE(typeOf(sums, 2, 2), QStringLiteral("n"));
        QCOMPARE(cellOf(sums, 2, 2).value("v").toDouble(), 8234400000.0);
    }

    void unwritablePathFailsWithoutAFile()
    {
        const QString path = tmp("no/such/folder/x.xlsx");
        QString error;
        QVERIFY(!exportRows(path, {"a"}, {}, [](const RowVisitor& row) { row({"1"}); }, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(path));
    }

    void writerClosesOnce()
    {
        XlsxWriter w;
        const QString path = tmp("closed.xlsx");
        QVERIFY(w.open(path));
        w.writeHeader({"a"}, {});
        w.writeRow({"1"});
        QCOMPARE(w.rowCount(), 1);
        QString error;
        QVERIFY(w.close(&error));
        QVERIFY(!w.close(&error));  // closing twice is refused
        QCOMPARE(read(path), (QList<QStringList>{{"a"}, {"1"}}));
    }

    // --------------------------------------------------- user flow (dialogs) ---

    void cancelledSaveDialogDoesNothing()
    {
        test::DialogRecorder rec;
        bool asked = false;
        QVERIFY(!exportListToExcel("shoraka", {"id"}, {}, [&](const RecordVisitor&) { asked = true; }));
        QVERIFY(!asked);
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.shown[0].kind, QStringLiteral("save"));
        QCOMPARE(rec.shown[0].title, kExcelSaveTitle);
        QVERIFY(rec.shown[0].text.endsWith("/shoraka.xlsx"));
    }

    void savedExportOpensOnTheDesktop()
    {
        test::DialogRecorder rec;
        rec.files.push_back(tmp("flow"));  // no extension typed
        QSqlRecord r;
        r.append(QSqlField("lname", QMetaType(QMetaType::QString)));
        r.append(QSqlField("mablagh", QMetaType(QMetaType::Double)));
        QVERIFY(exportListToExcel("shoraka", {"lname", "mablagh"}, {{"lname", "نام خانوادگي"}},
                                  [&](const RecordVisitor& visit) {
                                      r.setValue(0, QStringLiteral(" احمدي "));
                                      r.setValue(1, QStringLiteral("1500000.0000"));
                                      visit(r);
                                  }));
        QCOMPARE(rec.shown.size(), 2);
        QCOMPARE(rec.shown[1].kind, QStringLiteral("desktop"));
        QCOMPARE(rec.shown[1].text, tmp("flow.xlsx"));
        QCOMPARE(read(tmp("flow.xlsx")), (QList<QStringList>{{"نام خانوادگي", "mablagh"}, {"احمدي", "1500000"}}));
    }

    void withoutADesktopProgramTheUserIsToldWhereTheFileIs()
    {
        test::DialogRecorder rec;
        rec.desktopOpens = false;
        rec.files.push_back(tmp("nowhere.xlsx"));
        QVERIFY(exportListToExcel("x", {"id"}, {}, [](const RecordVisitor&) {}));
        QCOMPARE(rec.shown.at(1).kind, QStringLiteral("desktop"));
        QCOMPARE(rec.texts(), QStringList{kExcelSavedAt + QLatin1Char('\n') + QDir::toNativeSeparators(tmp("nowhere.xlsx"))});
        QCOMPARE(rec.shown.last().kind, QStringLiteral("information"));
    }

    void failedWriteShowsTheMessage()
    {
        test::DialogRecorder rec;
        rec.files.push_back(tmp("missing/folder/out.xlsx"));
        QVERIFY(!exportListToExcel("x", {"id"}, {}, [](const RecordVisitor&) {}));
        QCOMPARE(rec.texts(), QStringList{kExcelWriteFailed});
        QCOMPARE(rec.shown.last().kind, QStringLiteral("error"));
        QCOMPARE(kExcelWriteFailed, QStringLiteral("خطا در ساخت فايل اکسل"));
    }

    // ------------------------------------------------------------ database ---

    void exportsAQueryAndAPagedStatement()
    {
        Database& db = test::useFreshDatabase();
        const QList<QVariantList> rows = {
            {1, "واريز", 1500000, "  12 "}, {2, "چك", 12.5, "0034"}, {3, " نقد ", 0, QVariant()},
            {4, "قسط", 98765432100LL, "x"}, {5, "پيش", 7, "y"},
        };
        for (const QVariantList& r : rows)
            db.exec("insert into pardakht (customer_id, pardakht_typ, mablagh, num) values (?,?,?,?)", r);
        const HeaderMap headers{{"pardakht_typ", "نوع پرداخت"}, {"mablagh", "مبلغ"}};
        const QList<QStringList> expected = {
            {"customer_id", "نوع پرداخت", "مبلغ", "num"},
            {"1", "واريز", "1500000", "12"},
            {"2", "چك", "12.5", "0034"},
            {"3", "نقد", "0"},
            {"4", "قسط", "98765432100", "x"},
            {"5", "پيش", "7", "y"},
        };
        const QString sql = "select customer_id, pardakht_typ, mablagh, num from pardakht where id<>? order by customer_id";
        QList<QStringList> padded = expected;
        padded[3] << QString();

        QString error;
        {
            QSqlQuery q = db.exec(sql, {-1});
            QVERIFY2(exportQuery(tmp("query.xlsx"), q, headers, &error), qPrintable(error));
        }
        QCOMPARE(read(tmp("query.xlsx")), padded);

        // pages of two rows: 2 + 2 + 1
        QVERIFY2(exportStatement(tmp("paged.xlsx"), sql, {-1}, headers, &error, 2), qPrintable(error));
        QCOMPARE(read(tmp("paged.xlsx")), padded);
        // pages that end exactly at the last row, and an empty result
        QVERIFY(exportStatement(tmp("paged5.xlsx"), sql, {-1}, headers, &error, 5));
        QCOMPARE(read(tmp("paged5.xlsx")), padded);
        QVERIFY(exportStatement(tmp("none.xlsx"),
                                "select customer_id, pardakht_typ from pardakht where pardakht_typ=? order by id",
                                {"nothing"}, headers, &error));
        QCOMPARE(read(tmp("none.xlsx")), (QList<QStringList>{{"customer_id", "نوع پرداخت"}}));
    }

    void databaseFailureIsReportedWithTheFixedMessage()
    {
        test::useFreshDatabase();
        test::DialogRecorder rec;
        rec.files.push_back(tmp("dbfail.xlsx"));
        QVERIFY(!exportListToExcel("x", "select * from no_such_table order by id", {}, {}));
        QCOMPARE(rec.texts(), QStringList{kExcelWriteFailed});
        QVERIFY(!QFile::exists(tmp("dbfail.xlsx")));
        for (const auto& s : rec.shown)
            QVERIFY(s.kind != QStringLiteral("desktop"));
    }

    // ------------------------------------------------------------- reader ---

    void readsOpenpyxlInlineStrings()
    {
        // Two sheets: "Other" first, "Sheet1" second; absolute part targets.
        QString sheet;
        const QList<QStringList> rows = read(fixture("spreadsheet_openpyxl.xlsx"), &sheet);
        QCOMPARE(sheet, QStringLiteral("Sheet1"));
        QCOMPARE(rows.size(), 8);
        QCOMPARE(rows.mid(0, 5), kHead);
        QCOMPARE(rows[5], QStringList(4));                                  // row 6 is missing
        QCOMPARE(rows[6], (QStringList{"45292", "TRUE", "", ""}));         // a date is its serial number
        QCOMPARE(rows[7], kLast);                                           // formatted Z20 is not a value
    }

    void readsLibreOfficeSharedStrings()
    {
        QString sheet;
        const QList<QStringList> rows = read(fixture("spreadsheet_libreoffice.xlsx"), &sheet);
        QCOMPARE(sheet, QStringLiteral("Sheet1"));
        QCOMPARE(rows.size(), 8);
        QCOMPARE(rows.mid(0, 5), kHead);
        QCOMPARE(rows[5], QStringList(4));
        QCOMPARE(rows[6], (QStringList{"45292", "TRUE", "", ""}));
        QCOMPARE(rows[7], kLast);
    }

    void readsLibreOfficeXls()
    {
        QString sheet;
        const QList<QStringList> rows = read(fixture("spreadsheet_libreoffice.xls"), &sheet);
        QCOMPARE(sheet, QStringLiteral("Sheet1"));
        QCOMPARE(rows.size(), 8);
        QCOMPARE(rows.mid(0, 5), kHead);
        QCOMPARE(rows[5], QStringList(4));
        QCOMPARE(rows[6].at(0), QStringLiteral("2024-01-01"));  // FreeXL's date text
        QCOMPARE(rows[7], kLast);
    }

    void readsXlwtXls()
    {
        const QList<QStringList> rows = read(fixture("spreadsheet_xlwt.xls"));
        QCOMPARE(rows.size(), 8);
        QCOMPARE(rows.mid(0, 5), kHead);
        QCOMPARE(rows[5], QStringList(4));
        QCOMPARE(rows[6], QStringList(4));
        QCOMPARE(rows[7], kLast);
    }

    void readsTheFirstSheetWhenNoneIsSheet1()
    {
        QString sheet;
        QCOMPARE(read(fixture("spreadsheet_persian_sheet.xlsx"), &sheet), (QList<QStringList>{{"یک", "2", "سه"}}));
        QCOMPARE(sheet, QStringLiteral("داده ها"));
    }

    void readsTheRarerPartsOfTheFormat()
    {
        QString sheet;
        const QList<QStringList> rows = read(fixture("spreadsheet_handmade.xlsx"), &sheet);
        QCOMPARE(sheet, QStringLiteral("SHEET1"));
        // rich runs joined, phonetic runs left out, _xHHHH_ decoded (and
        // _x005F_ standing for "_"), a formula's cached text, cells without a
        // reference placed after the previous one, every row padded to five
        const QList<QStringList> expected = {
            {"کد", "نام آبادي", "کد", "", ""},
            {"1234567890", "line1\r\nline2 _x0041_", "ab", "", ""},
            {"", "0.3", "  padded  ", "#N/A", "FALSE"},
        };
        QCOMPARE(rows, expected);
    }

    void streamingStopsWhenAsked()
    {
        QList<int> numbers;
        QString error;
        QVERIFY(readSpreadsheetRows(
            fixture("spreadsheet_libreoffice.xlsx"),
            [&](const QStringList&, int n) {
                numbers << n;
                return n < 3;
            },
            &error));
        QCOMPARE(numbers, (QList<int>{1, 2, 3}));
        numbers.clear();
        QVERIFY(readSpreadsheetRows(
            fixture("spreadsheet_xlwt.xls"),
            [&](const QStringList& cells, int n) {
                numbers << n;
                return !cells.isEmpty() || n < 6;
            },
            &error));
        QCOMPARE(numbers, (QList<int>{1, 2, 3, 4, 5, 6}));  // 6 is an empty row before row 8
    }

    void damagedFilesGiveAnError_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QFile f(fixture("spreadsheet_openpyxl.xlsx"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray xlsx = f.readAll();
        QFile g(fixture("spreadsheet_xlwt.xls"));
        QVERIFY(g.open(QIODevice::ReadOnly));
        const QByteArray xls = g.readAll();
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("id,name\n1,x\n");
        QTest::newRow("zip head only") << QByteArray("PK\x03\x04garbage", 11);
        QTest::newRow("truncated xlsx") << xlsx.left(xlsx.size() / 2);
        QTest::newRow("truncated xls") << xls.left(xls.size() / 3);
        QTest::newRow("ole head only") << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(600, 'z');
        QByteArray flipped = xlsx;
        for (qsizetype i = 200; i < flipped.size() - 400; i += 7)
            flipped[i] = char(flipped[i] ^ 0x5a);
        QTest::newRow("scrambled xlsx") << flipped;
        // A text length that makes FreeXL read past its buffer: the reading
        // child may die, the program only reports a damaged file.
        QFile h(fixture("spreadsheet_overread.xls"));
        QVERIFY(h.open(QIODevice::ReadOnly));
        QTest::newRow("xls overread") << h.readAll();
    }
    void damagedFilesGiveAnError()
    {
        QFETCH(QByteArray, bytes);
        const QString path = tmp("damaged.xlsx");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        QString error;
        QVERIFY(!readSpreadsheet(path, &error));
        QVERIFY(!error.isEmpty());
    }

    void brokenSheetXmlAndMissingFile()
    {
        QString error;
        QVERIFY(!readSpreadsheet(fixture("spreadsheet_broken.xlsx"), &error));
        QVERIFY2(error.contains("sheet2.xml"), qPrintable(error));
        error.clear();
        QVERIFY(!readSpreadsheet(tmp("does-not-exist.xlsx"), &error));
        QVERIFY(!error.isEmpty());
        // Two cells at opposite corners: refused whole instead of padding to
        // billions of cells; streamed, the last row still arrives.
        error.clear();
        QVERIFY(!readSpreadsheet(fixture("spreadsheet_far_corner.xlsx"), &error));
        QVERIFY2(error.contains("too large"), qPrintable(error));
        int last = 0;
        QVERIFY(readSpreadsheetRows(fixture("spreadsheet_far_corner.xlsx"), [&](const QStringList& cells, int row) {
            last = row;
            return cells.isEmpty() || cells.size() == 1 || cells.size() == 16384;
        }));
        QCOMPARE(last, 1048576);
    }
};

TAVRIN_DB_TEST_MAIN(TestSpreadsheets)
#include "tst_spreadsheets.moc"
