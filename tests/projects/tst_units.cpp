// Units of a project: the price and identifier of the entry window, the save,
// edit and delete rules with their messages, one transaction per action, the
// unit list panel (filters, count, rights, delete password, Excel) and the
// printed unit list.
#include "unit_fixtures.h"

#include "common/activitylog.h"
#include "common/listmodel.h"
#include "common/monedit.h"
#include "common/spreadsheetreader.h"
#include "projects/project_panels.h"
#include "projects/project_vahed_u.h"
#include "projects/units_logic.h"
#include "projects/vahedha_chap.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>


using namespace tavrin;
using units::UnitForm;

namespace {

const QString kVilla = QStringLiteral("ويلايي");
const QString kFree = QStringLiteral("فعال");

UnitForm unitForm(const QString& bolok, const QString& tabaghe, const QString& no)
{
    UnitForm f;
    f.karbari = QStringLiteral("مسکوني");
    f.bolok = bolok;
    f.tabaghe = tabaghe;
    f.vahed_no = no;
    f.jahat = QStringLiteral("شمال");
    f.otagh = QStringLiteral("2");
    f.metraj = QStringLiteral("100");
    f.metraj_z = QStringLiteral("0");
    f.teras = QStringLiteral("0");
    f.hayat = QStringLiteral("0");
    f.mablagh1 = QStringLiteral("1000000");
    f.teras1 = QStringLiteral("0");
    f.hayat1 = QStringLiteral("0");
    f.mablagh = units::priceText(f);
    f.status = kFree;
    f.vahed_typ = QStringLiteral("حمايتي");
    f.bana = QStringLiteral("آپارتمان");
    return f;
}

// The villa of the price example: land 200 m2 at 5,000,000, terrace 10 m2 at
// 1,000,000, yard 50 m2 at 100,000.
UnitForm villa()
{
    UnitForm f = unitForm(QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("1"));
    f.bana = kVilla;
    f.metraj = QStringLiteral("130");
    f.metraj_z = QStringLiteral("200");
    f.mablagh1 = QStringLiteral("5,000,000");
    f.teras = QStringLiteral("10");
    f.teras1 = QStringLiteral("1000000");
    f.hayat = QStringLiteral("50");
    f.hayat1 = QStringLiteral("100000");
    f.mablagh = units::priceText(f);
    return f;
}

qint64 saved(const Outcome& r)
{
    if (!r.done)
        qWarning() << "not saved:" << r.texts();
    return r.done ? r.id : -1;
}

void setCombo(QComboBox* c, const QString& t)
{
    c->setEditText(t);
}

// Makes the first row the grid's current row.
void selectFirst(ProjectItemsPanel& panel)
{
    panel.grid()->setCurrentIndex(panel.grid()->model()->index(0, 0));
}

} // namespace

class TestUnits : public QObject {
    Q_OBJECT
    QSqlRecord m_prj;

private Q_SLOTS:
    void init()
    {
        destroyWindows();
        test::useFreshDatabase();
        setLocalIdentity({QStringLiteral("10.0.0.1"), QStringLiteral("pc1")});
        m_prj = test::addProject(QStringLiteral("مهر"), 10);
    }

    void priceUsesLandAreaForVillasAndPlots()
    {
        UnitForm f = villa();
        QCOMPARE(units::computePrice(f), std::optional<qint64>(1015000000));
        f.metraj = QStringLiteral("999");  // the unit area plays no part for a villa
        QCOMPARE(units::priceText(f), QStringLiteral("1015000000"));
        f.bana = QStringLiteral("زمين");
        QCOMPARE(units::priceText(f), QStringLiteral("1015000000"));
        // Any other building type prices the unit area.
        f.bana = QStringLiteral("آپارتمان");
        QCOMPARE(units::priceText(f), QStringLiteral("5010000000"));
        // Empty areas count as 0; a value that does not convert gives "0".
        f.teras.clear();
        f.hayat.clear();
        QCOMPARE(units::priceText(f), QStringLiteral("4995000000"));
        f.metraj = QStringLiteral("1.2.3");
        QCOMPARE(units::priceText(f), QStringLiteral("0"));
        QCOMPARE(units::grouped(QStringLiteral("1015000000")), QStringLiteral("1,015,000,000"));
        QCOMPARE(units::grouped(QStringLiteral("15000")), QStringLiteral("15,000"));
    }

