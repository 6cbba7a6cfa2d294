// The project record without its windows: the checks and writes of a new and
// an edited project, the copy of its identity to its applicants, the delete,
// the search with its county scope and totals, and the web page.
#include "support/testsupport.h"

#include "projects/project_texts.h"
#include "projects/projects_logic.h"

#include "common/session.h"
#include "db/schema.h"

#include <QFile>
#include <QTemporaryDir>

using namespace tavrin;
using namespace tavrin::projects;

namespace {

const QString kTehran = QStringLiteral("تهران");
const QString kShemiranat = QStringLiteral("شميرانات");
const QString kRey = QStringLiteral("ري");
const QString kIsfahan = QStringLiteral("اصفهان");
const QString kKashan = QStringLiteral("کاشان");
const QString kMarkazi = QStringLiteral("مرکزي");
const QString kQom = QStringLiteral("قم");

int count(const QString& table, const QString& where = {}, const QVariantList& values = {})
{
    return dm().scalar(QStringLiteral("select count(*) from ") + table + (where.isEmpty() ? QString() : QStringLiteral(" where ") + where),
                       values).toInt();
}

void addPlace(const QString& ostan, const QString& shahrestan, const QString& shahr = QStringLiteral("x"))
{
    dm().exec(QStringLiteral("insert into abadiha (ostan,shahrestan,shahr,rosta,cod) values (?,?,?,?,?)"),
              {ostan, shahrestan, shahr, QStringLiteral(""), QStringLiteral("1")});
}

ProjectValues project(const QString& ostan, const QString& shahrestan, const QString& name, const QString& code)
{
    ProjectValues v;
    for (const QString& c : projectColumns())
        v.insert(c, QString());
    v[QStringLiteral("ostan")] = ostan;
    v[QStringLiteral("shahrestan")] = shahrestan;
    v[QStringLiteral("prj_name")] = name;
    v[QStringLiteral("prj_cod")] = code;
    v[QStringLiteral("prj_typ")] = QStringLiteral("حمايتي");
    v[QStringLiteral("status")] = prjtext::kActive;
    v[QStringLiteral("vahed_kol")] = QStringLiteral("20");
    v[QStringLiteral("vahed_cnt")] = QStringLiteral("18");
    v[QStringLiteral("vahed_f")] = QStringLiteral("0");
    v[QStringLiteral("anbari_cnt")] = QStringLiteral("5");
    v[QStringLiteral("parking_cnt")] = QStringLiteral("7");
    v[QStringLiteral("expire_dat")] = QString::fromLatin1(kEmptyDateMask);
    v[QStringLiteral("sakht_dat")] = QStringLiteral("1403/02/31");
    return v;
}

qint64 saved(ProjectValues v)
{
    const Outcome r = insertProject(v);
    if (!r.done)
        qWarning() << "refused:" << r.message();
    return r.done ? r.id : 0;
}

QSqlRecord stored(qint64 id)
{
    return dm().firstRow(QStringLiteral("select *,vahed_kol-vahed_f as mande from projects where id=?"), {id}).value_or(QSqlRecord());
}

qint64 addCustomer(qint64 prjId, const QString& lname, const QString& nation)
{
    return dm().insert(QStringLiteral("customers"),
                       {QStringLiteral("prj_id"), QStringLiteral("lname"), QStringLiteral("nation"), QStringLiteral("ostan"),
                        QStringLiteral("shahrestan"), QStringLiteral("prj_name"), QStringLiteral("transport_dat")},
                       {prjId, lname, nation, QStringLiteral("استان قبلي"), QStringLiteral("شهرستان قبلي"),
                        QStringLiteral("نام قبلي"), QString::fromLatin1(kEmptyDateMask)});
}

// One unit, parking space, storage room, facility and unit loan for a project.
void addItems(qint64 prjId)
{
    const qint64 unit = dm().insert(QStringLiteral("vahedha"), {QStringLiteral("prj_id"), QStringLiteral("shenase")},
                                    {prjId, QStringLiteral("1-0-1")});
    dm().insert(QStringLiteral("parkingha"), {QStringLiteral("prj_id"), QStringLiteral("num")}, {prjId, 1});
    dm().insert(QStringLiteral("anbariha"), {QStringLiteral("prj_id"), QStringLiteral("num")}, {prjId, 1});
    const qint64 facility = dm().insert(QStringLiteral("tashilat"), {QStringLiteral("prj_id"), QStringLiteral("bank")},
                                        {prjId, QStringLiteral("مسکن")});
    dm().insert(QStringLiteral("vahed_vam"),
                {QStringLiteral("prj_id"), QStringLiteral("tashilat_id"), QStringLiteral("vahed_id"), QStringLiteral("mablagh")},
                {prjId, facility, unit, 1000});
}

int itemsOf(qint64 prjId)
{
    int n = 0;
    for (const char* t : {"vahedha", "parkingha", "anbariha", "tashilat", "vahed_vam"})
        n += count(QString::fromLatin1(t), QStringLiteral("prj_id=?"), {prjId});
    return n;
}

QStringList logComments()
{
    return dm().textColumn(QStringLiteral("select cmt from log order by id"));
}

} // namespace

