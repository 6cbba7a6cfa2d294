// The activity-log viewer: its search, export, user tip and the web page of
// every user's last action.
#include "support/testsupport.h"

#include "admin/log_u.h"
#include "app/main_u.h"
#include "common/jalali.h"
#include "common/listmodel.h"
#include "common/session.h"
#include "common/spreadsheetreader.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace tavrin;

namespace {
void addLog(const QString& karbar, const QString& tarikh, const QString& saatSys, const QString& cmt,
            const QString& ip = QStringLiteral("10.0.0.1"), const QString& pc = QStringLiteral("pc-a"))
{
    dm().exec(QStringLiteral("insert into log (karbar,ip,computer_name,saat,tarikh,cmt,saat_sys) values (?,?,?,?,?,?,?)"),
              {karbar, ip, pc, QStringLiteral("10:00:00"), tarikh, cmt, saatSys});
}

void addUser(const QString& us, const QString& nam, const QString& ostan, const QString& lev, const QString& semat = {})
{
    dm().exec(QStringLiteral("insert into users (us,ps,lev,ostan,nam,semat,status) values (?,?,?,?,?,?,?)"),
              {us, QStringLiteral("x"), lev, ostan, nam, semat.isNull() ? QStringLiteral("") : semat, QStringLiteral("فعال")});
}

QStringList column(const ListModel& m, const QString& field)
{
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r)
        out << m.value(r, field).toString();
    return out;
}

// The cells of the report's data rows, one list per <tr> of the body.
QList<QStringList> bodyRows(const QString& html)
{
    QList<QStringList> rows;
    const QStringList lines = html.split(QLatin1Char('\n'));
    const int body = lines.indexOf(QStringLiteral("<tbody>"));
    QStringList current;
    for (int i = body + 1; i < lines.size(); ++i) {
        const QString& l = lines[i];
        if (l == QLatin1String("<tr>"))
            current.clear();
        else if (l == QLatin1String("</tr>"))
            rows << current;
        else if (l.startsWith(QLatin1String("<td>")) && l.endsWith(QLatin1String("</td>")))
            current << l.mid(4, l.size() - 9);
    }
    return rows;
}
} // namespace

class TestLog : public QObject {
    Q_OBJECT
    test::DialogRecorder* rec = nullptr;

    Tlog& logWindow()
    {
        Tlog& w = tavrin::window<Tlog>();
        w.prepareToShow();
        return w;
    }

    // Rows: u1 01/01, u2 01/02, u1 01/03, u2 01/03 at the same server time as
    // the one before it, and one row without a user name.
    void addSearchRows()
    {
        addLog(QStringLiteral("u1"), QStringLiteral("1402/01/01"), QStringLiteral("2023-03-21 08:00:00"), QStringLiteral("ورود موفق"));
        addLog(QStringLiteral("u2"), QStringLiteral("1402/01/02"), QStringLiteral("2023-03-22 09:00:00"),
               QStringLiteral(" ثبت کاربر جديد 0012345679"), QStringLiteral("10.0.0.2"), QStringLiteral("pc-b"));
        addLog(QStringLiteral("u1"), QStringLiteral("1402/01/03"), QStringLiteral("2023-03-23 10:00:00"), QStringLiteral("first of two"));
        addLog(QStringLiteral("u2"), QStringLiteral("1402/01/03"), QStringLiteral("2023-03-23 10:00:00"), QStringLiteral("second of two"),
               QStringLiteral("10.0.0.2"), QStringLiteral("pc-b"));
        addLog(QStringLiteral(""), QStringLiteral("1402/01/03"), QStringLiteral("2023-03-24 10:00:00"), QStringLiteral("nobody"));
    }

private Q_SLOTS:
    void init()
    {
        destroyWindows();
        destroyMainWindow();
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        rec = new test::DialogRecorder;
    }

    void cleanup()
    {
        destroyWindows();
        delete rec;
        rec = nullptr;
    }

    void searchListsNewestFirstWithoutEmptyUsers()
    {
        addSearchRows();
        Tlog& w = logWindow();
        w.src_btnClick();
        ListModel& m = *w.DBGrid1->listModel();
        QCOMPARE(w.cnt->text(), QStringLiteral("4"));
        QCOMPARE(column(m, QStringLiteral("cmt")),
                 (QStringList{QStringLiteral("second of two"), QStringLiteral("first of two"),
                              QStringLiteral(" ثبت کاربر جديد 0012345679"), QStringLiteral("ورود موفق")}));
    }

