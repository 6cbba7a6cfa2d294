// Record windows saved after another user changed the same record: the unit,
// storage room, parking space, facility, project, pre-registration and user
// windows.  The other user's change is committed while the save waits for the
// row's lock; the save writes nothing, names the record and offers to read it
// again (No keeps the typing, Yes shows the stored record); a save of a record
// nobody changed goes through as before.
#include "applicants/applicant_fixtures.h"

#include "admin/users_ins_u.h"
#include "applicants/assignments_logic.h"
#include "common/listmodel.h"
#include "common/stale.h"
#include "prereg/pishsabt_ins_u.h"
#include "projects/facilities_logic.h"
#include "projects/project_anbari_u.h"
#include "projects/project_ins_u.h"
#include "projects/project_parking_u.h"
#include "projects/project_tashilat_u.h"
#include "projects/project_vahed_u.h"
#include "projects/spaces_logic.h"
#include "projects/units_logic.h"

#include <QComboBox>
#include <QLineEdit>

using namespace tavrin;

namespace stale_windows {

void setField(QWidget* w, const QString& value)
{
    if (auto* c = qobject_cast<QComboBox*>(w))
        c->setEditText(value);
    else
        qobject_cast<QLineEdit*>(w)->setText(value);
}

QString fieldText(QWidget* w)
{
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    return qobject_cast<QLineEdit*>(w)->text();
}

QString stored(const QString& table, const QString& column, qint64 id)
{
    return text(dm().scalar(QStringLiteral("select %1 from %2 where id=?").arg(column, table), {id}));
}

// One kind of record window: the record, the column the test changes, and how
// the window opens it, shows that column and saves.
struct Kind {
    QString recordName, table, column;
    qint64 id = 0;
    std::function<void()> open;
    std::function<QWidget*()> field;
    std::function<void()> save;
};

} // namespace stale_windows

using namespace stale_windows;

class TestStaleWindows : public QObject {
    Q_OBJECT
    QSqlRecord m_prj;

