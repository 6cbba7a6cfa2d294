// A worker of the race and crash tests: opens the database named on its command
// line and, for a bounded time or number of attempts, runs the program's own
// writing actions on the rows of the first project: a unit sold to a new
// applicant, a storage room or parking space sold to an applicant, a loan from
// one of the project's facilities, a payment, an applicant moved to another
// unit, an applicant deleted, a unit edited from a form read while it was free,
// a file transferred (its unit then set free in the unit window) and one taken
// back (its transfer date cleared), a unit, storage room, parking space,
// facility, the project or a pre-registration saved from a window read a
// moment before (stale...), and the country divisions replaced.
//
//   stress_worker sqlite|pg SERVER DATABASE USER SEED ATTEMPTS MILLISECONDS
//
// ATTEMPTS or MILLISECONDS 0: no bound of that kind.  Each attempt writes, each
// line written straight to standard output (no buffer a kill could lose):
//   begin N ACTION TARGET      before the action starts
//   ok N ACTION TARGET ROW     after its commit (ROW: the row it wrote; a
//                              stale edit adds the value it read and wrote)
//   no N ACTION TARGET         refused by the action's own checks (a stale
//                              edit adds "changed" when told another user
//                              changed the record)
//   err N ACTION TARGET        failed with a database error (rolled back)
// and at the end "done ATTEMPTS OK NO ERR MILLISECONDS".  TAVRIN_STRESS_SKIP
// names actions (comma separated) the worker leaves out.
#include "applicants/applicant_fixtures.h"
#include "reliability/stale_records.h"

#include "applicants/applicant_texts.h"
#include "applicants/assignments_logic.h"
#include "applicants/customers_logic.h"
#include "applicants/payments_logic.h"
#include "common/activitylog.h"
#include "common/jalali.h"
#include "common/nationcode.h"
#include "prereg/pishsabt_logic.h"
#include "projects/facilities_logic.h"
#include "projects/projects_logic.h"
#include "projects/spaces_logic.h"
#include "projects/units_logic.h"
#include "reference/divisions.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>

#include <unistd.h>

using namespace tavrin;

