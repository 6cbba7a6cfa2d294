// Data transfer by registration code from a database of the other backend
// (PostgreSQL into SQLite in one variant, SQLite into PostgreSQL in the other):
// new ids with every reference remapped, projects and units found again by
// their particulars, refusals with their reasons, one transaction.
#include "support/testsupport.h"

#include "app/startup.h"
#include "applicants/applicant_texts.h"
#include "applicants/child_texts.h"
#include "common/session.h"
#include "maintenance/consistency.h"
#include "maintenance/maintenance_texts.h"
#include "maintenance/transfer.h"
#include "maintenance/transfer_u.h"
#include "projects/item_rules.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace tavrin;

namespace {
const QString kTehran = QStringLiteral("تهران");
const QString kMask = QString::fromLatin1(kEmptyDateMask);

qint64 count(Database& db, const QString& sql, const QVariantList& v = {})
{
    return db.scalar(sql, v).toLongLong();
}

// A project with units A-1-1, A-1-2 (and A-2-1 when asked), one storage room
// and one parking space, after `padding` other projects so that ids differ
// between the databases.  prjName lets the two databases spell it with
// different yeh/kaf forms.
qint64 seedProject(Database& db, int padding, const QString& prjName, bool thirdUnit)
{
    for (int i = 0; i < padding; ++i)
        db.insert(QStringLiteral("projects"), {QStringLiteral("prj_name")}, {QStringLiteral("x%1").arg(i)});
    const qint64 prj = db.insert(QStringLiteral("projects"),
                                 {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("prj_cod"),
                                  QStringLiteral("prj_name"), QStringLiteral("status")},
                                 {kTehran, kTehran, QStringLiteral("P1"), prjName, QStringLiteral("فعال")});
    QStringList units {QStringLiteral("A-1-1"), QStringLiteral("A-1-2")};
    if (thirdUnit)
        units << QStringLiteral("A-2-1");
    for (int i = 0; i < padding; ++i)
        db.insert(QStringLiteral("vahedha"), {QStringLiteral("prj_id"), QStringLiteral("shenase")}, {prj, QStringLiteral("pad")});
    for (const QString& u : units)
        db.insert(QStringLiteral("vahedha"), {QStringLiteral("prj_id"), QStringLiteral("shenase"), QStringLiteral("status")},
                  {prj, u, QStringLiteral("فعال")});
    for (const char* t : {"anbariha", "parkingha"}) {
        for (int i = 0; i <= padding; ++i)
            db.insert(QString::fromLatin1(t),
                      {QStringLiteral("prj_id"), QStringLiteral("bolok"), QStringLiteral("pos"), QStringLiteral("num"),
                       QStringLiteral("status")},
                      {prj, QStringLiteral("A"), QStringLiteral("زيرزمين"), 7 - padding + i, QStringLiteral("فعال")});
    }
    return prj;
}

qint64 idOf(Database& db, const QString& sql, const QVariantList& v = {})
{
    return db.scalar(sql, v).toLongLong();
}

qint64 addApplicant(Database& db, const QString& code, const QString& nation, const QString& unit, qint64 prj)
{
    const qint64 unitId = idOf(db, QStringLiteral("select id from vahedha where prj_id=? and shenase=?"), {prj, unit});
    return db.insert(QStringLiteral("customers"),
                     {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("prj_name"), QStringLiteral("shenase"),
                      QStringLiteral("fname"), QStringLiteral("lname"), QStringLiteral("nation"), QStringLiteral("sabt_cod"),
                      QStringLiteral("prj_id"), QStringLiteral("vahed_id"), QStringLiteral("mablagh"), QStringLiteral("transport_dat")},
                     {kTehran, kTehran, QStringLiteral("مسکن مهر"), unit, QStringLiteral("علي"), QStringLiteral("احمدي"), nation, code,
                      prj, unitId, QStringLiteral("1250000000"), kMask});
}
} // namespace

class TestTransfer : public QObject {
    Q_OBJECT
    std::unique_ptr<Database> m_src;
    qint64 m_srcA = 0, m_srcS1 = 0;
    const QByteArray m_scan = QByteArray("\x00\xff\x89PNG\r\n", 7) + QByteArray(3000, '\x7f');

private Q_SLOTS:
    void initTestCase() { setUpApplication(); }

