// The project list and entry windows driven through their controls: opening
// from the main menu with the three pages' rights, the search with its filters,
// scope, counter and lower lists, new / edit / delete, and the exports and the
// printed list.
#include "support/testsupport.h"

#include "maintenance/demodata.h"
#include "projects/project_ins_u.h"
#include "projects/project_panels.h"
#include "projects/project_src_u.h"
#include "projects/project_texts.h"
#include "projects/projects_logic.h"

#include "app/main_u.h"
#include "common/jalali.h"
#include "common/listmodel.h"
#include "common/session.h"
#include "common/spreadsheetreader.h"
#include "db/schema.h"
#include "documents/project_list_report.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>

using namespace tavrin;

namespace {

const QString kTehran = QStringLiteral("تهران");
const QString kShemiranat = QStringLiteral("شميرانات");
const QString kRey = QStringLiteral("ري");
const QString kIsfahan = QStringLiteral("اصفهان");
const QString kKashan = QStringLiteral("کاشان");

qint64 addProject(const QString& ostan, const QString& shahrestan, const QString& name, const QString& code,
                  int kol = 10, int sold = 2, const QString& state = QStringLiteral("جاري"))
{
    return dm().insert(QStringLiteral("projects"),
                       {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("shahr"), QStringLiteral("rosta"),
                        QStringLiteral("prj_cod"), QStringLiteral("prj_name"), QStringLiteral("prj_typ"), QStringLiteral("status"),
                        QStringLiteral("vahed_kol"), QStringLiteral("vahed_cnt"), QStringLiteral("vahed_f"),
                        QStringLiteral("anbari_cnt"), QStringLiteral("parking_cnt"), QStringLiteral("st_tavrin"),
                        QStringLiteral("expire_dat"), QStringLiteral("sakht_dat"), QStringLiteral("zamin_pelak"),
                        QStringLiteral("zamin_adr"), QStringLiteral("cmt"), QStringLiteral("prot_typ")},
                       {ostan, shahrestan, shahrestan, shahrestan, code, name, QStringLiteral("حمايتي"), QStringLiteral("فعال"),
                        kol, kol, sold, 3, 4, state, QStringLiteral("1405/01/01"), QString::fromLatin1(kEmptyDateMask),
                        QStringLiteral("پلاک"), QStringLiteral("آدرس"), QStringLiteral(""), QStringLiteral("")});
}

void addUnits(qint64 prjId, int n)
{
    for (int i = 1; i <= n; ++i)
        dm().exec(QStringLiteral("insert into vahedha (prj_id,bolok,tabaghe,vahed_no,shenase,status) values (?,?,?,?,?,?)"),
                  {prjId, QStringLiteral("1"), QStringLiteral("0"), QString::number(i), QStringLiteral("1-0-%1").arg(i),
                   QStringLiteral("فعال")});
}

void addSpaces(const QString& table, qint64 prjId, int n)
{
    for (int i = 1; i <= n; ++i)
        dm().exec(QStringLiteral("insert into ") + table + QStringLiteral(" (prj_id,bolok,num,pos,status) values (?,?,?,?,?)"),
                  {prjId, QStringLiteral("1"), i, QStringLiteral("زيرزمين"), QStringLiteral("فعال")});
}

QString label(const QWidget* w, const char* name)
{
    return test::child<QLabel>(w, QString::fromLatin1(name))->text();
}

void selectRow(Tproject_src& w, int row)
{
    w.grid()->setCurrentIndex(w.grid()->listModel()->index(row, 0));
    Q_EMIT w.grid()->rowClicked(row);
}

QStringList gridColumn(const Tproject_src& w, const QString& field)
{
    QStringList out;
    for (int r = 0; r < w.grid()->listModel()->rowCount(); ++r)
        out << w.grid()->listModel()->value(r, field).toString();
    return out;
}

void setCombo(QWidget* root, const char* name, const QString& text)
{
    auto* c = test::child<QComboBox>(root, QString::fromLatin1(name));
    c->setEditText(text);
}

} // namespace

class TestProjectWindow : public QObject {
    Q_OBJECT