namespace {

void say(const QString& line)
{
    const QByteArray b = line.toUtf8() + '\n';
    qsizetype done = 0;
    while (done < b.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, b.constData() + done, size_t(b.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

QList<qint64> ids(const QString& sql, const QVariantList& values = {})
{
    QList<qint64> out;
    QSqlQuery q = dm().exec(sql, values);
    while (q.next())
        out << q.value(0).toLongLong();
    return out;
}

// A valid national code unique to this worker's process and attempt.
QString nationCode(qint64 pid, int attempt)
{
    const QString nine = QStringLiteral("%1%2").arg(pid % 100000, 5, 10, QLatin1Char('0')).arg(attempt % 10000, 4, 10, QLatin1Char('0'));
    for (int c = 0; c < 10; ++c)
        if (isValidNationCode(nine + QString::number(c)))
            return nine + QString::number(c);
    return nine + QLatin1Char('0');
}

// A unit's entry form filled from its row, as the unit window fills it.
units::UnitForm unitFormOf(const QSqlRecord& u)
{
    const auto t = [&u](const char* c) { return text(u.value(QString::fromLatin1(c))); };
    const auto n = [&u](const char* c) { return items::numberValue(u, c); };
    const auto m = [&u](const char* c) { return QString::number(toMoney(u.value(QString::fromLatin1(c)))); };
    units::UnitForm f;
    f.karbari = t("karbari");
    f.bolok = t("bolok");
    f.tabaghe = t("tabaghe");
    f.vahed_no = t("vahed_no");
    f.jahat = t("jahat");
    f.otagh = t("otagh");
    f.metraj = n("metraj");
    f.metraj_z = n("metraj_z");
    f.teras = n("teras");
    f.hayat = n("hayat");
    f.mablagh1 = m("mablagh1");
    f.teras1 = m("teras1");
    f.hayat1 = m("hayat1");
    f.mablagh = m("mablagh");
    f.ekhtesasi = t("ekhtesasi");
    f.moshtarak = t("moshtarak");
    f.status = t("status");
    f.vahed_typ = t("vahed_typ");
    f.bana = t("bana");
    return f;
}

// A storage room's or parking space's entry form filled from its row.
spaces::SpaceForm spaceFormOf(const QSqlRecord& r)
{
    spaces::SpaceForm f;
    f.bolok = text(r.value(QStringLiteral("bolok")));
    f.num = text(r.value(QStringLiteral("num")));
    f.metraj = items::numberValue(r, "metraj");
    f.pos = text(r.value(QStringLiteral("pos")));
    f.mablagh1 = QString::number(toMoney(r.value(QStringLiteral("mablagh1"))));
    f.mablagh = QString::number(toMoney(r.value(QStringLiteral("mablagh"))));
    f.status = text(r.value(QStringLiteral("status")));
    f.saghf = text(r.value(QStringLiteral("saghf")));
    return f;
}

struct Worker {
    QRandomGenerator rng;
    qint64 pid = QCoreApplication::applicationPid();
    QSqlRecord project;
    QList<qint64> units, storage, parking, facilities;
    QList<test::StaleRecords> stale;
    int attempt = 0;
    QString note;  // what the attempt's line adds after its fields

    template <class T>
    T pick(const QList<T>& from) { return from.isEmpty() ? T() : from[int(rng.bounded(quint32(from.size())))]; }

    // The unit's form as a user opened it while the unit was free, saved as it stands.
    static units::UnitForm freeUnitForm(const QSqlRecord& u)
    {
        const auto t = [&u](const char* c) { return text(u.value(QString::fromLatin1(c))); };
        units::UnitForm f;
        f.karbari = t("karbari");
        f.bolok = t("bolok");
        f.tabaghe = t("tabaghe");
        f.vahed_no = t("vahed_no");
        f.jahat = t("jahat");
        f.otagh = t("otagh");
        f.metraj = t("metraj");
        f.mablagh1 = QString::number(toMoney(u.value(QStringLiteral("mablagh1"))));
        f.metraj_z = f.teras = f.teras1 = f.hayat = f.hayat1 = QStringLiteral("0");
        f.mablagh = units::priceText(f);
        f.status = QStringLiteral("فعال");
        return f;
    }
    qint64 anApplicant() { return pick(ids(QStringLiteral("select id from customers order by id"))); }

    // Runs one action; returns the row it wrote, 0 when refused.
    qint64 run(const QString& action, qint64 target)
    {
        const auto done = [](const Outcome& r) { return r.done ? qMax<qint64>(r.id, 1) : 0; };
        if (action == QLatin1String("sale")) {
            const QSqlRecord unit = test::rowOf(QStringLiteral("vahedha"), target);
            applicants::CustomerValues v = test::saleOf(project, unit, QStringLiteral("خريدار%1").arg(attempt),
                                                        nationCode(pid, attempt));
            return done(applicants::insertCustomer(v, test::answering(true)));
        }
        if (action == QLatin1String("storage") || action == QLatin1String("parking")) {
            const auto& side = action == QLatin1String("storage") ? assignments::storageSide() : assignments::parkingSide();
            return done(assignments::assign(side, target, pick(action == QLatin1String("storage") ? storage : parking)));
        }
        if (action == QLatin1String("loan"))
            return done(facilities::addLoan(target, pick(facilities), QStringLiteral("10000000")));
        if (action == QLatin1String("payment")) {
            payments::PaymentForm f;
            f.pardakht_typ = QStringLiteral("قسط");
            f.mablagh = f.vosol = QString::number(1000000 * (1 + rng.bounded(9)));
            f.num = QStringLiteral("%1-%2").arg(pid).arg(attempt);
            f.dat = QStringLiteral("1403/01/01");
            return done(payments::addPayment(target, f));
        }
        if (action == QLatin1String("move")) {
            const auto row = applicants::customerRow(target);
            if (!row)
                return 0;
            applicants::CustomerValues v = applicants::valuesOf(*row);
            v.insert(applicants::unitValues(test::rowOf(QStringLiteral("vahedha"), pick(units))));
            return done(applicants::updateCustomer(target, v));
        }
        if (action == QLatin1String("delete"))
            return done(applicants::deleteCustomer(target));
        if (action == QLatin1String("unitedit"))
            {
            const QSqlRecord u = test::rowOf(QStringLiteral("vahedha"), target);
            return done(units::updateUnit(project, target, freeUnitForm(u), u));
        }
        if (action == QLatin1String("transfer") || action == QLatin1String("takeback")) {
            const auto row = applicants::customerRow(target);
            if (!row || jalali::isEmptyDate(text(row->value(QStringLiteral("transport_dat")))) != (action == QLatin1String("transfer")))
                return 0;
            applicants::CustomerValues v = applicants::valuesOf(*row);
            const bool handOn = action == QLatin1String("transfer");
            v[QStringLiteral("status")] = handOn ? custext::kTransferred : custext::kActive;
            v[QStringLiteral("transport_dat")] = handOn ? QStringLiteral("1403/06/01") : QString::fromLatin1(kEmptyDateMask);
            const qint64 written = done(applicants::updateCustomer(target, v));
            if (!written || !handOn)
                return written;
            // The file handed on: its unit is set free in the unit window, as
            // the staff do; told that another user changed the unit meanwhile,
            // they read it again and save again.
            const qint64 unit = row->value(QStringLiteral("vahed_id")).toLongLong();
            for (int again = 0; again < 20; ++again) {
                const QSqlRecord u = test::rowOf(QStringLiteral("vahedha"), unit);
                const Outcome r = units::updateUnit(project, unit, freeUnitForm(u), u);
                if (!r.changedByOther)
                    return done(r);
            }
            return 0;
        }
        if (action.startsWith(QLatin1String("stale")))
            return staleEdit(action, target);
        // The divisions: three settlements whose codes name this attempt.
        QList<Division> rows;
        for (int i = 0; i < 3; ++i)
            rows << Division::fromValues({QStringLiteral("فارس"), QStringLiteral("شيراز"), QStringLiteral("شيراز"), {}, {}, {},
                                          QStringLiteral("%1-%2-%3").arg(pid).arg(target).arg(i)});
        return replaceDivisions(dm(), rows) == 3 ? target : 0;
    }

    // Actions left out of this run (TAVRIN_STRESS_SKIP, comma separated).
    QStringList skipped = qEnvironmentVariable("TAVRIN_STRESS_SKIP").split(QLatin1Char(','), Qt::SkipEmptyParts);

    // A record saved from a window that read it a moment before: the row read,
    // a pause in which another worker may save the same record, then the save
    // of the row as read with one column changed to a text of this attempt's
    // own.  The line tells what the window read and wrote, or that the save
    // was refused because another user had changed the record.
    qint64 staleEdit(const QString& action, qint64 id)
    {
        const auto kind = std::find_if(stale.begin(), stale.end(), [&](const test::StaleRecords& r) { return r.action == action; });
        const QSqlRecord read = test::rowOf(kind->table, id);
        if (read.isEmpty())
            return 0;
        const QString was = text(read.value(kind->column));
        const QString value = QStringLiteral("w%1-%2").arg(pid).arg(attempt);
        QThread::msleep(5 + rng.bounded(30u));
        bool saved = false, changed = false;
        if (kind->table == QLatin1String("vahedha")) {
            units::UnitForm f = unitFormOf(read);
            f.jahat = value;
            const Outcome r = units::updateUnit(project, id, f, read);
            saved = r.done;
            changed = r.changedByOther;
        } else if (kind->table == QLatin1String("anbariha") || kind->table == QLatin1String("parkingha")) {
            const spaces::SpaceKind& k = kind->table == QLatin1String("anbariha") ? spaces::storage() : spaces::parking();
            spaces::SpaceForm f = spaceFormOf(read);
            f.pos = value;
            const Outcome r = spaces::updateSpace(k, project, id, f, read);
            saved = r.done;
            changed = r.changedByOther;
        } else if (kind->table == QLatin1String("tashilat")) {
            facilities::FacilityForm f = facilities::formOf(read);
            f.cmt = value;
            const Outcome r = facilities::updateFacility(id, f, read);
            saved = r.done;
            changed = r.changedByOther;
        } else if (kind->table == QLatin1String("projects")) {
            projects::ProjectValues v = projects::valuesOf(read);
            v[QStringLiteral("cmt")] = value;
            const Outcome r = projects::updateProject(id, projects::valuesOf(read), v);
            saved = r.done;
            changed = r.changedByOther;
        } else {
            prereg::PersonValues v = prereg::valuesOf(read);
            v[QStringLiteral("cmt")] = value;
            const Outcome r = prereg::updatePerson(id, prereg::valuesOf(read), v);
            saved = r.done;
            changed = r.changedByOther;
        }
        note = saved ? QLatin1Char(' ') + was + QLatin1Char(' ') + value : changed ? QStringLiteral(" changed") : QString();
        return saved ? id : 0;
    }

    // The action of an attempt and what it works on.
    std::pair<QString, qint64> choose()
    {
        for (;;) {
            auto chosen = chooseAny();
            if (!skipped.contains(chosen.first))
                return chosen;
        }
    }

    std::pair<QString, qint64> chooseAny()
    {
        const quint32 r = rng.bounded(100u);
        if (r < 20)
            return {QStringLiteral("sale"), pick(units)};
        if (r < 29)
            return {QStringLiteral("storage"), anApplicant()};
        if (r < 38)
            return {QStringLiteral("parking"), anApplicant()};
        if (r < 51)
            return {QStringLiteral("loan"), pick(units)};
        if (r < 63)
            return {QStringLiteral("payment"), anApplicant()};
        if (r < 66)
            return {QStringLiteral("transfer"), anApplicant()};
        if (r < 69)
            return {QStringLiteral("takeback"), pick(ids(QStringLiteral("select id from customers where transport_dat<>? order by id"),
                                                        {QString::fromLatin1(kEmptyDateMask)}))};
        if (r < 76)
            return {QStringLiteral("move"), anApplicant()};
        if (r < 82)
            return {QStringLiteral("delete"), anApplicant()};
        if (r < 85)
            return {QStringLiteral("unitedit"), pick(units)};
        if (r < 95) {
            const test::StaleRecords& s = stale[int(rng.bounded(quint32(stale.size())))];
            return {s.action, pick(s.ids)};
        }
        return {QStringLiteral("import"), qint64(attempt)};
    }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 8) {
        say(QStringLiteral("usage: stress_worker sqlite|pg SERVER DATABASE USER SEED ATTEMPTS MILLISECONDS"));
        return 2;
    }
    setLocalIdentity({QStringLiteral("10.0.0.9"), QStringLiteral("worker")});
    ConnectionParams p;
    p.backend = args[1] == QLatin1String("pg") ? Backend::PostgreSQL : Backend::SQLite;
    p.server = args[2];
    p.database = args[3];
    p.user = args[4];
    p.createIfMissing = false;
    auto db = std::make_unique<Database>(p);
    QString why;
    if (!db->open(&why)) {
        say(QStringLiteral("cannot open: ") + why);
        return 2;
    }
    setDm(std::move(db));
    test::loginAs(QStringLiteral("admin"));

    Worker w;
    w.rng.seed(quint32(args[5].toUInt()));
    const int maxAttempts = args[6].toInt();
    const qint64 maxMs = args[7].toLongLong();
    w.project = *dm().firstRow(QStringLiteral("select * from projects order by id"));
    const QVariant prj = w.project.value(QStringLiteral("id"));
    w.units = ids(QStringLiteral("select id from vahedha where prj_id=? order by id"), {prj});
    w.storage = ids(QStringLiteral("select id from anbariha where prj_id=? order by id"), {prj});
    w.parking = ids(QStringLiteral("select id from parkingha where prj_id=? order by id"), {prj});
    w.facilities = ids(QStringLiteral("select id from tashilat where prj_id=? order by id"), {prj});
    w.stale = test::staleRecords();

    int ok = 0, refused = 0, failed = 0;
    QElapsedTimer clock;
    clock.start();
    while ((maxAttempts == 0 || w.attempt < maxAttempts) && (maxMs == 0 || clock.elapsed() < maxMs)) {
        ++w.attempt;
        w.note.clear();
        const auto [action, target] = w.choose();
        const QString head = QStringLiteral("%1 %2 %3").arg(w.attempt).arg(action).arg(target);
        say(QStringLiteral("begin ") + head);
        try {
            if (const qint64 row = target ? w.run(action, target) : 0) {
                ++ok;
                say(QStringLiteral("ok %1 %2").arg(head).arg(row) + w.note);
            } else {
                ++refused;
                say(QStringLiteral("no ") + head + w.note);
            }
        } catch (const DbError& e) {
            // A deadlock or serialisation failure the server resolved by
            // rolling this action back: reported, as a user would be told.
            ++failed;
            say(QStringLiteral("err ") + head + QStringLiteral(" ") + e.driverText.simplified());
        }
    }
    say(QStringLiteral("done %1 %2 %3 %4 %5").arg(w.attempt).arg(ok).arg(refused).arg(failed).arg(clock.elapsed()));
    setDm(nullptr);
    return 0;
}