    void entryWindowComputesPriceIdentifierAndCaptions()
    {
        test::DialogRecorder rec;
        Tproject_vahed& w = window<Tproject_vahed>();
        w.prepareNew(m_prj);
        QCOMPARE(w.prj_name->text(), QStringLiteral("مهر"));
        QCOMPARE(w.status->currentText(), kFree);
        QCOMPARE(w.vahed_typ->currentText(), QStringLiteral("حمايتي"));
        QCOMPARE(w.cnt->text(), QStringLiteral("0"));
        QVERIFY(w.ins_btn->isVisibleTo(&w));
        QVERIFY(!w.edit_btn->isVisibleTo(&w));
        setCombo(w.bolok, QStringLiteral("2"));
        setCombo(w.tabaghe, QStringLiteral("0"));
        setCombo(w.vahed_no, QStringLiteral("3"));
        QCOMPARE(w.shenase->text(), QStringLiteral("2-0-3"));
        setCombo(w.bana, kVilla);
        QCOMPARE(w.mablagh1Caption->text(), QStringLiteral("قيمت هر مترمربع زمين"));
        QCOMPARE(w.mablaghCaption->text(), QStringLiteral("مبلغ زمين"));
        QCOMPARE(w.vahed_typCaption->text(), QStringLiteral("نوع زمين"));
        w.metraj->setText(QStringLiteral("130"));
        w.metraj_z->setText(QStringLiteral("200"));
        w.mablagh1->setText(QStringLiteral("5000000"));
        w.teras->setText(QStringLiteral("10"));
        w.teras1->setText(QStringLiteral("1000000"));
        w.hayat->setText(QStringLiteral("50"));
        w.hayat1->setText(QStringLiteral("100000"));
        QCOMPARE(w.mablagh->text(), QStringLiteral("1015000000"));
        QCOMPARE(w.mablagh_3harfi->text(), QStringLiteral("1,015,000,000"));
        QCOMPARE(w.mablagh1_3harfi->text(), QStringLiteral("5,000,000"));
        setCombo(w.bana, QStringLiteral("آپارتمان"));
        QCOMPARE(w.mablagh1Caption->text(), QStringLiteral("قيمت هر مترمربع واحد"));
        QCOMPARE(w.mablagh->text(), QStringLiteral("665000000"));
        // A typed total is replaced when the field is entered again.
        w.mablagh->setText(QStringLiteral("7"));
        QFocusEvent in(QEvent::FocusIn);
        QApplication::sendEvent(w.mablagh, &in);
        QCOMPARE(w.mablagh->text(), QStringLiteral("665000000"));
        // Entering the identifier or the land area shows a balloon tip.
        QApplication::sendEvent(w.shenase, &in);
        QCOMPARE(rec.shown.last().kind, QStringLiteral("balloon"));
        QCOMPARE(rec.shown.last().title, QStringLiteral("شناسه واحد"));
        QCOMPARE(rec.shown.last().text, QStringLiteral("ترکيبي از بلوک+طبقه+شماره واحد"));
        QApplication::sendEvent(w.metraj_z, &in);
        QCOMPARE(rec.shown.last().title, QStringLiteral("متراژ زمين واحد"));
        QCOMPARE(rec.shown.last().text, QStringLiteral("جهت واحدهاي ويلايي"));
        rec.clear();

        // Saving keeps the window and its values and counts the new unit.
        w.ins_btnClick();
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
        QCOMPARE(w.shenase->text(), QStringLiteral("2-0-3"));
        const QSqlRecord u = *dm().firstRow(QStringLiteral("select * from vahedha"));
        QCOMPARE(text(u.value(QStringLiteral("shenase"))), QStringLiteral("2-0-3"));
        QCOMPARE(toMoney(u.value(QStringLiteral("mablagh"))), qint64(665000000));
        QCOMPARE(u.value(QStringLiteral("otagh")).isNull(), true);
        QCOMPARE(toMoney(u.value(QStringLiteral("vam"))), qint64(0));
        // The next unit of the block differs by its number.
        setCombo(w.vahed_no, QStringLiteral("4"));
        w.ins_btnClick();
        QCOMPARE(w.cnt->text(), QStringLiteral("2"));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from vahedha where shenase='2-0-4'")), 1);
    }

    void newUnitIsLoggedWithItsProject()
    {
        const qint64 id = saved(units::insertUnit(m_prj, villa()));
        QVERIFY(id > 0);
        const QSqlRecord u = test::rowOf(QStringLiteral("vahedha"), id);
        QCOMPARE(toMoney(u.value(QStringLiteral("mablagh"))), qint64(1015000000));  // the form's total, priced by land
        QCOMPARE(u.value(QStringLiteral("metraj_z")).toDouble(), 200.0);
        QCOMPARE(text(u.value(QStringLiteral("bana"))), kVilla);
        QCOMPARE(test::logComments(),
                 QStringList{QStringLiteral(" ثبت اطلاعات واحد فارس شيراز مهر 1-0-1")});
        const auto log = *dm().firstRow(QStringLiteral("select karbar,ip,computer_name,tarikh from log"));
        QCOMPARE(log.value(1).toString(), QStringLiteral("10.0.0.1"));
        QCOMPARE(log.value(3).toString().size(), 10);
    }

    void capacityIsCheckedAgainstTheStoredProject()
    {
        const QString full = QStringLiteral("خطا! تعداد واحدهاي اين پروژه اين مقدار هست و امکان افزودن واحد جديد نيست*");
        dm().exec(QStringLiteral("update projects set vahed_kol=2 where id=?"), {m_prj.value(QStringLiteral("id"))});
        // The record handed in still says 10: the stored count decides.
        QVERIFY(saved(units::insertUnit(m_prj, unitForm("1", "1", "1"))) > 0);
        QVERIFY(saved(units::insertUnit(m_prj, unitForm("1", "1", "2"))) > 0);
        const auto r = units::insertUnit(m_prj, unitForm("1", "1", "3"));
        QVERIFY(!r.done);
        QCOMPARE(r.texts(), QStringList{full + QStringLiteral("2")});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from vahedha")), 2);
        // With no units allowed nothing can be added.
        const QSqlRecord none = test::addProject(QStringLiteral("خالي"), 0);
        QCOMPARE(units::insertUnit(none, unitForm("1", "1", "1")).texts(), QStringList{full + QStringLiteral("0")});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from log")), 2);
    }

