// The users window: role templates, saving rights and counties, the county
// scope they give, the entry window's checks, and the refusals that keep a
// holder of the users page from raising himself or others.
#include "support/testsupport.h"

#include "admin/useradmin.h"
#include "admin/users_ins_u.h"
#include "admin/users_u.h"
#include "app/main_u.h"
#include "common/activitylog.h"
#include "common/clicklabel.h"
#include "common/listmodel.h"
#include "common/logtexts.h"
#include "common/nationcode.h"
#include "common/session.h"
#include "common/spreadsheetreader.h"
#include "db/password.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

using namespace tavrin;

namespace {
// Generated from the role table: level, role, then one group per page of kTemplatePages.
const char* const kTemplatePages[] = {"customers", "customers_pic", "takafol", "pardakht", "prj", "vahed", "tashilat", "transfer", "seting", "setting_ost", "phone", "abadiha", "log", "pishsabt", "zamaem", "karbaran", "taghirat"};
struct TemplateCase { const char* level; const char* role; const char* codes; };
const TemplateCase kTemplateCases[] = {
    {"admin", "", "1111 1111 1111 1111 1111 1111 1111 1111 1111 1111 1111 1111 1111 1111 1111 1111 1111"},
    {"keshvar", "کاربر ارشد", "1111 0000 1111 1111 1111 1111 1111 0000 1111 0001 1111 1111 0001 0000 1111 0001 0000"},
    {"keshvar", "کارشناس مسکن شهري", "0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000"},
    {"keshvar", "کارشناس مالي", "0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000"},
    {"keshvar", "گزارش گيري", "0001 0000 0001 0001 0001 0001 0001 0000 0001 0001 0001 0001 0001 0000 0001 0000 0000"},
    {"ostan", "کاربر ارشد", "1111 0000 1111 1111 1111 1111 1111 0000 0000 1111 1101 0001 0000 0000 0001 0000 0000"},
    {"ostan", "کارشناس مسکن شهري", "1001 0000 1001 0001 1001 1001 1001 0000 0000 0000 0001 0001 0000 0000 0001 0000 0000"},
    {"ostan", "کارشناس مالي", "0001 0000 0001 1111 0000 0000 0000 0000 0000 0000 0001 0001 0000 0000 0001 0000 0000"},
    {"ostan", "گزارش گيري", "0001 0000 0001 0001 0001 0001 0001 0000 0000 0001 0000 0001 0000 0000 0001 0000 0000"},
    {"city", "کاربر ارشد", "1111 0000 1111 1111 1111 1111 1111 0000 0000 0000 1101 0001 0000 0000 0001 0000 0000"},
    {"city", "کارشناس مسکن شهري", "1001 0000 1001 0001 0001 1001 0001 0000 0000 0000 0001 0001 0000 0000 0001 0000 0000"},
    {"city", "کارشناس مالي", "0001 0000 0001 1111 0001 0001 0001 0000 0000 0000 0001 0001 0000 0000 0001 0000 0000"},
    {"city", "گزارش گيري", "0001 0000 0001 0001 0001 0001 0001 0000 0000 0001 0001 0001 0000 0000 0001 0000 0000"},
};

const QString kRolesKey = QStringLiteral("گروه کاربري");
const QString kSenior = QStringLiteral("کاربر ارشد");
const QString kReports = QStringLiteral("گزارش گيري");
const QString kFinance = QStringLiteral("کارشناس مالي");
const QString kActive = QStringLiteral("فعال");
const QString kOtherRole = QStringLiteral("نقش ديگر");
const char* const kSuffixes[] = {"_ins", "_edit", "_del", "_show"};

// The eighteen pages: the seventeen of the role table and the news page.
QStringList allPages()
{
    QStringList p;
    for (const char* page : kTemplatePages)
        p << QString::fromLatin1(page);
    p << QStringLiteral("tazeha");
    return p;
}

QString prefixOf(const QString& page)
{
    if (page == QLatin1String("seting"))
        return QStringLiteral("set");
    if (page == QLatin1String("customers_pic"))
        return QStringLiteral("cust_pic");
    return page;
}

// The editor's boxes read by their names, as page -> "1101".
QMap<QString, QString> boxCodes(const Tusers& w)
{
    QMap<QString, QString> out;
    for (const QString& page : allPages()) {
        QString code;
        for (const char* s : kSuffixes) {
            auto* b = w.findChild<QCheckBox*>(prefixOf(page) + QLatin1String(s));
            code += !b ? QLatin1Char('?') : b->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
        }
        out.insert(page, code);
    }
    return out;
}

void tick(Tusers& w, const QString& page, const char* suffix, bool on = true)
{
    w.findChild<QCheckBox*>(prefixOf(page) + QLatin1String(suffix))->setChecked(on);
}

// Stored rights as page -> "1101", every page of the user.
QMap<QString, QString> storedCodes(qint64 id)
{
    QMap<QString, QString> out;
    QSqlQuery q = dm().exec(QStringLiteral("select page_name,darj,virayesh,hazf,namayesh from dastrasi where prs_id=?"), {id});
    while (q.next()) {
        QString code;
        for (int i = 1; i <= 4; ++i)
            code += q.value(i).toBool() ? QLatin1Char('1') : QLatin1Char('0');
        out.insert(q.value(0).toString(), code);
    }
    return out;
}

qint64 idOf(const QString& us)
{
    return dm().scalar(QStringLiteral("select id from users where us=?"), {us}).toLongLong();
}

int count(const QString& sql, const QVariantList& values = {})
{
    return dm().scalar(sql, values).toInt();
}

void chooseTemplate(Tusers& w, const QString& level, const QString& role)
{
    w.lev->setCurrentIndex(w.lev->findData(level));
    w.semat->setEditText(role);
}
} // namespace