    void searchFilters()
    {
        addSearchRows();
        Tlog& w = logWindow();
        ListModel& m = *w.DBGrid1->listModel();
        const auto search = [&] {
            w.src_btnClick();
            return w.cnt->text().toInt();
        };
        w.CheckBox1->setChecked(true);
        w.karbar->setText(QStringLiteral("u1"));
        QCOMPARE(search(), 2);
        QCOMPARE(column(m, QStringLiteral("karbar")), (QStringList{QStringLiteral("u1"), QStringLiteral("u1")}));
        w.CheckBox1->setChecked(false);

        // Dates: both ends included, compared as text.
        w.CheckBox2->setChecked(true);
        QVERIFY(w.dat1->isEnabled() && w.dat2->isEnabled());
        w.dat1->setText(QStringLiteral("1402/01/02"));
        w.dat2->setText(QStringLiteral("1402/01/03"));
        QCOMPARE(search(), 3);
        w.dat1->setText(QStringLiteral("1402/01/03"));
        QCOMPARE(search(), 2);
        w.dat1->setText(QStringLiteral("1402/01/04"));  // after the to-date
        QCOMPARE(search(), 0);
        // An incomplete date is not searched with.
        w.dat1->setText(QStringLiteral("1402/01"));
        QCOMPARE(w.dat1->displayText(), QStringLiteral("1402/01/  "));
        rec->clear();
        w.src_btnClick();
        QCOMPARE(rec->texts(), QStringList{Tlog::kDateIncomplete});
        QCOMPARE(w.cnt->text(), QStringLiteral("0"));
        w.CheckBox2->setChecked(false);
        QVERIFY(!w.dat1->isEnabled() && !w.dat2->isEnabled());

        // The comment, whichever kaf is typed.
        w.CheckBox4->setChecked(true);
        w.cmt->setText(QStringLiteral("كاربر"));
        QCOMPARE(search(), 1);
        w.cmt->setText(QStringLiteral("of two"));
        QCOMPARE(search(), 2);
        w.CheckBox5->setChecked(true);
        w.ip->setText(QStringLiteral("0.0.2"));
        QCOMPARE(search(), 1);
        QCOMPARE(m.value(0, QStringLiteral("cmt")).toString(), QStringLiteral("second of two"));
        w.CheckBox4->setChecked(false);
        QCOMPARE(search(), 2);
        w.CheckBox5->setChecked(false);
        w.CheckBox3->setChecked(true);
        w.computer_name->setText(QStringLiteral("pc-a"));
        QCOMPARE(search(), 2);
        w.computer_name->setText(QStringLiteral("it's"));
        QCOMPARE(search(), 0);
    }

    void rowClickShowsTheUser()
    {
        addUser(QStringLiteral("u1"), QStringLiteral("Ali"), QStringLiteral("قم"), QStringLiteral("city"), QStringLiteral("role"));
        addSearchRows();
        Tlog& w = logWindow();
        w.src_btnClick();
        ListModel& m = *w.DBGrid1->listModel();
        QCOMPARE(m.value(1, QStringLiteral("karbar")).toString(), QStringLiteral("u1"));
        w.DBGrid1CellClick(1);
        QCOMPARE(rec->shown.size(), 1);
        QCOMPARE(rec->shown[0].kind, QStringLiteral("balloon"));
        QCOMPARE(rec->shown[0].title, QStringLiteral("مشخصات کاربر"));
        QCOMPARE(rec->shown[0].text, QStringLiteral("Ali*قم*شهرستاني*role"));  // the level in Persian
        w.DBGrid1CellClick(0);  // u2 is not a user any more: no tip
        QCOMPARE(rec->shown.size(), 1);
    }

