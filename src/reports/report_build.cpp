#include "reports/report_build.h"

#include "reports/report_texts.h"

#include "db/database.h"
#include "db/locks.h"
#include "db/schema.h"

#include <cmath>

namespace tavrin::reports {

namespace {

const QString kCurrentBuyer = QStringLiteral("not (") + dateIsSet(QStringLiteral("transport_dat")) + ')';

// The projects of the build, as a common table expression named lp.
QString listedProjects(const ProjectSet& set)
{
    return QStringLiteral("lp AS (select id from projects") + set.where + ')';
}

QString inListed(const QString& column)
{
    return column + QStringLiteral(" in (select id from lp)");
}

// Rows per project of a table whose project column is prj_id.
QString countPerProject(const QString& name, const QString& table, const QString& condition = {})
{
    return name + QStringLiteral(" AS (select prj_id, count(*) as c from ") + table + QStringLiteral(" where ") +
           inListed(QStringLiteral("prj_id")) + condition + QStringLiteral(" group by prj_id)");
}

QString countIf(const QString& condition)
{
    return QStringLiteral("sum(case when ") + condition + QStringLiteral(" then 1 else 0 end)");
}

// The current buyers of each project with their progress and the price of their units.
QString currentBuyers()
{
    return QStringLiteral("cu AS (select prj_id, count(*) as c, ") + countIf(QStringLiteral("prot_no<>''")) +
           QStringLiteral(" as prot, ") + countIf(QStringLiteral("mali_no<>''")) + QStringLiteral(" as mali, ") +
           countIf(QStringLiteral("tahvil_no<>''")) + QStringLiteral(" as tahvil, ") +
           countIf(QStringLiteral("sanad_no<>''")) + QStringLiteral(" as sanad, ") +
           countIf(dateIsSet(QStringLiteral("sanad_enteghal_dat"))) +
           QStringLiteral(" as enteghal, sum(mablagh) as m from customers where ") + inListed(QStringLiteral("prj_id")) +
           QStringLiteral(" and ") + kCurrentBuyer + QStringLiteral(" group by prj_id)");
}

// The first facility of each listed project and the loans given from each facility.
QString facilityTables()
{
    return QStringLiteral("ff AS (select prj_id, min(id) as id from tashilat where ") +
           inListed(QStringLiteral("prj_id")) +
           QStringLiteral(" group by prj_id), tk AS (select tashilat_id, sum(mablagh) as m from vahed_vam where "
                          "tashilat_id in (select id from tashilat where ") +
           inListed(QStringLiteral("prj_id")) + QStringLiteral(") group by tashilat_id)");
}

// Storage rooms and parking spaces: registered (the project's) and sold (assigned to applicants).
QString spaceTables()
{
    return countPerProject(QStringLiteral("anr"), QStringLiteral("anbariha")) + QStringLiteral(", ") +
           countPerProject(QStringLiteral("ans"), QStringLiteral("anbari")) + QStringLiteral(", ") +
           countPerProject(QStringLiteral("par"), QStringLiteral("parkingha")) + QStringLiteral(", ") +
           countPerProject(QStringLiteral("pas"), QStringLiteral("parking"));
}

const QString kSpaceJoins = QStringLiteral(
    " LEFT JOIN anr ON anr.prj_id=p.id LEFT JOIN ans ON ans.prj_id=p.id"
    " LEFT JOIN par ON par.prj_id=p.id LEFT JOIN pas ON pas.prj_id=p.id");
const QString kFacilityJoins = QStringLiteral(
    " LEFT JOIN tashilat t ON t.prj_id=p.id LEFT JOIN ff ON ff.prj_id=p.id LEFT JOIN tk ON tk.tashilat_id=t.id");
// The row of a project without facilities, or of its first facility.
const QString kFirstRow = QStringLiteral("(t.id IS NULL OR t.id=ff.id)");

QString onFirstRow(const QString& expr)
{
    return QStringLiteral("CASE WHEN ") + kFirstRow + QStringLiteral(" THEN ") + expr + QStringLiteral(" END");
}

QString orZero(const QString& expr)
{
    return QStringLiteral("coalesce(") + expr + QStringLiteral(",0)");
}

QString facilityText(const QString& column)
{
    return QStringLiteral("CASE WHEN t.id IS NULL THEN '' ELSE t.") + column + QStringLiteral(" END");
}

const QString kUserId = QStringLiteral("CAST(? AS INTEGER)");

Statement statusInsert(const BuildRequest& r)
{
    Statement s;
    s.sql = QStringLiteral("WITH ") + listedProjects(r.projects) + QStringLiteral(", ") + facilityTables() +
            QStringLiteral(", ") + countPerProject(QStringLiteral("un"), QStringLiteral("vahedha")) +
            QStringLiteral(", ") + currentBuyers() + QStringLiteral(", ") + spaceTables() +
            QStringLiteral(", vo AS (select c.prj_id, sum(pd.vosol) as v from pardakht pd join customers c on "
                           "c.id=pd.customer_id where ") +
            inListed(QStringLiteral("c.prj_id")) + QStringLiteral(" group by c.prj_id)") +
            QStringLiteral(
                " INSERT INTO prj_koli_rep (prs_id,ostan,shahrestan,prj_cod,prj_typ,prj_name,st_tavrin,prj_prot_typ,"
                "vahed_kol,vahed_cnt,vahed_sabt,vahed_f,prot_no,mali_no,tahvil_no,sanad_no,anbari_cnt,anbari_sabt,"
                "anbari_f,parking_cnt,parking_sabt,parking_f,bank,etebar_loc,prot_typ,daryafti,vahed_takhsis,"
                "vahed_mablagh,vahed_vosol) SELECT ") +
            kUserId + QStringLiteral(", p.ostan, p.shahrestan, p.prj_cod, p.prj_typ, p.prj_name, p.st_tavrin, p.prot_typ");
    for (const QString& e : {orZero(QStringLiteral("p.vahed_kol")), orZero(QStringLiteral("p.vahed_cnt")),
                             orZero(QStringLiteral("un.c")), orZero(QStringLiteral("cu.c")),
                             orZero(QStringLiteral("cu.prot")), orZero(QStringLiteral("cu.mali")),
                             orZero(QStringLiteral("cu.tahvil")), orZero(QStringLiteral("cu.sanad")),
                             orZero(QStringLiteral("p.anbari_cnt")), orZero(QStringLiteral("anr.c")),
                             orZero(QStringLiteral("ans.c")), orZero(QStringLiteral("p.parking_cnt")),
                             orZero(QStringLiteral("par.c")), orZero(QStringLiteral("pas.c"))})
        s.sql += QStringLiteral(", ") + onFirstRow(e);
    s.sql += QStringLiteral(", ") + facilityText(QStringLiteral("bank")) + QStringLiteral(", ") +
             facilityText(QStringLiteral("etebar_loc")) + QStringLiteral(", ") +
             facilityText(QStringLiteral("prot_typ")) +
             QStringLiteral(", CASE WHEN t.id IS NULL THEN 0 ELSE t.daryafti END") +
             QStringLiteral(", CASE WHEN t.id IS NULL THEN 0 ELSE coalesce(tk.m,0) END, ") +
             onFirstRow(orZero(QStringLiteral("cu.m"))) + QStringLiteral(", ") +
             onFirstRow(orZero(QStringLiteral("vo.v"))) + QStringLiteral(" FROM projects p") + kFacilityJoins +
             QStringLiteral(" LEFT JOIN un ON un.prj_id=p.id LEFT JOIN cu ON cu.prj_id=p.id") + kSpaceJoins +
             QStringLiteral(" LEFT JOIN vo ON vo.prj_id=p.id WHERE ") + inListed(QStringLiteral("p.id"));
    s.values = r.projects.values;
    s.values << r.prsId;
    return s;
}

Statement comprehensiveInsert(const BuildRequest& r)
{
    Statement s;
    s.sql = QStringLiteral("WITH ") + listedProjects(r.projects) + QStringLiteral(", ") + facilityTables() +
            QStringLiteral(", ") + countPerProject(QStringLiteral("un"), QStringLiteral("vahedha")) +
            QStringLiteral(", ") +
            countPerProject(QStringLiteral("cu"), QStringLiteral("customers"), QStringLiteral(" and ") + kCurrentBuyer) +
            QStringLiteral(", ") + spaceTables() +
            QStringLiteral(" INSERT INTO prj_tas_rep (prs_id,ostan,shahrestan,prj_cod,prj_typ,prj_name,vahed_sabt,"
                           "vahed_f,anbari_sabt,anbari_f,parking_sabt,parking_f,bank,etebar_loc,prot_typ,daryafti,"
                           "vahed_takhsis) SELECT ") +
            kUserId + QStringLiteral(", p.ostan, p.shahrestan, p.prj_cod, p.prj_typ, p.prj_name");
    for (const QString& e : {orZero(QStringLiteral("un.c")), orZero(QStringLiteral("cu.c")),
                             orZero(QStringLiteral("anr.c")), orZero(QStringLiteral("ans.c")),
                             orZero(QStringLiteral("par.c")), orZero(QStringLiteral("pas.c"))})
        s.sql += QStringLiteral(", ") + onFirstRow(e);
    s.sql += QStringLiteral(", ") + facilityText(QStringLiteral("bank")) + QStringLiteral(", ") +
             facilityText(QStringLiteral("etebar_loc")) + QStringLiteral(", ") +
             facilityText(QStringLiteral("prot_typ")) +
             QStringLiteral(", CASE WHEN t.id IS NULL THEN 0 ELSE t.daryafti END") +
             QStringLiteral(", CASE WHEN t.id IS NULL THEN 0 ELSE coalesce(tk.m,0) END FROM projects p") +
             kFacilityJoins + QStringLiteral(" LEFT JOIN un ON un.prj_id=p.id LEFT JOIN cu ON cu.prj_id=p.id") +
             kSpaceJoins + QStringLiteral(" WHERE ") + inListed(QStringLiteral("p.id"));
    s.values = r.projects.values;
    s.values << r.prsId;
    return s;
}

Statement unitProgressInsert(const BuildRequest& r)
{
    Statement s;
    s.sql = QStringLiteral("WITH ") + listedProjects(r.projects) + QStringLiteral(", ") + currentBuyers() +
            QStringLiteral(" INSERT INTO prj_rep_vahed (prs_id,ostan,shahrestan,prj_name,vahed_kol,vahed_cnt,"
                           "vahed_tavrin,vahed_tasviye,vahed_tahvil,vahed_sanad,vahed_sabt) SELECT ") +
            kUserId +
            QStringLiteral(", p.ostan, p.shahrestan, p.prj_name, coalesce(p.vahed_kol,0), coalesce(p.vahed_cnt,0), "
                           "coalesce(cu.prot,0), coalesce(cu.mali,0), coalesce(cu.tahvil,0), coalesce(cu.enteghal,0), "
                           "coalesce(cu.c,0) FROM projects p LEFT JOIN cu ON cu.prj_id=p.id WHERE ") +
            inListed(QStringLiteral("p.id"));
    s.values = r.projects.values;
    s.values << r.prsId;
    return s;
}

Statement facilitiesUsedInsert(const Database& db, const BuildRequest& r)
{
    // A facility whose contract type is not "supportive" (empty and NULL included) is not.
    const QString supportive = db.dialect().fold(QStringLiteral("coalesce(prot_typ,'')")) + QStringLiteral("=?");
    Statement s;
    s.sql = QStringLiteral("WITH ") + listedProjects(r.projects) +
            QStringLiteral(", tf AS (select prj_id, sum(case when ") + supportive +
            QStringLiteral(" then mablagh else 0 end) as h, sum(case when ") + supportive +
            QStringLiteral(" then 0 else mablagh end) as nh from tashilat where ") + inListed(QStringLiteral("prj_id")) +
            QStringLiteral(" group by prj_id), vv AS (select prj_id, sum(vam) as v from vahedha where ") +
            inListed(QStringLiteral("prj_id")) + QStringLiteral(" group by prj_id), ") +
            countPerProject(QStringLiteral("sd"), QStringLiteral("customers"), QStringLiteral(" and sanad_no<>''")) +
            QStringLiteral(" INSERT INTO prj_rep_tashilat (prs_id,ostan,shahrestan,prj_name,hemayati,nohemayati,vam,"
                           "sanad) SELECT ") +
            kUserId +
            QStringLiteral(", p.ostan, p.shahrestan, p.prj_name, coalesce(tf.h,0), coalesce(tf.nh,0), "
                           "coalesce(vv.v,0), coalesce(sd.c,0) FROM projects p LEFT JOIN tf ON tf.prj_id=p.id "
                           "LEFT JOIN vv ON vv.prj_id=p.id LEFT JOIN sd ON sd.prj_id=p.id WHERE ") +
            inListed(QStringLiteral("p.id"));
    const QString word = foldText(reptext::kSupportive);
    s.values = r.projects.values;
    s.values << word << word << r.prsId;
    return s;
}

QList<Statement> activityInserts(const BuildRequest& r)
{
    Statement projects;
    projects.sql =
        QStringLiteral("WITH ") + listedProjects(r.projects) +
        // The first project of each county (its lowest id, the rule of every first row) carries its
        // pre-registrations.
        QStringLiteral(", listed AS (select p.id, row_number() over (partition by p.ostan, p.shahrestan order by "
                       "p.id) as rn from projects p where ") +
        inListed(QStringLiteral("p.id")) + QStringLiteral("), ") +
        countPerProject(QStringLiteral("un"), QStringLiteral("vahedha")) + QStringLiteral(", ") +
        countPerProject(QStringLiteral("anr"), QStringLiteral("anbariha")) + QStringLiteral(", ") +
        countPerProject(QStringLiteral("par"), QStringLiteral("parkingha")) + QStringLiteral(", ") +
        countPerProject(QStringLiteral("cu"), QStringLiteral("customers")) +
        QStringLiteral(", ps AS (select ostan, shahrestan, count(*) as c from pishsabt group by ostan, shahrestan)"
                       " INSERT INTO gozaresh_sabt (prs_id,ostan,shahrestan,prj_name,prj_cnt,vahed_kol,vahed_vagozari,"
                       "vahed,anbari,parking,moteghazi,pishsabt) SELECT ") +
        kUserId +
        QStringLiteral(", p.ostan, p.shahrestan, p.prj_name, 1, coalesce(p.vahed_kol,0), coalesce(p.vahed_cnt,0), "
                       "coalesce(un.c,0), coalesce(anr.c,0), coalesce(par.c,0), coalesce(cu.c,0), "
                       "CASE WHEN l.rn=1 THEN coalesce(ps.c,0) ELSE 0 END FROM listed l JOIN projects p ON p.id=l.id "
                       "LEFT JOIN un ON un.prj_id=p.id LEFT JOIN anr ON anr.prj_id=p.id LEFT JOIN par ON "
                       "par.prj_id=p.id LEFT JOIN cu ON cu.prj_id=p.id LEFT JOIN ps ON ps.ostan=p.ostan AND "
                       "ps.shahrestan=p.shahrestan");
    projects.values = r.projects.values;
    projects.values << r.prsId;

    // Counties with pre-registrations and no listed project: province and county
    // together, each county tested once.
    Statement counties;
    counties.sql = QStringLiteral("INSERT INTO gozaresh_sabt (prs_id,ostan,shahrestan,pishsabt) SELECT ") + kUserId +
                   QStringLiteral(", s.ostan, s.shahrestan, s.c FROM (select ostan, shahrestan, count(*) as c from "
                                  "pishsabt");
    counties.values << r.prsId;
    if (r.grantedCountiesOnly) {
        counties.sql += QStringLiteral(" where shahrestan in (select cmt from dastrasi2 where user_id=?)");
        counties.values << r.prsId;
    }
    counties.sql += QStringLiteral(" group by ostan, shahrestan) s WHERE NOT EXISTS (select 1 from gozaresh_sabt g "
                                   "where g.prs_id=? and g.ostan=s.ostan and g.shahrestan=s.shahrestan)");
    counties.values << r.prsId;
    return {projects, counties};
}

// ---------------------------------------------------------------- reading

struct Definition {
    QString table;
    QStringList sums;                    // summary order
    QMap<QString, QString> derived;      // computed columns of the detail and the sums
    bool facilityRows = false;           // rows per facility, first row marked by vahed_sabt
};

const Definition& definition(ReportKind kind)
{
    static const QMap<ReportKind, Definition> defs = [] {
        QMap<ReportKind, Definition> d;
        const auto list = [](const char* names) { return QString::fromLatin1(names).split(','); };
        d[ReportKind::Status] = {QStringLiteral("prj_koli_rep"),
                                 list("vahed_kol,vahed_cnt,vahed_sabt,vahed_f,mande,prot_no,mali_no,tahvil_no,"
                                      "sanad_no,anbari_cnt,anbari_sabt,anbari_f,parking_cnt,parking_sabt,parking_f,"
                                      "daryafti,vahed_takhsis,vahed_mablagh,vahed_vosol"),
                                 {{QStringLiteral("mande"), QStringLiteral("vahed_cnt-vahed_f")}},
                                 true};
        d[ReportKind::FacilitiesUsed] = {QStringLiteral("prj_rep_tashilat"), list("hemayati,nohemayati,vam,sanad"), {},
                                         false};
        d[ReportKind::UnitProgress] = {QStringLiteral("prj_rep_vahed"),
                                       list("vahed_kol,vahed_cnt,vahed_tavrin,mande,vahed_tasviye,vahed_tahvil,"
                                            "vahed_sanad,vahed_sabt"),
                                       {{QStringLiteral("mande"), QStringLiteral("vahed_cnt-vahed_sabt")}},
                                       false};
        d[ReportKind::Activity] = {QStringLiteral("gozaresh_sabt"),
                                   list("vahed_kol,vahed_vagozari,vahed,anbari,parking,moteghazi,pishsabt,prj_cnt"), {},
                                   false};
        d[ReportKind::Comprehensive] = {QStringLiteral("prj_tas_rep"),
                                        list("vahed_sabt,vahed_f,anbari_sabt,anbari_f,parking_sabt,parking_f,daryafti,"
                                             "vahed_takhsis"),
                                        {},
                                        true};
        return d;
    }();
    return *defs.constFind(kind);
}

QString sumExpression(const Definition& def, const QString& name)
{
    return QStringLiteral("coalesce(sum(") + def.derived.value(name, name) + QStringLiteral("),0)");
}

// " where ostan<>''" with the reading filters and the user.
QString readingWhere(const Database& db, const ReadingFilter& f, qint64 prsId, QVariantList& values)
{
    QString w = QStringLiteral(" where ostan<>''");
    const auto like = [&](const QString& column, const QString& text) {
        w += QStringLiteral(" and ") + db.dialect().likeCondition(db.dialect().fold(column));
        values << QString(QLatin1Char('%') + db.dialect().likeText(foldText(text)) + QLatin1Char('%'));
    };
    if (f.ostan) {
        if (f.exactProvince) {
            w += QStringLiteral(" and ") + db.dialect().exactEquals(QStringLiteral("ostan"));
            values << QString(*f.ostan);
        } else {
            like(QStringLiteral("ostan"), *f.ostan);
        }
    }
    if (f.shahrestan)
        like(QStringLiteral("shahrestan"), *f.shahrestan);
    if (f.prjName)
        like(QStringLiteral("prj_name"), *f.prjName);
    w += QStringLiteral(" and prs_id=?");
    values << prsId;
    return w;
}

bool isTextColumn(const QString& table, const QString& column)
{
    const TableDef* t = schema().table(table);
    const ColumnDef* c = t ? t->column(column) : nullptr;
    return c && c->type == ColType::Text;
}

// The order of the detail by project: place, project, a project's first row
// before its further facility rows, then every other column, so that equal
// places and names still come back in one order on every server.
QString projectOrder(const Definition& def)
{
    QStringList keys {QStringLiteral("ostan"), QStringLiteral("coalesce(shahrestan,'')"),
                      QStringLiteral("coalesce(prj_name,'')")};
    if (def.facilityRows)
        keys << QStringLiteral("coalesce(prj_cod,'')") << QStringLiteral("case when vahed_sabt is null then 1 else 0 end");
    const TableDef* t = schema().table(def.table);
    for (const ColumnDef& c : t->columns) {
        if (c.name == QLatin1String("prs_id") || c.name == QLatin1String("ostan") ||
            c.name == QLatin1String("shahrestan") || c.name == QLatin1String("prj_name") ||
            c.name == QLatin1String("prj_cod"))
            continue;
        if (c.type == ColType::Text)
            keys << QStringLiteral("coalesce(") + c.name + QStringLiteral(",'')");
        else
            keys << QStringLiteral("case when ") + c.name + QStringLiteral(" is null then 0 else 1 end") << c.name;
    }
    return keys.join(',');
}

} // namespace

QString workTable(ReportKind kind)
{
    return definition(kind).table;
}

std::optional<Stamp> readStamp(Database& db, qint64 prsId, ReportKind kind)
{
    const auto r = db.firstRow(QStringLiteral("select dat,zaman from gozaresh_sakht where prs_id=? and rep_name=?"),
                               {prsId, workTable(kind)});
    if (!r)
        return std::nullopt;
    return Stamp {text(r->value(0)), text(r->value(1))};
}

ProjectSet projectSetOf(const ListQuery& q)
{
    return ProjectSet {q.whereSql(), q.values()};
}

QList<Statement> buildStatements(const Database& db, const BuildRequest& r)
{
    const QString table = workTable(r.kind);
    QList<Statement> out {
        // Holds off another build of the same user (another office, another
        // window) until this one commits; other users are not held.
        {locks::statement(locks::Row::User), {r.prsId}},
        {QStringLiteral("delete from gozaresh_sakht where prs_id=? and rep_name=?"), {r.prsId, table}},
        {QStringLiteral("insert into gozaresh_sakht (prs_id,rep_name,dat,zaman) values (?,?,?,?)"),
         {r.prsId, table, r.stamp.dat, r.stamp.zaman}},
        {QStringLiteral("delete from ") + table + QStringLiteral(" where prs_id=?"), {r.prsId}},
    };
    switch (r.kind) {
    case ReportKind::Status:
        out << statusInsert(r);
        break;
    case ReportKind::FacilitiesUsed:
        out << facilitiesUsedInsert(db, r);
        break;
    case ReportKind::UnitProgress:
        out << unitProgressInsert(r);
        break;
    case ReportKind::Activity:
        out << activityInserts(r);
        break;
    case ReportKind::Comprehensive:
        out << comprehensiveInsert(r);
        break;
    }
    return out;
}

void build(Database& db, const BuildRequest& request, const std::function<void(int, int)>& step)
{
    const QList<Statement> statements = buildStatements(db, request);
    Transaction tx(db);
    for (int i = 0; i < statements.size(); ++i) {
        if (step)
            step(i, int(statements.size()));
        db.exec(statements.at(i).sql, statements.at(i).values);
    }
    tx.commit();
}

const QStringList& sumNames(ReportKind kind)
{
    return definition(kind).sums;
}

Statement totalsStatement(const Database& db, ReportKind kind, const ReadingFilter& filter, qint64 prsId)
{
    const Definition& def = definition(kind);
    Statement s;
    s.sql = QStringLiteral("select count(*) as c");
    for (const QString& name : def.sums)
        s.sql += QStringLiteral(", ") + sumExpression(def, name) + QStringLiteral(" as ") + name + QStringLiteral("_sum");
    s.sql += QStringLiteral(" from ") + def.table + readingWhere(db, filter, prsId, s.values);
    return s;
}

Statement detailStatement(const Database& db, ReportKind kind, Grouping grouping, const ReadingFilter& filter,
                          qint64 prsId)
{
    const Definition& def = definition(kind);
    Statement s;
    if (grouping == Grouping::Project) {
        s.sql = QStringLiteral("select *");
        for (auto it = def.derived.cbegin(); it != def.derived.cend(); ++it)
            s.sql += QStringLiteral(", ") + it.value() + QStringLiteral(" as ") + it.key();
        s.sql += QStringLiteral(" from ") + def.table + readingWhere(db, filter, prsId, s.values) +
                 QStringLiteral(" order by ") + projectOrder(def);
        return s;
    }
    const bool county = grouping == Grouping::County;
    s.sql = county ? QStringLiteral("select ostan, shahrestan, count(*) as c") : QStringLiteral("select ostan, count(*) as c");
    for (const QString& name : def.sums)
        s.sql += QStringLiteral(", ") + sumExpression(def, name) + QStringLiteral(" as ") + name;
    s.sql += QStringLiteral(" from ") + def.table + readingWhere(db, filter, prsId, s.values);
    s.sql += county ? QStringLiteral(" group by ostan, shahrestan order by ostan, coalesce(shahrestan,'')")
                    : QStringLiteral(" group by ostan order by ostan");
    return s;
}

std::optional<qint64> wholeNumber(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return value.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float:
        return qint64(std::llround(value.toDouble()));
    default:
        break;
    }
    // Exact decimal text ("1234.0000" from numeric columns): whole part, rounded by the first decimal.
    QString t = value.toString().trimmed();
    if (t.isEmpty())
        return std::nullopt;
    const bool negative = t.startsWith(QLatin1Char('-'));
    if (negative || t.startsWith(QLatin1Char('+')))
        t.remove(0, 1);
    const int dot = t.indexOf(QLatin1Char('.'));
    bool ok = false;
    qint64 whole = (dot < 0 ? t : t.left(dot)).toLongLong(&ok);
    if (dot == 0) {
        whole = 0;
        ok = true;
    }
    if (!ok)
        return qint64(std::llround(value.toDouble()));
    if (dot >= 0 && dot + 1 < t.size() && t.at(dot + 1) >= QLatin1Char('5'))
        ++whole;
    return negative ? -whole : whole;
}

QVariantMap rowValues(ReportKind kind, const QSqlRecord& record)
{
    const QString table = workTable(kind);
    QVariantMap row;
    for (int i = 0; i < record.count(); ++i) {
        const QString name = record.fieldName(i).toLower();
        const QVariant v = record.value(i);
        if (v.isNull())
            row.insert(name, QVariant());
        else if (isTextColumn(table, name))
            row.insert(name, v.toString());
        else if (const auto n = wholeNumber(v))
            row.insert(name, *n);
        else
            row.insert(name, v.toString());
    }
    return row;
}

QList<QVariantMap> readRows(Database& db, ReportKind kind, const Statement& statement)
{
    QList<QVariantMap> rows;
    QSqlQuery q = db.exec(statement.sql, statement.values);
    while (q.next())
        rows << rowValues(kind, q.record());
    return rows;
}

QVariantMap readTotals(Database& db, ReportKind kind, const ReadingFilter& filter, qint64 prsId)
{
    const QList<QVariantMap> rows = readRows(db, kind, totalsStatement(db, kind, filter, prsId));
    return rows.isEmpty() ? QVariantMap() : rows.first();
}

} // namespace tavrin::reports
