// The applicant record and list windows driven offscreen through their object
// names: the cascade, the discount, Enter, the pre-registration choice, the
// list's menus, rights, edit, delete, exports, the entries other windows plug
// into, the openers of the project windows, and the fit on a 1366x768 screen.
// With TAVRIN_SCREENSHOT_DIR set, both windows are saved there as PNG.
#include "applicants/applicant_fixtures.h"

#include "applicants/applicant_texts.h"
#include "applicants/applicant_windows.h"
#include "applicants/child_texts.h"
#include "applicants/customers_chap.h"
#include "applicants/customers_ins_u.h"
#include "applicants/customers_src_u.h"
#include "applicants/payments_logic.h"
#include "applicants/prereg_choice.h"

#include "app/main_u.h"
#include "app/startup.h"
#include "common/listmodel.h"
#include "common/session.h"
#include "documents/preview.h"
#include "maintenance/demodata.h"
#include "projects/project_panels.h"
#include "projects/project_src_u.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace tavrin;
using namespace tavrin::applicants;

namespace {

QComboBox* combo(QWidget* w, const char* name)
{
    return test::child<QComboBox>(w, QString::fromLatin1(name));
}

QLineEdit* edit(QWidget* w, const char* name)
{
    return test::child<QLineEdit>(w, QString::fromLatin1(name));
}

void choose(QComboBox* c, const QString& text)
{
    c->setCurrentIndex(c->findText(text));
}

void pressEnter(QWidget* w)
{
    QTest::keyClick(w, Qt::Key_Return);
}

} // namespace

class TestCustomersWindow : public QObject {
    Q_OBJECT
    QSqlRecord m_prj;
    QSqlRecord m_unit1, m_unit2;

    void saveShot(QWidget& w, const QString& name)
    {
        w.show();
        QTest::qWait(50);
        const QImage img = w.grab().toImage();
        QVERIFY(!img.isNull());
        const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            QVERIFY(img.save(QDir(dir).filePath(name + QStringLiteral(".png"))));
        }
        w.hide();
    }

    // Nothing of the window lies beyond a 1366x768 screen (less the title bar
    // and a task bar), and no caption is cut.
    void fitsTheOfficeScreen(QWidget& w)
    {
        w.adjustSize();
        const QSize hint = w.minimumSizeHint();
        QVERIFY2(hint.width() <= 1366 && hint.height() <= 700,
                 qPrintable(QStringLiteral("%1x%2").arg(hint.width()).arg(hint.height())));
        w.resize(1366, 700);
        w.show();
        QTest::qWait(20);
        for (QLabel* l : w.findChildren<QLabel*>())
            if (l->isVisible() && !l->text().isEmpty() && !l->wordWrap())
                QVERIFY2(l->width() >= l->sizeHint().width() - 2, qPrintable(l->text()));
        w.hide();
    }

