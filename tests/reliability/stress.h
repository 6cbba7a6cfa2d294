#pragma once
// What the race and crash tests share: the small project the workers fight
// over, starting a worker process on the database under test, reading its
// lines, and every rule the database must still keep afterwards.
#include "applicants/applicant_fixtures.h"
#include "reliability/stale_records.h"

#include "maintenance/consistency.h"
#include "projects/facilities_logic.h"

#include <QProcess>

namespace tavrin::test {

// One line of a worker: "ok N ACTION TARGET ROW" and the like.
struct WorkerLine {
    QString kind, action, text;
    int attempt = 0;
    qint64 target = 0, row = 0;
};

inline QList<WorkerLine> workerLines(const QByteArray& out)
{
    QList<WorkerLine> lines;
    for (const QByteArray& raw : out.split('\n')) {
        const QStringList f = QString::fromUtf8(raw).split(QLatin1Char(' '));
        if (f.size() >= 4 && f[0] != QLatin1String("done"))
            lines.append({f[0], f[2], QString::fromUtf8(raw), f[1].toInt(), f[3].toLongLong(), f.value(4).toLongLong()});
    }
    return lines;
}

// The project: `units` units, as many storage rooms and parking spaces, two
// facilities whose received amount pays three of the workers' loans each,
// three applicants who bought the first units through the sale itself, two
// pre-registrations, and the project's county in the divisions (so that its
// record and the pre-registrations can be saved before the first import).
// Check QTest::currentTestFailed() after it.
inline void seedContest(int units)
{
    dm().insert(QStringLiteral("abadiha"), {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("cod")},
                {QStringLiteral("فارس"), QStringLiteral("شيراز"), QStringLiteral("seed")});
    for (const char* nation : {"0012345679", "0084575948"})
        dm().insert(QStringLiteral("pishsabt"),
                    {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("fname"), QStringLiteral("lname"),
                     QStringLiteral("nation"), QStringLiteral("reg_user")},
                    {QStringLiteral("فارس"), QStringLiteral("شيراز"), QStringLiteral("مريم"), QStringLiteral("پيشرو"),
                     QString::fromLatin1(nation), QStringLiteral("admin")});
    const QSqlRecord prj = addProject(QStringLiteral("مسابقه"), units, units, units);
    const qint64 prjId = prj.value(QStringLiteral("id")).toLongLong();
    QList<QSqlRecord> made;
    for (int i = 1; i <= units; ++i) {
        made << addUnit(prj, QStringLiteral("1-%1-%2").arg((i + 1) / 2).arg(i), 500000000);
        for (const char* table : {"anbariha", "parkingha"})
            dm().insert(QString::fromLatin1(table),
                        {QStringLiteral("prj_id"), QStringLiteral("bolok"), QStringLiteral("num"), QStringLiteral("pos"),
                         QStringLiteral("metraj"), QStringLiteral("mablagh1"), QStringLiteral("mablagh"), QStringLiteral("status")},
                        {prjId, QStringLiteral("A"), i, QStringLiteral("همکف"), 12.5, 100000, 1000000 * i, items::freeStatus()});
    }
    for (const char* dat1 : {"1403/01/01", "1403/02/01"}) {
        facilities::FacilityForm f;
        f.prot_typ = QStringLiteral("مشارکت");
        f.bank = QStringLiteral("ملت");
        f.etebar_loc = QStringLiteral("ملي");
        f.mablagh = QStringLiteral("90000000");
        f.daryafti = QStringLiteral("30000000");
        f.takhsis_dat = f.dat2 = f.tamdid_dat = QStringLiteral("1403/01/01");
        f.dat1 = QString::fromLatin1(dat1);
        f.darsad = QStringLiteral("4");
        f.vahed_cnt = QString::number(units);
        QVERIFY(facilities::insertFacility(prjId, f).done);
    }
    const QStringList nations {QStringLiteral("0012345679"), QStringLiteral("0012345670"), QStringLiteral("0084575948")};
    for (int i = 0; i < nations.size(); ++i) {
        applicants::CustomerValues v = saleOf(prj, made[i], QStringLiteral("اول%1").arg(i), nations[i]);
        QVERIFY(applicants::insertCustomer(v, answering(true)).done);
    }
}

// Updates lost by the stale edits the workers report committed ("ok N ACTION
// ID ID READ WROTE"): on each record they must form one chain from the value
// stored before the run to the value stored now, each edit having read what
// the one before it wrote.  Two edits that read the same value both
// committing means the second overwrote the first unseen.
inline QStringList lostUpdates(const QList<WorkerLine>& lines, const QMap<QString, QString>& before)
{
    QMap<QString, QHash<QString, QString>> next;  // record -> value read -> value written
    QStringList out;
    for (const WorkerLine& l : lines) {
        if (l.kind != QLatin1String("ok") || !l.action.startsWith(QLatin1String("stale")))
            continue;
        const QStringList f = l.text.split(QLatin1Char(' '));
        const QString record = l.action + QLatin1Char(' ') + QString::number(l.target);
        if (next[record].contains(f.value(5)))
            out << QStringLiteral("%1: two saves read \"%2\"").arg(record, f.value(5));
        next[record].insert(f.value(5), f.value(6));
    }
    const QMap<QString, QString> now = staleValues();
    for (auto it = before.begin(); it != before.end(); ++it) {
        const QHash<QString, QString>& edits = next.value(it.key());
        QString value = it.value();
        int followed = 0;
        while (edits.contains(value) && followed <= edits.size()) {
            value = edits.value(value);
            ++followed;
        }
        if (followed != edits.size() || now.value(it.key()) != value)
            out << QStringLiteral("%1: %2 saves committed, %3 in one chain ending in \"%4\", stored \"%5\"")
                       .arg(it.key()).arg(edits.size()).arg(followed).arg(value, now.value(it.key()));
    }
    return out;
}

// Starts a worker on the current database.
inline void startWorker(QProcess& p, quint32 seed, int attempts, int ms)
{
    const ConnectionParams& c = dm().params();
    // Its warnings join the test's own; a pipe nobody reads could fill and stop it.
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral(TAVRIN_STRESS_WORKER),
            {c.backend == Backend::PostgreSQL ? QStringLiteral("pg") : QStringLiteral("sqlite"), c.server, c.database, c.user,
             QString::number(seed), QString::number(attempts), QString::number(ms)});
    QVERIFY2(p.waitForStarted(10000), qPrintable(p.errorString()));
}