    void excelExportHasTheLogHeaders()
    {
        addSearchRows();
        Tlog& w = logWindow();
        w.src_btnClick();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.xlsx"));
        rec->files.push_back(path);
        w.SpeedButton1Click();
        QCOMPARE(rec->shown.last().kind, QStringLiteral("desktop"));
        const auto sheet = readSpreadsheet(path);
        QVERIFY(sheet);
        QCOMPARE(sheet->rows.size(), 5);
        QCOMPARE(sheet->rows[0], (QStringList{QStringLiteral("شناسه"), QStringLiteral("نام کاربري"), QStringLiteral("آي پي"),
                                              QStringLiteral("نام کامپيوتر"), QStringLiteral("ساعت"), QStringLiteral("تاريخ"),
                                              QStringLiteral("شرح عمليات"), QStringLiteral("ساعت سرور")}));
        QCOMPARE(sheet->rows[1][6], QStringLiteral("second of two"));
        QCOMPARE(sheet->rows[4][6], QStringLiteral("ورود موفق"));
    }

    void lastActionReport()
    {
        addUser(QStringLiteral("u1"), QStringLiteral("<b>Ali</b>"), QStringLiteral("B-ostan"), QStringLiteral("city"));
        addUser(QStringLiteral("u2"), QStringLiteral("Reza"), QStringLiteral("A-ostan"), QStringLiteral("ostan"));
        addLog(QStringLiteral("ghost"), QStringLiteral("1402/01/01"), QStringLiteral("2023-03-21 08:00:00"), QStringLiteral("g1"));
        addLog(QStringLiteral("u1"), QStringLiteral("1402/01/01"), QStringLiteral("2023-03-21 08:00:00"), QStringLiteral("u1 old"));
        addLog(QStringLiteral("u2"), QStringLiteral("1402/01/02"), QStringLiteral("2023-03-22 08:00:00"), QStringLiteral("u2 old"));
        // Both users' last actions share one server time.
        addLog(QStringLiteral("u2"), QStringLiteral("1402/01/05"), QStringLiteral("2023-03-25 12:00:00"), QStringLiteral("u2 last"));
        addLog(QStringLiteral("u1"), QStringLiteral("1402/01/04"), QStringLiteral("2023-03-25 12:00:00"), QStringLiteral("u1 same time"));
        addLog(QStringLiteral("u1"), QStringLiteral("1402/01/05"), QStringLiteral("2023-03-25 12:00:00"), QStringLiteral("u1 last & final"));

        const QString html = lastActionReportHtml(QStringLiteral("1402/02/01"));
        const QStringList lines = html.split(QLatin1Char('\n'));
        QCOMPARE(lines.mid(0, 18),
                 (QStringList{QStringLiteral("<html>"),
                              QStringLiteral("<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" /><title>"
                                             "آخرين تراکش کاربران سامانه تاورين</title></head>"),
                              QStringLiteral("<body>"),
                              QStringLiteral("<table dir=\"rtl\" border=\"1\" align=\"center\" width=\"95%\">"),
                              QStringLiteral("<caption>1402/02/01 آخرين تراکش کاربران سامانه تاورين </caption>"),
                              QStringLiteral("<thead>"), QStringLiteral("<tr bgcolor=\"#22ddff\" valign=\"middle\">"),
                              QStringLiteral("<th>رديف</th>"), QStringLiteral("<th>استان</th>"),
                              QStringLiteral("<th>سطح دسترسي</th>"), QStringLiteral("<th>نام و نام خانوادگي</th>"),
                              QStringLiteral("<th>کد ملي</th>"), QStringLiteral("<th>شرح عمليات</th>"),
                              QStringLiteral("<th>تاريخ سيستم</th>"), QStringLiteral("<th>تاريخ سرور</th>"),
                              QStringLiteral("</tr>"), QStringLiteral("</thead>"), QStringLiteral("<tbody>")}));
        QVERIFY(html.endsWith(QStringLiteral("</tbody>\n</table>\n</body>\n</html>\n")));
        QVERIFY(!html.contains(QStringLiteral("<b>")));
        const QList<QStringList> rows = bodyRows(html);
        QCOMPARE(rows.size(), 3);
        // A user no longer in users: empty province, level and name.
        QCOMPARE(rows[0], (QStringList{QStringLiteral("1"), QString(), QString(), QString(), QStringLiteral("ghost"),
                                       QStringLiteral("g1"), QStringLiteral("1402/01/01"), QStringLiteral("2023-03-21 08:00:00")}));
        QCOMPARE(rows[1], (QStringList{QStringLiteral("2"), QStringLiteral("A-ostan"), QStringLiteral("استاني"), QStringLiteral("Reza"),
                                       QStringLiteral("u2"), QStringLiteral("u2 last"), QStringLiteral("1402/01/05"),
                                       QStringLiteral("2023-03-25 12:00:00")}));
        QCOMPARE(rows[2], (QStringList{QStringLiteral("3"), QStringLiteral("B-ostan"), QStringLiteral("شهرستاني"),
                                       QStringLiteral("&lt;b&gt;Ali&lt;/b&gt;"), QStringLiteral("u1"),
                                       QStringLiteral("u1 last &amp; final"), QStringLiteral("1402/01/05"),
                                       QStringLiteral("2023-03-25 12:00:00")}));
    }