    qint64 a = 0, b = 0, c = 0;

private Q_SLOTS:
    void init()
    {
        destroyWindows();
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        for (const auto& [o, s] : {std::pair {kTehran, kShemiranat}, std::pair {kTehran, kRey}, std::pair {kIsfahan, kKashan}})
            dm().exec(QStringLiteral("insert into abadiha (ostan,shahrestan,shahr,rosta) values (?,?,?,?)"), {o, s, s, QStringLiteral("")});
        dm().exec(QStringLiteral("insert into abadiha (ostan,shahrestan,shahr,rosta) values (?,?,?,?)"),
                  {kTehran, kShemiranat, QStringLiteral("تجريش"), QStringLiteral("دربند")});
        for (const QString& t : {QStringLiteral("حمايتي"), QStringLiteral("مسکن ملي")})
            dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"), {prjtext::kSettingProjectType, t});
        for (const QString& t : {QStringLiteral("جاري"), QStringLiteral("اتمام يافته"), prjtext::kInternetRegistration})
            dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"), {prjtext::kSettingSaleState, t});
        dm().exec(QStringLiteral("insert into setting_ost (ostan,component,cmt) values (?,?,?)"),
                  {kTehran, prjtext::kSettingProjectName, QStringLiteral("مسکن مهر تهران")});
        a = addProject(kTehran, kShemiranat, QStringLiteral("مهر يك"), QStringLiteral("1"), 10, 2);
        b = addProject(kTehran, kRey, QStringLiteral("مهر دو"), QStringLiteral("2"), 20, 5, QStringLiteral("اتمام يافته"));
        c = addProject(kIsfahan, kKashan, QStringLiteral("نور"), QStringLiteral("3"), 30, 6);
        addUnits(a, 3);
        addUnits(b, 2);
        addSpaces(QStringLiteral("anbariha"), a, 2);
        addSpaces(QStringLiteral("parkingha"), a, 1);
        addSpaces(QStringLiteral("parkingha"), b, 4);
    }

    void cleanup() { destroyWindows(); }