    // Another user adds the last free unit while this one is saving: the
    // capacity is counted again after the other's commit, not before.
    void twoUsersCannotBothAddTheLastUnit()
    {
        const QVariant prjId = m_prj.value(QStringLiteral("id"));
        dm().exec(QStringLiteral("update projects set vahed_kol=1 where id=?"), {prjId});
        Outcome r;
        test::whileAnotherUserHolds(
            [&](Database& db) {
                db.exec(QStringLiteral("update projects set vahed_kol=vahed_kol where id=?"), {prjId});
                db.exec(QStringLiteral("insert into vahedha (prj_id,bolok,tabaghe,vahed_no,shenase) values (?,'9','9','9','9-9-9')"), {prjId});
            },
            [&] {
                r = units::insertUnit(m_prj, unitForm("1", "1", "1"));
            });
        QCOMPARE(r.texts(), QStringList{QStringLiteral("خطا! تعداد واحدهاي اين پروژه اين مقدار هست و امکان افزودن واحد جديد نيست*") + QStringLiteral("1")});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from vahedha")), 1);
    }

    void duplicatesAreRefused()
    {
        QVERIFY(saved(units::insertUnit(m_prj, unitForm("2", "0", "3"))) > 0);
        QCOMPARE(units::insertUnit(m_prj, unitForm("2", "0", "3")).texts(),
                 QStringList{QStringLiteral("خطا! نام استان و شهرستان و پروژه و بلوک و طبقه و واحد تکراريست")});
        // The same block, floor and number in another project is another unit.
        const QSqlRecord other = test::addProject(QStringLiteral("ديگر"), 5);
        QVERIFY(saved(units::insertUnit(other, unitForm("2", "0", "3"))) > 0);
        // Two different triples that give one identifier.
        QVERIFY(saved(units::insertUnit(m_prj, unitForm("1-2", "3", "4"))) > 0);
        const auto r = units::insertUnit(m_prj, unitForm("1", "2-3", "4"));
        QCOMPARE(r.texts(), QStringList{QStringLiteral("خطا!     شناسه واحد تکراريست")});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from vahedha where prj_id=?"), {m_prj.value(QStringLiteral("id"))}), 2);
    }

    void editChecksDuplicatesOfWhatChanged()
    {
        const qint64 a = saved(units::insertUnit(m_prj, unitForm("1", "1", "1")));
        const qint64 b = saved(units::insertUnit(m_prj, unitForm("1", "1", "2")));
        const qint64 c = saved(units::insertUnit(m_prj, unitForm("2", "1", "1")));
        QVERIFY(a > 0 && b > 0 && c > 0);
        // Only the number changed: the identifier test catches the clash.
        QCOMPARE(units::updateUnit(m_prj, b, unitForm("1", "1", "1"), test::rowOf(QStringLiteral("vahedha"), b)).texts(),
                 QStringList{QStringLiteral("خطا! شناسه واحد تکراريست")});
        // The block changed onto another unit's triple.
        QCOMPARE(units::updateUnit(m_prj, c, unitForm("1", "1", "2"), test::rowOf(QStringLiteral("vahedha"), c)).texts(),
                 QStringList{QStringLiteral("خطا! بلوک و طبقه و شماره واحد تکراريست")});
        QCOMPARE(text(test::rowOf(QStringLiteral("vahedha"), c).value(QStringLiteral("shenase"))), QStringLiteral("2-1-1"));
        // Saving a unit unchanged is no clash with itself.
        UnitForm same = unitForm("1", "1", "2");
        same.jahat = QStringLiteral("جنوب");
        QVERIFY(units::updateUnit(m_prj, b, same, test::rowOf(QStringLiteral("vahedha"), b)).done);
        QCOMPARE(text(test::rowOf(QStringLiteral("vahedha"), b).value(QStringLiteral("jahat"))), QStringLiteral("جنوب"));
        QCOMPARE(test::logComments().last(), QStringLiteral(" ويرايش اطلاعات واحد فارس شيراز مهر 1-1-2"));
    }

    void heldUnitCannotBeMadeFree()
    {
        UnitForm f = unitForm("1", "1", "1");
        const qint64 id = saved(units::insertUnit(m_prj, f));
        const qint64 prjId = m_prj.value(QStringLiteral("id")).toLongLong();
        const qint64 buyer = test::addBuyer(prjId, id, QStringLiteral("رضايي"), QStringLiteral("0012345678"));
        dm().exec(QStringLiteral("update vahedha set status=? where id=?"), {items::soldStatus(QStringLiteral("رضايي")), id});
        f.status = kFree;
        const auto r = units::updateUnit(m_prj, id, f, test::rowOf(QStringLiteral("vahedha"), id));
        QVERIFY(r.done);
        QCOMPARE(r.texts(), QStringList{QStringLiteral("هشدار! وضعيت اين واحد نمي تواند فعال باشد - فروخته شده به ") +
                                        QStringLiteral("رضايي") +
                                        QStringLiteral(" ابتدا پرونده آن متقاضي را تاريخ انتقال/فروش بزنيد تا واحد آزاد گردد ")});
        QCOMPARE(r.notes.first().kind, MsgKind::Warning);
        QCOMPARE(text(test::rowOf(QStringLiteral("vahedha"), id).value(QStringLiteral("status"))),
                 QStringLiteral(" فروخته شد رضايي"));
        // Once the buyer has transferred it, the unit may be made free.
        dm().exec(QStringLiteral("update customers set transport_dat='1402/05/01' where id=?"), {buyer});
        const auto r2 = units::updateUnit(m_prj, id, f, test::rowOf(QStringLiteral("vahedha"), id));
        QVERIFY(r2.done);
        QCOMPARE(r2.texts(), QStringList());
        QCOMPARE(text(test::rowOf(QStringLiteral("vahedha"), id).value(QStringLiteral("status"))), kFree);
    }

