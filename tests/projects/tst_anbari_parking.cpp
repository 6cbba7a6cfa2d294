// Storage rooms and parking spaces of a project: the entry windows' price and
// checks (empty fields, capacity, duplicates, assigned rooms and spaces),
// one transaction per action, the lists with their number search (an integer
// column, searched as text on every backend) and the Excel exports.
#include "unit_fixtures.h"

#include "common/activitylog.h"
#include "common/listmodel.h"
#include "common/monedit.h"
#include "common/spreadsheetreader.h"
#include "projects/project_anbari_u.h"
#include "projects/project_panels.h"
#include "projects/project_parking_u.h"
#include "projects/spaces_logic.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace tavrin;
using spaces::SpaceForm;
using spaces::SpaceKind;

namespace {

const QString kFree = QStringLiteral("فعال");

SpaceForm space(const QString& bolok, const QString& num, const QString& pos)
{
    SpaceForm f;
    f.bolok = bolok;
    f.num = num;
    f.pos = pos;
    f.metraj = QStringLiteral("12.5");
    f.mablagh1 = QStringLiteral("2,000,000");
    f.mablagh = spaces::priceText(f.metraj, f.mablagh1);
    f.status = kFree;
    f.saghf = QStringLiteral("مسقف");
    return f;
}

qint64 saved(const Outcome& r)
{
    if (!r.done)
        qWarning() << "not saved:" << r.texts();
    return r.done ? r.id : -1;
}

const SpaceKind& kindOf(const QString& name)
{
    return name == QLatin1String("parking") ? spaces::parking() : spaces::storage();
}

void selectFirst(ProjectItemsPanel& panel)
{
    panel.grid()->setCurrentIndex(panel.grid()->model()->index(0, 0));
}

} // namespace

class TestAnbariParking : public QObject {
    Q_OBJECT
    QSqlRecord m_prj;

    void bothKinds()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("anbari") << QStringLiteral("anbari");
        QTest::newRow("parking") << QStringLiteral("parking");
    }

