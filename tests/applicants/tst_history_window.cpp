// The record-history window driven through its object names: opened from the
// pop-up menus of the applicant, project, unit, pre-registration and user
// lists with its page right (refused without it), an applicant's price edit
// and his payment under the windows' captions, newest first, the filters by
// field and date, the Excel file and the printed pages; the right given to
// the administrator of a new and of an existing database.
#include "applicants/applicant_fixtures.h"
#include "documents/drawcheck.h"

#include "admin/log_u.h"
#include "admin/rights_templates.h"
#include "admin/taghirat_u.h"
#include "admin/users_u.h"
#include "applicants/applicant_texts.h"
#include "applicants/child_texts.h"
#include "applicants/customers_src_u.h"
#include "applicants/payments_logic.h"
#include "app/record_history.h"
#include "app/startup.h"
#include "common/history.h"
#include "common/history_view.h"
#include "common/jalali.h"
#include "common/listmodel.h"
#include "common/rights.h"
#include "common/session.h"
#include "common/spreadsheetreader.h"
#include "maintenance/install.h"
#include "prereg/pishsabt_src_u.h"
#include "projects/project_panels.h"
#include "projects/project_src_u.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolButton>

using namespace tavrin;
using namespace tavrin::applicants;

namespace {

QString caption(const childtext::Pair* begin, const childtext::Pair* end, const char* column)
{
    for (auto p = begin; p != end; ++p)
        if (qstrcmp(p->first, column) == 0)
            return QString::fromUtf8(p->second);
    return {};
}

// The grid's rows as the window shows them: record|field|old|new|action.
QStringList shownRows(const Ttaghirat& w)
{
    QStringList out;
    for (int r = 0; r < w.DBGrid1->listModel()->rowCount(); ++r) {
        QStringList cells;
        for (int c = 3; c < 8; ++c)
            cells << w.cellText(r, c);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

// The history entry of a window's pop-up menu.
QAction* entryOf(QWidget* w, const char* popup = "PopupMenu1")
{
    return test::child<QAction>(test::child<QMenu>(w, QString::fromLatin1(popup)), QStringLiteral("taghirat_mnu"));
}

} // namespace

class TestHistoryWindow : public QObject {
    Q_OBJECT
    QSqlRecord m_prj, m_unit;
    qint64 m_id = 0;
    QString m_price, m_amount;   // the captions of the applicant's price and a payment's amount

    // Triggers a pop-up entry and returns the history window's record line
    // ("" when no window opened).
    QString openedBy(test::DialogRecorder& rec, QAction* entry)
    {
        QString line;
        rec.onExec = [&line](QDialog* d) {
            if (auto* w = qobject_cast<Ttaghirat*>(d))
                line = w->rec_lbl->text();
            return 0;
        };
        entry->trigger();
        rec.onExec = {};
        return line;
    }

private Q_SLOTS:
    void initTestCase()
    {
        setUpApplication();
        registerRecordHistory();
        m_price = QString::fromUtf8(std::find_if(std::begin(custext::kFieldCaptions), std::end(custext::kFieldCaptions),
                                                 [](const auto& p) { return qstrcmp(p.first, "mablagh") == 0; })
                                        ->second);
        m_amount = caption(std::begin(childtext::kPaymentFields), std::end(childtext::kPaymentFields), "mablagh");
    }

    void init()
    {
        destroyWindows();
        test::useFreshDatabase();
        QCOMPARE(grantPages(dm(), {QString::fromLatin1(history::kPageKey)}), 1);
        test::loginAs(QStringLiteral("admin"));
        m_prj = test::addProject(QStringLiteral("مهر"), 10);
        m_unit = test::addUnit(m_prj, QStringLiteral("1-1-1"), 1000000000);
        CustomerValues v = test::saleOf(m_prj, m_unit, QStringLiteral("کريمي"), QStringLiteral("0012345679"));
        const Outcome r = insertCustomer(v, test::answering(true));
        QVERIFY(r.done);
        m_id = r.id;
        const QSqlRecord read = *customerRow(m_id);
        CustomerValues e = valuesOf(read);
        e[QStringLiteral("takhfif")] = QStringLiteral("50,000,000");
        QVERIFY(updateCustomer(m_id, e, 0, read).done);
        QVERIFY(payments::addPayment(m_id, {QStringLiteral("چک"), QStringLiteral("1,500,000"), QStringLiteral("7"),
                                            QStringLiteral("0"), QStringLiteral("1402/01/10"), {}, {}, {}, {}})
                    .done);
    }

    // The entry of each list opens the window on its current record with the
    // page right; without it the no-access message shows and nothing opens.
    void opensFromEveryListWithItsRight()
    {
        test::DialogRecorder rec;
        const QString id = QString::number(m_id);
        Tcustomers_src& list = window<Tcustomers_src>();
        list.applyRights(Rights {true, true, true, true});
        list.prepareToShow();
        list.grid()->setCurrentIndex(list.grid()->listModel()->index(0, 0));
        auto* entry = entryOf(&list);
        QVERIFY(entry && entry->isEnabled());
        QCOMPARE(entry->text(), history::windowCaption());
        QCOMPARE(openedBy(rec, entry), QStringLiteral("متقاضي ") + id + QStringLiteral(": رضا کريمي"));

        // The project, its unit, a pre-registration and a user.
        Tproject_src& projects = window<Tproject_src>();
        projects.prepareToShow();
        projects.grid()->setCurrentIndex(projects.grid()->listModel()->index(0, 0));
        QCOMPARE(openedBy(rec, entryOf(&projects)),
                 QStringLiteral("پروژه ") + m_prj.value(QStringLiteral("id")).toString() + QStringLiteral(": مهر"));
        ProjectItemsPanel units(ProjectItems::Units);
        units.setProject(m_prj);
        auto* unitGrid = test::child<DBGrid>(&units, QStringLiteral("DBGrid4"));
        unitGrid->setCurrentIndex(unitGrid->listModel()->index(0, 0));
        QCOMPARE(openedBy(rec, entryOf(&units, "PopupMenu_vahed")),
                 QStringLiteral("واحد ") + m_unit.value(QStringLiteral("id")).toString() + QStringLiteral(": 1-1-1"));
        Tusers& users = window<Tusers>();
        users.prepareToShow();
        users.src_btnClick();
        users.DBGrid1->setCurrentIndex(users.DBGrid1->listModel()->index(0, 0));
        QVERIFY(openedBy(rec, entryOf(&users)).startsWith(QStringLiteral("کاربر ")));
        QCOMPARE(history::fieldCaption(QStringLiteral("users"), QStringLiteral("dastrasi:customers")),
                 QStringLiteral("دسترسي صفحه متقاضيان"));
        // A link no window shows as a field reads as the row it links to.
        QCOMPARE(history::fieldCaption(QStringLiteral("customers"), QStringLiteral("vahed_id")), QStringLiteral("رديف واحد"));
        const qint64 pre = dm().insert(QStringLiteral("pishsabt"),
                                       {QStringLiteral("fname"), QStringLiteral("lname"), QStringLiteral("nation"),
                                        QStringLiteral("ostan"), QStringLiteral("reg_user")},
                                       {QStringLiteral("علي"), QStringLiteral("نوري"), QStringLiteral("0012345679"),
                                        QStringLiteral("تهران"), QStringLiteral("admin")});
        Tpishsabt_src& prereg = window<Tpishsabt_src>();
        prereg.prepareToShow();
        prereg.src_btnClick();
        prereg.grid()->setCurrentIndex(prereg.grid()->listModel()->index(0, 0));
        QCOMPARE(openedBy(rec, entryOf(&prereg)),
                 QStringLiteral("پيش ثبت نام ") + QString::number(pre) + QStringLiteral(": علي نوري"));

        // Another user without the right: refused with the rights message.
        test::addUser(QStringLiteral("clerk"), QStringLiteral("ostan"), QStringLiteral("تهران"),
                      {{QStringLiteral("customers"), QStringLiteral("1111")}});
        test::loginAs(QStringLiteral("clerk"));
        rec.clear();
        QCOMPARE(openedBy(rec, entry), QString());
        QCOMPARE(rec.texts(), QStringList {noAccessMessage()});
        dm().exec(QStringLiteral("insert into dastrasi (prs_id,page_name,darj,virayesh,hazf,namayesh) values (?,?,?,?,?,?)"),
                  {QVariant(session().prsId), QString::fromLatin1(history::kPageKey), false, false, false, true});
        QCOMPARE(openedBy(rec, entry), QStringLiteral("متقاضي ") + id + QStringLiteral(": رضا کريمي"));
    }

    // Newest first under the windows' captions: the payment, the price edit
    // old -> new, the sale; the field and date filters; the Excel rows and
    // the printed pages.
    void showsFiltersExportsAndPrints()
    {
        test::DialogRecorder rec;
        Ttaghirat& w = window<Ttaghirat>();
        w.showRecord(QStringLiteral("customers"), m_id, QStringLiteral("رضا کريمي"));
        const int all = test::countOf(QStringLiteral("select count(*) from taghirat where cust_id=?"), {m_id});
        QCOMPARE(w.cnt->text(), QString::number(all));
        const QStringList rows = shownRows(w);
        const QString rec_ = QStringLiteral("متقاضي ") + QString::number(m_id);
        QVERIFY(rows.first().startsWith(QStringLiteral("پرداخت ")));   // the payment came last
        QVERIFY(rows.contains(QStringLiteral("پرداخت %1|%2||1,500,000|ثبت")
                                  .arg(dm().scalar(QStringLiteral("select max(id) from pardakht")).toString(), m_amount)));
        const int edit = int(rows.indexOf(rec_ + QStringLiteral("|") + m_price + QStringLiteral("|1,000,000,000|950,000,000|ويرايش")));
        const int sale = int(rows.indexOf(rec_ + QStringLiteral("|") + m_price + QStringLiteral("||1,000,000,000|ثبت")));
        QVERIFY2(edit > 0 && sale > edit, qPrintable(rows.join('\n')));
        QCOMPARE(w.cellText(0, 0), jalali::today());
        QCOMPARE(w.cellText(0, 2), QStringLiteral("admin"));
        // The picture of the README (TAVRIN_SCREENSHOT_DIR), as the window opens.
        if (const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR"); !dir.isEmpty()) {
            w.show();
            QTest::qWait(50);
            QVERIFY(QDir().mkpath(dir) && w.grab().save(QDir(dir).filePath(QStringLiteral("Ttaghirat.png"))));
            w.hide();
        }

        // By field: "all" first, then each caption present once.
        QCOMPARE(w.field->itemText(0), QStringLiteral("همه"));
        QVERIFY(w.field->findText(m_amount) > 0 && w.field->findText(QStringLiteral("takhfif")) < 0);
        w.CheckBox1->setChecked(true);
        w.field->setCurrentIndex(w.field->findText(m_price));
        w.src_btnClick();
        QCOMPARE(shownRows(w), (QStringList {rows.at(edit), rows.at(sale)}));
        // By dates: the sale's rows moved to an older day.
        dm().exec(QStringLiteral("update taghirat set tarikh='1402/01/01' where cust_id=? and amal='insert' and tbl='customers'"),
                  {m_id});
        w.CheckBox2->setChecked(true);
        w.dat1->setText(QStringLiteral("1402/01/01"));
        w.dat2->setText(QStringLiteral("1402/12/29"));
        w.src_btnClick();
        QCOMPARE(shownRows(w), QStringList {rows.at(sale)});
        w.dat2->setText(QStringLiteral("1402/12"));
        w.src_btnClick();
        QCOMPARE(rec.lastText(), Tlog::kDateIncomplete);
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
        w.CheckBox1->setChecked(false);
        w.dat2->setText(jalali::today());
        w.src_btnClick();
        QCOMPARE(w.cnt->text(), QString::number(all));

        // Excel: the titles and every row as shown.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.xlsx"));
        rec.files = {path};
        w.SpeedButton1->click();
        const auto sheet = readSpreadsheet(path);
        QVERIFY(sheet);
        QCOMPARE(sheet->rows.size(), all + 1);
        QCOMPARE(sheet->rows.at(0).mid(0, 8), (QStringList {QStringLiteral("تاريخ"), QStringLiteral("ساعت"), QStringLiteral("کاربر"),
                                                            QStringLiteral("رکورد"), QStringLiteral("فيلد"), QStringLiteral("مقدار قبلي"),
                                                            QStringLiteral("مقدار جديد"), QStringLiteral("عمليات")}));
        QStringList excel;
        for (const QStringList& r : sheet->rows.mid(1))
            excel << r.mid(3, 5).join(QLatin1Char('|'));
        QCOMPARE(excel, rows);

        // Printed: every row on pages that draw clean, through the preview.
        for (int i = 0; i < 60; ++i)
            history::fieldChanged(QStringLiteral("customers"), m_id, history::Owner::applicant(m_id), QStringLiteral("cmt"),
                                  QString::number(i), QString::number(i + 1));
        w.src_btnClick();
        const std::optional<doc::Document> d = w.document();
        QVERIFY(d && d->pageCount() >= 2);
        VERIFY_PRINTS_CLEAN(*d);
        QString shown;
        rec.onExec = [&shown](QDialog* dlg) {
            shown = dlg->objectName();
            return 0;
        };
        w.SpeedButton2->click();
        QCOMPARE(shown, QStringLiteral("preview"));
    }

    // A new database's administrator has the right; a database from before the
    // history gets it with the history's table, once, and no one else does.
    void administratorGetsTheRight()
    {
        QVERIFY(roleTemplate(QStringLiteral("admin"), {}).value(QString::fromLatin1(history::kPageKey)).namayesh);
        QVERIFY(!roleTemplate(QStringLiteral("ostan"), QStringLiteral("کاربر ارشد")).value(QString::fromLatin1(history::kPageKey)).namayesh);
        const QString rows = QStringLiteral("select count(*) from dastrasi where page_name='taghirat' and namayesh=?");
        test::useFreshDatabase(false);
        QVERIFY(installDatabase(dm()).ok);
        QCOMPARE(test::countOf(rows, {true}), 1);
        test::addUser(QStringLiteral("clerk"), QStringLiteral("ostan"));
        dm().exec(QStringLiteral("delete from dastrasi where page_name='taghirat'"));
        QVERIFY(installDatabase(dm()).ok);
        QCOMPARE(test::countOf(rows, {true}), 0);   // the page's row was taken away on purpose
        dm().exec(QStringLiteral("drop table taghirat"));
        const InstallReport r = installDatabase(dm());
        QVERIFY(r.ok);
        QVERIFY(r.actions.join(' ').contains(QStringLiteral("rights of 1 new pages")));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from dastrasi d join users u on u.id=d.prs_id "
                                              "where d.page_name='taghirat' and u.us='admin' and d.namayesh=?"),
                               {true}),
                 1);
        QCOMPARE(test::countOf(rows, {true}), 1);
        const int before = test::countOf(QStringLiteral("select count(*) from dastrasi"));
        QVERIFY(installDatabase(dm()).ok);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from dastrasi")), before);
    }
};

TAVRIN_DB_TEST_MAIN(TestHistoryWindow)
#include "tst_history_window.moc"