    void statusRepairRestoresHeldUnits()
    {
        const qint64 held = saved(units::insertUnit(m_prj, unitForm("1", "1", "1")));
        const qint64 gone = saved(units::insertUnit(m_prj, unitForm("1", "1", "2")));
        const qint64 prjId = m_prj.value(QStringLiteral("id")).toLongLong();
        test::addBuyer(prjId, held, QStringLiteral("کريمي"), QStringLiteral("1"));
        test::addBuyer(prjId, gone, QStringLiteral("احمدي"), QStringLiteral("2"), {}, QStringLiteral("1401/01/01"));
        const qint64 slashes = saved(units::insertUnit(m_prj, unitForm("1", "1", "3")));
        test::addBuyer(prjId, slashes, QStringLiteral("نوري"), QStringLiteral("3"), {}, QStringLiteral("//"));  // no date: he holds it
        test::DialogRecorder rec;
        window<Tproject_vahed>().Label1Click();
        QCOMPARE(text(test::rowOf(QStringLiteral("vahedha"), slashes).value(QStringLiteral("status"))),
                 items::soldStatus(QStringLiteral("نوري")));
        QCOMPARE(text(test::rowOf(QStringLiteral("vahedha"), held).value(QStringLiteral("status"))),
                 items::soldStatus(QStringLiteral("کريمي")));
        QCOMPARE(text(test::rowOf(QStringLiteral("vahedha"), gone).value(QStringLiteral("status"))), kFree);
        QCOMPARE(units::repairUnitStatuses(), 0);
    }

    void deleteRefusedNamingTheBuyer()
    {
        const qint64 id = saved(units::insertUnit(m_prj, unitForm("1", "1", "1")));
        const qint64 prjId = m_prj.value(QStringLiteral("id")).toLongLong();
        // Even a buyer who transferred the unit keeps it from being deleted.
        test::addBuyer(prjId, id, QStringLiteral("رضايي"), QStringLiteral("0012345678"), {}, QStringLiteral("1401/01/01"));
        const auto r = units::deleteUnit(m_prj, id);
        QVERIFY(!r.done);
        QCOMPARE(r.texts(), QStringList{QStringLiteral("خطا! امکان حذف اين واحد نيست. بدليل آنکه اين واحد واگذار شده است به کد ملي و نام*") +
                                        QStringLiteral("رضايي*0012345678")});
        QVERIFY(!test::rowOf(QStringLiteral("vahedha"), id).isEmpty());
        // A unit nobody bought goes with its loan rows.
        const qint64 free = saved(units::insertUnit(m_prj, unitForm("1", "1", "2")));
        dm().exec(QStringLiteral("insert into vahed_vam (prj_id,tashilat_id,vahed_id,mablagh) values (?,1,?,100)"), {prjId, free});
        dm().exec(QStringLiteral("insert into vahed_vam (prj_id,tashilat_id,vahed_id,mablagh) values (?,1,?,100)"), {prjId, id});
        QVERIFY(units::deleteUnit(m_prj, free).done);
        QVERIFY(test::rowOf(QStringLiteral("vahedha"), free).isEmpty());
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from vahed_vam")), 1);
        QCOMPARE(test::logComments().last(), QStringLiteral(" حذف اطلاعات واحد فارس مهر 1-1-2"));
    }