    void init()
    {
        destroyWindows();
        Database& dst = test::useFreshDatabase();
        m_src = test::openFresh(test::freshDatabaseParams(test::otherBackend()));
        Database& src = *m_src;
        // The source: applicants of "R-1" and one of "R-2"; the target spells the
        // project with Arabic kaf and lacks the unit A-2-1.
        const qint64 sp = seedProject(src, 0, QStringLiteral("مسکن مهر"), true);
        const qint64 tp = seedProject(dst, 2, QStringLiteral("مسكن مهر"), false);
        addApplicant(src, QStringLiteral("R-2"), QStringLiteral("0045678901"), QStringLiteral("A-1-2"), sp);
        m_srcA = addApplicant(src, QStringLiteral("R-1"), QStringLiteral("0012345678"), QStringLiteral("A-1-1"), sp);
        addApplicant(src, QStringLiteral("R-1"), QStringLiteral("0023456789"), QStringLiteral("A-1-2"), sp);
        addApplicant(src, QStringLiteral("R-1"), QStringLiteral("0034567890"), QStringLiteral("A-2-1"), sp);
        m_srcS1 = src.insert(QStringLiteral("shoraka"), {QStringLiteral("customer_id"), QStringLiteral("fname"), QStringLiteral("sahm")},
                             {m_srcA, QStringLiteral("زهرا"), 2.5});
        src.exec(QStringLiteral("insert into takafol (customer_id,fname,shoraka_id) values (?,?,0),(?,?,?)"),
                 {m_srcA, QStringLiteral("own"), m_srcA, QStringLiteral("partner's"), m_srcS1});
        src.exec(QStringLiteral("insert into pardakht (customer_id,mablagh,vosol) values (?,?,?),(?,?,?)"),
                 {m_srcA, QStringLiteral("300000000"), QStringLiteral("299999999.5"), m_srcA, 7, 7});
        // His record history names his own row and his payment.
        src.exec(QStringLiteral("insert into taghirat (tbl,rec_id,cust_id,prj_id,field,old_val,new_val,amal,log_id) values "
                                "('customers',?,?,0,'mobile','1','2','edit',5),('pardakht',?,?,0,'mablagh',null,'7','insert',5)"),
                 {m_srcA, m_srcA, idOf(src, QStringLiteral("select max(id) from pardakht")), m_srcA});
        src.exec(QStringLiteral("insert into customers_pic (customer_id,cmt,pictyp,pic) values (?,?,?,?)"),
                 {m_srcA, QStringLiteral("شناسنامه"), QStringLiteral(".png"), m_scan});
        src.exec(QStringLiteral("insert into savabegh (cust_id,cmt) values (?,?)"), {m_srcA, QStringLiteral("کارت ملي")});
        for (const char* t : {"anbari", "parking"}) {
            const QString items = QString::fromLatin1(t) + QStringLiteral("ha");
            src.exec(QStringLiteral("insert into %1 (customer_id,prj_id,num,%2_id) values (?,?,7,?)").arg(QString::fromLatin1(t), QString::fromLatin1(t)),
                     {m_srcA, sp, idOf(src, QStringLiteral("select id from %1 where num=7").arg(items))});
        }
        // The target already has 0023456789 on its unit A-1-2, and ids of its own.
        addApplicant(dst, QStringLiteral("T"), QStringLiteral("0099999999"), QStringLiteral("A-1-1"), tp);
        addApplicant(dst, QStringLiteral("T"), QStringLiteral("0023456789"), QStringLiteral("A-1-2"), tp);
        // 0099999999 sold A-1-1 on, so it is free; A-1-2 is sold to its holder.
        dst.exec(QStringLiteral("update customers set transport_dat='1401/01/01' where nation='0099999999'"));
        dst.exec(QStringLiteral("update vahedha set status=? where shenase='A-1-2'"), {QStringLiteral(" فروخته شد احمدي")});
        test::addUser(QStringLiteral("mover"), QStringLiteral("admin"));
        test::loginAs(QStringLiteral("mover"));
    }