class TestUsers : public QObject {
    Q_OBJECT
    test::DialogRecorder* rec = nullptr;

    Tusers& users()
    {
        Tusers& w = tavrin::window<Tusers>();
        w.prepareToShow();
        return w;
    }

    // Searches every user and selects the one named us, as a click on his row does.
    bool select(Tusers& w, const QString& us)
    {
        w.src_btnClick();
        ListModel* m = w.DBGrid1->listModel();
        for (int r = 0; r < m->rowCount(); ++r) {
            if (m->value(r, QStringLiteral("us")).toString() == us) {
                w.DBGrid1->setCurrentIndex(m->index(r, 0));
                w.DBGrid1CellClick(r);
                return true;
            }
        }
        return false;
    }

    Tusers_ins& newUser(Tusers& w, const QString& us, const QString& lev, const QString& ps = QStringLiteral("pw1"))
    {
        w.N5Click();
        Tusers_ins& e = tavrin::window<Tusers_ins>();
        e.us->setText(us);
        e.ps->setText(ps);
        e.lev->setCurrentIndex(e.lev->findData(lev));
        e.ostan->setEditText(QStringLiteral("تهران"));
        e.nam->setText(us + QStringLiteral(" نام"));
        e.mobile->setText(QStringLiteral("09120000000"));
        return e;
    }

private Q_SLOTS:
    void init()
    {
        destroyWindows();
        destroyMainWindow();
        test::useFreshDatabase();
        setLocalIdentity({QStringLiteral("10.0.0.5"), QStringLiteral("pc5")});
        test::loginAs(QStringLiteral("admin"));
        for (const QString& role : {kSenior, kReports, kFinance})
            dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"), {kRolesKey, role});
        rec = new test::DialogRecorder;
    }

    void cleanup()
    {
        destroyWindows();
        delete rec;
        rec = nullptr;
    }

    void editorHasTheSeventyTwoBoxesInPageOrder()
    {
        Tusers& w = users();
        QCOMPARE(w.findChildren<QCheckBox*>().size() - 4, 72);  // four search criteria
        const QStringList order = {QStringLiteral("pishsabt"), QStringLiteral("customers"), QStringLiteral("customers_pic"),
                                   QStringLiteral("takafol"), QStringLiteral("pardakht"), QStringLiteral("prj"),
                                   QStringLiteral("vahed"), QStringLiteral("tashilat"), QStringLiteral("transfer"),
                                   QStringLiteral("seting"), QStringLiteral("phone"), QStringLiteral("zamaem"),
                                   QStringLiteral("abadiha"), QStringLiteral("setting_ost"), QStringLiteral("log"),
                                   QStringLiteral("taghirat"), QStringLiteral("tazeha"), QStringLiteral("karbaran")};
        int lastY = -1;
        w.resize(1240, 1400);
        w.grab();  // lays the window out
        for (const QString& page : order) {
            auto* b = w.findChild<QCheckBox*>(prefixOf(page) + QStringLiteral("_show"));
            QVERIFY2(b, qPrintable(page));
            const int y = b->mapTo(&w, QPoint(0, 0)).y();
            QVERIFY2(y > lastY, qPrintable(page));
            lastY = y;
        }
    }