class TestProjectRecord : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        addPlace(kTehran, kShemiranat, QStringLiteral("تجريش"));
        addPlace(kTehran, kRey);
        addPlace(kIsfahan, kKashan);
        addPlace(kTehran, kMarkazi);
        addPlace(kQom, kMarkazi);
    }

    void checksComeInTheirOrder()
    {
        ProjectValues v = project(QString(), QString(), QString(), QString());
        QCOMPARE(insertProject(v).message(), prjtext::kNoProvince);
        v[QStringLiteral("ostan")] = kTehran;
        QCOMPARE(insertProject(v).message(), prjtext::kNoCounty);
        QCOMPARE(insertProject(v).focus, QStringLiteral("shahrestan"));
        v[QStringLiteral("shahrestan")] = kShemiranat;
        QCOMPARE(insertProject(v).message(), prjtext::kNoName);
        v[QStringLiteral("prj_name")] = QStringLiteral("  ");
        QCOMPARE(insertProject(v).message(), prjtext::kNoName);
        v[QStringLiteral("prj_name")] = QStringLiteral("مهر");
        QCOMPARE(insertProject(v).message(), prjtext::kNoCode);
        v[QStringLiteral("prj_cod")] = QStringLiteral("12");
        QVERIFY(insertProject(v).done);
        QCOMPARE(count(QStringLiteral("projects")), 1);
    }

    void typedPlaceIsRefused()
    {
        // Both names exist, but not as a pair.
        ProjectValues v = project(kTehran, kKashan, QStringLiteral("مهر"), QStringLiteral("1"));
        const Outcome r = insertProject(v);
        QVERIFY(!r.done);
        QCOMPARE(r.message(), prjtext::kNotFromList);
        QCOMPARE(r.focus, QStringLiteral("ostan"));
        // A near spelling of a listed province is not the province.
        v = project(QStringLiteral("تهران "), kShemiranat, QStringLiteral("مهر"), QStringLiteral("1"));
        QCOMPARE(insertProject(v).message(), prjtext::kNotFromList);
        QCOMPARE(count(QStringLiteral("projects")), 0);
        QCOMPARE(count(QStringLiteral("log")), 0);
    }

    void emptyCityAndVillageTakeTheirDefaults()
    {
        ProjectValues v = project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("1"));
        const qint64 id = saved(v);
        QVERIFY(id);
        QCOMPARE(stored(id).value(QStringLiteral("shahr")).toString(), kShemiranat);
        QCOMPARE(stored(id).value(QStringLiteral("rosta")).toString(), kShemiranat);
        // A given city is kept and the village-town takes it.
        v = project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("2"));
        v[QStringLiteral("shahr")] = QStringLiteral("تجريش");
        const qint64 id2 = saved(v);
        QCOMPARE(stored(id2).value(QStringLiteral("shahr")).toString(), QStringLiteral("تجريش"));
        QCOMPARE(stored(id2).value(QStringLiteral("rosta")).toString(), QStringLiteral("تجريش"));
    }

    void newProjectIsStoredWithItsLogRow()
    {
        ProjectValues v = project(kTehran, kShemiranat, QStringLiteral("مسکن مهر"), QStringLiteral("1"));
        v[QStringLiteral("cmt")] = QStringLiteral("توضيح");
        v[QStringLiteral("zamin_pelak")] = QString();   // left empty: stored as "", not NULL
        v[QStringLiteral("vahed_f")] = QString();       // an emptied count is 0
        v[QStringLiteral("expire_dat")] = QStringLiteral("//");  // what an untouched masked edit's text() gives
        const qint64 id = saved(v);
        const QSqlRecord r = stored(id);
        QCOMPARE(r.value(QStringLiteral("vahed_kol")).toInt(), 20);
        QCOMPARE(r.value(QStringLiteral("vahed_f")).toInt(), 0);
        QCOMPARE(r.value(QStringLiteral("mande")).toInt(), 20);
        QCOMPARE(r.value(QStringLiteral("status")).toString(), prjtext::kActive);
        QCOMPARE(r.value(QStringLiteral("expire_dat")).toString(), QString::fromLatin1(kEmptyDateMask));
        QCOMPARE(r.value(QStringLiteral("sakht_dat")).toString(), QStringLiteral("1403/02/31"));
        QVERIFY(!r.value(QStringLiteral("zamin_pelak")).isNull());
        QCOMPARE(r.value(QStringLiteral("cmt")).toString(), QStringLiteral("توضيح"));
        QCOMPARE(logComments(), QStringList {QStringLiteral(" ثبت اطلاعات پروژه ") + kTehran + ' ' + kShemiranat +
                                             QStringLiteral(" مسکن مهر")});
    }

    void internetRegistrationIsStoredAsRegistration()
    {
        ProjectValues v = project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("1"));
        v[QStringLiteral("st_tavrin")] = prjtext::kInternetRegistration;
        const qint64 id = saved(v);
        QCOMPARE(stored(id).value(QStringLiteral("st_tavrin")).toString(), prjtext::kRegistration);
        // Also when an edit chooses it.
        ProjectValues e = valuesOf(stored(id));
        e[QStringLiteral("st_tavrin")] = prjtext::kInternetRegistration;
        QVERIFY(updateProject(id, valuesOf(stored(id)), e).done);
        QCOMPARE(stored(id).value(QStringLiteral("st_tavrin")).toString(), prjtext::kRegistration);
    }

    void duplicateCodeIsRefusedAndANameMayRepeat()
    {
        QVERIFY(saved(project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("7"))));
        ProjectValues v = project(kTehran, kShemiranat, QStringLiteral("ديگر"), QStringLiteral("7"));
        const Outcome r = insertProject(v);
        QCOMPARE(r.message(), prjtext::kDuplicateCode);
        QCOMPARE(r.focus, QStringLiteral("prj_cod"));
        // The same code in another county, and the same name with another code, are accepted.
        QVERIFY(saved(project(kTehran, kRey, QStringLiteral("مهر"), QStringLiteral("7"))));
        QVERIFY(saved(project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("8"))));
        QCOMPARE(count(QStringLiteral("projects")), 3);
        QCOMPARE(count(QStringLiteral("log")), 3);
    }

    // Below the level "admin" a project is saved, or moved, only into a granted county.
    void countyMustBeGranted()
    {
        const qint64 inRey = saved(project(kTehran, kRey, QStringLiteral("ري"), QStringLiteral("1")));
        for (const QString& level : {QStringLiteral("city"), QStringLiteral("ostan"), QStringLiteral("keshvar")}) {
            test::addUser(level, level, kTehran, {}, {kRey});
            test::loginAs(level);
            ProjectValues v = project(kTehran, kShemiranat, QStringLiteral("نو"), QStringLiteral("2"));
            const Outcome r = insertProject(v);
            QCOMPARE(r.message() + ' ' + r.focus, prjtext::kCountyNotGranted + QStringLiteral(" shahrestan"));
            ProjectValues moved = valuesOf(stored(inRey));
            moved[QStringLiteral("shahrestan")] = kShemiranat;
            QCOMPARE(updateProject(inRey, valuesOf(stored(inRey)), moved).message(), prjtext::kCountyNotGranted);
        }
        QCOMPARE(count(QStringLiteral("projects"), QStringLiteral("shahrestan=?"), {kShemiranat}), 0);
        // In his own county he saves as before.
        ProjectValues ok = project(kTehran, kRey, QStringLiteral("نو"), QStringLiteral("9"));
        QVERIFY(insertProject(ok).done);
    }

    void everyFieldMustConvertBeforeAnythingIsWritten()
    {
        ProjectValues v = project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("1"));
        v[QStringLiteral("parking_cnt")] = QStringLiteral("12a");
        Outcome r = insertProject(v);
        QVERIFY(!r.done);
        QCOMPARE(r.focus, QStringLiteral("parking_cnt"));
        QVERIFY(r.message().contains(QStringLiteral("تعداد پارکينگ")));
        v[QStringLiteral("parking_cnt")] = QStringLiteral("2.5");
        QCOMPARE(insertProject(v).focus, QStringLiteral("parking_cnt"));
        v[QStringLiteral("parking_cnt")] = QStringLiteral("۱۲");   // Persian digits are digits
        v[QStringLiteral("expire_dat")] = QStringLiteral("1403/13/01");
        QCOMPARE(insertProject(v).focus, QStringLiteral("expire_dat"));
        v[QStringLiteral("expire_dat")] = QStringLiteral("1403/05/  ");  // half typed
        QCOMPARE(insertProject(v).focus, QStringLiteral("expire_dat"));
        v[QStringLiteral("expire_dat")] = QStringLiteral("1403/12/30");  // a leap year's last day
        v[QStringLiteral("vahed_cnt")] = QStringLiteral("21");           // more than vahed_kol
        r = insertProject(v);
        QCOMPARE(r.message(), prjtext::kUnitsOverTotal);
        QCOMPARE(count(QStringLiteral("projects")), 0);
        v[QStringLiteral("vahed_cnt")] = QStringLiteral("20");
        const qint64 id = saved(v);
        QVERIFY(id);
        QCOMPARE(stored(id).value(QStringLiteral("parking_cnt")).toInt(), 12);
        QCOMPARE(stored(id).value(QStringLiteral("expire_dat")).toString(), QStringLiteral("1403/12/30"));
    }

    void leavingTheUnitCountsChecksThem()
    {
        QString kol, cnt = QStringLiteral("3");
        QVERIFY(licensedExceedsTotal(kol, cnt));
        QCOMPARE(kol, QStringLiteral("0"));
        kol = QStringLiteral("10");
        cnt.clear();
        QVERIFY(!licensedExceedsTotal(kol, cnt));
        QCOMPARE(cnt, QStringLiteral("0"));
        cnt = QStringLiteral("10");
        QVERIFY(!licensedExceedsTotal(kol, cnt));
        cnt = QStringLiteral("11");
        QVERIFY(licensedExceedsTotal(kol, cnt));
    }

    void editChecksNameOnlyWhenCountyOrNameChange()
    {
        // Two projects of one name in one county (new projects do not check names).
        const qint64 a = saved(project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("1")));
        const qint64 b = saved(project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("2")));
        QVERIFY(a && b);
        ProjectValues e = valuesOf(stored(b));
        e[QStringLiteral("cmt")] = QStringLiteral("بدون تغيير نام");
        QVERIFY(updateProject(b, valuesOf(stored(b)), e).done);
        QCOMPARE(stored(b).value(QStringLiteral("cmt")).toString(), QStringLiteral("بدون تغيير نام"));
        // A new name that another project of the county has is refused.
        const qint64 c = saved(project(kTehran, kShemiranat, QStringLiteral("الف"), QStringLiteral("3")));
        e = valuesOf(stored(c));
        e[QStringLiteral("prj_name")] = QStringLiteral("مهر");
        Outcome r = updateProject(c, valuesOf(stored(c)), e);
        QCOMPARE(r.message(), prjtext::kDuplicateNameInCounty);
        QCOMPARE(r.focus, QStringLiteral("prj_name"));
        QCOMPARE(stored(c).value(QStringLiteral("prj_name")).toString(), QStringLiteral("الف"));
        // Moving into a county where the name exists is refused too.
        const qint64 d = saved(project(kTehran, kRey, QStringLiteral("مهر"), QStringLiteral("4")));
        e = valuesOf(stored(d));
        e[QStringLiteral("shahrestan")] = kShemiranat;
        QCOMPARE(updateProject(d, valuesOf(stored(d)), e).message(), prjtext::kDuplicateNameInCounty);
        // Changing only the province does not check the name.
        const qint64 q1 = saved(project(kTehran, kMarkazi, QStringLiteral("نور"), QStringLiteral("5")));
        const qint64 q2 = saved(project(kQom, kMarkazi, QStringLiteral("نور"), QStringLiteral("6")));
        QVERIFY(q1 && q2);
        e = valuesOf(stored(q2));
        e[QStringLiteral("ostan")] = kTehran;
        QVERIFY(updateProject(q2, valuesOf(stored(q2)), e).done);
        QCOMPARE(stored(q2).value(QStringLiteral("ostan")).toString(), kTehran);
    }

    void editKeepsTheCodeUniqueWhicheverKeyChanges()
    {
        const qint64 a = saved(project(kTehran, kShemiranat, QStringLiteral("الف"), QStringLiteral("1")));
        const qint64 b = saved(project(kTehran, kRey, QStringLiteral("ب"), QStringLiteral("1")));
        QVERIFY(a && b);
        // The row's own code does not count against it.
        ProjectValues e = valuesOf(stored(a));
        e[QStringLiteral("vahed_f")] = QStringLiteral("2");
        QVERIFY(updateProject(a, valuesOf(stored(a)), e).done);
        // Moving b into a's county with the same code is refused (the code itself did not change).
        e = valuesOf(stored(b));
        e[QStringLiteral("shahrestan")] = kShemiranat;
        Outcome r = updateProject(b, valuesOf(stored(b)), e);
        QCOMPARE(r.message(), prjtext::kCodeTaken);
        QCOMPARE(stored(b).value(QStringLiteral("shahrestan")).toString(), kRey);
        // A changed code that exists in the county is refused; a free one is accepted.
        const qint64 c = saved(project(kTehran, kShemiranat, QStringLiteral("ج"), QStringLiteral("2")));
        e = valuesOf(stored(c));
        e[QStringLiteral("prj_cod")] = QStringLiteral("1");
        QCOMPARE(updateProject(c, valuesOf(stored(c)), e).message(), prjtext::kCodeTaken);
        e[QStringLiteral("prj_cod")] = QStringLiteral("3");
        QVERIFY(updateProject(c, valuesOf(stored(c)), e).done);
        // The edit is logged.
        QCOMPARE(logComments().last(), QStringLiteral(" ويرايش اطلاعات پروژه ") + kTehran + ' ' + kShemiranat +
                                           QStringLiteral(" ج"));
    }

    void editCopiesTheIdentityToTheApplicants()
    {
        const qint64 id = saved(project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("1")));
        const qint64 other = saved(project(kTehran, kRey, QStringLiteral("ديگر"), QStringLiteral("2")));
        const qint64 c1 = addCustomer(id, QStringLiteral("احمدي"), QStringLiteral("0012345679"));
        const qint64 c2 = addCustomer(other, QStringLiteral("رضايي"), QStringLiteral("0012345680"));
        ProjectValues e = valuesOf(stored(id));
        e[QStringLiteral("prj_cod")] = QStringLiteral("11");
        e[QStringLiteral("prj_name")] = QStringLiteral("مهر ۲");
        e[QStringLiteral("prj_typ")] = QStringLiteral("مسکن ملي");
        e[QStringLiteral("shahr")] = QStringLiteral("تجريش");
        e[QStringLiteral("rosta")] = QStringLiteral("دربند");
        e[QStringLiteral("zamin_adr")] = QStringLiteral("خيابان اول");
        e[QStringLiteral("zamin_pelak")] = QStringLiteral("پلاک ۱۲");
        QVERIFY(updateProject(id, valuesOf(stored(id)), e).done);
        const auto row = dm().firstRow(QStringLiteral("select * from customers where id=?"), {c1});
        QCOMPARE(row->value(QStringLiteral("prj_cod")).toString(), QStringLiteral("11"));
        QCOMPARE(row->value(QStringLiteral("prj_name")).toString(), QStringLiteral("مهر ۲"));
        QCOMPARE(row->value(QStringLiteral("prj_typ")).toString(), QStringLiteral("مسکن ملي"));
        QCOMPARE(row->value(QStringLiteral("shahr")).toString(), QStringLiteral("تجريش"));
        QCOMPARE(row->value(QStringLiteral("rosta")).toString(), QStringLiteral("دربند"));
        QCOMPARE(row->value(QStringLiteral("zamin_adr")).toString(), QStringLiteral("خيابان اول"));
        QCOMPARE(row->value(QStringLiteral("zamin_pelak")).toString(), QStringLiteral("پلاک ۱۲"));
        // Province and county of the applicant stay; other projects' applicants are untouched.
        QCOMPARE(row->value(QStringLiteral("ostan")).toString(), QStringLiteral("استان قبلي"));
        QCOMPARE(row->value(QStringLiteral("shahrestan")).toString(), QStringLiteral("شهرستان قبلي"));
        const auto untouched = dm().firstRow(QStringLiteral("select prj_name,prj_cod from customers where id=?"), {c2});
        QCOMPARE(untouched->value(0).toString(), QStringLiteral("نام قبلي"));
        QVERIFY(untouched->value(1).isNull());
    }

    void deleteIsRefusedWhileAnApplicantHoldsAUnit()
    {
        const qint64 id = saved(project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("1")));
        addItems(id);
        addCustomer(id, QStringLiteral("کريمي"), QStringLiteral("0012345679"));
        addCustomer(id, QStringLiteral("دوم"), QStringLiteral("1111111111"));
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"),
                  {prjtext::kSettingDeletePassword, QStringLiteral("123")});
        test::DialogRecorder rec;
        rec.inputs.push_back(QStringLiteral("123"));
        const Outcome r = deleteProject(stored(id), projects::askDeletePassword, askWarning());
        QVERIFY(r.refused());
        QCOMPARE(r.message(), prjtext::kDeleteRefused + QStringLiteral("کريمي*0012345679"));
        QCOMPARE(count(QStringLiteral("projects")), 1);
        QCOMPARE(itemsOf(id), 5);
        QCOMPARE(count(QStringLiteral("log")), 1);  // only the insert's
    }

    void deleteRemovesTheProjectWithItsItems()
    {
        const qint64 id = saved(project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("1")));
        const qint64 other = saved(project(kTehran, kRey, QStringLiteral("ديگر"), QStringLiteral("2")));
        addItems(id);
        addItems(other);
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"),
                  {prjtext::kSettingDeletePassword, QStringLiteral("رمز")});
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"),
                  {prjtext::kSettingDeletePassword, QStringLiteral("second")});
        test::DialogRecorder rec;
        rec.inputs.push_back(QStringLiteral("رمز"));
        QVERIFY(deleteProject(stored(id), projects::askDeletePassword, askWarning()).done);
        QCOMPARE(rec.shown.size(), 2);
        QCOMPARE(rec.shown[0].kind, QStringLiteral("password"));
        QCOMPARE(rec.shown[0].title, prjtext::kDeletePasswordTitle);
        QCOMPARE(rec.shown[0].text, prjtext::kDeletePasswordPrompt);
        QCOMPARE(rec.shown[1].text, prjtext::kDeleteWarning);
        QCOMPARE(count(QStringLiteral("projects"), QStringLiteral("id=?"), {id}), 0);
        QCOMPARE(itemsOf(id), 0);
        QCOMPARE(itemsOf(other), 5);
        QCOMPARE(logComments().last(), QStringLiteral(" حذف اطلاعات پروژه ") + kTehran + QStringLiteral(" مهر"));
    }

    // Another user adds a unit while the project is being deleted: the delete
    // waits for the project row, then removes the new unit with the others
    // (before, the unit stayed behind without its project on the servers).
    void deleteWaitsForAnAddToTheProject()
    {
        const qint64 id = saved(project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("1")));
        addItems(id);
        std::optional<QString> refused;
        test::whileAnotherUserHolds(
            [id](Database& db) {
                db.exec(QStringLiteral("update projects set vahed_kol=vahed_kol where id=?"), {id});
                db.exec(QStringLiteral("insert into vahedha (prj_id,shenase) values (?,'9-9-9')"), {id});
            },
            [&] { refused = deleteProjectRows(id, kTehran, QStringLiteral("مهر")); });
        QVERIFY(!refused);
        QCOMPARE(count(QStringLiteral("vahedha")), 0);
        QCOMPARE(itemsOf(id), 0);
        // A project deleted meanwhile by someone else is reported, not deleted twice.
        QCOMPARE(deleteProjectRows(id, kTehran, QStringLiteral("مهر")).value_or(QString()),
                 QStringLiteral("خطا! اين پروژه ديگر وجود ندارد"));
        QCOMPARE(count(QStringLiteral("log")), 2);
    }

    void wrongPasswordOrNoAnswerDeletesNothingSilently()
    {
        const qint64 id = saved(project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("1")));
        addItems(id);
        test::DialogRecorder rec;
        const auto declined = [&] {
            const Outcome r = deleteProject(stored(id), projects::askDeletePassword, askWarning());
            return !r.done && !r.refused();
        };
        // No stored password: even the empty answer does not match.
        rec.inputs.push_back(QStringLiteral(""));
        QVERIFY(declined());
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"),
                  {prjtext::kSettingDeletePassword, QStringLiteral("123")});
        QVERIFY(declined());                 // no answer queued: the box is cancelled
        rec.inputs.push_back(std::nullopt);                  // cancelled
        QVERIFY(declined());
        rec.inputs.push_back(QStringLiteral("1234"));
        QVERIFY(declined());
        QVERIFY(rec.texts().isEmpty());                      // no message, no question
        // The right password, then No or Cancel at the warning.
        rec.inputs.push_back(QStringLiteral("123"));
        rec.answers.push_back(Answer::No);
        QVERIFY(declined());
        rec.inputs.push_back(QStringLiteral("123"));
        rec.answers.push_back(Answer::Cancel);
        QVERIFY(declined());
        QCOMPARE(rec.texts(), (QStringList {prjtext::kDeleteWarning, prjtext::kDeleteWarning}));
        QCOMPARE(count(QStringLiteral("projects")), 1);
        QCOMPARE(itemsOf(id), 5);
    }

    void aFailureMidwayLeavesNothingBehind()
    {
        const qint64 id = saved(project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("1")));
        addItems(id);
        const qint64 customer = addCustomer(id, QStringLiteral("احمدي"), QStringLiteral("0012345679"));
        const QSqlRecord before = stored(id);
        // Without the log table every write fails at its log row, after its first statement.
        dm().exec(QStringLiteral("drop table log"));
        ProjectValues v = project(kTehran, kRey, QStringLiteral("جديد"), QStringLiteral("2"));
        QVERIFY_THROWS_EXCEPTION(DbError, insertProject(v));
        QCOMPARE(count(QStringLiteral("projects")), 1);
        ProjectValues e = valuesOf(before);
        e[QStringLiteral("prj_name")] = QStringLiteral("تغيير");
        QVERIFY_THROWS_EXCEPTION(DbError, updateProject(id, valuesOf(before), e));
        QCOMPARE(stored(id).value(QStringLiteral("prj_name")).toString(), QStringLiteral("مهر"));
        QCOMPARE(dm().scalar(QStringLiteral("select prj_name from customers where id=?"), {customer}).toString(),
                 QStringLiteral("نام قبلي"));
        // A delete that fails at its fifth delete keeps the first four.
        dm().exec(QStringLiteral("delete from customers"));
        dm().exec(QStringLiteral("create table log (id integer, karbar varchar(150), ip varchar(20), computer_name "
                                 "varchar(50), saat varchar(30), tarikh varchar(10), cmt varchar(200))"));
        dm().exec(QStringLiteral("drop table vahed_vam"));
        QVERIFY_THROWS_EXCEPTION(DbError, deleteProjectRows(id, kTehran, QStringLiteral("مهر")));
        QCOMPARE(count(QStringLiteral("projects")), 1);
        QCOMPARE(count(QStringLiteral("log")), 0);
        int items = 0;
        for (const char* t : {"vahedha", "parkingha", "anbariha", "tashilat"})
            items += count(QString::fromLatin1(t), QStringLiteral("prj_id=?"), {id});
        QCOMPARE(items, 4);
        // The same through the list's action: the failure comes back to the window.
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"),
                  {prjtext::kSettingDeletePassword, QStringLiteral("1")});
        test::DialogRecorder rec;
        rec.inputs.push_back(QStringLiteral("1"));
        QVERIFY_THROWS_EXCEPTION(DbError, deleteProject(stored(id), projects::askDeletePassword, askWarning()));
        QCOMPARE(count(QStringLiteral("projects")), 1);
    }

    // A text longer than its column is refused naming its field on every backend
    // (SQLite stored it whole, the servers failed with no field named).
    void tooLongTextIsRefusedNamingItsField()
    {
        ProjectValues v = project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("1"));
        v[QStringLiteral("zamin_adr")] = QString(251, QChar(0x0627));
        Outcome r = insertProject(v);
        QCOMPARE(r.message(), QStringLiteral("خطا! طول آدرس زمين پروژه بيش از حد مجاز است (حداکثر 250 حرف)"));
        QCOMPARE(r.focus, QStringLiteral("zamin_adr"));
        v = project(kTehran, kShemiranat, QStringLiteral("مهر"), QStringLiteral("1"));
        const qint64 id = saved(v);
        ProjectValues e = valuesOf(stored(id));
        e[QStringLiteral("prj_cod")] = QString(51, QChar('7'));
        QCOMPARE(updateProject(id, valuesOf(stored(id)), e).focus, QStringLiteral("prj_cod"));
        QCOMPARE(stored(id).value(QStringLiteral("prj_cod")).toString(), QStringLiteral("1"));
        QCOMPARE(count(QStringLiteral("log")), 1);
    }

    void searchScopeAndTotals()
    {
        const auto add = [](const QString& ostan, const QString& county, const QString& name, const QString& code,
                            int kol, int sold, const QString& typ, const QString& state) {
            ProjectValues v = project(ostan, county, name, code);
            v[QStringLiteral("vahed_kol")] = QString::number(kol);
            v[QStringLiteral("vahed_cnt")] = QString::number(kol);
            v[QStringLiteral("vahed_f")] = QString::number(sold);
            v[QStringLiteral("prj_typ")] = typ;
            v[QStringLiteral("st_tavrin")] = state;
            QVERIFY(saved(v));
        };
        add(kTehran, kShemiranat, QStringLiteral("مهر يك"), QStringLiteral("1"), 10, 4, QStringLiteral("حمايتي"), QStringLiteral("جاري"));
        add(kTehran, kRey, QStringLiteral("مهر دو"), QStringLiteral("2"), 20, 5, QStringLiteral("حمايتي"), QStringLiteral("اتمام يافته"));
        add(kIsfahan, kKashan, QStringLiteral("نور"), QStringLiteral("3"), 30, 6, QStringLiteral("مسکن ملي"), QStringLiteral("جاري"));
        const auto totals = [](const ProjectFilter& f) { return projectTotals(projectQuery(f)); };

        QVariantMap t = totals({});
        QCOMPARE(t.value(QStringLiteral("c")).toInt(), 3);
        QCOMPARE(t.value(QStringLiteral("vk")).toInt(), 60);
        QCOMPARE(t.value(QStringLiteral("vf")).toInt(), 15);
        QCOMPARE(t.value(QStringLiteral("m")).toInt(), 45);
        QCOMPARE(t.value(QStringLiteral("ac")).toInt(), 15);
        QCOMPARE(t.value(QStringLiteral("pc")).toInt(), 21);
        // The province is compared exactly, the other filters match a part, with either yeh and kaf.
        ProjectFilter f;
        f.ostan = QStringLiteral("تهرا");
        QCOMPARE(totals(f).value(QStringLiteral("c")).toInt(), 0);
        QCOMPARE(totals(f).value(QStringLiteral("vk")).toString(), QString());  // an empty result has empty sums
        f.ostan = kTehran;
        QCOMPARE(totals(f).value(QStringLiteral("c")).toInt(), 2);
        f.prjName = QStringLiteral("یک");   // Persian yeh and kaf find the stored Arabic forms
        QCOMPARE(totals(f).value(QStringLiteral("vk")).toInt(), 10);
        f = {};
        f.shahrestan = QStringLiteral("شان");
        f.stTavrin = QStringLiteral("جار");
        QCOMPARE(totals(f).value(QStringLiteral("c")).toInt(), 1);
        f = {};
        f.prjTyp = QStringLiteral("o'brien");  // a quote is a value like any other
        QCOMPARE(totals(f).value(QStringLiteral("c")).toInt(), 0);
        f.prjTyp = QString();                  // ticked but empty: every non-null type
        QCOMPARE(totals(f).value(QStringLiteral("c")).toInt(), 3);

        // A county user sees only his granted counties, in the list and in the totals.
        test::addUser(QStringLiteral("city1"), QStringLiteral("city"), kTehran, {}, {kRey, kKashan});
        test::loginAs(QStringLiteral("city1"));
        t = totals({});
        QCOMPARE(t.value(QStringLiteral("c")).toInt(), 2);
        QCOMPARE(t.value(QStringLiteral("vk")).toInt(), 50);
        ListQuery q = projectQuery({});
        QStringList names = dm().textColumn(QStringLiteral("select prj_name ") + q.from() + q.whereSql() +
                                                QStringLiteral(" order by id"), q.values());
        QCOMPARE(names, (QStringList {QStringLiteral("مهر دو"), QStringLiteral("نور")}));
        f = {};
        f.ostan = kTehran;
        QCOMPARE(totals(f).value(QStringLiteral("c")).toInt(), 1);
        // A province user without granted counties sees nothing; the admin level everything.
        test::addUser(QStringLiteral("ost1"), QStringLiteral("ostan"), kTehran);
        test::loginAs(QStringLiteral("ost1"));
        QCOMPARE(totals({}).value(QStringLiteral("c")).toInt(), 0);
        test::addUser(QStringLiteral("kesh"), QStringLiteral("keshvar"), {}, {}, {kShemiranat});
        test::loginAs(QStringLiteral("kesh"));
        QCOMPARE(totals({}).value(QStringLiteral("c")).toInt(), 1);
        test::loginAs(QStringLiteral("admin"));
        QCOMPARE(totals({}).value(QStringLiteral("c")).toInt(), 3);
    }

    void webPageIsEscapedUtf8()
    {
        ProjectValues v = project(kTehran, kShemiranat, QStringLiteral("<b>مهر</b> & \"شمال\""), QStringLiteral("1"));
        v[QStringLiteral("cmt")] = QStringLiteral("a<script>");
        const qint64 id = saved(v);
        QVERIFY(saved(project(kTehran, kRey, QStringLiteral("دوم"), QStringLiteral("2"))));
        const ListQuery q = projectQuery({});
        const QStringList fields {QStringLiteral("id"), QStringLiteral("prj_name"), QStringLiteral("mande"),
                                  QStringLiteral("cmt"), QStringLiteral("prot_typ")};
        const RecordSource rows = [&](const RecordVisitor& visit) {
            QSqlQuery r = dm().exec(q.listSql() + QStringLiteral(" order by id"), q.values());
            while (r.next())
                visit(r.record());
        };
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("projects.htm"));
        QVERIFY(writeWebPage(path, fields, rows));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(f.readAll());
        const QStringList lines = page.split('\n');
        QCOMPARE(lines[0], QStringLiteral("<html>"));
        QCOMPARE(lines[1], QStringLiteral("<head><meta charset=\"utf-8\"><title>ليست پروژه ها</title></head>"));
        QCOMPARE(lines[3], QStringLiteral("<table dir=\"rtl\" border=\"1\" align=\"center\" width=\"95%\">"));
        QCOMPARE(lines[6], QStringLiteral("<th>رديف</th>"));
        QCOMPARE(lines.mid(7, 5), (QStringList {QStringLiteral("<th>شناسه</th>"), QStringLiteral("<th>نام پروژه</th>"),
                                                QStringLiteral("<th>ت واحد مانده</th>"), QStringLiteral("<th>توضيحات</th>"),
                                                QStringLiteral("<th>prot_typ</th>")}));
        QCOMPARE(lines.mid(12, 3), (QStringList {QStringLiteral("</tr>"), QStringLiteral("</thead>"), QStringLiteral("<tbody>")}));
        QCOMPARE(lines.mid(15, 8),
                 (QStringList {QStringLiteral("<tr>"), QStringLiteral("<td>1</td>"),
                               QStringLiteral("<td dir=\"ltr\">%1</td>").arg(id),
                               QStringLiteral("<td>&lt;b&gt;مهر&lt;/b&gt; &amp; &quot;شمال&quot;</td>"),
                               QStringLiteral("<td>20</td>"), QStringLiteral("<td>a&lt;script&gt;</td>"),
                               QStringLiteral("<td></td>"), QStringLiteral("</tr>")}));
        QCOMPARE(lines[24], QStringLiteral("<td>2</td>"));
        QVERIFY(!page.contains(QStringLiteral("<script>")));
        QVERIFY(page.endsWith(QStringLiteral("</tbody>\n</table>\n</body>\n</html>\n")));
    }
};

TAVRIN_DB_TEST_MAIN(TestProjectRecord)
#include "tst_project_record.moc"