    void lastActionReportIsWrittenWhereTheUserChooses()
    {
        addUser(QStringLiteral("u1"), QStringLiteral("علي"), QStringLiteral("قم"), QStringLiteral("city"));
        addLog(QStringLiteral("u1"), QStringLiteral("1402/01/01"), QStringLiteral("2023-03-21 08:00:00"), QStringLiteral("ورود"));
        Tlog& w = logWindow();
        QTemporaryDir dir;
        // Cancelled: nothing written, nothing opened.
        w.BitBtn1Click();
        QCOMPARE(rec->shown.size(), 1);
        QCOMPARE(rec->shown[0].kind, QStringLiteral("save"));
        QVERIFY(rec->shown[0].text.endsWith(QStringLiteral("users.htm")));

        const QString web = dir.filePath(QStringLiteral("page.htm"));
        rec->files.push_back(web);
        w.BitBtn1Click();
        QCOMPARE(rec->shown.last().kind, QStringLiteral("desktop"));
        QCOMPARE(rec->shown.last().text, web);
        QFile f(web);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QCOMPARE(bytes, lastActionReportHtml(jalali::today()).toUtf8());
        QVERIFY(bytes.contains(QStringLiteral("<td>علي</td>").toUtf8()));

        w.RadioGroup1_1->setChecked(true);
        const QString xls = dir.filePath(QStringLiteral("page.xls"));
        rec->files.push_back(xls);
        w.BitBtn1Click();
        QVERIFY(rec->shown[rec->shown.size() - 2].text.endsWith(QStringLiteral("users.xls")));
        QVERIFY(QFile::exists(xls));
    }

    void menuEntryOpensTheViewerWithTodaysDates()
    {
        dm().exec(QStringLiteral("insert into users (us,ps,lev,status) values (?,?,?,?)"),
                  {QStringLiteral("viewer"), QStringLiteral("x"), QStringLiteral("city"), QStringLiteral("فعال")});
        dm().exec(QStringLiteral("insert into dastrasi (prs_id,page_name,darj,virayesh,hazf,namayesh) "
                                 "select id,?,?,?,?,? from users where us=?"),
                  {QStringLiteral("log"), false, false, false, true, QStringLiteral("viewer")});
        test::loginAs(QStringLiteral("viewer"));
        addSearchRows();
        Tlog& w = tavrin::window<Tlog>();
        for (QLineEdit* e : {w.karbar, w.cmt, w.ip, w.computer_name, w.dat1})
            e->setText(QStringLiteral("1400/01/01"));
        w.src_btnClick();
        mainWindow().action(QStringLiteral("N7"))->trigger();
        QCOMPARE(rec->shown.last().kind, QStringLiteral("window"));
        QCOMPARE(rec->shown.last().title, QStringLiteral("Tlog"));
        QCOMPARE(w.dat1->text(), jalali::today());
        QCOMPARE(w.dat2->text(), jalali::today());
        QVERIFY(w.karbar->text().isEmpty() && w.cmt->text().isEmpty() && w.ip->text().isEmpty() &&
                w.computer_name->text().isEmpty());
        QCOMPARE(w.DBGrid1->listModel()->rowCount(), 0);
        QVERIFY(w.RadioGroup1_0->isChecked());
        rec->clear();
        mainWindow().action(QStringLiteral("N6"))->trigger();  // no row for the users page
        QCOMPARE(rec->texts(), QStringList{noAccessMessage()});
    }
};

TAVRIN_DB_TEST_MAIN(TestLog)
#include "tst_log.moc"