    void roleTemplates_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("codes");
        for (const TemplateCase& c : kTemplateCases) {
            const QString level = QString::fromUtf8(c.level);
            QStringList roles{QString::fromUtf8(c.role)};
            if (level == QLatin1String("admin"))
                roles = {kSenior, kReports, kOtherRole};  // any role
            for (const QString& role : roles)
                QTest::newRow(qPrintable(level + QLatin1Char('/') + role)) << level << role << QString::fromUtf8(c.codes);
        }
        const QString none = QStringLiteral("0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000");
        QTest::newRow("keshvar/other role") << QStringLiteral("keshvar") << kOtherRole << none;
        QTest::newRow("city/other role") << QStringLiteral("city") << kOtherRole << none;
        QTest::newRow("no level") << QString() << kSenior << none;
    }

    void roleTemplates()
    {
        QFETCH(QString, level);
        QFETCH(QString, role);
        QFETCH(QString, codes);
        Tusers& w = users();
        // Leftovers of a previous choice must go.
        chooseTemplate(w, QStringLiteral("admin"), kSenior);
        chooseTemplate(w, level, role);
        const QMap<QString, QString> got = boxCodes(w);
        const QStringList groups = codes.split(QLatin1Char(' '));
        for (int i = 0; i < groups.size(); ++i)
            QCOMPARE(got.value(QString::fromLatin1(kTemplatePages[i])), groups[i]);
        QCOMPARE(got.value(QStringLiteral("tazeha")), QStringLiteral("0001"));
    }

    void levelChangeClearsAndNothingIsStoredWithoutSaving()
    {
        const qint64 id = test::addUser(QStringLiteral("0012345679"), QStringLiteral("city"), {},
                                        {{QStringLiteral("customers"), QStringLiteral("0001")}});
        const auto before = storedCodes(id);
        Tusers& w = users();
        QVERIFY(select(w, QStringLiteral("0012345679")));
        chooseTemplate(w, QStringLiteral("admin"), kSenior);
        QCOMPARE(boxCodes(w).value(QStringLiteral("karbaran")), QStringLiteral("1111"));
        w.lev->setCurrentIndex(w.lev->findData(QStringLiteral("city")));
        QVERIFY(w.semat->currentText().isEmpty());
        for (const QString& code : boxCodes(w))
            QCOMPARE(code, QStringLiteral("0000"));  // the news view too
        chooseTemplate(w, QStringLiteral("city"), kSenior);
        w.reject();
        destroyWindows();
        QCOMPARE(storedCodes(id), before);
    }

    void savingRightsWritesEveryPageAndKeepsOthers()
    {
        const qint64 id = test::addUser(QStringLiteral("0012345679"), QStringLiteral("city"), {},
                                        {{QStringLiteral("customers"), QStringLiteral("1111")},
                                         {QStringLiteral("report_x"), QStringLiteral("1010")}});
        Tusers& w = users();
        QVERIFY(select(w, QStringLiteral("0012345679")));
        // Rows of pages the editor does not know are not shown ...
        QCOMPARE(boxCodes(w).value(QStringLiteral("customers")), QStringLiteral("1111"));
        chooseTemplate(w, QStringLiteral("city"), kFinance);
        tick(w, QStringLiteral("karbaran"), "_show");
        w.ins_btn2Click();
        QCOMPARE(rec->lastText(), useradmin::kSaved);
        const auto stored = storedCodes(id);
        QCOMPARE(stored.size(), 19);  // eighteen pages and the unknown one
        QCOMPARE(stored.value(QStringLiteral("report_x")), QStringLiteral("1010"));  // ... and survive
        QCOMPARE(stored.value(QStringLiteral("pardakht")), QStringLiteral("1111"));
        QCOMPARE(stored.value(QStringLiteral("customers")), QStringLiteral("0001"));
        QCOMPARE(stored.value(QStringLiteral("prj")), QStringLiteral("0001"));
        QCOMPARE(stored.value(QStringLiteral("tazeha")), QStringLiteral("0001"));
        QCOMPARE(stored.value(QStringLiteral("karbaran")), QStringLiteral("0001"));
        QCOMPARE(stored.value(QStringLiteral("seting")), QStringLiteral("0000"));
        // The stored rights are what the main window reads.
        QVERIFY(readRights(id, QStringLiteral("pardakht"))->hazf);
        // Saving again rewrites instead of adding rows.
        w.ins_btn2Click();
        QCOMPARE(count(QStringLiteral("select count(*) from dastrasi where prs_id=?"), {id}), 19);
        // Another user's click loads his rights; coming back loads these.
        QVERIFY(select(w, QStringLiteral("admin")));
        QCOMPARE(boxCodes(w).value(QStringLiteral("pardakht")), QStringLiteral("0000"));
        QCOMPARE(boxCodes(w).value(QStringLiteral("karbaran")), QStringLiteral("1111"));
        QVERIFY(select(w, QStringLiteral("0012345679")));
        QCOMPARE(boxCodes(w).value(QStringLiteral("pardakht")), QStringLiteral("1111"));
        QCOMPARE(boxCodes(w).value(QStringLiteral("customers")), QStringLiteral("0001"));
    }

    void savingRightsOfTheAdministratorKeepsHisUsersPage()
    {
        const qint64 admin = idOf(QStringLiteral("admin"));
        dm().exec(QStringLiteral("insert into dastrasi (prs_id,page_name,darj,virayesh,hazf,namayesh) values (?,?,?,?,?,?)"),
                  {admin, QStringLiteral("report_x"), true, true, true, true});
        Tusers& w = users();
        QVERIFY(select(w, QStringLiteral("admin")));
        QCOMPARE(boxCodes(w).value(QStringLiteral("karbaran")), QStringLiteral("1111"));
        for (QCheckBox* b : w.findChildren<QCheckBox*>())
            if (b->objectName().contains(QLatin1Char('_')))
                b->setChecked(false);
        w.ins_btn2Click();
        QCOMPARE(rec->lastText(), useradmin::kSaved);
        const auto stored = storedCodes(admin);
        QCOMPARE(stored.value(QStringLiteral("karbaran")), QStringLiteral("1111"));
        QCOMPARE(stored.value(QStringLiteral("report_x")), QStringLiteral("1111"));
        QCOMPARE(stored.size(), 19);
        for (const QString& page : allPages())
            if (page != QLatin1String("karbaran"))
                QCOMPARE(stored.value(page), QStringLiteral("0000"));
    }

    void countyListAndItsScope()
    {
        for (const char* c : {"Karaj", "Nazarabad", "Savojbolagh"})
            dm().exec(QStringLiteral("insert into abadiha (ostan,shahrestan,shahr) values (?,?,?)"),
                      {QStringLiteral("Alborz"), QString::fromLatin1(c), QStringLiteral("x")});
        dm().exec(QStringLiteral("insert into abadiha (ostan,shahrestan,shahr) values (?,?,?)"),
                  {QStringLiteral("Alborz"), QStringLiteral("Karaj"), QStringLiteral("y")});
        const qint64 id = test::addUser(QStringLiteral("c1"), QStringLiteral("city"));
        test::addUser(QStringLiteral("c2"), QStringLiteral("city"), {}, {}, {QStringLiteral("Old")});
        Tusers& w = users();
        QVERIFY(select(w, QStringLiteral("c1")));
        QCOMPARE(w.list_loc->count(), 0);
        w.ostan->setEditText(QStringLiteral("Alborz"));
        QCOMPARE(w.shahrestan->count(), 3);  // distinct counties
        w.SpeedButton2Click();
        QCOMPARE(w.countyList(), (QStringList{QStringLiteral("Karaj"), QStringLiteral("Nazarabad"), QStringLiteral("Savojbolagh")}));
        w.list_loc->setCurrentRow(1);
        w.N3Click();
        QCOMPARE(w.countyList(), (QStringList{QStringLiteral("Karaj"), QStringLiteral("Savojbolagh")}));
        w.N1Click();
        QCOMPARE(w.list_loc->count(), 0);
        w.shahrestan->setCurrentIndex(w.shahrestan->findText(QStringLiteral("Karaj")));
        w.SpeedButton3Click();
        w.add_locClick();  // the same county twice is kept twice
        w.ins_btnClick();
        QCOMPARE(rec->lastText(), useradmin::kCountiesSaved);
        QCOMPARE(dm().textColumn(QStringLiteral("select cmt from dastrasi2 where user_id=?"), {id}),
                 (QStringList{QStringLiteral("Karaj"), QStringLiteral("Karaj")}));
        // Saving replaces the list: one county now.
        w.list_loc->setCurrentRow(0);
        w.N3Click();
        w.ins_btnClick();
        QCOMPARE(dm().textColumn(QStringLiteral("select cmt from dastrasi2 where user_id=?"), {id}), QStringList{QStringLiteral("Karaj")});
        QCOMPARE(count(QStringLiteral("select count(*) from dastrasi2 where user_id=?"), {idOf(QStringLiteral("c2"))}), 1);
        // Selecting him again shows the stored list.
        QVERIFY(select(w, QStringLiteral("c2")));
        QCOMPARE(w.countyList(), QStringList{QStringLiteral("Old")});
        QVERIFY(select(w, QStringLiteral("c1")));
        QCOMPARE(w.countyList(), QStringList{QStringLiteral("Karaj")});

        // The scope this gives in a list of projects.
        for (const char* county : {"Karaj", "Nazarabad", "Savojbolagh", "Karaj"})
            dm().exec(QStringLiteral("insert into projects (ostan,shahrestan,prj_name) values (?,?,?)"),
                      {QStringLiteral("Alborz"), QString::fromLatin1(county), QStringLiteral("p")});
        const auto scoped = [](CountyScope rule) {
            ListModel m;
            m.setQuery(ListQuery(QStringLiteral("select *"), QStringLiteral("from projects")).countyScope(QStringLiteral("shahrestan"), rule));
            QStringList out;
            for (int r = 0; r < m.rowCount(); ++r)
                out << m.value(r, QStringLiteral("shahrestan")).toString();
            return out;
        };
        test::loginAs(QStringLiteral("c1"));
        QCOMPARE(scoped(CountyScope::AllButAdmin), (QStringList{QStringLiteral("Karaj"), QStringLiteral("Karaj")}));
        QCOMPARE(scoped(CountyScope::ProvincialAndCounty), (QStringList{QStringLiteral("Karaj"), QStringLiteral("Karaj")}));
        // No county granted: nothing.
        test::loginAs(QStringLiteral("admin"));
        QVERIFY(select(w, QStringLiteral("c1")));
        w.N1Click();
        w.ins_btnClick();
        test::loginAs(QStringLiteral("c1"));
        QCOMPARE(scoped(CountyScope::AllButAdmin), QStringList());
        QCOMPARE(scoped(CountyScope::ProvincialAndCounty), QStringList());
    }

    void newUserIsCheckedStoredWithAHashAndLogged()
    {
        Tusers& w = users();
        Tusers_ins& e = newUser(w, QString(), QStringLiteral("admin"), QString());
        QVERIFY(e.ins_btn->isVisibleTo(&e) && !e.edit_btn->isVisibleTo(&e));
        QCOMPARE(e.status->currentText(), kActive);
        QVERIFY(!e.ins_btnClick());
        e.us->setText(QStringLiteral("0012345679"));
        QVERIFY(!e.ins_btnClick());
        e.mobile->setText(QStringLiteral("09123456789"));
        e.Label2Click();  // "رمز": the mobile becomes the password
        QCOMPARE(e.ps->text(), QStringLiteral("09123456789"));
        e.lev->setCurrentIndex(-1);
        QVERIFY(!e.ins_btnClick());
        QCOMPARE(rec->texts(), (QStringList{useradmin::kNeedUserName, useradmin::kNeedPassword, useradmin::kNeedLevel}));
        e.lev->setCurrentIndex(e.lev->findData(QStringLiteral("admin")));  // the administrator may give it
        e.ps->setText(QStringLiteral("s3cret"));
        Q_EMIT e.Label4->clicked();  // "موبايل": the typed password becomes the mobile
        QCOMPARE(e.mobile->text(), QStringLiteral("s3cret"));
        QVERIFY(e.ins_btnClick());
        QCOMPARE(rec->lastText(), useradmin::kSaved);
        const auto row = dm().firstRow(QStringLiteral("select * from users where us=?"), {QStringLiteral("0012345679")});
        QVERIFY(row);
        const QString ps = row->value(QStringLiteral("ps")).toString();
        QVERIFY(password::isHash(ps));
        QVERIFY(password::verify(QStringLiteral("s3cret"), ps));
        QVERIFY(!row->value(QStringLiteral("ver")).isNull() && row->value(QStringLiteral("ver")).toString().isEmpty());
        QCOMPARE(row->value(QStringLiteral("lev")).toString(), QStringLiteral("admin"));
        QCOMPARE(text(dm().scalar(QStringLiteral("select cmt from log order by id desc"))),
                 QString(QString::fromUtf8(logtext::kNewUser) + QStringLiteral("0012345679 تهران")));
        // No rights come with a new user; the list shows him.
        QCOMPARE(count(QStringLiteral("select count(*) from dastrasi where prs_id=?"), {row->value(QStringLiteral("id"))}), 0);
        QCOMPARE(w.DBGrid1->listModel()->totalCount(), 2);
    }

    void duplicateUserNamesAreRefusedExactly()
    {
        test::addUser(QStringLiteral("Ali1"), QStringLiteral("city"));
        test::addUser(QStringLiteral("0012345679"), QStringLiteral("city"));
        Tusers& w = users();
        QVERIFY(!newUser(w, QStringLiteral("Ali1"), QStringLiteral("city")).ins_btnClick());
        QCOMPARE(rec->lastText(), useradmin::kDuplicate);
        QCOMPARE(count(QStringLiteral("select count(*) from users where us=?"), {QStringLiteral("Ali1")}), 1);
        // Another letter case is another name.
        QVERIFY(newUser(w, QStringLiteral("ali1"), QStringLiteral("city")).ins_btnClick());
        // Renaming onto an existing name is refused; keeping one's own name is not.
        QVERIFY(select(w, QStringLiteral("0012345679")));
        w.N6Click();
        Tusers_ins& e = tavrin::window<Tusers_ins>();
        QVERIFY(e.edit_btn->isVisibleTo(&e) && !e.ins_btn->isVisibleTo(&e));
        e.us->setText(QStringLiteral("Ali1"));
        QVERIFY(!e.edit_btnClick());
        QCOMPARE(rec->lastText(), useradmin::kDuplicate);
        e.us->setText(QStringLiteral("0012345679"));
        e.nam->setText(QStringLiteral("new name"));
        QVERIFY(e.edit_btnClick());
        QCOMPARE(text(dm().scalar(QStringLiteral("select nam from users where us=?"), {QStringLiteral("0012345679")})),
                 QStringLiteral("new name"));
        // Another administrator saves the same new name at the same moment: the
        // check waits for his commit and refuses, on every backend.
        QString result;
        test::whileAnotherUserHolds(
            [](Database& db) {
                db.lockTable(QStringLiteral("users"));
                db.exec(QStringLiteral("insert into users (us,lev) values ('race','city')"));
            },
            [&] {
                result = useradmin::insertUser({QStringLiteral("race"), QStringLiteral("1"), {}, {}, {},
                                                QStringLiteral("city"), {}, QStringLiteral("فعال")});
            });
        QCOMPARE(result, useradmin::kDuplicate);
        QCOMPARE(count(QStringLiteral("select count(*) from users where us=?"), {QStringLiteral("race")}), 1);
        // A text longer than its column is refused naming its field, on every backend.
        useradmin::UserFields f {QStringLiteral("long"), QStringLiteral("1"), QString(101, QChar(0x0627)), {}, {},
                                 QStringLiteral("city"), {}, QStringLiteral("فعال")};
        QCOMPARE(useradmin::insertUser(f), QStringLiteral("خطا! طول نام و نام خانوادگي بيش از حد مجاز است (حداکثر 100 حرف)"));
        QCOMPARE(count(QStringLiteral("select count(*) from users where us='long'")), 0);
    }

    void theListFollowsAnEditAndAnAddition()
    {
        const qint64 id = test::addUser(QStringLiteral("0012345679"), QStringLiteral("city"), QStringLiteral("قم"));
        test::addUser(QStringLiteral("0012345680"), QStringLiteral("city"), QStringLiteral("قم"));
        Tusers& w = users();
        QVERIFY(select(w, QStringLiteral("0012345679")));
        QCOMPARE(w.cnt->text(), QStringLiteral("3"));
        // After an edit the current row is still the edited user, whose rights the panel shows.
        w.N6Click();
        Tusers_ins& e = tavrin::window<Tusers_ins>();
        e.nam->setText(QStringLiteral("نام تازه"));
        QVERIFY(e.edit_btnClick());
        QCOMPARE(w.DBGrid1->currentRecord().value(QStringLiteral("id")).toLongLong(), id);
        QCOMPARE(w.selectedId(), id);
        QCOMPARE(w.sel_user->text(), QStringLiteral("نام تازه (0012345679)"));
        // A new user is counted at once.
        QVERIFY(newUser(w, QStringLiteral("0012345681"), QStringLiteral("city")).ins_btnClick());
        QCOMPARE(w.cnt->text(), QStringLiteral("4"));
    }

    void editingKeepsOrReplacesThePassword()
    {
        const qint64 id = test::addUser(QStringLiteral("0012345679"), QStringLiteral("city"), QStringLiteral("قم"), {}, {},
                                        QStringLiteral("old"));
        const QString oldHash = text(dm().scalar(QStringLiteral("select ps from users where id=?"), {id}));
        Tusers& w = users();
        QVERIFY(select(w, QStringLiteral("0012345679")));
        w.N6Click();
        Tusers_ins& e = tavrin::window<Tusers_ins>();
        QCOMPARE(e.ps->text(), QString());  // the hash is never put into the field
        QCOMPARE(e.us->text(), QStringLiteral("0012345679"));
        // The level is shown in Persian and kept as stored.
        QCOMPARE(e.lev->currentText(), QStringLiteral("شهرستاني"));
        QCOMPARE(e.lev->currentData().toString(), QStringLiteral("city"));
        QCOMPARE(e.ostan->currentText(), QStringLiteral("قم"));
        e.mobile->setText(QStringLiteral("09121111111"));
        QVERIFY(e.edit_btnClick());
        QCOMPARE(text(dm().scalar(QStringLiteral("select ps from users where id=?"), {id})), oldHash);
        QCOMPARE(text(dm().scalar(QStringLiteral("select mobile from users where id=?"), {id})), QStringLiteral("09121111111"));
        QCOMPARE(text(dm().scalar(QStringLiteral("select cmt from log order by id desc"))),
                 QString(QString::fromUtf8(logtext::kEditUser) + QStringLiteral("0012345679 قم")));
        w.N6Click();
        e.ps->setText(QStringLiteral("new"));
        QVERIFY(e.edit_btnClick());
        const QString stored = text(dm().scalar(QStringLiteral("select ps from users where id=?"), {id}));
        QVERIFY(password::isHash(stored));
        QVERIFY(password::verify(QStringLiteral("new"), stored));
        QVERIFY(!password::verify(QStringLiteral("old"), stored));
    }

    void passwordsAreShownNowhere()
    {
        test::addUser(QStringLiteral("0012345679"), QStringLiteral("city"), QStringLiteral("قم"), {}, {}, QStringLiteral("pw"));
        const QString hash = text(dm().scalar(QStringLiteral("select ps from users where us=?"), {QStringLiteral("0012345679")}));
        Tusers& w = users();
        QVERIFY(select(w, QStringLiteral("0012345679")));
        QCOMPARE(rec->shown.last().kind, QStringLiteral("balloon"));
        QCOMPARE(rec->shown.last().text, QStringLiteral("0012345679 name - شهرستاني"));  // the level in Persian
        ListModel* m = w.DBGrid1->listModel();
        QVERIFY(!m->fieldNames().contains(QStringLiteral("ps")));
        for (int r = 0; r < m->rowCount(); ++r)
            for (int c = 0; c < m->columnCount(); ++c)
                QVERIFY(!m->data(m->index(r, c), Qt::DisplayRole).toString().contains(hash));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("users.xlsx"));
        rec->files.push_back(path);
        w.N8Click();
        const auto sheet = readSpreadsheet(path);
        QVERIFY(sheet);
        QCOMPARE(sheet->rows.size(), 3);  // header, admin, the user
        const QStringList header = sheet->rows[0];
        QVERIFY(header.contains(QStringLiteral("نام کاربري-کد ملي")));
        QVERIFY(header.contains(QStringLiteral("شناسه")));
        QVERIFY(header.contains(QStringLiteral("status")));  // unmapped fields keep their names
        QVERIFY(!header.contains(QStringLiteral("پسورد")) && !header.contains(QStringLiteral("ps")));
        for (const QStringList& row : sheet->rows)
            for (const QString& cell : row)
                QVERIFY(!cell.contains(QStringLiteral("$argon2")));
    }

    void leavingUserNameAndMobileChecksThem()
    {
        Tusers& w = users();
        Tusers_ins& e = newUser(w, QStringLiteral("001234567"), QStringLiteral("city"));
        e.usExit();
        e.us->setText(QStringLiteral("0012345678"));
        e.usExit();
        e.us->setText(QStringLiteral("0012345679"));
        e.usExit();
        e.mobile->setText(QStringLiteral("0912"));
        e.mobileExit();
        e.mobile->setText(QStringLiteral("09120000000"));
        e.mobileExit();
        QCOMPARE(rec->texts(), (QStringList{kNationCodeLength, kNationCodeWrong, Tusers_ins::kMobileLength}));
        // A nine-digit name is only warned about: it can be saved.
        e.us->setText(QStringLiteral("001234567"));
        QVERIFY(e.ins_btnClick());
    }

    void searchFiltersAndInactiveRowsInRed()
    {
        test::addUser(QStringLiteral("0012345679"), QStringLiteral("city"), QStringLiteral("قم"));
        test::addUser(QStringLiteral("0099999999"), QStringLiteral("ostan"), QStringLiteral("تهران"));
        dm().exec(QStringLiteral("update users set status=? where us=?"), {QStringLiteral("غيرفعال"), QStringLiteral("0099999999")});
        Tusers& w = users();
        ListModel* m = w.DBGrid1->listModel();
        w.src_btnClick();
        QCOMPARE(w.cnt->text(), QStringLiteral("3"));
        QCOMPARE(m->data(m->index(2, 0), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(m->data(m->index(1, 0), Qt::ForegroundRole).value<QColor>() != QColor(Qt::red));
        // Levels are listed in Persian; the search and the list read the stored ones.
        QCOMPARE(m->data(m->index(0, 3), Qt::DisplayRole).toString(), levelCaption(m->value(0, QStringLiteral("lev")).toString()));
        QVERIFY(QStringList({QStringLiteral("مدير سامانه"), QStringLiteral("استاني"), QStringLiteral("شهرستاني")})
                    .contains(m->data(m->index(0, 3), Qt::DisplayRole).toString()));
        w.CheckBox4->setChecked(true);
        QCOMPARE(w.lev2->itemText(w.lev2->findData(QStringLiteral("ostan"))), QStringLiteral("استاني"));
        w.lev2->setCurrentIndex(w.lev2->findData(QStringLiteral("ostan")));
        w.src_btnClick();
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
        QCOMPARE(m->value(0, QStringLiteral("lev")).toString(), QStringLiteral("ostan"));
        w.CheckBox4->setChecked(false);
        w.CheckBox1->setChecked(true);
        w.us->setText(QStringLiteral("2345"));
        w.CheckBox3->setChecked(true);
        w.nam->setText(QStringLiteral("name"));
        w.src_btnClick();
        QCOMPARE(m->value(0, QStringLiteral("us")).toString(), QStringLiteral("0012345679"));
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
        w.CheckBox2->setChecked(true);
        w.ostan2->setEditText(QStringLiteral("تهران"));
        w.src_btnClick();
        QCOMPARE(w.cnt->text(), QStringLiteral("0"));
        // Opening again empties the filters and the counter.
        w.prepareToShow();
        QVERIFY(w.us->text().isEmpty() && w.nam->text().isEmpty() && w.cnt->text().isEmpty());
        QVERIFY(w.ostan2->currentText().isEmpty() && w.lev2->currentText().isEmpty());
        // The logged-in user is named beside the menu.
        QCOMPARE(w.karbar->text(), session().karbar);
        QVERIFY(!w.karbar->text().isEmpty());
        QVERIFY(w.findChild<QMenuBar*>()->cornerWidget()->isAncestorOf(w.karbar));
        QCOMPARE(w.karbar->parentWidget()->findChildren<QLabel*>().first()->text(), QStringLiteral("كاربر جاري"));
    }

    void deletingAUserTakesHisRightsAlong()
    {
        const qint64 id = test::addUser(QStringLiteral("0012345679"), QStringLiteral("city"), {},
                                        {{QStringLiteral("customers"), QStringLiteral("1111")}}, {QStringLiteral("Karaj")});
        dm().exec(QStringLiteral("insert into tazeha_readed (prs_id,dat) values (?,?)"), {id, QStringLiteral("1402/01/01")});
        Tusers& w = users();
        QVERIFY(select(w, QStringLiteral("0012345679")));
        rec->answers.push_back(Answer::No);
        w.N7Click();
        QVERIFY(rec->lastText().startsWith(Tusers::kDeleteQuestion));
        QVERIFY(rec->lastText().contains(QStringLiteral("0012345679")));
        QCOMPARE(count(QStringLiteral("select count(*) from users where id=?"), {id}), 1);
        w.N7Click();  // Yes
        QCOMPARE(rec->lastText(), useradmin::kDeleted);
        QCOMPARE(count(QStringLiteral("select count(*) from users where id=?"), {id}), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from dastrasi where prs_id=?"), {id}), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from dastrasi2 where user_id=?"), {id}), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from tazeha_readed where prs_id=?"), {id}), 0);
        // The editors no longer hold the deleted user.
        QCOMPARE(w.selectedId(), 0);
        QCOMPARE(w.list_loc->count(), 0);
        // A new user, even one given the old id, starts without rights or counties.
        dm().exec(QStringLiteral("insert into users (id,us,ps,lev,status) values (?,?,?,?,?)"),
                  {id, QStringLiteral("0099999999"), password::hash(QStringLiteral("x")), QStringLiteral("city"), kActive});
        QVERIFY(!readRights(id, QStringLiteral("customers")));
        QCOMPARE(count(QStringLiteral("select count(*) from dastrasi2 where user_id=?"), {id}), 0);
        QVERIFY(newUser(w, QStringLiteral("0088888888"), QStringLiteral("city")).ins_btnClick());
        QCOMPARE(count(QStringLiteral("select count(*) from dastrasi where prs_id=?"), {idOf(QStringLiteral("0088888888"))}), 0);
    }

    void aHolderOfTheUsersPageCannotRaiseAnyone()
    {
        const QMap<QString, QString> manager{{QStringLiteral("karbaran"), QStringLiteral("1111")},
                                             {QStringLiteral("customers"), QStringLiteral("0001")}};
        const qint64 boss = test::addUser(QStringLiteral("boss"), QStringLiteral("keshvar"), QStringLiteral("قم"), manager,
                                          {QStringLiteral("Karaj")});
        const qint64 other = test::addUser(QStringLiteral("0012345679"), QStringLiteral("city"), {},
                                           {{QStringLiteral("customers"), QStringLiteral("0001")}});
        const qint64 deputy = test::addUser(QStringLiteral("deputy"), QStringLiteral("admin"));
        const qint64 admin = idOf(QStringLiteral("admin"));
        const auto bossRights = storedCodes(boss);
        const auto otherRights = storedCodes(other);
        const auto adminRights = storedCodes(admin);
        Tusers& w = users();
        // Not even the administrator edits or deletes his own row.
        QVERIFY(select(w, QStringLiteral("admin")));
        rec->clear();
        w.N6Click();
        w.N7Click();
        QCOMPARE(rec->texts(), (QStringList{useradmin::kCannotEditAdmin, useradmin::kCannotDeleteAdmin}));
        QCOMPARE(rec->shown.size(), 2);  // no entry window, no question

        test::loginAs(QStringLiteral("boss"));
        // A new user of level admin.
        QVERIFY(!newUser(w, QStringLiteral("0099999999"), QStringLiteral("admin")).ins_btnClick());
        QCOMPARE(rec->lastText(), useradmin::kOnlyAdminLevel);
        QCOMPARE(count(QStringLiteral("select count(*) from users where us=?"), {QStringLiteral("0099999999")}), 0);

        // Another user raised to admin.
        QVERIFY(select(w, QStringLiteral("0012345679")));
        w.N6Click();
        Tusers_ins& e = tavrin::window<Tusers_ins>();
        e.lev->setCurrentIndex(e.lev->findData(QStringLiteral("admin")));
        QVERIFY(!e.edit_btnClick());
        QCOMPARE(rec->lastText(), useradmin::kOnlyAdminLevel);
        QCOMPARE(text(dm().scalar(QStringLiteral("select lev from users where id=?"), {other})), QStringLiteral("city"));

        // The users page given to another user.
        tick(w, QStringLiteral("karbaran"), "_show");
        w.ins_btn2Click();
        QCOMPARE(rec->lastText(), useradmin::kOnlyAdminKarbaran);
        QCOMPARE(storedCodes(other), otherRights);

        // Other rights he may give; a template leaves the users page as stored.
        chooseTemplate(w, QStringLiteral("keshvar"), kSenior);
        QCOMPARE(boxCodes(w).value(QStringLiteral("karbaran")), QStringLiteral("0000"));
        w.ins_btn2Click();
        QCOMPARE(rec->lastText(), useradmin::kSaved);
        QCOMPARE(storedCodes(other).value(QStringLiteral("customers")), QStringLiteral("1111"));
        QVERIFY(!storedCodes(other).contains(QStringLiteral("karbaran")));

        // His own level, province, rights and counties.
        QVERIFY(select(w, QStringLiteral("boss")));
        QCOMPARE(boxCodes(w).value(QStringLiteral("karbaran")), QStringLiteral("1111"));
        tick(w, QStringLiteral("customers"), "_ins");
        w.ins_btn2Click();
        QCOMPARE(rec->lastText(), useradmin::kOwnRights);
        w.N1Click();
        w.ins_btnClick();
        QCOMPARE(rec->lastText(), useradmin::kOwnRights);
        QCOMPARE(count(QStringLiteral("select count(*) from dastrasi2 where user_id=?"), {boss}), 1);
        w.N6Click();
        e.lev->setCurrentIndex(e.lev->findData(QStringLiteral("ostan")));
        QVERIFY(!e.edit_btnClick());
        QCOMPARE(rec->lastText(), useradmin::kOwnRights);
        w.N6Click();
        e.ostan->setEditText(QStringLiteral("تهران"));
        QVERIFY(!e.edit_btnClick());
        QCOMPARE(rec->lastText(), useradmin::kOwnRights);
        QCOMPARE(storedCodes(boss), bossRights);
        QCOMPARE(text(dm().scalar(QStringLiteral("select lev from users where id=?"), {boss})), QStringLiteral("keshvar"));
        // His own name and mobile he may change.
        w.N6Click();
        e.mobile->setText(QStringLiteral("09127777777"));
        QVERIFY(e.edit_btnClick());

        // The administrator and users of level admin are out of reach.
        for (const QString& target : {QStringLiteral("admin"), QStringLiteral("deputy")}) {
            QVERIFY(select(w, target));
            rec->clear();
            w.N6Click();
            QCOMPARE(rec->texts(), QStringList{useradmin::kCannotEditAdmin});
            w.ins_btn2Click();
            QCOMPARE(rec->lastText(), useradmin::kCannotEditAdmin);
            w.ins_btnClick();
            QCOMPARE(rec->lastText(), useradmin::kCannotEditAdmin);
            w.N7Click();
            QCOMPARE(rec->lastText(), useradmin::kCannotDeleteAdmin);
        }
        QCOMPARE(storedCodes(admin), adminRights);
        QCOMPARE(count(QStringLiteral("select count(*) from users where id=?"), {deputy}), 1);
        QCOMPARE(useradmin::updateUser(deputy, {QStringLiteral("deputy"), QStringLiteral("x"), {}, {}, {}, QStringLiteral("city"), {}, {}},
                                         *dm().firstRow(QStringLiteral("select * from users where id=?"), {deputy})),
                 useradmin::kCannotEditAdmin);
        QVERIFY(password::verify(QStringLiteral("1"), text(dm().scalar(QStringLiteral("select ps from users where id=?"), {deputy}))));
    }

    void menuEntriesOpenTheWindowsWithTheirRights()
    {
        test::addUser(QStringLiteral("viewer"), QStringLiteral("city"), {},
                      {{QStringLiteral("karbaran"), QStringLiteral("0101")}});
        test::loginAs(QStringLiteral("viewer"));
        Tmain& main = mainWindow();
        QAction* n6 = main.action(QStringLiteral("N6"));
        QAction* n7 = main.action(QStringLiteral("N7"));
        QVERIFY(n6->isEnabled() && n7->isEnabled());
        n6->trigger();
        QCOMPARE(rec->shown.last().kind, QStringLiteral("window"));
        QCOMPARE(rec->shown.last().title, QStringLiteral("Tusers"));
        Tusers& w = tavrin::window<Tusers>();
        QVERIFY(!w.N5->isEnabled() && !w.ins_btn2->isEnabled() && !w.ins_btn->isEnabled());
        QVERIFY(!w.SpeedButton2->isEnabled() && !w.SpeedButton3->isEnabled());
        QVERIFY(w.N6->isEnabled() && !w.N7->isEnabled());
        QCOMPARE(w.height(), std::max(400, main.height() - 80));
        rec->clear();
        n7->trigger();  // no row for the log page
        QCOMPARE(rec->texts(), QStringList{noAccessMessage()});
    }
};

TAVRIN_DB_TEST_MAIN(TestUsers)
#include "tst_users.moc"