    void applicantTablesComeFromTheSchema()
    {
        QStringList names;
        for (const TableDef* t : applicantTables())
            names << t->name;
        QCOMPARE(names, (QStringList {QStringLiteral("customers"), QStringLiteral("shoraka"), QStringLiteral("customers_pic"),
                                      QStringLiteral("savabegh"), QStringLiteral("takafol"), QStringLiteral("pardakht"),
                                      QStringLiteral("parking"), QStringLiteral("anbari"), QStringLiteral("taghirat")}));
    }

    void cancelOrFailureWritesNothing()
    {
        const qint64 before = count(dm(), QStringLiteral("select count(*) from customers"));
        int calls = 0;
        // Cancelled after the first applicant was written inside the transaction.
        const TransferReport r = transferApplicants(*m_src, dm(), QStringLiteral("R-1"), QStringLiteral("mover"),
                                                    [&](qint64, qint64, const QString&) { return ++calls < 2; });
        QCOMPARE(r.outcome, TransferReport::Outcome::Cancelled);
        QCOMPARE(count(dm(), QStringLiteral("select count(*) from customers")), before);
        QCOMPARE(count(dm(), QStringLiteral("select count(*) from pardakht")), 0);
        QCOMPARE(count(dm(), QStringLiteral("select count(*) from log")), 0);
    }