    void fieldThatDoesNotConvertSavesNothing_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("message");
        QTest::newRow("metraj") << "metraj" << QStringLiteral("خطا! مقدار متراژ بايد عدد صحيح يا اعشاري باشد");
        QTest::newRow("teras") << "teras" << QStringLiteral("خطا! مقدار تراس واحد بايد عدد اعشاري باشد");
        QTest::newRow("hayat") << "hayat" << QStringLiteral("خطا! مقدار حياط واحد بايد عدد اعشاري باشد");
        QTest::newRow("metraj_z") << "metraj_z" << QStringLiteral("خطا! مقدار متراژ زمين بايد عدد صحيح يا اعشاري باشد");
        QTest::newRow("mablagh1") << "mablagh1" << QStringLiteral("خطا! مقدار مبلغ هر متر مربع  واحد بايد عدد صحيح باشد");
        QTest::newRow("mablagh") << "mablagh" << QStringLiteral("خطا! مقدار مبلغ واحد بايد عدد صحيح باشد");
    }

    void fieldThatDoesNotConvertSavesNothing()
    {
        QFETCH(QString, field);
        QFETCH(QString, message);
        test::DialogRecorder rec;
        Tproject_vahed& w = window<Tproject_vahed>();
        w.prepareNew(m_prj);
        setCombo(w.bolok, QStringLiteral("1"));
        setCombo(w.tabaghe, QStringLiteral("1"));
        setCombo(w.vahed_no, QStringLiteral("1"));
        auto* edit = w.findChild<QLineEdit*>(field);
        QVERIFY(edit);
        // Two decimal points; an emptied amount is no amount either.
        edit->setText(field.startsWith(QLatin1String("mablagh")) ? QString() : QStringLiteral("1.2.3"));
        w.ins_btnClick();
        QCOMPARE(rec.texts(), QStringList{message});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from vahedha")), 0);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from log")), 0);

        // An edit that does not convert leaves the stored unit as it was.
        const qint64 id = saved(units::insertUnit(m_prj, unitForm("5", "5", "5")));
        UnitForm f = unitForm("6", "6", "6");
        if (field == QLatin1String("metraj"))
            f.metraj = QStringLiteral("x");
        else if (field == QLatin1String("mablagh"))
            f.mablagh = QStringLiteral("1.5");
        else
            f.metraj_z = QStringLiteral("..");
        QVERIFY(!units::updateUnit(m_prj, id, f, test::rowOf(QStringLiteral("vahedha"), id)).done);
        QCOMPARE(text(test::rowOf(QStringLiteral("vahedha"), id).value(QStringLiteral("shenase"))), QStringLiteral("5-5-5"));
    }

    // An amount longer than the money columns hold is refused with its field's
    // message (the field used to cut it to 15 digits, ten times smaller); the
    // largest one is stored and read back exactly.
    void amountsBeyondTheMoneyColumnsAreRefused()
    {
        test::DialogRecorder rec;
        Tproject_vahed& w = window<Tproject_vahed>();
        w.prepareNew(m_prj);
        setCombo(w.bolok, QStringLiteral("1"));
        setCombo(w.tabaghe, QStringLiteral("1"));
        setCombo(w.vahed_no, QStringLiteral("1"));
        w.metraj->setText(QStringLiteral("1"));
        w.mablagh1->setText(QStringLiteral("9,999,999,999,999,900"));
        QCOMPARE(w.mablagh1->text(), QStringLiteral("9999999999999900"));
        w.ins_btnClick();
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("خطا! مقدار مبلغ هر متر مربع  واحد بايد عدد صحيح باشد")});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from vahedha")), 0);
        UnitForm f = unitForm("1", "1", "1");
        f.mablagh = QStringLiteral("1,000,000,000,000,000");
        QCOMPARE(units::insertUnit(m_prj, f).texts(), QStringList{QStringLiteral("خطا! مقدار مبلغ واحد بايد عدد صحيح باشد")});
        f.metraj = QStringLiteral("1");
        f.mablagh1 = QStringLiteral("999,999,999,999,999");
        f.mablagh = units::priceText(f);
        const QSqlRecord row = test::rowOf(QStringLiteral("vahedha"), saved(units::insertUnit(m_prj, f)));
        QCOMPARE(toMoney(row.value(QStringLiteral("mablagh"))), kMaxAmount);
        QCOMPARE(toMoney(row.value(QStringLiteral("mablagh1"))), kMaxAmount);
    }

    // The identifier block-floor-number longer than its 50-character column is
    // refused at the block on every backend (SQLite stored it whole).
    void tooLongIdentifierIsRefused()
    {
        UnitForm f = unitForm(QString(30, QChar(0x0628)), QString(15, QChar('1')), QStringLiteral("123456"));
        Outcome r = units::insertUnit(m_prj, f);
        QCOMPARE(r.texts(), QStringList{QStringLiteral("خطا! طول شناسه واحد بيش از حد مجاز است (حداکثر 50 حرف)")});
        QCOMPARE(r.focus, QStringLiteral("bolok"));
        const qint64 id = saved(units::insertUnit(m_prj, unitForm("1", "1", "1")));
        f = unitForm("1", "1", "1");
        f.ekhtesasi = QString(151, QChar('e'));
        QCOMPARE(units::updateUnit(m_prj, id, f, test::rowOf(QStringLiteral("vahedha"), id)).focus, QStringLiteral("ekhtesasi"));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from vahedha")), 1);
        QCOMPARE(text(test::rowOf(QStringLiteral("vahedha"), id).value(QStringLiteral("ekhtesasi"))), QString());
    }

    void editCopiesToBuyersKeepingTheirDiscount()
    {
        const qint64 prjId = m_prj.value(QStringLiteral("id")).toLongLong();
        UnitForm f = unitForm("1", "1", "1");
        const qint64 id = saved(units::insertUnit(m_prj, f));
        // The loans window keeps vam; the form never writes it.
        dm().exec(QStringLiteral("update vahedha set vam=5000000 where id=?"), {id});
        const qint64 withDiscount = test::addBuyer(prjId, id, QStringLiteral("الف"), QStringLiteral("1"), qint64(20000000));
        const qint64 noDiscount = test::addBuyer(prjId, id, QStringLiteral("ب"), QStringLiteral("2"));
        Tproject_vahed& w = window<Tproject_vahed>();
        w.prepareEdit(m_prj, test::rowOf(QStringLiteral("vahedha"), id));
        QVERIFY(w.edit_btn->isVisibleTo(&w));
        QCOMPARE(w.shenase->text(), QStringLiteral("1-1-1"));
        QCOMPARE(w.mablagh->text(), QStringLiteral("100000000"));
        QCOMPARE(w.vam->text(), QStringLiteral("5,000,000"));
        w.mablagh1->setText(QStringLiteral("1200000"));
        setCombo(w.jahat, QStringLiteral("جنوب غربي"));
        w.metraj_z->setText(QStringLiteral("7"));
        w.vam->setText(QStringLiteral("1"));  // read-only in the window; ignored even if changed
        test::DialogRecorder rec;
        w.edit_btnClick();
        // Both buyers hold the unit: it keeps the first one's sold status.
        QCOMPARE(rec.texts().size(), 1);
        QCOMPARE(rec.shown.last().kind, QStringLiteral("warning"));
        QCOMPARE(text(test::rowOf(QStringLiteral("vahedha"), id).value(QStringLiteral("status"))),
                 items::soldStatus(QStringLiteral("الف")));
        const QSqlRecord u = test::rowOf(QStringLiteral("vahedha"), id);
        QCOMPARE(toMoney(u.value(QStringLiteral("mablagh"))), qint64(120000000));
        QCOMPARE(toMoney(u.value(QStringLiteral("vam"))), qint64(5000000));
        const QSqlRecord a = test::rowOf(QStringLiteral("customers"), withDiscount);
        QCOMPARE(toMoney(a.value(QStringLiteral("mablagh"))), qint64(100000000));
        QCOMPARE(toMoney(a.value(QStringLiteral("mablagh1"))), qint64(1200000));
        QCOMPARE(toMoney(a.value(QStringLiteral("vam"))), qint64(5000000));
        QCOMPARE(text(a.value(QStringLiteral("jahat"))), QStringLiteral("جنوب غربي"));
        QCOMPARE(text(a.value(QStringLiteral("shenase"))), QStringLiteral("1-1-1"));
        QCOMPARE(a.value(QStringLiteral("metraj_z")).toDouble(), 7.0);
        QCOMPARE(toMoney(test::rowOf(QStringLiteral("customers"), noDiscount).value(QStringLiteral("mablagh"))), qint64(120000000));
        // An applicant of another unit is not touched.
        const qint64 other = test::addBuyer(prjId, id + 100, QStringLiteral("ج"), QStringLiteral("3"));
        QVERIFY(units::updateUnit(m_prj, id, f, test::rowOf(QStringLiteral("vahedha"), id)).done);
        QCOMPARE(toMoney(test::rowOf(QStringLiteral("customers"), other).value(QStringLiteral("mablagh"))), qint64(0));
    }

    void failureMidwayLeavesNothingBehind()
    {
        const qint64 id = saved(units::insertUnit(m_prj, unitForm("1", "1", "1")));
        const qint64 buyer = test::addBuyer(m_prj.value(QStringLiteral("id")).toLongLong(), id, QStringLiteral("الف"), QStringLiteral("1"));
        // The log row is the last statement of a save: without its table every save fails there.
        dm().exec(QStringLiteral("drop table log"));
        test::DialogRecorder rec;
        Tproject_vahed& w = window<Tproject_vahed>();
        w.prepareNew(m_prj);
        setCombo(w.bolok, QStringLiteral("9"));
        setCombo(w.tabaghe, QStringLiteral("9"));
        setCombo(w.vahed_no, QStringLiteral("9"));
        w.ins_btnClick();
        QCOMPARE(rec.texts(), QStringList{units::kUnitSaveFailed});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from vahedha")), 1);
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
        // An edit: neither the unit nor its buyer's copy changes.
        UnitForm f = unitForm("1", "1", "1");
        f.mablagh = QStringLiteral("777");
        QVERIFY_THROWS_EXCEPTION(DbError, units::updateUnit(m_prj, id, f, test::rowOf(QStringLiteral("vahedha"), id)));
        QCOMPARE(toMoney(test::rowOf(QStringLiteral("vahedha"), id).value(QStringLiteral("mablagh"))), qint64(100000000));
        QCOMPARE(toMoney(test::rowOf(QStringLiteral("customers"), buyer).value(QStringLiteral("mablagh"))), qint64(0));
        // A delete: the unit and its loan rows stay.
        const qint64 free = dm().insert(QStringLiteral("vahedha"), {QStringLiteral("prj_id"), QStringLiteral("shenase")},
                                        {m_prj.value(QStringLiteral("id")), QStringLiteral("x")});
        dm().exec(QStringLiteral("insert into vahed_vam (prj_id,tashilat_id,vahed_id,mablagh) values (?,1,?,100)"),
                  {m_prj.value(QStringLiteral("id")), free});
        QVERIFY_THROWS_EXCEPTION(DbError, units::deleteUnit(m_prj, free));
        QVERIFY(!test::rowOf(QStringLiteral("vahedha"), free).isEmpty());
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from vahed_vam")), 1);
        QCOMPARE(dm().transactionDepth(), 0);
    }

    void panelListsFiltersAndCounts()
    {
        const QSqlRecord other = test::addProject(QStringLiteral("ديگر"), 5);
        for (const char* no : {"1", "2", "3"})
            QVERIFY(saved(units::insertUnit(m_prj, unitForm(QStringLiteral("الف"), QStringLiteral("1"), QString::fromLatin1(no)))) > 0);
        QVERIFY(saved(units::insertUnit(m_prj, unitForm(QStringLiteral("ب"), QStringLiteral("1"), QStringLiteral("1")))) > 0);
        QVERIFY(saved(units::insertUnit(other, unitForm(QStringLiteral("الف"), QStringLiteral("1"), QStringLiteral("1")))) > 0);
        dm().exec(QStringLiteral("update vahedha set status='رزرو' where shenase='الف-1-3'"));
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"), {QStringLiteral("وضعيت واحد"), kFree});
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"), {QStringLiteral("وضعيت واحد"), QStringLiteral("رزرو")});

        QLabel counter;
        ProjectItemsPanel panel(ProjectItems::Units);
        panel.setCounter(&counter);
        panel.clearFilters();
        panel.setProject(m_prj);
        QCOMPARE(counter.text(), QStringLiteral("4"));
        DBGrid* grid = test::child<DBGrid>(&panel, QStringLiteral("DBGrid4"));
        QCOMPARE(grid, panel.grid());
        QCOMPARE(grid->listModel()->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("شناسه واحد"));
        QCOMPARE(grid->listModel()->columnCount(), 21);
        auto* status = test::child<QComboBox>(&panel, QStringLiteral("status"));
        QCOMPARE(status->count(), 2);

        test::child<QCheckBox>(&panel, QStringLiteral("CheckBox1"))->setChecked(true);
        test::child<QLineEdit>(&panel, QStringLiteral("bolok"))->setText(QStringLiteral("الف"));
        test::child<QPushButton>(&panel, QStringLiteral("BitBtn1"))->click();
        QCOMPARE(counter.text(), QStringLiteral("3"));
        test::child<QCheckBox>(&panel, QStringLiteral("CheckBox5"))->setChecked(true);
        status->setEditText(QStringLiteral("رزرو"));
        panel.BitBtn1Click();
        QCOMPARE(counter.text(), QStringLiteral("1"));
        QCOMPARE(grid->listModel()->value(0, QStringLiteral("shenase")).toString(), QStringLiteral("الف-1-3"));
        test::child<QCheckBox>(&panel, QStringLiteral("CheckBox5"))->setChecked(false);
        test::child<QCheckBox>(&panel, QStringLiteral("CheckBox4"))->setChecked(true);
        test::child<QLineEdit>(&panel, QStringLiteral("shenase"))->setText(QStringLiteral("-2"));
        panel.search();
        QCOMPARE(counter.text(), QStringLiteral("1"));
        test::child<QCheckBox>(&panel, QStringLiteral("CheckBox4"))->setChecked(false);
        test::child<QCheckBox>(&panel, QStringLiteral("CheckBox3"))->setChecked(true);
        test::child<QLineEdit>(&panel, QStringLiteral("vahed_no"))->setText(QStringLiteral("1"));
        panel.search();
        QCOMPARE(counter.text(), QStringLiteral("1"));
        // Another project, the same filters.
        panel.setProject(other);
        QCOMPARE(counter.text(), QStringLiteral("1"));
        panel.clearFilters();
        panel.search();
        QCOMPARE(counter.text(), QStringLiteral("1"));
        panel.setProject(QSqlRecord());
        QCOMPARE(counter.text(), QStringLiteral("0"));
    }

    void panelActionsFollowRightsAndDeleteAsksThePassword()
    {
        const qint64 id = saved(units::insertUnit(m_prj, unitForm("1", "1", "1")));
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,'secret')"), {QStringLiteral("رمز حذف")});
        ProjectItemsPanel panel(ProjectItems::Units);
        QLabel counter;
        panel.setCounter(&counter);
        panel.setProject(m_prj);
        auto* N12 = test::child<QAction>(&panel, QStringLiteral("N12"));
        auto* N13 = test::child<QAction>(&panel, QStringLiteral("N13"));
        auto* N14 = test::child<QAction>(&panel, QStringLiteral("N14"));
        auto* N23 = test::child<QAction>(&panel, QStringLiteral("N23"));
        auto* N34 = test::child<QAction>(&panel, QStringLiteral("N34"));
        QVERIFY(N12 && N13 && N14 && N23 && N34);
        QCOMPARE(N13->text(), QStringLiteral("حذف"));
        QVERIFY(!N12->isEnabled() && !N13->isEnabled());
        panel.applyRights({true, true, true, true});
        QVERIFY(N12->isEnabled() && N13->isEnabled() && N14->isEnabled());
        QVERIFY(panel.canInsert());
        // The insert right also gives the loan allocation; the applicant entry is a later window.
        QVERIFY(!N23->isEnabled() && N34->isEnabled());

        selectFirst(panel);
        test::DialogRecorder rec;
        rec.inputs.push_back(QStringLiteral("wrong"));
        N13->trigger();
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.shown[0].kind, QStringLiteral("password"));
        QCOMPARE(rec.shown[0].title, QStringLiteral("Delete Password"));
        QCOMPARE(rec.shown[0].text, QStringLiteral("لطفا رمز حذف را وارد نماييد:"));
        QVERIFY(!test::rowOf(QStringLiteral("vahedha"), id).isEmpty());
        rec.inputs.push_back(std::nullopt);  // cancelled
        N13->trigger();
        QVERIFY(!test::rowOf(QStringLiteral("vahedha"), id).isEmpty());
        int changed = 0;
        connect(&panel, &ProjectItemsPanel::itemsChanged, this, [&changed] { ++changed; });
        rec.inputs.push_back(QStringLiteral("secret"));
        N13->trigger();
        QVERIFY(test::rowOf(QStringLiteral("vahedha"), id).isEmpty());
        QCOMPARE(counter.text(), QStringLiteral("0"));
        QCOMPARE(changed, 1);
        QCOMPARE(rec.texts(), QStringList());  // no question, no message

        // A password of "?" is matched like any other.
        dm().exec(QStringLiteral("update setting set cmt='?'"));
        rec.inputs.push_back(QStringLiteral("?"));
        const qint64 id2 = saved(units::insertUnit(m_prj, unitForm("1", "1", "2")));
        panel.search();
        selectFirst(panel);
        panel.N13Click();
        QVERIFY(test::rowOf(QStringLiteral("vahedha"), id2).isEmpty());

        // Without the delete right nothing is asked.
        const qint64 id3 = saved(units::insertUnit(m_prj, unitForm("1", "1", "3")));
        panel.search();
        selectFirst(panel);
        panel.applyRights({true, true, false, true});
        rec.clear();
        panel.N13Click();
        QCOMPARE(rec.shown.size(), 0);
        QVERIFY(!test::rowOf(QStringLiteral("vahedha"), id3).isEmpty());

        // New units need a project and the insert right; the window comes up modal.
        panel.newItems();
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.shown[0].title, QStringLiteral("Tproject_vahed"));
        panel.applyRights({false, true, true, true});
        panel.newItems();
        QCOMPARE(rec.shown.size(), 1);
        // Editing the current row opens the window on it.
        rec.onExec = [](QDialog* w) {
            auto* v = qobject_cast<Tproject_vahed*>(w);
            return v && v->shenase->text() == QStringLiteral("1-1-3") ? 1 : 0;
        };
        panel.N12Click();
        QCOMPARE(rec.shown.size(), 2);
    }

    void excelExportOfTheUnitList()
    {
        QVERIFY(saved(units::insertUnit(m_prj, villa())) > 0);
        ProjectItemsPanel panel(ProjectItems::Units);
        panel.setProject(m_prj);
        QTemporaryDir dir;
        test::DialogRecorder rec;
        const QString path = dir.filePath(QStringLiteral("units.xlsx"));
        rec.files.push_back(path);
        test::child<QAction>(&panel, QStringLiteral("N14"))->trigger();
        const auto sheet = readSpreadsheet(path);
        QVERIFY(sheet);
        QCOMPARE(sheet->rows.size(), 2);
        const QStringList head = sheet->rows[0];
        const QStringList row = sheet->rows[1];
        QCOMPARE(head.value(0), QStringLiteral("شناسه"));
        QCOMPARE(head.value(1), QStringLiteral("شناسه پروژه"));
        const int shenase = head.indexOf(QStringLiteral("شناسه واحد"));
        const int otagh = head.indexOf(QStringLiteral("تعدا اتاق"));
        const int mablagh = head.indexOf(QStringLiteral("مبلغ واحد"));
        QVERIFY(shenase > 0 && otagh > 0 && mablagh > 0);
        QVERIFY(head.contains(QStringLiteral("bana")));  // a column without a heading keeps its name
        QCOMPARE(row.value(shenase), QStringLiteral("1-0-1"));
        QCOMPARE(row.value(mablagh), QStringLiteral("1015000000"));
    }

    void printedUnitListFieldValues()
    {
        dm().exec(QStringLiteral("update projects set vahed_cnt=8 where id=?"), {m_prj.value(QStringLiteral("id"))});
        const QSqlRecord prj = test::rowOf(QStringLiteral("projects"), m_prj.value(QStringLiteral("id")).toLongLong());
        UnitForm f = villa();
        f.otagh = QStringLiteral("3");
        f.ekhtesasi = QStringLiteral("آب");
        const qint64 id = saved(units::insertUnit(prj, f));
        dm().exec(QStringLiteral("update vahedha set vam=250000000 where id=?"), {id});
        QVERIFY(saved(units::insertUnit(prj, unitForm("2", "1", "1"))) > 0);
        ProjectItemsPanel panel(ProjectItems::Units);
        panel.setProject(prj);
        QList<QVariantMap> rows;
        panel.grid()->listModel()->forEachRow([&rows](const QSqlRecord& r) { rows << Tvahedha_chap::rowValues(r); });
        QCOMPARE(rows.size(), 2);
        const doc::Document d = Tvahedha_chap::build(prj, rows);
        QCOMPARE(d.setup().orientation, doc::Orientation::Landscape);
        QCOMPARE(d.field(QStringLiteral("prj_name")), QStringLiteral("مهر"));
        QCOMPARE(d.field(QStringLiteral("ostan")), QStringLiteral("فارس"));
        QCOMPARE(d.field(QStringLiteral("shahrestan")), QStringLiteral("شيراز"));
        QCOMPARE(d.field(QStringLiteral("vahed_cnt")), QStringLiteral("8"));
        const QStringList heads = d.texts(0, doc::Role::ColumnHeading);
        QCOMPARE(heads.first(), QStringLiteral("رديف"));
        QCOMPARE(heads.size(), 17);
        QVERIFY(d.texts(0).contains(QStringLiteral("گزارش ليست واحد ها")));
        QMap<QString, QString> first;
        for (const doc::Element& e : d.elements(0, doc::Role::Cell))
            if (e.row == 0)
                first.insert(e.column, e.text);
        QCOMPARE(first.value(QStringLiteral("shenase")), QStringLiteral("1-0-1"));
        QCOMPARE(first.value(QStringLiteral("mablagh")), QStringLiteral("1,015,000,000"));
        QCOMPARE(first.value(QStringLiteral("mablagh1")), QStringLiteral("5,000,000"));
        QCOMPARE(first.value(QStringLiteral("vam")), QStringLiteral("250,000,000"));
        QCOMPARE(first.value(QStringLiteral("metraj")), QStringLiteral("130"));
        QCOMPARE(first.value(QStringLiteral("teras")), QStringLiteral("10"));
        QCOMPARE(first.value(QStringLiteral("otagh")), QStringLiteral("3"));
        QCOMPARE(first.value(QStringLiteral("ekhtesasi")), QStringLiteral("آب"));
        QCOMPARE(first.value(QStringLiteral("status")), kFree);
        QCOMPARE(first.value(doc::Column::kRowNumber), QStringLiteral("1"));
    }
};

TAVRIN_DB_TEST_MAIN(TestUnits)
#include "tst_units.moc"