private Q_SLOTS:
    void init()
    {
        destroyWindows();
        test::useFreshDatabase();
        setLocalIdentity({QStringLiteral("10.0.0.2"), QStringLiteral("pc2")});
        m_prj = test::addProject(QStringLiteral("مهر"), 10, 3, 3);
    }

    void priceIsAreaTimesPricePerMetre()
    {
        QCOMPARE(spaces::priceText(QStringLiteral("12.5"), QStringLiteral("2,000,000")), QStringLiteral("25000000"));
        QCOMPARE(spaces::priceText(QString(), QStringLiteral("2,000,000")), QStringLiteral("0"));
        QCOMPARE(spaces::priceText(QStringLiteral("1.2.3"), QStringLiteral("5")), QStringLiteral("0"));
        test::DialogRecorder rec;
        Tproject_anbari& w = window<Tproject_anbari>();
        w.prepareNew(m_prj);
        QCOMPARE(w.windowTitle(), QStringLiteral("انباري هاي پروژه"));
        QCOMPARE(w.status->currentText(), kFree);
        QCOMPARE(w.mablagh->text(), QStringLiteral("0"));
        QVERIFY(!w.saghf);
        w.metraj->setText(QStringLiteral("12.5"));
        w.mablagh1->setText(QStringLiteral("2000000"));
        QCOMPARE(w.mablagh->text(), QStringLiteral("25000000"));
        QCOMPARE(w.mablagh_3harfi->text(), QStringLiteral("25,000,000"));
        QCOMPARE(w.mablagh1_3harfi->text(), QStringLiteral("2,000,000"));
        w.mablagh->setText(QStringLiteral("9999999999999900"));  // kept whole for the save to refuse
        QCOMPARE(w.mablagh->text().size(), 16);
        w.mablagh->setText(QStringLiteral("1"));
        QFocusEvent in(QEvent::FocusIn);
        QApplication::sendEvent(w.mablagh, &in);
        QCOMPARE(w.mablagh->text(), QStringLiteral("25000000"));
        Tproject_parking& p = window<Tproject_parking>();
        p.prepareNew(m_prj);
        QVERIFY(p.saghf);
        QCOMPARE(p.saghf->currentText(), QStringLiteral("مسقف"));
        QCOMPARE(p.saghf->count(), 2);
    }

    void emptyFieldsAreAllReported_data() { bothKinds(); }
    void emptyFieldsAreAllReported()
    {
        QFETCH(QString, kind);
        const SpaceKind& k = kindOf(kind);
        test::DialogRecorder rec;
        TProjectSpaceWindow& w = kind == QLatin1String("parking") ? static_cast<TProjectSpaceWindow&>(window<Tproject_parking>())
                                                                 : window<Tproject_anbari>();
        w.prepareNew(m_prj);
        w.ins_btnClick();
        QCOMPARE(rec.texts(), (QStringList{QStringLiteral("خطا! بلوک نمي تواند خالي باشد"), k.emptyNum,
                                           QStringLiteral("خطا! طبقه/موقعيت  نمي تواند خالي باشد")}));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from ") + k.table), 0);
        QCOMPARE(w.cnt->text(), QStringLiteral("0"));
    }

    void capacityAndDuplicates_data() { bothKinds(); }
    void capacityAndDuplicates()
    {
        QFETCH(QString, kind);
        const SpaceKind& k = kindOf(kind);
        QVERIFY(saved(spaces::insertSpace(k, m_prj, space("1", "5", "P1"))) > 0);
        // Block, number and position together are the key.
        QCOMPARE(spaces::insertSpace(k, m_prj, space("1", "5", "P1")).texts(), QStringList{k.duplicate});
        QVERIFY(saved(spaces::insertSpace(k, m_prj, space("1", "5", "P2"))) > 0);
        QVERIFY(saved(spaces::insertSpace(k, m_prj, space("2", "5", "P1"))) > 0);
        // The project allows three.
        const QString full = k.capacityFull + QStringLiteral("3");
        QCOMPARE(spaces::insertSpace(k, m_prj, space("3", "5", "P1")).texts(), QStringList{full});
        // Another project has its own rooms and spaces.
        const QSqlRecord other = test::addProject(QStringLiteral("ديگر"), 1, 1, 1);
        QVERIFY(saved(spaces::insertSpace(k, other, space("1", "5", "P1"))) > 0);
        // None allowed: refused, and the window's count is still refreshed.
        const QSqlRecord none = test::addProject(QStringLiteral("خالي"), 1, 0, 0);
        test::DialogRecorder rec;
        TProjectSpaceWindow& w = kind == QLatin1String("parking") ? static_cast<TProjectSpaceWindow&>(window<Tproject_parking>())
                                                                 : window<Tproject_anbari>();
        w.prepareNew(none);
        dm().exec(QStringLiteral("insert into %1 (prj_id,num,bolok,pos) values (?,1,'x','y')").arg(k.table), {none.value(QStringLiteral("id"))});
        w.bolok->setEditText(QStringLiteral("1"));
        w.num->setText(QStringLiteral("1"));
        w.pos->setEditText(QStringLiteral("P1"));
        w.metraj->setText(QStringLiteral("10"));
        w.ins_btnClick();
        QCOMPARE(rec.texts(), QStringList{k.capacityFull + QStringLiteral("0")});
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
        const QStringList log = test::logComments();
        QCOMPARE(log.size(), 4);
        QCOMPARE(log.first(), k.logNew + QStringLiteral("فارس شيراز مهر 5"));
    }

    void savedValuesAndEdit_data() { bothKinds(); }
    void savedValuesAndEdit()
    {
        QFETCH(QString, kind);
        const SpaceKind& k = kindOf(kind);
        const bool parking = kind == QLatin1String("parking");
        test::DialogRecorder rec;
        TProjectSpaceWindow& w = parking ? static_cast<TProjectSpaceWindow&>(window<Tproject_parking>()) : window<Tproject_anbari>();
        w.prepareNew(m_prj);
        w.bolok->setEditText(QStringLiteral("الف"));
        w.num->setText(QStringLiteral("12"));
        w.pos->setEditText(QStringLiteral("همکف"));
        w.metraj->setText(QStringLiteral("12.5"));
        w.mablagh1->setText(QStringLiteral("2000000"));
        if (parking)
            w.saghf->setEditText(QStringLiteral("غير مسقف"));
        w.ins_btnClick();
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
        const QSqlRecord row = *dm().firstRow(QStringLiteral("select * from ") + k.table);
        QCOMPARE(row.value(QStringLiteral("num")).toInt(), 12);
        QCOMPARE(row.value(QStringLiteral("metraj")).toDouble(), 12.5);
        QCOMPARE(toMoney(row.value(QStringLiteral("mablagh"))), qint64(25000000));
        QCOMPARE(toMoney(row.value(QStringLiteral("mablagh1"))), qint64(2000000));
        QCOMPARE(text(row.value(QStringLiteral("status"))), kFree);
        if (parking)
            QCOMPARE(text(row.value(QStringLiteral("saghf"))), QStringLiteral("غير مسقف"));

        // Edit: the window shows the row and closes after the save.
        w.prepareEdit(m_prj, row);
        QCOMPARE(w.num->text(), QStringLiteral("12"));
        QCOMPARE(w.metraj->text(), QStringLiteral("12.5"));
        QCOMPARE(w.mablagh->text(), QStringLiteral("25000000"));
        QVERIFY(w.edit_btn->isVisibleTo(&w));
        w.metraj->setText(QStringLiteral("10"));
        w.edit_btnClick();
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(w.result(), int(QDialog::Accepted));
        const qint64 id = items::recordId(row);
        QCOMPARE(toMoney(test::rowOf(k.table, id).value(QStringLiteral("mablagh"))), qint64(20000000));
        QCOMPARE(test::logComments().last(), k.logEdit + QStringLiteral("فارس شيراز مهر 12"));
        // A changed position onto another room's key is a duplicate too.
        const qint64 second = saved(spaces::insertSpace(k, m_prj, space(QStringLiteral("الف"), QStringLiteral("12"), QStringLiteral("P9"))));
        QCOMPARE(spaces::updateSpace(k, m_prj, second, space(QStringLiteral("الف"), QStringLiteral("12"), QStringLiteral("همکف")), test::rowOf(k.table, second)).texts(),
                 QStringList{k.duplicate});
        // Saving one unchanged is no clash with itself.
        QVERIFY(spaces::updateSpace(k, m_prj, second, space(QStringLiteral("الف"), QStringLiteral("12"), QStringLiteral("P9")), test::rowOf(k.table, second)).done);
    }

    void assignedRoomsAndSpaces_data() { bothKinds(); }
    void assignedRoomsAndSpaces()
    {
        QFETCH(QString, kind);
        const SpaceKind& k = kindOf(kind);
        const qint64 prjId = m_prj.value(QStringLiteral("id")).toLongLong();
        const qint64 held = saved(spaces::insertSpace(k, m_prj, space("1", "7", "P1")));
        const qint64 free = saved(spaces::insertSpace(k, m_prj, space("1", "8", "P1")));
        const qint64 buyer = test::addBuyer(prjId, 0, QStringLiteral("رضايي"), QStringLiteral("1"));
        dm().exec(QStringLiteral("insert into %1 (customer_id,num,metraj,pos,mablagh,prj_id,mablagh1,bolok,%2) values (?,7,12.5,'P1',0,?,0,'1',?)")
                      .arg(k.assignTable, k.assignId),
                  {buyer, prjId, held});
        dm().exec(QStringLiteral("update %1 set status=? where id=?").arg(k.table), {items::soldStatus(QStringLiteral("رضايي")), held});
        // Setting it free names the holder; no edit of an assigned one is saved.
        SpaceForm f = space("1", "7", "P1");
        f.mablagh1 = QStringLiteral("3000000");
        const auto r = spaces::updateSpace(k, m_prj, held, f, test::rowOf(k.table, held));
        QVERIFY(!r.done);
        QCOMPARE(r.texts(), (QStringList{k.heldWarning + QStringLiteral("رضايي") + k.heldWarningTail, k.editHeld}));
        QCOMPARE(r.notes[0].kind, MsgKind::Warning);
        f.status = items::soldStatus(QStringLiteral("رضايي"));
        QCOMPARE(spaces::updateSpace(k, m_prj, held, f, test::rowOf(k.table, held)).texts(), QStringList{k.editHeld});
        QCOMPARE(toMoney(test::rowOf(k.table, held).value(QStringLiteral("mablagh1"))), qint64(2000000));
        QCOMPARE(spaces::deleteSpace(k, m_prj, held).texts(), QStringList{k.deleteHeld});
        QVERIFY(!test::rowOf(k.table, held).isEmpty());
        // Another one of the same block and number elsewhere is not held by that assignment.
        const qint64 twin = saved(spaces::insertSpace(k, m_prj, space("1", "7", "P2")));
        QVERIFY(spaces::updateSpace(k, m_prj, twin, space("1", "7", "P3"), test::rowOf(k.table, twin)).done);
        QVERIFY(spaces::deleteSpace(k, m_prj, twin).done);
        // An assignment written without the room's id is found by project, block and number.
        dm().exec(QStringLiteral("insert into %1 (customer_id,num,prj_id,bolok) values (?,8,?,'1')").arg(k.assignTable), {buyer, prjId});
        QCOMPARE(spaces::deleteSpace(k, m_prj, free).texts(), QStringList{k.deleteHeld});
        dm().exec(QStringLiteral("delete from %1 where num=8").arg(k.assignTable));
        QVERIFY(spaces::deleteSpace(k, m_prj, free).done);
        QVERIFY(test::rowOf(k.table, free).isEmpty());
        QCOMPARE(test::logComments().last(), k.logDelete + QStringLiteral("فارس مهر 8"));
    }

    void nothingIsSavedWhenAValueDoesNotConvert_data() { bothKinds(); }
    void nothingIsSavedWhenAValueDoesNotConvert()
    {
        QFETCH(QString, kind);
        const SpaceKind& k = kindOf(kind);
        SpaceForm f = space("1", "1", "P");
        f.metraj = QStringLiteral("1.2.3");
        QCOMPARE(spaces::insertSpace(k, m_prj, f).texts(), QStringList{QStringLiteral("خطا! مقدار متراژ بايد عدد صحيح يا اعشاري باشد")});
        f = space("1", "1", "P");
        f.mablagh.clear();
        QCOMPARE(spaces::insertSpace(k, m_prj, f).texts(), QStringList{k.mablaghWrong});
        f = space("1", "1", "P");
        f.mablagh1 = QStringLiteral("12x");
        QCOMPARE(spaces::insertSpace(k, m_prj, f).texts(), QStringList{k.mablagh1Wrong});
        f.mablagh1 = QStringLiteral("1,000,000,000,000,000");  // beyond the money columns
        QCOMPARE(spaces::insertSpace(k, m_prj, f).texts(), QStringList{k.mablagh1Wrong});
        f = space("1", "1", QString(151, QChar('p')));                // longer than its column
        QCOMPARE(spaces::insertSpace(k, m_prj, f).texts(),
                 QStringList{QStringLiteral("خطا! طول طبقه/موقعيت بيش از حد مجاز است (حداکثر 150 حرف)")});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from ") + k.table), 0);
        // An edit that does not convert leaves the row as it was.
        const qint64 id = saved(spaces::insertSpace(k, m_prj, space("1", "1", "P")));
        f = space("2", "2", "Q");
        f.metraj = QStringLiteral(".");
        QVERIFY(!spaces::updateSpace(k, m_prj, id, f, test::rowOf(k.table, id)).done);
        QCOMPARE(text(test::rowOf(k.table, id).value(QStringLiteral("bolok"))), QStringLiteral("1"));
    }

    void failureMidwayLeavesNothingBehind_data() { bothKinds(); }
    void failureMidwayLeavesNothingBehind()
    {
        QFETCH(QString, kind);
        const SpaceKind& k = kindOf(kind);
        const qint64 id = saved(spaces::insertSpace(k, m_prj, space("1", "1", "P")));
        dm().exec(QStringLiteral("drop table log"));
        test::DialogRecorder rec;
        TProjectSpaceWindow& w = kind == QLatin1String("parking") ? static_cast<TProjectSpaceWindow&>(window<Tproject_parking>())
                                                                 : window<Tproject_anbari>();
        w.prepareNew(m_prj);
        w.bolok->setEditText(QStringLiteral("2"));
        w.num->setText(QStringLiteral("2"));
        w.pos->setEditText(QStringLiteral("P"));
        w.metraj->setText(QStringLiteral("3"));
        w.ins_btnClick();
        QCOMPARE(rec.texts(), QStringList{k.saveFailed});
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
        QVERIFY_THROWS_EXCEPTION(DbError, spaces::updateSpace(k, m_prj, id, space("1", "1", "Z"), test::rowOf(k.table, id)));
        QCOMPARE(text(test::rowOf(k.table, id).value(QStringLiteral("pos"))), QStringLiteral("P"));
        QVERIFY_THROWS_EXCEPTION(DbError, spaces::deleteSpace(k, m_prj, id));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from ") + k.table), 1);
        QCOMPARE(dm().transactionDepth(), 0);
    }

    void listsSearchNumbersAsText_data() { bothKinds(); }
    void listsSearchNumbersAsText()
    {
        QFETCH(QString, kind);
        const bool parking = kind == QLatin1String("parking");
        const SpaceKind& k = kindOf(kind);
        dm().exec(QStringLiteral("update projects set anbari_cnt=10,parking_cnt=10"));
        for (const char* n : {"1", "2", "10", "12", "21"})
            QVERIFY(saved(spaces::insertSpace(k, m_prj, space(QStringLiteral("الف"), QString::fromLatin1(n), QStringLiteral("P")))) > 0);
        QVERIFY(saved(spaces::insertSpace(k, m_prj, space(QStringLiteral("ب"), QStringLiteral("1"), QStringLiteral("P")))) > 0);
        const QSqlRecord other = test::addProject(QStringLiteral("ديگر"), 1, 1, 1);
        QVERIFY(saved(spaces::insertSpace(k, other, space(QStringLiteral("الف"), QStringLiteral("1"), QStringLiteral("P")))) > 0);

        ProjectItemsPanel panel(parking ? ProjectItems::ParkingSpaces : ProjectItems::StorageRooms);
        QLabel counter;
        panel.setCounter(&counter);
        panel.clearFilters();
        panel.setProject(m_prj);
        QCOMPARE(counter.text(), QStringLiteral("6"));
        QCOMPARE(panel.grid()->objectName(), parking ? QStringLiteral("DBGrid3") : QStringLiteral("DBGrid2"));
        QCOMPARE(panel.grid()->listModel()->columnCount(), parking ? 8 : 7);
        QCOMPARE(panel.grid()->listModel()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), k.numCaption);

        const QString numBox = parking ? QStringLiteral("CheckBox7") : QStringLiteral("CheckBox6");
        const QString numField = parking ? QStringLiteral("num_p") : QStringLiteral("num_a");
        const QString bolokBox = parking ? QStringLiteral("CheckBox9") : QStringLiteral("CheckBox8");
        const QString bolokField = parking ? QStringLiteral("bolok_p") : QStringLiteral("bolok_a");
        test::child<QCheckBox>(&panel, numBox)->setChecked(true);
        test::child<QLineEdit>(&panel, numField)->setText(QStringLiteral("1"));
        test::child<QPushButton>(&panel, parking ? QStringLiteral("BitBtn3") : QStringLiteral("BitBtn2"))->click();
        QCOMPARE(counter.text(), QStringLiteral("5"));  // 1, 10, 12, 21 and the other block's 1
        test::child<QLineEdit>(&panel, numField)->setText(QStringLiteral("۱۲"));  // Persian digits
        panel.search();
        QCOMPARE(counter.text(), QStringLiteral("1"));
        QCOMPARE(panel.grid()->listModel()->value(0, QStringLiteral("num")).toInt(), 12);
        test::child<QLineEdit>(&panel, numField)->setText(QStringLiteral("1"));
        test::child<QCheckBox>(&panel, bolokBox)->setChecked(true);
        test::child<QLineEdit>(&panel, bolokField)->setText(QStringLiteral("ب"));
        panel.search();
        QCOMPARE(counter.text(), QStringLiteral("1"));
        panel.clearFilters();
        panel.search();
        QCOMPARE(counter.text(), QStringLiteral("6"));
    }

    void panelEditDeleteAndExcel_data() { bothKinds(); }
    void panelEditDeleteAndExcel()
    {
        QFETCH(QString, kind);
        const bool parking = kind == QLatin1String("parking");
        const SpaceKind& k = kindOf(kind);
        const qint64 id = saved(spaces::insertSpace(k, m_prj, space("1", "4", "P1")));
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,'pw')"), {QStringLiteral("رمز حذف")});
        ProjectItemsPanel panel(parking ? ProjectItems::ParkingSpaces : ProjectItems::StorageRooms);
        QLabel counter;
        panel.setCounter(&counter);
        panel.setProject(m_prj);
        auto* edit = test::child<QAction>(&panel, parking ? QStringLiteral("N18") : QStringLiteral("N17"));
        auto* del = test::child<QAction>(&panel, parking ? QStringLiteral("N11") : QStringLiteral("N10"));
        auto* excel = test::child<QAction>(&panel, parking ? QStringLiteral("N16") : QStringLiteral("N15"));
        QVERIFY(edit && del && excel);
        QVERIFY(!edit->isEnabled() && !del->isEnabled());
        panel.applyRights({true, true, true, true});
        QVERIFY(edit->isEnabled() && del->isEnabled());

        test::DialogRecorder rec;
        selectFirst(panel);
        rec.onExec = [](QDialog* d) {
            auto* w = qobject_cast<TProjectSpaceWindow*>(d);
            if (!w || w->num->text() != QStringLiteral("4"))
                return 0;
            w->pos->setEditText(QStringLiteral("P2"));
            w->edit_btnClick();
            return 1;
        };
        int changed = 0;
        connect(&panel, &ProjectItemsPanel::itemsChanged, this, [&changed] { ++changed; });
        edit->trigger();
        QCOMPARE(rec.shown.first().title, parking ? QStringLiteral("Tproject_parking") : QStringLiteral("Tproject_anbari"));
        QCOMPARE(text(test::rowOf(k.table, id).value(QStringLiteral("pos"))), QStringLiteral("P2"));
        QCOMPARE(changed, 1);
        QCOMPARE(panel.grid()->listModel()->value(0, QStringLiteral("pos")).toString(), QStringLiteral("P2"));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.xlsx"));
        rec.files.push_back(path);
        excel->trigger();
        const auto sheet = readSpreadsheet(path);
        QVERIFY(sheet);
        QCOMPARE(sheet->rows.size(), 2);
        const QStringList head = sheet->rows[0];
        QCOMPARE(head.value(0), QStringLiteral("شناسه"));
        QCOMPARE(head.value(1), QStringLiteral("شناسه پروژه"));
        QCOMPARE(head.value(2), k.numCaption);
        QCOMPARE(head.value(4), QStringLiteral("موقعيت"));
        QCOMPARE(head.value(8), QStringLiteral("شماره بلوک"));
        if (parking)
            QCOMPARE(head.value(9), QStringLiteral("سقف"));
        QCOMPARE(sheet->rows[1].value(2), QStringLiteral("4"));

        selectFirst(panel);
        rec.inputs.push_back(QStringLiteral("no"));
        del->trigger();
        QVERIFY(!test::rowOf(k.table, id).isEmpty());
        rec.inputs.push_back(QStringLiteral("pw"));
        del->trigger();
        QVERIFY(test::rowOf(k.table, id).isEmpty());
        QCOMPARE(counter.text(), QStringLiteral("0"));
        QCOMPARE(changed, 2);
    }
};

TAVRIN_DB_TEST_MAIN(TestAnbariParking)
#include "tst_anbari_parking.moc"