private Q_SLOTS:
    void initTestCase() { setUpApplication(); }

    void init()
    {
        destroyWindows();
        clearApplicantWindows();
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        m_prj = test::addProject(QStringLiteral("مهر"), 10);
        m_unit1 = test::addUnit(m_prj, QStringLiteral("1-1-1"), 1000000000, 300000000);
        m_unit2 = test::addUnit(m_prj, QStringLiteral("1-1-2"), 800000000);
        for (const char* v : {"فعال", "اتمام", "منتقل شد"})
            dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"),
                      {QStringLiteral("وضعيت متقاضي"), QString::fromUtf8(v)});
    }

    void recordCascadeDiscountAndEnterSave()
    {
        test::DialogRecorder rec;
        Tcustomers_ins& w = window<Tcustomers_ins>();
        w.prepareNew();
        QCOMPARE(combo(&w, "ostan")->count(), 1);
        choose(combo(&w, "ostan"), QStringLiteral("فارس"));
        QCOMPARE(combo(&w, "shahrestan")->count(), 1);
        choose(combo(&w, "shahrestan"), QStringLiteral("شيراز"));
        choose(combo(&w, "prj_cod"), QStringLiteral("مهر-c"));
        QCOMPARE(edit(&w, "prj_name")->text(), QStringLiteral("مهر"));
        QCOMPARE(combo(&w, "shenase")->count(), 2);
        choose(combo(&w, "shenase"), QStringLiteral("1-1-1"));
        QCOMPARE(edit(&w, "mablagh")->text(), QStringLiteral("1000000000"));
        QCOMPARE(test::child<QLabel>(&w, QStringLiteral("vam_3harfi"))->text(), QStringLiteral("300,000,000"));
        // Leaving the discount twice takes it off once.
        edit(&w, "takhfif")->setText(QStringLiteral("50000000"));
        w.takhfifExit();
        w.takhfifExit();
        QCOMPARE(edit(&w, "mablagh")->text(), QStringLiteral("950000000"));
        QCOMPARE(test::child<QLabel>(&w, QStringLiteral("mablagh_3harfi"))->text(), QStringLiteral("950,000,000"));
        // A refusal shows its page and puts the focus in the field.
        w.show();
        w.focusField(QStringLiteral("fname"));
        test::typeText(edit(&w, "fname"), QStringLiteral("رضا"));
        pressEnter(edit(&w, "fname"));
        QCOMPARE(rec.lastText(), custext::kNoNation);
        QCOMPARE(test::child<QTabWidget>(&w, QStringLiteral("pages"))->currentIndex(), 1);
        QCOMPARE(w.focusWidget(), edit(&w, "nation"));
        edit(&w, "nation")->setText(QStringLiteral("0012345679"));
        edit(&w, "lname")->setText(QStringLiteral("کريمي"));
        // Enter in a company field moves on instead of saving.
        w.focusField(QStringLiteral("comp_name"));
        pressEnter(edit(&w, "comp_name"));
        QCOMPARE(w.focusWidget(), edit(&w, "comp_no"));
        rec.clear();
        const int statuses = combo(&w, "status")->count();
        QVERIFY(statuses > 1);
        pressEnter(edit(&w, "lname"));
        QCOMPARE(rec.texts(), QStringList {custext::kSaved});
        // The choice lists stay as read (not read again for the next buyer).
        QCOMPARE(combo(&w, "status")->count(), statuses);
        QCOMPARE(combo(&w, "status")->currentText(), QStringLiteral("فعال"));
        QCOMPARE(toMoney(dm().scalar(QStringLiteral("select mablagh from customers"))), qint64(950000000));
        // Ready for the next buyer: cleared, and the sold unit is no longer offered.
        QVERIFY(w.values().value(QStringLiteral("lname")).isEmpty());
        QCOMPARE(w.values().value(QStringLiteral("sahm")), QStringLiteral("6"));
        choose(combo(&w, "ostan"), QStringLiteral("فارس"));
        choose(combo(&w, "shahrestan"), QStringLiteral("شيراز"));
        choose(combo(&w, "prj_cod"), QStringLiteral("مهر-c"));
        QCOMPARE(combo(&w, "shenase")->count(), 1);
        w.hide();
    }

    void preregistrationChoiceAndCancel()
    {
        test::DialogRecorder rec;
        for (const char* nation : {"0012345670", "0012345671"})
            dm().exec(QStringLiteral("insert into pishsabt (ostan,shahrestan,fname,lname,nation,mobile) values ('فارس','شيراز',"
                                     "'زهرا','پيشي',?,'09120000000')"),
                      {QString::fromLatin1(nation)});
        Tcustomers_ins& w = window<Tcustomers_ins>();
        w.prepareNewForUnit(m_prj, m_unit1);
        QCOMPARE(w.values().value(QStringLiteral("shenase")), QStringLiteral("1-1-1"));
        edit(&w, "lname")->setText(QStringLiteral("پيشي"));
        // Two people match: the user chooses the second; No keeps the pre-registration.
        rec.onExec = [](QDialog* d) {
            d->findChild<QListWidget*>(QStringLiteral("list"))->setCurrentRow(1);
            return int(QDialog::Accepted);
        };
        rec.answers = {Answer::No};
        w.SpeedButton2Click();
        QCOMPARE(w.values().value(QStringLiteral("nation")), QStringLiteral("0012345671"));
        QCOMPARE(w.pendingPrereg(), qint64(0));
        // Yes is only remembered; closing the window forgets it and deletes nothing.
        rec.answers = {Answer::Yes};
        w.SpeedButton1Click();
        QVERIFY(w.pendingPrereg() > 0);
        // Another person looked up and kept: the first one is no longer moved in.
        rec.answers = {Answer::No};
        w.SpeedButton2Click();
        QCOMPARE(w.pendingPrereg(), qint64(0));
        rec.answers = {Answer::Yes};
        w.SpeedButton1Click();
        w.reject();
        QCOMPARE(w.pendingPrereg(), qint64(0));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from pishsabt")), 2);
        // A cancelled choice copies nothing.
        w.prepareNewForUnit(m_prj, m_unit1);
        edit(&w, "lname")->setText(QStringLiteral("پيشي"));
        rec.onExec = [](QDialog*) { return int(QDialog::Rejected); };
        w.SpeedButton2Click();
        QVERIFY(w.values().value(QStringLiteral("nation")).isEmpty());
        edit(&w, "nation")->setText(QStringLiteral("0099999999"));
        rec.clear();
        w.SpeedButton1Click();
        QCOMPARE(rec.texts(), QStringList {custext::kNotPreregistered});
    }

    // The payments window copied the deposits in; the edit then takes the
    // pre-registration over (national code, Yes, edit): only the deposit added
    // since is copied, and the save says so.
    void preregistrationTakenOverAfterItsDepositsWereCopied()
    {
        test::DialogRecorder rec;
        CustomerValues v = test::saleOf(m_prj, m_unit1, QStringLiteral("پيشي"), QStringLiteral("0012345670"));
        const Outcome sale = insertCustomer(v, test::answering(true));
        QVERIFY(sale.done);
        const qint64 p = dm().insert(QStringLiteral("pishsabt"),
                                     {QStringLiteral("fname"), QStringLiteral("lname"), QStringLiteral("father"), QStringLiteral("nation")},
                                     {QStringLiteral("زهرا"), QStringLiteral("پيشي"), QStringLiteral("علي"), QStringLiteral("0012345670")});
        const QString deposit = QStringLiteral("insert into pishpardakht (pishsabt_id,pardakht_typ,mablagh,vosol,num,dat,cmt) "
                                               "values (?,'نقدي',?,?,?,'1401/01/01','اول')");
        dm().exec(deposit, {p, 5000000, 5000000, QStringLiteral("11")});
        dm().exec(deposit, {p, 3000000, 3000000, QStringLiteral("12")});
        QCOMPARE(payments::importDeposits(sale.id).imported, 2);
        dm().exec(deposit, {p, 1000000, 1000000, QStringLiteral("13")});
        Tcustomers_ins& w = window<Tcustomers_ins>();
        w.prepareEdit(*customerRow(sale.id));
        rec.answers = {Answer::Yes};
        w.SpeedButton1Click();
        w.edit_btnClick();
        QCOMPARE(rec.texts(), (QStringList {custext::kAskRemovePrereg, childtext::importedMessage(1, 2)}));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from pardakht where customer_id=?"), {sale.id}), 3);
        QCOMPARE(toMoney(customerRow(sale.id)->value(QStringLiteral("pardakht_sum"))), qint64(9000000));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from pishsabt")) +
                     test::countOf(QStringLiteral("select count(*) from pishpardakht")),
                 0);
    }

    void listMenusRightsEditAndDelete()
    {
        test::DialogRecorder rec;
        Tcustomers_src& w = window<Tcustomers_src>();
        // Every entry is there under its name; those of windows not written yet are disabled.
        for (const auto& [name, caption] : custext::kMenuCaptions)
            QVERIFY2(w.menuAction(QString::fromLatin1(name)), name);
        for (const custext::FormEntry& e : custext::kFormEntries)
            QVERIFY2(w.menuAction(QString::fromLatin1(e.name)) && !w.menuAction(QString::fromLatin1(e.name))->isEnabled(), e.name);
        for (const char* name : {"N4", "N21", "N6", "N3", "N22", "N26", "N29", "N23", "N24", "N30"})
            QVERIFY(!w.menuAction(QString::fromLatin1(name))->isEnabled());
        w.applyRights(Rights {false, true, false, true});
        QVERIFY(!w.menuAction(QStringLiteral("N1"))->isEnabled());
        QVERIFY(w.menuAction(QStringLiteral("N2"))->isEnabled() && w.menuAction(QStringLiteral("N28"))->isEnabled());
        QVERIFY(!w.menuAction(QStringLiteral("N5"))->isEnabled());
        // With no row, edit and delete do nothing.
        w.prepareToShow();
        QCOMPARE(test::child<QLabel>(&w, QStringLiteral("cnt"))->text(), QStringLiteral("0"));
        rec.clear();
        w.N2Click();
        w.N5Click();
        QVERIFY(rec.shown.isEmpty());

        CustomerValues v = test::saleOf(m_prj, m_unit1, QStringLiteral("کريمي"), QStringLiteral("0012345679"));
        QVERIFY(insertCustomer(v, test::answering(true)).done);
        w.prepareToShow();
        QVERIFY(test::child<QCheckBox>(&w, QStringLiteral("CheckBox14"))->isChecked());
        QCOMPARE(edit(&w, "reg_user")->text(), QStringLiteral("admin"));
        QCOMPARE(w.currentCustomerId(), dm().scalar(QStringLiteral("select id from customers")).toLongLong());
        // The edit opens the record on the stored row; a county user cannot open a completed file.
        rec.clear();
        w.N2Click();
        QVERIFY(!rec.shown.isEmpty());
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tcustomers_ins"));
        Tcustomers_ins& r = window<Tcustomers_ins>();
        QCOMPARE(r.values().value(QStringLiteral("lname")), QStringLiteral("کريمي"));
        // Another unit and then his own again: his unit comes back as stored, and the edit saves.
        choose(combo(&r, "shenase"), QStringLiteral("1-1-2"));
        QCOMPARE(r.values().value(QStringLiteral("mablagh")), QStringLiteral("800000000"));
        choose(combo(&r, "shenase"), QStringLiteral("1-1-1"));
        QCOMPARE(r.values().value(QStringLiteral("vahed_id")), m_unit1.value(QStringLiteral("id")).toString());
        QCOMPARE(r.values().value(QStringLiteral("mablagh")), QStringLiteral("1000000000"));
        rec.clear();
        r.edit_btnClick();
        QCOMPARE(rec.texts(), QStringList {});
        QCOMPARE(test::unitStatus(m_unit2), QStringLiteral("فعال"));
        dm().exec(QStringLiteral("update customers set status=?"), {custext::kCompleted});
        test::addUser(QStringLiteral("c1"), QStringLiteral("city"), {}, {}, {QStringLiteral("شيراز")});
        test::loginAs(QStringLiteral("c1"));
        rec.clear();
        w.N2Click();
        QCOMPARE(rec.texts(), QStringList {QStringLiteral("وضعيت اين پرونده \"اتمام\" است و امکان ويرايش نيست")});
        test::loginAs(QStringLiteral("admin"));
        // A wrong delete password deletes nothing and shows nothing; the right one deletes.
        w.applyRights(Rights {true, true, true, true});
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"), {QStringLiteral("رمز حذف"), QStringLiteral("123")});
        rec.clear();
        rec.inputs = {QStringLiteral("999")};
        w.N5Click();
        QCOMPARE(rec.texts(), QStringList {});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from customers")), 1);
        rec.inputs = {QStringLiteral("123")};
        w.N5Click();
        QCOMPARE(rec.lastText(), custext::kDeleted);
        QCOMPARE(test::child<QLabel>(&w, QStringLiteral("cnt"))->text(), QStringLiteral("0"));
        QCOMPARE(test::unitStatus(m_unit1), QStringLiteral("فعال"));
    }

    void exportsPrintAndTheEntriesOfOtherWindows()
    {
        test::DialogRecorder rec;
        for (int i = 0; i < 3; ++i) {
            const qint64 id = test::addBuyer(m_prj.value(QStringLiteral("id")).toLongLong(), 0, QStringLiteral("ن%1").arg(i),
                                             QStringLiteral("001234567%1").arg(i));
            dm().exec(QStringLiteral("update customers set mobile=?,prj_name='مهر',pardakht_sum=1000 where id=?"),
                      {i == 1 ? QStringLiteral("0912345678") : QStringLiteral("0912345678%1").arg(i), id});
        }
        Tcustomers_src& w = window<Tcustomers_src>();
        w.applyRights(Rights {true, true, true, true});
        w.prepareToShow();
        QCOMPARE(test::child<QLabel>(&w, QStringLiteral("cnt"))->text(), QStringLiteral("3"));
        // The mobile numbers: a cancelled dialog writes nothing; numbers of 11 characters only.
        QTemporaryDir dir;
        w.SMS1Click();
        QCOMPARE(rec.shown.last().kind, QStringLiteral("save"));
        QVERIFY(rec.shown.last().text.endsWith(QStringLiteral("mobiles.txt")));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        const QString path = dir.filePath(QStringLiteral("m.txt"));
        rec.files = {path};
        w.SMS1Click();
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()), QStringLiteral(",09123456780,09123456782"));
        QCOMPARE(rec.shown.last().kind, QStringLiteral("desktop"));
        // The printed list's lines and the export's titles.
        QList<QVariantMap> rows;
        w.grid()->listModel()->forEachRow([&rows](const QSqlRecord& r) { rows << printRow(r); });
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].value(QStringLiteral("pardakht_sum")).toString(), QStringLiteral("1000"));
        QCOMPARE(Tcustomers_chap::layout().columns().size(), 8);
        // Printed from the list: the preview shows its rows; a read that fails
        // is reported and shows no preview.
        QStringList printed;
        rec.onExec = [&printed](QDialog* d) {
            if (auto* preview = qobject_cast<doc::PrintPreview*>(d)) {
                preview->completeFilling();
                printed << QString::number(preview->pageCount());
            }
            return int(QDialog::Accepted);
        };
        rec.clear();
        w.N20Click();
        QCOMPARE(printed, QStringList {QStringLiteral("1")});
        QCOMPARE(rec.shown.last().title, QStringLiteral("preview"));
        dm().setStatementHook([](const QString& sql) {
            if (sql.contains(QStringLiteral("customers")))
                throw DbError(QStringLiteral("injected"), sql);
        });
        rec.clear();
        w.N20Click();
        dm().setStatementHook({});
        QCOMPARE(rec.texts(), QStringList {custext::kPrintFailed});
        QCOMPARE(dm().transactionDepth(), 0);
        rec.onExec = {};
        QCOMPARE(excelHeaders().value(QStringLiteral("vahed_id")), QStringLiteral("شناسه واحد"));
        QCOMPARE(excelHeaders().value(QStringLiteral("sana")), QStringLiteral("شماره ثنا"));
        // A window plugged into an entry is enabled, gets the current applicant and
        // the rights of its page, and refreshes the row after changing its totals.
        ApplicantContext got;
        registerApplicantWindow(QStringLiteral("N21"), [&got](const ApplicantContext& c) {
            got = c;
            dm().exec(QStringLiteral("update customers set pardakht_sum=5000 where id=?"), {c.customerId});
            c.changed();
        }, QStringLiteral("pardakht"));
        w.prepareToShow();
        QVERIFY(w.menuAction(QStringLiteral("N21"))->isEnabled());
        w.grid()->setCurrentIndex(w.grid()->listModel()->index(1, 0));
        rec.clear();
        w.openEntry(QStringLiteral("N21"));
        QCOMPARE(rec.texts(), QStringList {noAccessMessage()});  // no rights row for "pardakht"
        test::addUser(QStringLiteral("p1"), QStringLiteral("admin"), {}, {{QStringLiteral("pardakht"), QStringLiteral("1001")}});
        test::loginAs(QStringLiteral("p1"));
        w.openEntry(QStringLiteral("N21"));
        QCOMPARE(got.customerId, w.currentCustomerId());
        QVERIFY(got.rights.darj && !got.rights.virayesh);
        QCOMPARE(w.grid()->currentRow(), 1);
        QCOMPARE(toMoney(w.currentCustomer().value(QStringLiteral("pardakht_sum"))), qint64(5000));
    }

    void projectWindowsOpenTheApplicantWindows()
    {
        test::DialogRecorder rec;
        mainWindow();  // registers the openers of the project windows
        test::addUser(QStringLiteral("u1"), QStringLiteral("admin"), {},
                      {{QStringLiteral("customers"), QStringLiteral("0001")}, {QStringLiteral("vahed"), QStringLiteral("1111")}});
        test::loginAs(QStringLiteral("u1"));
        Tproject_src& projects = window<Tproject_src>();
        projects.prepareToShow();
        ProjectItemsPanel* units = projects.panel(int(ProjectItems::Units));
        const auto sellFirstUnit = [units] {
            units->grid()->setCurrentIndex(units->grid()->listModel()->index(0, 0));
            units->N23Click();
        };
        // Without the insert right of "customers" no applicant is entered.
        sellFirstUnit();
        QCOMPARE(rec.lastText(), custext::kNoInsertRight);
        test::addUser(QStringLiteral("u2"), QStringLiteral("admin"), {}, {{QStringLiteral("customers"), QStringLiteral("1111")}});
        test::loginAs(QStringLiteral("u2"));
        rec.clear();
        sellFirstUnit();
        QVERIFY(!rec.shown.isEmpty());
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tcustomers_ins"));
        const CustomerValues v = window<Tcustomers_ins>().values();
        QCOMPARE(v.value(QStringLiteral("prj_id")), m_prj.value(QStringLiteral("id")).toString());
        QCOMPARE(v.value(QStringLiteral("vahed_id")), m_unit1.value(QStringLiteral("id")).toString());
        QCOMPARE(v.value(QStringLiteral("mablagh")), QStringLiteral("1000000000"));
        // Every choice of the cascade and the pick lists are offered (read in one statement).
        Tcustomers_ins& record = window<Tcustomers_ins>();
        QCOMPARE(combo(&record, "ostan")->count(), 1);
        QCOMPARE(combo(&record, "shahrestan")->currentText(), QStringLiteral("شيراز"));
        QCOMPARE(combo(&record, "prj_cod")->count(), 1);
        QCOMPARE(combo(&record, "shenase")->count(), 2);
        QVERIFY(combo(&record, "status")->count() > 1);
        QCOMPARE(combo(&record, "status")->currentText(), QStringLiteral("فعال"));
        QVERIFY(test::child<QPushButton>(&window<Tcustomers_ins>(), QStringLiteral("ins_btn"))->isVisibleTo(&window<Tcustomers_ins>()));
        // A unit that is not free is refused before the window opens.
        dm().exec(QStringLiteral("update vahedha set status='رزرو' where id=?"), {m_unit1.value(QStringLiteral("id"))});
        rec.clear();
        sellFirstUnit();
        QCOMPARE(rec.texts(), QStringList {custext::kUnitNotActive});
        // The applicants of the project.
        test::addBuyer(m_prj.value(QStringLiteral("id")).toLongLong(), m_unit2.value(QStringLiteral("id")).toLongLong(),
                       QStringLiteral("خريدار"), QStringLiteral("0012345670"), QVariant(), QStringLiteral("1402/01/01"));
        QVERIFY(projects.menuAction(QStringLiteral("N30"))->isEnabled());
        projects.N30Click();
        Tcustomers_src& list = window<Tcustomers_src>();
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tcustomers_src"));
        QCOMPARE(list.grid()->listModel()->totalCount(), 1);  // transferred, yet the project's
        QCOMPARE(combo(&list, "prj_name")->currentText(), QStringLiteral("مهر"));
        destroyMainWindow();
    }

    void windowsFitTheOfficeScreenAndScreenshots()
    {
        demo::Options o;
        o.projects = 4;
        o.unitsPerProject = 16;
        o.soldPercent = 70;
        demo::generate(dm(), o);
        CustomerValues v = test::saleOf(m_prj, m_unit1, QStringLiteral("کريمي"), QStringLiteral("0012345679"));
        v[QStringLiteral("takhfif")] = QStringLiteral("25,000,000");
        v[QStringLiteral("prot_no")] = QStringLiteral("1402-118");
        v[QStringLiteral("prot_dat")] = QStringLiteral("1402/03/15");
        QVERIFY(insertCustomer(v, test::answering(true)).done);
        Tcustomers_src& list = window<Tcustomers_src>();
        list.applyRights(Rights {true, true, true, true});
        list.prepareToShow();
        fitsTheOfficeScreen(list);
        list.resize(1349, 708);
        saveShot(list, QStringLiteral("Tcustomers_src"));
        Tcustomers_ins& record = window<Tcustomers_ins>();
        record.prepareEdit(*customerRow(dm().scalar(QStringLiteral("select max(id) from customers")).toLongLong()));
        fitsTheOfficeScreen(record);
        record.resize(record.sizeHint().boundedTo(QSize(1366, 700)));
        saveShot(record, QStringLiteral("Tcustomers_ins"));
        record.focusField(QStringLiteral("fname"));
        saveShot(record, QStringLiteral("Tcustomers_ins_applicant"));
        // Right to left: the province is the rightmost field of its row.
        QVERIFY(combo(&record, "ostan")->mapTo(&record, QPoint()).x() > combo(&record, "prj_cod")->mapTo(&record, QPoint()).x());
    }
};

TAVRIN_DB_TEST_MAIN(TestCustomersWindow)
#include "tst_customers_window.moc"