    void gridHasItsColumnsAndTitles()
    {
        Tproject_src& w = window<Tproject_src>();
        QCOMPARE(w.objectName(), QStringLiteral("Tproject_src"));
        QCOMPARE(w.windowTitle(), prjtext::kSrcCaption);
        QCOMPARE(w.layoutDirection(), Qt::RightToLeft);
        const ListModel* m = w.grid()->listModel();
        QCOMPARE(m->columns().size(), prjtext::kGridColumns.size() + 1);
        QCOMPARE(m->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("استان"));
        QCOMPARE(m->headerData(12, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("ت واحد مانده"));
        QCOMPARE(m->headerData(12, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(!m->headerData(11, Qt::Horizontal, Qt::ForegroundRole).isValid());
        w.prepareToShow();
        QCOMPARE(m->columns().last().field, QStringLiteral("id"));
        QVERIFY(w.grid()->isColumnHidden(m->columns().size() - 1));
        QVERIFY(!w.grid()->isColumnHidden(0));
        // Menus: N4 reports with the Excel export, N19 prints; the later windows' entries are off.
        QVERIFY(w.menuAction(QStringLiteral("N5"))->isEnabled());
        QVERIFY(w.menuAction(QStringLiteral("N43"))->isEnabled());
        QCOMPARE(w.menuAction(QStringLiteral("N44"))->text(), QStringLiteral("وب  (web)"));
        QVERIFY(!w.menuAction(QStringLiteral("N21"))->isEnabled());
        QVERIFY(!w.menuAction(QStringLiteral("N30"))->isEnabled());
        QVERIFY(!w.menuAction(QStringLiteral("N35"))->isEnabled());
        QVERIFY(!w.menuAction(QStringLiteral("N53"))->isEnabled());
    }

    void searchFillsCounterTotalsAndLowerLists()
    {
        Tproject_src& w = window<Tproject_src>();
        w.prepareToShow();
        QCOMPARE(label(&w, "cnt"), QStringLiteral("3"));
        QCOMPARE(gridColumn(w, QStringLiteral("mande")), (QStringList {QStringLiteral("8"), QStringLiteral("15"), QStringLiteral("24")}));
        QCOMPARE(w.totals().value(QStringLiteral("vk")).toInt(), 60);
        QCOMPARE(w.totals().value(QStringLiteral("m")).toInt(), 47);
        // The first project is current and its items are listed.
        QCOMPARE(w.currentProject().value(QStringLiteral("id")).toLongLong(), a);
        QCOMPARE(label(&w, "vahed_cnt"), QStringLiteral("3"));
        QCOMPARE(label(&w, "anbari_cnt"), QStringLiteral("2"));
        QCOMPARE(label(&w, "parking_cnt"), QStringLiteral("1"));
        // A click on another project loads its lists.
        selectRow(w, 1);
        QCOMPARE(label(&w, "vahed_cnt"), QStringLiteral("2"));
        QCOMPARE(label(&w, "anbari_cnt"), QStringLiteral("0"));
        QCOMPARE(label(&w, "parking_cnt"), QStringLiteral("4"));
        QCOMPARE(w.panel(int(ProjectItems::ParkingSpaces))->grid()->listModel()->rowCount(), 4);
        // The province filter is exact; the county filter matches a part.
        test::child<QCheckBox>(&w, QStringLiteral("CheckBox10"))->setChecked(true);
        setCombo(&w, "ostan", kTehran);
        w.src_btnClick();
        QCOMPARE(label(&w, "cnt"), QStringLiteral("2"));
        setCombo(&w, "ostan", QStringLiteral("تهرا"));
        w.src_btnClick();
        QCOMPARE(label(&w, "cnt"), QStringLiteral("0"));
        QCOMPARE(w.totals().value(QStringLiteral("vk")).toString(), QString());
        // An empty result empties the lower lists.
        QCOMPARE(label(&w, "vahed_cnt"), QStringLiteral("0"));
        QCOMPARE(label(&w, "parking_cnt"), QStringLiteral("0"));
        test::child<QCheckBox>(&w, QStringLiteral("CheckBox10"))->setChecked(false);
        test::child<QCheckBox>(&w, QStringLiteral("CheckBox11"))->setChecked(true);
        setCombo(&w, "shahrestan", QStringLiteral("ان"));
        test::child<QCheckBox>(&w, QStringLiteral("CheckBox13"))->setChecked(true);
        setCombo(&w, "st_tavrin", QStringLiteral("جاري"));
        w.src_btnClick();
        QCOMPARE(gridColumn(w, QStringLiteral("prj_name")), (QStringList {QStringLiteral("مهر يك"), QStringLiteral("نور")}));
        QCOMPARE(w.totals().value(QStringLiteral("vf")).toInt(), 8);
        test::child<QCheckBox>(&w, QStringLiteral("CheckBox2"))->setChecked(true);
        test::child<QLineEdit>(&w, QStringLiteral("prj_name"))->setText(QStringLiteral("مهر یک"));  // Persian yeh and kaf
        w.src_btnClick();
        QCOMPARE(gridColumn(w, QStringLiteral("prj_name")), QStringList {QStringLiteral("مهر يك")});
        // Opening again clears the filters and searches everything.
        w.prepareToShow();
        QVERIFY(!test::child<QCheckBox>(&w, QStringLiteral("CheckBox2"))->isChecked());
        QVERIFY(!test::child<QLineEdit>(&w, QStringLiteral("prj_name"))->isEnabled());
        QCOMPARE(label(&w, "cnt"), QStringLiteral("3"));
        // The province filter offers the provinces, and a province its counties.
        auto* ostan = test::child<QComboBox>(&w, QStringLiteral("ostan"));
        QCOMPARE(ostan->count(), 2);
        ostan->setEditText(kTehran);
        QCOMPARE(test::child<QComboBox>(&w, QStringLiteral("shahrestan"))->count(), 2);
        QCOMPARE(test::child<QComboBox>(&w, QStringLiteral("prj_typ"))->count(), 2);
    }

    void countyUserSeesHisCountiesInListAndTotals()
    {
        test::addUser(QStringLiteral("c1"), QStringLiteral("city"), kTehran, {}, {kRey, kKashan});
        test::loginAs(QStringLiteral("c1"));
        Tproject_src& w = window<Tproject_src>();
        w.prepareToShow();
        QCOMPARE(label(&w, "cnt"), QStringLiteral("2"));
        QCOMPARE(gridColumn(w, QStringLiteral("shahrestan")), (QStringList {kRey, kKashan}));
        QCOMPARE(w.totals().value(QStringLiteral("vk")).toInt(), 50);
        QCOMPARE(w.totals().value(QStringLiteral("pc")).toInt(), 8);
        QCOMPARE(label(&w, "parking_cnt"), QStringLiteral("4"));  // the first visible project is b
        // The county pick lists of the filter and of the entry window offer only his counties.
        test::child<QComboBox>(&w, QStringLiteral("ostan"))->setEditText(kTehran);
        QCOMPARE(test::child<QComboBox>(&w, QStringLiteral("shahrestan"))->count(), 1);
        Tproject_ins& ins = window<Tproject_ins>();
        ins.prepareNew();
        test::child<QComboBox>(&ins, QStringLiteral("ostan"))->setEditText(kTehran);
        auto* county = test::child<QComboBox>(&ins, QStringLiteral("shahrestan"));
        QCOMPARE(county->count(), 1);
        QCOMPARE(county->itemText(0), kRey);
    }

    void mainMenuOpensWithThePagesRights()
    {
        test::DialogRecorder rec;
        test::addUser(QStringLiteral("u1"), QStringLiteral("admin"), {}, {{QStringLiteral("prj"), QStringLiteral("1001")},
                                                                         {QStringLiteral("vahed"), QStringLiteral("1010")}});
        test::loginAs(QStringLiteral("u1"));
        Tmain& m = mainWindow();
        QAction* n10 = m.action(QStringLiteral("N10"));
        QVERIFY(n10->isEnabled());
        n10->trigger();
        QCOMPARE(rec.shown.last().kind, QStringLiteral("window"));
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tproject_src"));
        Tproject_src& w = window<Tproject_src>();
        QVERIFY(w.menuAction(QStringLiteral("N1"))->isEnabled());
        QVERIFY(!w.menuAction(QStringLiteral("N2"))->isEnabled());
        QVERIFY(!w.menuAction(QStringLiteral("N3"))->isEnabled());
        for (const char* n : {"N7", "N8", "N9"})
            QVERIFY(w.menuAction(QString::fromLatin1(n))->isEnabled());
        QVERIFY(w.panel(int(ProjectItems::Units))->canInsert());
        QCOMPARE(label(&w, "cnt"), QStringLiteral("3"));
        // Without a "vahed" row the item menus are off.
        dm().exec(QStringLiteral("delete from dastrasi where page_name=?"), {QStringLiteral("vahed")});
        n10->trigger();
        for (const char* n : {"N7", "N8", "N9"})
            QVERIFY(!w.menuAction(QString::fromLatin1(n))->isEnabled());
        QVERIFY(!w.panel(int(ProjectItems::StorageRooms))->canInsert());
        // Without the page's row, or its view right, the list does not open.
        rec.clear();
        dm().exec(QStringLiteral("update dastrasi set namayesh=? where page_name=?"), {false, QStringLiteral("prj")});
        n10->trigger();
        QCOMPARE(rec.texts(), QStringList {QStringLiteral("شما دسترسي به اين صفحه را نداريد")});
        dm().exec(QStringLiteral("delete from dastrasi where page_name=?"), {QStringLiteral("prj")});
        n10->trigger();
        QCOMPARE(rec.shown.size(), 2);
        QVERIFY(rec.shown.last().kind != QLatin1String("window"));
        destroyMainWindow();
    }

    void newProjectThroughTheEntryWindow()
    {
        test::DialogRecorder rec;
        Tproject_src& w = window<Tproject_src>();
        w.prepareToShow();
        const auto fill = [&](Tproject_ins* ins) {
            // A new project starts empty, active, with zero counts and empty dates.
            auto* ostan = test::child<QComboBox>(ins, QStringLiteral("ostan"));
            QCOMPARE(ostan->currentText(), QString());
            QCOMPARE(test::child<QComboBox>(ins, QStringLiteral("status"))->currentText(), prjtext::kActive);
            QCOMPARE(test::child<QLineEdit>(ins, QStringLiteral("vahed_kol"))->text(), QStringLiteral("0"));
            QCOMPARE(test::child<QLineEdit>(ins, QStringLiteral("expire_dat"))->displayText(), QString::fromLatin1(kEmptyDateMask));
            QVERIFY(test::child<QPushButton>(ins, QStringLiteral("ins_btn"))->isVisibleTo(ins));
            QVERIFY(!test::child<QPushButton>(ins, QStringLiteral("edit_btn"))->isVisibleTo(ins));
            QCOMPARE(ostan->count(), 2);
            // Picking the province fills the counties and the names of the province.
            ostan->setEditText(kTehran);
            auto* county = test::child<QComboBox>(ins, QStringLiteral("shahrestan"));
            QCOMPARE(county->count(), 2);
            QCOMPARE(test::child<QComboBox>(ins, QStringLiteral("prj_name"))->itemText(0), QStringLiteral("مسکن مهر تهران"));
            county->setEditText(kShemiranat);
            auto* city = test::child<QComboBox>(ins, QStringLiteral("shahr"));
            QCOMPARE(city->count(), 2);
            city->setEditText(QStringLiteral("تجريش"));
            QCOMPARE(test::child<QComboBox>(ins, QStringLiteral("rosta"))->itemText(0), QStringLiteral("دربند"));
            test::child<QComboBox>(ins, QStringLiteral("prj_name"))->setEditText(QStringLiteral("پرديس"));
            auto* code = test::child<QLineEdit>(ins, QStringLiteral("prj_cod"));
            code->setText(QStringLiteral("1"));
            // The count fields take digits only.
            auto* kol = test::child<QLineEdit>(ins, QStringLiteral("vahed_kol"));
            kol->clear();
            test::typeText(kol, QStringLiteral("a1x۲"));
            QCOMPARE(kol->text(), QStringLiteral("12"));
            auto* cnt = test::child<QLineEdit>(ins, QStringLiteral("vahed_cnt"));
            cnt->setText(QStringLiteral("13"));
            ins->countExit(cnt);
            QCOMPARE(rec.lastText(), prjtext::kUnitsOverTotal);
            cnt->setText(QString());
            ins->countExit(cnt);
            QCOMPARE(cnt->text(), QStringLiteral("0"));
            test::child<QComboBox>(ins, QStringLiteral("st_tavrin"))->setEditText(prjtext::kInternetRegistration);
            test::child<QLineEdit>(ins, QStringLiteral("sakht_dat"))->setText(QStringLiteral("14020515"));
            // The same code in the county is refused, the focus goes to the code.
            QTest::mouseClick(test::child<QPushButton>(ins, QStringLiteral("ins_btn")), Qt::LeftButton);
            QCOMPARE(rec.lastText(), prjtext::kDuplicateCode);
            code->setText(QStringLiteral("9"));
            QTest::mouseClick(test::child<QPushButton>(ins, QStringLiteral("ins_btn")), Qt::LeftButton);
            QCOMPARE(rec.lastText(), prjtext::kSaved);
            QCOMPARE(test::child<QComboBox>(ins, QStringLiteral("st_tavrin"))->currentText(), prjtext::kRegistration);
        };
        rec.onExec = [&](QDialog* d) {
            if (d->objectName() == QLatin1String("Tproject_ins"))
                fill(static_cast<Tproject_ins*>(d));
            return 1;
        };
        w.N1Click();
        QCOMPARE(label(&w, "cnt"), QStringLiteral("4"));
        const QSqlRecord p = w.currentProject();
        QCOMPARE(p.value(QStringLiteral("prj_name")).toString(), QStringLiteral("پرديس"));
        QCOMPARE(p.value(QStringLiteral("shahr")).toString(), QStringLiteral("تجريش"));
        QCOMPARE(p.value(QStringLiteral("rosta")).toString(), QStringLiteral("تجريش"));
        QCOMPARE(p.value(QStringLiteral("vahed_kol")).toInt(), 12);
        QCOMPARE(p.value(QStringLiteral("st_tavrin")).toString(), prjtext::kRegistration);
        QCOMPARE(p.value(QStringLiteral("expire_dat")).toString(), QString::fromLatin1(kEmptyDateMask));
        QCOMPARE(p.value(QStringLiteral("sakht_dat")).toString(), QStringLiteral("1402/05/15"));
        QCOMPARE(label(&w, "vahed_cnt"), QStringLiteral("0"));
    }

    void editThroughTheEntryWindow()
    {
        test::DialogRecorder rec;
        Tproject_src& w = window<Tproject_src>();
        w.prepareToShow();
        selectRow(w, 1);
        dm().exec(QStringLiteral("insert into customers (prj_id,lname,prj_name,transport_dat) values (?,?,?,?)"),
                  {b, QStringLiteral("رضايي"), QStringLiteral("مهر دو"), QString::fromLatin1(kEmptyDateMask)});
        bool closed = false;
        const auto edit = [&](Tproject_ins* ins) {
            QVERIFY(test::child<QPushButton>(ins, QStringLiteral("edit_btn"))->isVisibleTo(ins));
            QVERIFY(!test::child<QPushButton>(ins, QStringLiteral("ins_btn"))->isVisibleTo(ins));
            QCOMPARE(test::child<QComboBox>(ins, QStringLiteral("shahrestan"))->currentText(), kRey);
            QCOMPARE(test::child<QLineEdit>(ins, QStringLiteral("vahed_kol"))->text(), QStringLiteral("20"));
            QCOMPARE(test::child<QLineEdit>(ins, QStringLiteral("expire_dat"))->displayText(), QStringLiteral("1405/01/01"));
            QCOMPARE(test::child<QLineEdit>(ins, QStringLiteral("sakht_dat"))->displayText(), QString::fromLatin1(kEmptyDateMask));
            // A name of the county's other project is refused; the window stays.
            test::child<QComboBox>(ins, QStringLiteral("shahrestan"))->setEditText(kShemiranat);
            QCOMPARE(test::child<QComboBox>(ins, QStringLiteral("shahrestan"))->currentText(), kShemiranat);
            test::child<QComboBox>(ins, QStringLiteral("prj_name"))->setEditText(QStringLiteral("مهر يك"));
            ins->edit_btnClick();
            QCOMPARE(rec.lastText(), prjtext::kDuplicateNameInCounty);
            test::child<QComboBox>(ins, QStringLiteral("shahrestan"))->setEditText(kRey);
            test::child<QComboBox>(ins, QStringLiteral("prj_name"))->setEditText(QStringLiteral("مهر سه"));
            ins->edit_btnClick();
            closed = ins->result() == QDialog::Accepted;
        };
        rec.onExec = [&](QDialog* d) {
            edit(static_cast<Tproject_ins*>(d));
            return d->result();
        };
        w.N2Click();
        QVERIFY(closed);
        QCOMPARE(rec.texts(), QStringList {prjtext::kDuplicateNameInCounty});  // the edit itself says nothing
        QCOMPARE(gridColumn(w, QStringLiteral("prj_name")),
                 (QStringList {QStringLiteral("مهر يك"), QStringLiteral("مهر سه"), QStringLiteral("نور")}));
        QCOMPARE(w.currentProject().value(QStringLiteral("id")).toLongLong(), b);
        QCOMPARE(dm().scalar(QStringLiteral("select prj_name from customers where prj_id=?"), {b}).toString(),
                 QStringLiteral("مهر سه"));
    }

    void deleteFromTheList()
    {
        test::DialogRecorder rec;
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"),
                  {prjtext::kSettingDeletePassword, QStringLiteral("p")});
        Tproject_src& w = window<Tproject_src>();
        w.prepareToShow();
        selectRow(w, 0);
        // An applicant in the project: refused with his name, nothing goes.
        const qint64 held = dm().insert(QStringLiteral("customers"),
                                        {QStringLiteral("prj_id"), QStringLiteral("lname"), QStringLiteral("nation")},
                                        {a, QStringLiteral("کريمي"), QStringLiteral("0012345679")});
        rec.inputs.push_back(QStringLiteral("p"));
        w.N3Click();
        QCOMPARE(rec.lastText(), prjtext::kDeleteRefused + QStringLiteral("کريمي*0012345679"));
        dm().exec(QStringLiteral("delete from customers where id=?"), {held});
        // A failure in the database: the fixed message, nothing goes.
        dm().exec(QStringLiteral("alter table vahed_vam rename to vahed_vam_away"));
        rec.inputs.push_back(QStringLiteral("p"));
        w.N3Click();
        QCOMPARE(rec.lastText(), projects::kDeleteFailed);
        dm().exec(QStringLiteral("alter table vahed_vam_away rename to vahed_vam"));
        QCOMPARE(label(&w, "cnt"), QStringLiteral("3"));
        rec.inputs.push_back(QStringLiteral("p"));
        w.N3Click();
        QCOMPARE(label(&w, "cnt"), QStringLiteral("2"));
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from vahedha where prj_id=?"), {a}).toInt(), 0);
        QCOMPARE(w.currentProject().value(QStringLiteral("id")).toLongLong(), b);
        QCOMPARE(label(&w, "parking_cnt"), QStringLiteral("4"));
    }

    void printedListHasTheListsValues()
    {
        Tproject_src& w = window<Tproject_src>();
        w.prepareToShow();
        test::child<QCheckBox>(&w, QStringLiteral("CheckBox10"))->setChecked(true);
        setCombo(&w, "ostan", kTehran);
        w.src_btnClick();
        const QList<QVariantMap> rows = w.printRows();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1].value(QStringLiteral("prj_name")).toString(), QStringLiteral("مهر دو"));
        QCOMPARE(rows[1].value(QStringLiteral("mande")).toString(), QStringLiteral("15"));
        QCOMPARE(rows[1].value(QStringLiteral("st_tavrin")).toString(), QStringLiteral("اتمام يافته"));
        const doc::Document d = Tproject_chap::build(rows, w.totals(), QStringLiteral("1403/05/06"));
        QCOMPARE(d.setup().orientation, doc::Orientation::Landscape);
        QCOMPARE(d.field(QStringLiteral("dat")), QStringLiteral("1403/05/06"));
        QCOMPARE(d.field(QStringLiteral("vk")), QStringLiteral("30"));
        QCOMPARE(d.field(QStringLiteral("vf")), QStringLiteral("7"));
        QCOMPARE(d.field(QStringLiteral("m")), QStringLiteral("23"));
        QCOMPARE(d.field(QStringLiteral("ac")), QStringLiteral("6"));
        QCOMPARE(d.field(QStringLiteral("pc")), QStringLiteral("8"));
        const QStringList cells = d.texts(0, doc::Role::Cell);
        QVERIFY(cells.contains(QStringLiteral("مهر يك")));
        QVERIFY(cells.contains(QStringLiteral("1405/01/01")));
        QVERIFY(!cells.contains(QStringLiteral("نور")));
        QVERIFY(d.texts(0, doc::Role::Totals).contains(QStringLiteral("جـــــمع")));
        QVERIFY(d.texts(0, doc::Role::Totals).contains(QStringLiteral("23")));
        QVERIFY(d.texts(0, doc::Role::SpanHeading).contains(QStringLiteral("تعداد واحـــــــــد")));
        QVERIFY(d.plainText().contains(QStringLiteral("گزارش ليست پروژه ها")));
        // The menu entry previews it with today's date.
        test::DialogRecorder rec;
        w.N43Click();
        QCOMPARE(rec.shown.last().kind, QStringLiteral("window"));
        QCOMPARE(rec.shown.last().title, QStringLiteral("preview"));
        // N20 prints the current project's unit list.
        rec.clear();
        QVERIFY(w.menuAction(QStringLiteral("N20"))->isEnabled());
        w.menuAction(QStringLiteral("N20"))->trigger();
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.shown.last().title, QStringLiteral("preview"));
        if (!qEnvironmentVariableIsEmpty("TAVRIN_SCREENSHOTS")) {
            const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOTS");
            QVERIFY(Tproject_chap::build(rows, w.totals(), jalali::today()).renderToPdf(dir + QStringLiteral("/Tproject_chap.pdf")));
        }
    }

    void webPageAndExcelOfTheList()
    {
        QTemporaryDir dir;
        test::DialogRecorder rec;
        Tproject_src& w = window<Tproject_src>();
        w.prepareToShow();
        // Cancelled: nothing written, nothing opened.
        w.N44Click();
        QCOMPARE(rec.shown.last().kind, QStringLiteral("save"));
        QVERIFY(rec.shown.last().text.endsWith(QStringLiteral("projects.htm")));
        const QString page = dir.filePath(QStringLiteral("projects.htm"));
        rec.files.push_back(page);
        w.N44Click();
        QCOMPARE(rec.shown.last().kind, QStringLiteral("desktop"));
        QCOMPARE(rec.shown.last().text, page);
        QFile f(page);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());
        QVERIFY(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
        QVERIFY(html.contains(QStringLiteral("<th>ت واحد مانده</th>")));
        QVERIFY(html.contains(QStringLiteral("<td>3</td>\n<td dir=\"ltr\">%1</td>").arg(c)));
        QVERIFY(!html.contains(QStringLiteral("<td>4</td>\n<td dir")));
        // Excel: the headings of the project export, one row per project.
        const QString book = dir.filePath(QStringLiteral("projects.xlsx"));
        rec.files.push_back(book);
        w.N5Click();
        const auto sheet = readSpreadsheet(book);
        QVERIFY(sheet);
        QCOMPARE(sheet->rows.size(), 4);
        const QStringList head = sheet->rows[0];
        QCOMPARE(head[0], QStringLiteral("شناسه"));
        QVERIFY(head.contains(QStringLiteral("پلاک زمين")));
        QVERIFY(head.contains(QStringLiteral("تاريخ اتمام عمليات ساخت")));
        QCOMPARE(head.last(), QStringLiteral("ت واحد مانده"));
        QCOMPARE(sheet->rows[3].last(), QStringLiteral("24"));
    }

    void screenshots()
    {
        // Rendered with some data; saved when a folder is named.
        const bool save = !qEnvironmentVariableIsEmpty("TAVRIN_SCREENSHOTS");
        if (save) {
            demo::Options o;
            o.projects = 16;
            o.unitsPerProject = 16;
            demo::generate(dm(), o);
        }
        Tproject_src& w = window<Tproject_src>();
        w.resize(1366, 720);
        w.prepareToShow();
        selectRow(w, save ? 4 : 0);
        w.show();
        QCoreApplication::processEvents();
        const QImage list = w.grab().toImage();
        QVERIFY(!list.isNull());
        Tproject_ins& ins = window<Tproject_ins>();
        ins.prepareEdit(w.currentProject());
        ins.show();
        QCoreApplication::processEvents();
        const QImage entry = ins.grab().toImage();
        QVERIFY(!entry.isNull());
        // The entry window's captions are on the right of their fields.
        auto* ostan = test::child<QComboBox>(&ins, QStringLiteral("ostan"));
        auto* vahedKol = test::child<QLineEdit>(&ins, QStringLiteral("vahed_kol"));
        QVERIFY(ostan->mapTo(&ins, QPoint()).x() > vahedKol->mapTo(&ins, QPoint()).x());
        if (save) {
            const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOTS");
            QVERIFY(list.save(dir + QStringLiteral("/Tproject_src.png")));
            QVERIFY(entry.save(dir + QStringLiteral("/Tproject_ins.png")));
        }
        ins.hide();
        w.hide();
    }
};

TAVRIN_DB_TEST_MAIN(TestProjectWindow)
#include "tst_project_window.moc"