    QList<Kind> kinds()
    {
        const qint64 prjId = items::recordId(m_prj);
        const QSqlRecord unit = test::addUnit(m_prj, QStringLiteral("1-1-1"), 900000000);
        const auto space = [&](const spaces::SpaceKind& k) {
            spaces::SpaceForm f {QStringLiteral("الف"), QStringLiteral("4"), QStringLiteral("12.5"), QStringLiteral("همکف"),
                                 QStringLiteral("100000"), QStringLiteral("1250000"), items::freeStatus(),
                                 QStringLiteral("مسقف")};
            return spaces::insertSpace(k, m_prj, f).id;
        };
        const qint64 storage = space(spaces::storage()), parking = space(spaces::parking());
        facilities::FacilityForm ff;
        ff.prot_typ = QStringLiteral("مشارکت");
        ff.bank = QStringLiteral("ملت");
        ff.etebar_loc = QStringLiteral("ملي");
        ff.mablagh = ff.daryafti = QStringLiteral("90000000");
        ff.takhsis_dat = ff.dat1 = ff.dat2 = ff.tamdid_dat = QStringLiteral("1403/01/01");
        ff.darsad = QStringLiteral("4");
        ff.vahed_cnt = QStringLiteral("3");
        const qint64 facility = facilities::insertFacility(prjId, ff).id;
        const qint64 person = dm().insert(
            QStringLiteral("pishsabt"),
            {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("fname"), QStringLiteral("lname"),
             QStringLiteral("nation"), QStringLiteral("reg_user")},
            {QStringLiteral("فارس"), QStringLiteral("شيراز"), QStringLiteral("مريم"), QStringLiteral("پيشرو"),
             QStringLiteral("0012345679"), QStringLiteral("admin")});
        const qint64 user = test::addUser(QStringLiteral("0084575948"), QStringLiteral("city"), QStringLiteral("فارس"));

        auto* vahed = &tavrin::window<Tproject_vahed>();
        auto* anbari = &tavrin::window<Tproject_anbari>();
        auto* parkingW = &tavrin::window<Tproject_parking>();
        auto* tashilat = &tavrin::window<Tproject_tashilat>();
        auto* project = &tavrin::window<Tproject_ins>();
        auto* pishsabt = &tavrin::window<Tpishsabt_ins>();
        auto* users = &tavrin::window<Tusers_ins>();
        const QSqlRecord prj = m_prj;
        const qint64 unitId = items::recordId(unit);
        // The row as the window's list hands it over.
        const auto row = [](const char* table, qint64 id) {
            ListModel m;
            ListQuery q(QStringLiteral("select *"), QStringLiteral("from ") + QString::fromLatin1(table));
            q.equals(QStringLiteral("id"), id);
            m.setQuery(q);
            return m.record(0);
        };
        return {
            {QStringLiteral("واحد"), QStringLiteral("vahedha"), QStringLiteral("jahat"), unitId,
             [=] { vahed->prepareEdit(prj, row("vahedha", unitId)); }, [=] { return vahed->jahat; },
             [=] { vahed->edit_btnClick(); }},
            {QStringLiteral("انباري"), QStringLiteral("anbariha"), QStringLiteral("pos"), storage,
             [=] { anbari->prepareEdit(prj, row("anbariha", storage)); }, [=] { return anbari->pos; },
             [=] { anbari->edit_btnClick(); }},
            {QStringLiteral("پارکينگ"), QStringLiteral("parkingha"), QStringLiteral("pos"), parking,
             [=] { parkingW->prepareEdit(prj, row("parkingha", parking)); }, [=] { return parkingW->pos; },
             [=] { parkingW->edit_btnClick(); }},
            {QStringLiteral("رديف تسهيلات"), QStringLiteral("tashilat"), QStringLiteral("cmt"), facility,
             [=] {
                 // Opened from the window's own list.
                 tashilat->applyRights({true, true, true, true});
                 tashilat->prepare(prj);
                 tashilat->DBGrid1->setCurrentIndex(tashilat->DBGrid1->listModel()->index(0, 0));
                 tashilat->N3Click();
             },
             [=] { return tashilat->cmt; }, [=] { tashilat->edit_btnClick(); }},
            {QStringLiteral("پروژه"), QStringLiteral("projects"), QStringLiteral("cmt"), prjId,
             [=] { project->prepareEdit(row("projects", prjId)); }, [=] { return project->field(QStringLiteral("cmt")); },
             [=] { project->edit_btnClick(); }},
            {QStringLiteral("پيش ثبت نام"), QStringLiteral("pishsabt"), QStringLiteral("cmt"), person,
             [=] { pishsabt->prepareEdit(row("pishsabt", person)); }, [=] { return pishsabt->field(QStringLiteral("cmt")); },
             [=] { pishsabt->edit_btnClick(); }},
            {QStringLiteral("کاربر"), QStringLiteral("users"), QStringLiteral("nam"), user,
             [=] {
                 // As the users list opens him: his own fields only.
                 users->startEdit(*dm().firstRow(
                     QStringLiteral("select id,us,lev,nam,semat,mobile,ostan,status from users where id=?"), {user}));
             },
             [=] { return users->nam; }, [=] { users->edit_btnClick(); }},
        };
    }

private Q_SLOTS:
    void initTestCase()
    {
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        dm().insert(QStringLiteral("abadiha"), {QStringLiteral("ostan"), QStringLiteral("shahrestan")},
                    {QStringLiteral("فارس"), QStringLiteral("شيراز")});
        m_prj = test::addProject(QStringLiteral("مهر"), 10, 10, 10);
    }

    void cleanupTestCase() { destroyWindows(); }