    void transfersByCodeFromTheWindow()
    {
        test::DialogRecorder rec;
        Ttransfer& w = window<Ttransfer>();
        w.applyRights(Rights {true, false, false, true});
        w.prepareToShow();
        const ConnectionParams& sp = m_src->params();
        w.backend->setCurrentIndex(sp.backend == Backend::SQLite ? 0 : 1);
        // The current database is refused as the source.
        w.server->setText(dm().params().server);
        w.database->setText(dm().params().database);
        w.backend->setCurrentIndex(dm().backend() == Backend::SQLite ? 0 : 1);
        w.connect_btnClick();
        QCOMPARE(rec.lastText(), maintext::kSourceIsCurrent);
        w.backend->setCurrentIndex(sp.backend == Backend::SQLite ? 0 : 1);
        w.server->setText(sp.server);
        w.database->setText(sp.database);
        w.user->setText(sp.user);
        w.connect_btnClick();
        QVERIFY(w.source());
        QCOMPARE(w.sabt_cod->count(), 2);
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), maintext::kChooseCode);
        w.sabt_cod->setCurrentIndex(w.sabt_cod->findText(QStringLiteral("R-1")));
        QCOMPARE(w.cnt->text(), QStringLiteral("3"));
        rec.answers = {Answer::Yes};
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), QStringLiteral("1 متقاضي با 11 رديف وابسته منتقل شد\n2 متقاضي منتقل نشد (فهرست در پايين صفحه)"));
        QCOMPARE(w.refused->rowCount(), 2);
        QCOMPARE(w.refused->item(0, 1)->text(), QStringLiteral("0023456789"));
        QCOMPARE(w.refused->item(0, 4)->text(), maintext::kWhyDuplicate);
        QCOMPARE(w.refused->item(1, 4)->text(), maintext::kWhyNoUnit);

        // The applicant with a new id and every reference remapped.
        Database& d = dm();
        const qint64 prj = idOf(d, QStringLiteral("select id from projects where prj_cod='P1'"));
        const auto a = d.firstRow(QStringLiteral("select * from customers where nation='0012345678'"));
        const qint64 id = a->value("id").toLongLong();
        QVERIFY(id != m_srcA);
        QCOMPARE(a->value("prj_id").toLongLong(), prj);
        QCOMPARE(a->value("vahed_id").toLongLong(), idOf(d, QStringLiteral("select id from vahedha where shenase='A-1-1'")));
        QCOMPARE(toMoney(a->value("mablagh")), 1250000000LL);
        QCOMPARE(a->value("sabt_cod").toString(), QStringLiteral("R-1"));
        const qint64 s1 = idOf(d, QStringLiteral("select id from shoraka where customer_id=?"), {id});
        QVERIFY(s1 > 0);
        QCOMPARE(d.textColumn(QStringLiteral("select shoraka_id from takafol where customer_id=? order by id"), {id}),
                 (QStringList {QStringLiteral("0"), QString::number(s1)}));
        QCOMPARE(d.textColumn(QStringLiteral("select vosol from pardakht where customer_id=? order by id"), {id}).size(), 2);
        QCOMPARE(d.scalar(QStringLiteral("select vosol from pardakht where customer_id=? and mablagh=300000000"), {id}).toDouble(),
                 299999999.5);
        QCOMPARE(d.scalar(QStringLiteral("select pic from customers_pic where customer_id=?"), {id}).toByteArray(), m_scan);
        QCOMPARE(d.textColumn(QStringLiteral("select tbl || ':' || rec_id || ':' || coalesce(log_id,0) from taghirat where cust_id=? "
                                             "order by id"), {id}),
                 (QStringList {QStringLiteral("customers:%1:0").arg(id),
                               QStringLiteral("pardakht:%1:0").arg(idOf(d, QStringLiteral("select max(id) from pardakht where customer_id=?"), {id}))}));
        QCOMPARE(count(d, QStringLiteral("select count(*) from savabegh where cust_id=?"), {id}), 1);
        for (const char* t : {"anbari", "parking"}) {
            const QString items = QString::fromLatin1(t) + QStringLiteral("ha");
            const auto row = d.firstRow(QStringLiteral("select * from %1 where customer_id=?").arg(QString::fromLatin1(t)), {id});
            QCOMPARE(row->value("prj_id").toLongLong(), prj);
            const qint64 item = row->value(QString::fromLatin1(t) + QStringLiteral("_id")).toLongLong();
            QCOMPARE(d.scalar(QStringLiteral("select num from %1 where id=?").arg(items), {item}).toInt(), 7);
            // The storage room and parking space the applicant holds are sold in the target too.
            QCOMPARE(d.scalar(QStringLiteral("select status from %1 where id=?").arg(items), {item}).toString(),
                     QStringLiteral(" فروخته شد احمدي"));
        }
        QCOMPARE(d.scalar(QStringLiteral("select status from vahedha where id=?"), {a->value("vahed_id")}).toString(),
                 QStringLiteral(" فروخته شد احمدي"));
        QCOMPARE(d.scalar(QStringLiteral("select cmt from log order by id desc")).toString(),
                 maintext::kTransferLog + QStringLiteral("R-1 : 1 / 2"));
        QCOMPARE(count(d, QStringLiteral("select count(*) from customers where sabt_cod='R-2'")), 0);
        // Nothing left the source.
        QCOMPARE(count(*m_src, QStringLiteral("select count(*) from customers")), 4);

        // A second transfer refuses the applicant it already brought.
        const TransferReport again = transferApplicants(*m_src, d, QStringLiteral("R-1"), QStringLiteral("mover"));
        QCOMPARE(again.outcome, TransferReport::Outcome::Done);
        QCOMPARE(again.applicants, 0);
        QCOMPARE(again.refused.first().reason, maintext::kWhyDuplicate);
        QCOMPARE(count(d, QStringLiteral("select count(*) from customers where nation='0012345678'")), 1);

        // The window, with the refused applicants listed, fits the screen.
        w.show();
        QTest::qWait(50);
        QVERIFY(w.width() <= 1366 && w.height() <= 740);
        QVERIFY(w.minimumSizeHint().width() <= 1366 && w.minimumSizeHint().height() <= 740);
        for (QLabel* l : w.findChildren<QLabel*>())
            if (l->text() == maintext::kServerLabel)   // captions stand right of their fields
                QVERIFY(l->mapTo(&w, QPoint()).x() > w.server->mapTo(&w, QPoint()).x());
        QCOMPARE(w.server->layoutDirection(), Qt::LeftToRight);
        const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
        if (!dir.isEmpty() && test::backendUnderTest() == Backend::SQLite)
            QVERIFY(w.grab().save(QDir(dir).filePath(QStringLiteral("Ttransfer.png"))));
        w.hide();
    }

    // What the target sold already refuses the applicant, as a sale does: a
    // unit held there (by a holder whose transfer date is only slashes and
    // blanks), a storage room with its assignment row, a parking space with
    // an older row without its id; what was marked for him is free again.  A
    // holder whose own date is "//" buys his unit and spaces.
    void refusesWhatTheTargetSoldAlready()
    {
        Database& d = dm();
        const qint64 tp = idOf(d, QStringLiteral("select id from projects where prj_cod='P1'"));
        const qint64 other = idOf(d, QStringLiteral("select id from customers where nation='0099999999'"));
        const QString ahmadi = QStringLiteral("احمدي");
        m_src->exec(QStringLiteral("update customers set transport_dat='//',pardakht_sum=300000006.5 where id=?"), {m_srcA});
        const auto firstRefusal = [&] {
            const TransferReport r = transferApplicants(*m_src, d, QStringLiteral("R-1"), QStringLiteral("mover"));
            return r.refused.size() == 3 ? r.refused.first().reason : QStringLiteral("transferred");
        };
        const auto status = [&](const QString& sql) { return d.scalar(sql).toString(); };
        d.exec(QStringLiteral("update customers set transport_dat='/  /' where id=?"), {other});
        QCOMPARE(firstRefusal(), custext::kUnitSoldTo + ahmadi);
        d.exec(QStringLiteral("update customers set transport_dat='1401/01/01' where id=?"), {other});
        d.exec(QStringLiteral("update anbariha set status=? where num=7"), {items::soldStatus(ahmadi)});
        d.exec(QStringLiteral("insert into anbari (customer_id,prj_id,num,anbari_id) values (?,?,7,?)"),
               {other, tp, idOf(d, QStringLiteral("select id from anbariha where num=7"))});
        QCOMPARE(firstRefusal(), childtext::kStorageSoldTo + ahmadi);
        d.exec(QStringLiteral("delete from anbari"));
        d.exec(QStringLiteral("insert into parking (customer_id,prj_id,bolok,num,pos,parking_id) values (?,?,'A',7,?,0)"),
               {other, tp, QStringLiteral("زيرزمين")});
        QCOMPARE(firstRefusal(), childtext::kParkingSoldTo + ahmadi);
        QCOMPARE(status(QStringLiteral("select status from vahedha where shenase='A-1-1'")), items::freeStatus());
        QCOMPARE(status(QStringLiteral("select status from parkingha where num=7")), items::freeStatus());
        QCOMPARE(count(d, QStringLiteral("select count(*) from customers where nation='0012345678'")), 0);
        d.exec(QStringLiteral("delete from parking"));
        QCOMPARE(firstRefusal(), QStringLiteral("transferred"));
        QCOMPARE(status(QStringLiteral("select status from vahedha where shenase='A-1-1'")), items::soldStatus(ahmadi));
        QCOMPARE(status(QStringLiteral("select status from parkingha where num=7")), items::soldStatus(ahmadi));
        const auto findings = maintenance::checkConsistency(d);
        QVERIFY2(findings.isEmpty(), qPrintable(findings.isEmpty() ? QString() : findings.first().plainLine()));
    }

    void refusesRowsThatPointNowhere()
    {
        // A dependant under a partner of another applicant cannot be remapped.
        const qint64 other = idOf(*m_src, QStringLiteral("select id from customers where nation='0045678901'"));
        const qint64 s = m_src->insert(QStringLiteral("shoraka"), {QStringLiteral("customer_id")}, {other});
        m_src->exec(QStringLiteral("insert into takafol (customer_id,shoraka_id) values (?,?)"), {m_srcA, s});
        // A text too long for its column (only SQLite lets one in).
        const bool lax = m_src->backend() == Backend::SQLite;
        if (lax)
            m_src->exec(QStringLiteral("update customers set fname=? where nation='0023456789'"), {QString(40, QChar(0x0628))});
        const TransferReport r = transferApplicants(*m_src, dm(), QStringLiteral("R-1"), QStringLiteral("mover"));
        QCOMPARE(r.applicants, 0);
        QCOMPARE(r.refused[0].reason, maintext::kWhyDangling + QStringLiteral("takafol"));
        QCOMPARE(r.refused[1].reason, lax ? maintext::kWhyBadValue + QStringLiteral("customers.fname") : maintext::kWhyDuplicate);
    }

};

TAVRIN_DB_TEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