// Every rule broken in the database: the consistency check's findings, and,
// asked directly, a unit or space with two holders, a facility whose loans
// exceed its received amount, a collected total that is not the sum of the
// payments, and (SQLite) a damaged file.
inline QStringList brokenRules()
{
    QStringList out;
    for (const maintenance::Finding& f : maintenance::checkConsistency(dm()))
        out << f.plainLine();
    const QString mask = QString::fromLatin1(kEmptyDateMask);
    const struct {
        const char* what;
        QString sql;
        QVariantList values;
    } direct[] {
        {"unit with two holders", QStringLiteral("select vahed_id from customers where transport_dat=? and vahed_id>0 "
                                                 "group by vahed_id having count(*)>1"), {mask}},
        {"storage room sold twice", QStringLiteral("select anbari_id from anbari group by anbari_id having count(*)>1"), {}},
        {"parking space sold twice", QStringLiteral("select parking_id from parking group by parking_id having count(*)>1"), {}},
        {"facility overdrawn", QStringLiteral("select t.id from tashilat t where t.daryafti < "
                                              "(select coalesce(sum(mablagh),0) from vahed_vam where tashilat_id=t.id)"), {}},
        {"collected total wrong", QStringLiteral("select c.id from customers c where coalesce(c.pardakht_sum,0) <> "
                                                 "(select coalesce(sum(vosol),0) from pardakht where customer_id=c.id)"), {}},
    };
    for (const auto& d : direct)
        for (const QString& id : dm().textColumn(d.sql, d.values))
            out << QString::fromLatin1(d.what) + QLatin1Char(' ') + id;
    if (dm().backend() == Backend::SQLite) {
        const QString integrity = dm().scalar(QStringLiteral("PRAGMA integrity_check")).toString();
        if (integrity != QLatin1String("ok"))
            out << QStringLiteral("integrity: ") + integrity;
    }
    return out;
}

} // namespace tavrin::test