    void changedRecordIsNotOverwritten()
    {
        test::DialogRecorder rec;
        for (const Kind& k : kinds()) {
            const QByteArray what = k.table.toUtf8();
            const QString question = changedByOtherMessage(k.recordName);
            const auto saveAs = [&](const QString& value) {
                setField(k.field(), value);
                rec.clear();
                k.save();
                QVERIFY2(!rec.texts().join(QString()).contains(question), what);
                QCOMPARE(stored(k.table, k.column, k.id), value);
            };
            // Nobody else changed it: saved as before.
            k.open();
            saveAs(QStringLiteral("کاربر اول"));
            if (QTest::currentTestFailed())
                return;
            // The other user's change commits while this save waits for the row.
            k.open();
            setField(k.field(), QStringLiteral("کاربر سوم"));
            rec.clear();
            rec.answers = {Answer::No};
            test::whileAnotherUserHolds(
                [&](Database& other) {
                    other.exec(QStringLiteral("update %1 set %2=? where id=?").arg(k.table, k.column),
                               {QStringLiteral("کاربر دوم"), k.id});
                },
                k.save, 300);
            QVERIFY2(rec.shown.size() == 1 && rec.shown[0].kind == QLatin1String("question"), what);
            QVERIFY2(rec.shown[0].text.startsWith(question + QLatin1Char('\n')), qPrintable(rec.shown[0].text));
            QCOMPARE(stored(k.table, k.column, k.id), QStringLiteral("کاربر دوم"));
            QCOMPARE(fieldText(k.field()), QStringLiteral("کاربر سوم"));  // No: the typing stays
            // Saved again it is refused again; Yes shows the record as stored.
            rec.clear();
            k.save();
            QVERIFY2(rec.texts().size() == 1 && rec.texts()[0].startsWith(question), what);
            QCOMPARE(stored(k.table, k.column, k.id), QStringLiteral("کاربر دوم"));
            QCOMPARE(fieldText(k.field()), QStringLiteral("کاربر دوم"));
            saveAs(QStringLiteral("کاربر چهارم"));
        }
    }

    // A sale made while the window was open is decided by the rules for a
    // held unit or space, as in a window opened after it: the unit's price
    // edit goes on and the unit stays sold; a held storage room is not edited.
    // A buyer who gave the unit back meanwhile makes its sold status stale.
    void saleMeanwhileKeepsTheHeldRules()
    {
        const QSqlRecord unit = test::addUnit(m_prj, QStringLiteral("2-1-5"), 500000000);
        const qint64 unitId = items::recordId(unit);
        units::UnitForm f;
        f.karbari = QStringLiteral("مسکوني");
        f.bolok = QStringLiteral("2");
        f.tabaghe = QStringLiteral("1");
        f.vahed_no = QStringLiteral("5");
        f.otagh = QStringLiteral("2");
        f.metraj = QStringLiteral("100");
        f.mablagh1 = QStringLiteral("6000000");
        f.metraj_z = f.teras = f.teras1 = f.hayat = f.hayat1 = QStringLiteral("0");
        f.mablagh = units::priceText(f);
        f.status = items::freeStatus();
        const spaces::SpaceForm space {QStringLiteral("ب"), QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("همکف"),
                                       QStringLiteral("100000"), QStringLiteral("1000000"), items::freeStatus(), {}};
        const qint64 storageId = spaces::insertSpace(spaces::storage(), m_prj, space).id;
        const QSqlRecord storageRead = test::rowOf(QStringLiteral("anbariha"), storageId);
        applicants::CustomerValues buyer = test::saleOf(m_prj, unit, QStringLiteral("خريدار"), QStringLiteral("0012345670"));
        const Outcome sale = applicants::insertCustomer(buyer, test::answering(true));
        QVERIFY(sale.done);
        QCOMPARE(assignments::assign(assignments::storageSide(), sale.id, storageId).done, true);
        const Outcome held = spaces::updateSpace(spaces::storage(), m_prj, storageId, space, storageRead);
        QVERIFY(!held.done && !held.changedByOther);
        QCOMPARE(held.texts().last(), spaces::storage().editHeld);
        Outcome r = units::updateUnit(m_prj, unitId, f, unit);
        QVERIFY(r.done && !r.changedByOther);
        QCOMPARE(r.notes.size(), 1);
        QCOMPARE(r.notes[0].kind, MsgKind::Warning);
        QCOMPARE(test::unitStatus(unit), items::soldStatus(QStringLiteral("خريدار")));
        QCOMPARE(toMoney(test::rowOf(QStringLiteral("vahedha"), unitId).value(QStringLiteral("mablagh"))), 600000000);

        // A window that read the sold unit, after the buyer was deleted.
        const QSqlRecord sold = test::rowOf(QStringLiteral("vahedha"), unitId);
        QVERIFY(applicants::deleteCustomer(sale.id).done);
        f.status = items::soldStatus(QStringLiteral("خريدار"));
        r = units::updateUnit(m_prj, unitId, f, sold);
        QVERIFY(r.changedByOther && !r.done);
        QCOMPARE(r.texts(), QStringList {changedByOtherMessage(units::kUnitRecordName)});
        QCOMPARE(test::unitStatus(unit), items::freeStatus());
    }
};

TAVRIN_DB_TEST_MAIN(TestStaleWindows)
#include "tst_stale_windows.moc"
