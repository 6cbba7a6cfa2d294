#include "projects/projects_logic.h"

#include "projects/item_rules.h"
#include "projects/project_texts.h"

#include "common/activitylog.h"
#include "common/deletepassword.h"
#include "common/dialogs.h"
#include "common/fieldcheck.h"
#include "common/history.h"
#include "common/jalali.h"
#include "common/listmodel.h"
#include "common/logtexts.h"
#include "common/lookups.h"
#include "common/nationcode.h"
#include "common/session.h"
#include "common/stale.h"
#include "db/database.h"
#include "db/schema.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace tavrin::projects {

const QString kSaveFailed = QStringLiteral("خطا! ثبت اطلاعات پروژه انجام نشد");
const QString kDeleteFailed = QStringLiteral("خطا! حذف پروژه انجام نشد");
const QString kWebSaveTitle = QStringLiteral("ذخيره ليست پروژه ها (وب)");
const QString kWebWriteFailed = QStringLiteral("خطا! فايل ليست پروژه ها ساخته نشد");
const QString kPrintFailed = QStringLiteral("خطا! چاپ ليست پروژه ها انجام نشد");
const QString kRecordName = QStringLiteral("پروژه");
const QString kProjectGone = QStringLiteral("خطا! اين پروژه ديگر وجود ندارد");

namespace {

QString col(const char* name)
{
    return QString::fromLatin1(name);
}

// A text bound as a value: never NULL.
QVariant textValue(const QString& s)
{
    return s.isNull() ? QVariant(QStringLiteral("")) : QVariant(s);
}

QString captionOf(const QString& column)
{
    for (const auto& [c, caption] : prjtext::kFieldCaptions)
        if (c == column)
            return caption;
    return column;
}

bool isBlank(const QString& s)
{
    return s.trimmed().isEmpty();
}

// A count field's value: digits only (Persian digits allowed), empty is 0.
std::optional<int> countValue(const QString& text)
{
    const QString t = toAsciiDigits(text).trimmed();
    if (t.isEmpty())
        return 0;
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (!digits.match(t).hasMatch())
        return std::nullopt;
    return t.toInt();
}

// Holds off other writers of projects until the transaction ends, so that the
// duplicate checks made inside it stay true until the row is written.  SQLite
// has taken the write lock with the transaction already.
void lockProjects()
{
    dm().lockTable(QStringLiteral("projects"));
}

bool exists(const QString& sql, const QVariantList& values)
{
    return dm().firstRow(sql, values).has_value();
}

QString eq(const char* column)
{
    return dm().dialect().exactEquals(QString::fromLatin1(column));
}

// The place checks' read: whether the province and county are a pair of the
// country divisions and whether the session's user is granted the county,
// and, for an edit (id > 0), the project's row as stored now; one statement.
// Nothing for an edit whose project is gone.
std::optional<QSqlRecord> readPlace(const ProjectValues& v, qint64 id)
{
    const bool admin = session().isAdminLevel();
    QString sql = QStringLiteral("select case when exists (select id from abadiha where ") + eq("ostan") +
                  QStringLiteral(" and ") + eq("shahrestan") +
                  QStringLiteral(") then 1 else 0 end as in_divisions, case when exists (select user_id from dastrasi2 "
                                 "where user_id=? and cmt=?) then 1 else 0 end as granted");
    QVariantList values {v.value(col("ostan")), v.value(col("shahrestan")),
                         admin ? QVariant(qint64(-1)) : session().prsId, v.value(col("shahrestan"))};
    if (id > 0) {
        sql += QStringLiteral(",p.* from projects p where p.id=?");
        values << id;
    }
    return dm().firstRow(sql, values);
}

// Step shared by new and edited projects: the province and county must be a
// pair of the country divisions and, for a county user, the county granted.
std::optional<Outcome> checkPlace(const std::optional<QSqlRecord>& r)
{
    if (!r || r->value(QStringLiteral("in_divisions")).toLongLong() == 0)
        return Outcome::refusal(prjtext::kNotFromList, col("ostan"));
    if (!session().isAdminLevel() && r->value(QStringLiteral("granted")).toLongLong() == 0)
        return Outcome::refusal(prjtext::kCountyNotGranted, col("shahrestan"));
    return std::nullopt;
}

// An empty city takes the county's name, then an empty village-town the city's.
void applyPlaceDefaults(ProjectValues& v)
{
    if (v.value(col("shahr")).isEmpty())
        v[col("shahr")] = v.value(col("shahrestan"));
    if (v.value(col("rosta")).isEmpty())
        v[col("rosta")] = v.value(col("shahr"));
}

QVariantList boundValues(const ProjectValues& v)
{
    QVariantList out;
    for (const QString& c : projectColumns()) {
        if (countColumns().contains(c))
            out << *countValue(v.value(c));
        else
            out << textValue(v.value(c));
    }
    return out;
}

QString logPlace(const ProjectValues& v)
{
    return v.value(col("ostan")) + ' ' + v.value(col("shahrestan")) + ' ' + v.value(col("prj_name"));
}

} // namespace

// ---------------------------------------------------------------- the list

ListQuery projectQuery(const ProjectFilter& f)
{
    ListQuery q(QStringLiteral("select *,vahed_kol-vahed_f as mande"), QStringLiteral("from projects"));
    q.countyScope(QStringLiteral("shahrestan"), CountyScope::AllButAdmin);
    if (f.ostan)
        q.where(eq("ostan"), {textValue(*f.ostan)});
    if (f.shahrestan)
        q.like(QStringLiteral("shahrestan"), *f.shahrestan);
    if (f.prjTyp)
        q.like(QStringLiteral("prj_typ"), *f.prjTyp);
    if (f.prjName)
        q.like(QStringLiteral("prj_name"), *f.prjName);
    if (f.stTavrin)
        q.like(QStringLiteral("st_tavrin"), *f.stTavrin);
    // The summary line's sums, read by the list with its count and first page.
    const char* const sums[] = {"sum(vahed_kol)", "sum(vahed_cnt)", "sum(vahed_f)",
                                "sum(vahed_kol-vahed_f)", "sum(anbari_cnt)", "sum(parking_cnt)"};
    for (int i = 0; i < totalNames().size(); ++i)
        q.total(totalNames()[i], QString::fromLatin1(sums[i]));
    return q;
}

const QStringList& totalNames()
{
    static const QStringList names {QStringLiteral("vk"), QStringLiteral("vc"), QStringLiteral("vf"),
                                    QStringLiteral("m"),  QStringLiteral("ac"), QStringLiteral("pc")};
    return names;
}

QVariantMap projectTotals(const ListQuery& q)
{
    const auto row = dm().firstRow(
        QStringLiteral("select count(*) as c,sum(vahed_kol) as vk,sum(vahed_cnt) as vc,sum(vahed_f) as vf,"
                       "sum(vahed_kol-vahed_f) as m,sum(anbari_cnt) as ac,sum(parking_cnt) as pc from projects") +
            q.whereSql(),
        q.values());
    QVariantMap out;
    out.insert(QStringLiteral("c"), row ? row->value(0).toLongLong() : 0);
    for (int i = 0; i < totalNames().size(); ++i) {
        const QVariant v = row ? row->value(i + 1) : QVariant();
        out.insert(totalNames()[i], v.isNull() ? QVariant(QString()) : QVariant(v.toLongLong()));
    }
    return out;
}

QVariantMap projectTotals(const ListModel& list)
{
    QVariantMap out;
    out.insert(QStringLiteral("c"), qint64(list.totalCount()));
    for (const QString& name : totalNames()) {
        const QVariant v = list.totals().value(name);
        out.insert(name, v.isNull() ? QVariant(QString()) : QVariant(v.toLongLong()));
    }
    return out;
}

// ---------------------------------------------------------------- the record

const QStringList& projectColumns()
{
    static const QStringList c = [] {
        QStringList out;
        for (const auto& [column, caption] : prjtext::kFieldCaptions)
            out << column;
        return out;
    }();
    return c;
}

const QStringList& countColumns()
{
    static const QStringList c {QStringLiteral("vahed_kol"), QStringLiteral("vahed_cnt"), QStringLiteral("vahed_f"),
                                QStringLiteral("anbari_cnt"), QStringLiteral("parking_cnt")};
    return c;
}

const QStringList& dateColumns()
{
    static const QStringList c = schema().table(QStringLiteral("projects"))->dateColumns();
    return c;
}

ProjectValues valuesOf(const QSqlRecord& project)
{
    ProjectValues v;
    for (const QString& c : projectColumns()) {
        const QVariant value = project.value(c);
        v.insert(c, value.isNull() ? QString() : value.toString());
    }
    return v;
}

bool licensedExceedsTotal(QString& vahedKol, QString& vahedCnt)
{
    if (vahedKol.isEmpty())
        vahedKol = QStringLiteral("0");
    if (vahedCnt.isEmpty())
        vahedCnt = QStringLiteral("0");
    const auto kol = countValue(vahedKol);
    const auto cnt = countValue(vahedCnt);
    return kol && cnt && *kol < *cnt;
}

std::optional<Outcome> checkFields(ProjectValues& v)
{
    if (v.value(col("st_tavrin")) == prjtext::kInternetRegistration)
        v[col("st_tavrin")] = prjtext::kRegistration;
    if (isBlank(v.value(col("ostan"))))
        return Outcome::refusal(prjtext::kNoProvince, col("ostan"));
    if (isBlank(v.value(col("shahrestan"))))
        return Outcome::refusal(prjtext::kNoCounty, col("shahrestan"));
    if (isBlank(v.value(col("prj_name"))))
        return Outcome::refusal(prjtext::kNoName, col("prj_name"));
    if (isBlank(v.value(col("prj_cod"))))
        return Outcome::refusal(prjtext::kNoCode, col("prj_cod"));
    // Every value must convert before anything is written.
    for (const QString& c : countColumns()) {
        if (!countValue(v.value(c)))
            return Outcome::refusal(QStringLiteral("خطا! ") + captionOf(c) + QStringLiteral(" بايد عدد صحيح باشد"), c);
    }
    for (const QString& c : dateColumns()) {
        const auto d = jalali::fieldDate(v.value(c));
        if (!d)
            return Outcome::refusal(jalali::invalidDateMessage(captionOf(c)), c);
        v[c] = *d;
    }
    if (*countValue(v.value(col("vahed_kol"))) < *countValue(v.value(col("vahed_cnt"))))
        return Outcome::refusal(prjtext::kUnitsOverTotal, col("vahed_cnt"));
    QList<ColumnText> texts;
    for (const QString& c : projectColumns())
        if (!countColumns().contains(c))
            texts.append({c, v.value(c), captionOf(c)});
    if (const auto tooLong = checkTextLengths(QStringLiteral("projects"), texts))
        return Outcome::refusal(tooLong->message, tooLong->field);
    return std::nullopt;
}

Outcome insertProject(ProjectValues& v)
{
    if (auto r = checkFields(v))
        return *r;
    Transaction tx(dm());
    lockProjects();
    if (auto r = checkPlace(readPlace(v, 0)))
        return *r;
    applyPlaceDefaults(v);
    if (exists(QStringLiteral("select id from projects where ") + eq("ostan") + QStringLiteral(" and ") +
                   eq("shahrestan") + QStringLiteral(" and ") + eq("prj_cod"),
               {v.value(col("ostan")), v.value(col("shahrestan")), v.value(col("prj_cod"))}))
        return Outcome::refusal(prjtext::kDuplicateCode, col("prj_cod"));
    Outcome r;
    r.id = dm().insert(QStringLiteral("projects"), projectColumns(), boundValues(v));
    history::inserted(QStringLiteral("projects"), r.id, history::Owner::ofProject(r.id),
                      history::rowOf(projectColumns(), boundValues(v)));
    writeLog(QString::fromUtf8(logtext::kNewProject) + logPlace(v));
    tx.commit();
    r.done = true;
    return r;
}

Outcome updateProject(qint64 id, const ProjectValues& before, ProjectValues& v)
{
    if (auto r = checkFields(v))
        return *r;
    Transaction tx(dm());
    lockProjects();
    // Read under the lock with the place checks: the project must still hold
    // what the window was filled from.
    const auto place = readPlace(v, id);
    if (!place)
        return Outcome::refusal(kProjectGone, col("ostan"));
    if (valuesOf(*place) != before) {
        return Outcome().refuseChanged(changedByOtherMessage(kRecordName));
    }
    if (auto r = checkPlace(place))
        return *r;
    applyPlaceDefaults(v);
    const auto changed = [&](const char* c) { return v.value(col(c)) != before.value(col(c)); };
    // The name check as the list always made it: when the county or the name changed.
    if ((changed("shahrestan") || changed("prj_name")) &&
        exists(QStringLiteral("select id from projects where id<>? and ") + eq("ostan") + QStringLiteral(" and ") +
                   eq("shahrestan") + QStringLiteral(" and ") + eq("prj_name"),
               {id, v.value(col("ostan")), v.value(col("shahrestan")), v.value(col("prj_name"))}))
        return Outcome::refusal(prjtext::kDuplicateNameInCounty, col("prj_name"));
    // The code must stay unique in its province and county whichever of the three changed.
    if ((changed("ostan") || changed("shahrestan") || changed("prj_cod")) &&
        exists(QStringLiteral("select id from projects where id<>? and ") + eq("ostan") + QStringLiteral(" and ") +
                   eq("shahrestan") + QStringLiteral(" and ") + eq("prj_cod"),
               {id, v.value(col("ostan")), v.value(col("shahrestan")), v.value(col("prj_cod"))}))
        return Outcome::refusal(prjtext::kCodeTaken, col("prj_cod"));
    QStringList sets;
    for (const QString& c : projectColumns())
        sets << c + QStringLiteral("=?");
    QVariantList values = boundValues(v);
    values << id;
    if (dm().execAffected(QStringLiteral("update projects set ") + sets.join(',') + QStringLiteral(" where id=?"),
                          values) != 1)
        return Outcome::refusal(kProjectGone, col("ostan"));
    writeLog(QString::fromUtf8(logtext::kEditProject) + logPlace(v));
    history::edited(QStringLiteral("projects"), id, history::Owner::ofProject(id), *place,
                    history::rowOf(projectColumns(), boundValues(v)));
    // The applicants of the project carry copies of its identity; their province
    // and county stay as they are.
    // The history of each applicant's copy, read by the statements that record
    // it, queued before the update.
    for (const char* c : {"prj_cod", "shahr", "rosta", "prj_name", "prj_typ", "zamin_adr", "zamin_pelak"})
        history::changedWhere(QStringLiteral("customers"), QString::fromLatin1(c), textValue(v.value(col(c))),
                              QStringLiteral("prj_id=?"), {id}, history::Owner::eachApplicant(), QStringLiteral("id"));
    dm().execLater(QStringLiteral("update customers set prj_cod=?,shahr=?,rosta=?,prj_name=?,prj_typ=?,zamin_adr=?,"
                             "zamin_pelak=? where prj_id=?"),
              {textValue(v.value(col("prj_cod"))), textValue(v.value(col("shahr"))), textValue(v.value(col("rosta"))),
               textValue(v.value(col("prj_name"))), textValue(v.value(col("prj_typ"))),
               textValue(v.value(col("zamin_adr"))), textValue(v.value(col("zamin_pelak"))), id});
    tx.commit();
    Outcome r;
    r.done = true;
    r.id = id;
    return r;
}

// ---------------------------------------------------------------- delete

std::optional<QString> deleteProjectRows(qint64 id, const QString& ostan, const QString& prjName)
{
    Transaction tx(dm());
    // The project row is locked first, as the saves of its units, storage rooms
    // and parking spaces lock it: a row added meanwhile by another user is
    // committed before the deletes below run, and so is deleted with the rest.
    if (!items::lockProject(id))
        return kProjectGone;
    // Inside the transaction, so that an applicant saved meanwhile is seen.
    if (const auto holder = dm().firstRow(
            QStringLiteral("select lname,nation from customers where prj_id=? order by id"), {id}))
        return prjtext::kDeleteRefused + text(holder->value(0)) + '*' + text(holder->value(1));
    writeLog(QString::fromUtf8(logtext::kDeleteProject) + ostan + ' ' + prjName);
    const auto owner = history::Owner::ofProject(id);
    for (const char* table : {"vahedha", "parkingha", "anbariha", "tashilat"})
        history::deletedWhere(QString::fromLatin1(table), QStringLiteral("prj_id=?"), {id}, owner);
    history::deletedWhere(QStringLiteral("projects"), QStringLiteral("id=?"), {id}, owner);
    for (const char* table : {"vahedha", "parkingha", "anbariha", "tashilat", "vahed_vam"})
        dm().exec(QStringLiteral("delete from ") + QString::fromLatin1(table) + QStringLiteral(" where prj_id=?"), {id});
    dm().exec(QStringLiteral("delete from projects where id=?"), {id});
    tx.commit();
    return std::nullopt;
}

bool askDeletePassword()
{
    return tavrin::askDeletePassword(prjtext::kDeletePasswordPrompt);
}

Outcome deleteProject(const QSqlRecord& project, const std::function<bool()>& password, const Ask& ask)
{
    if (project.isEmpty() || project.value(QStringLiteral("id")).isNull())
        return {};
    if (!password() || !ask(prjtext::kDeleteWarning))
        return {};
    if (const auto refused = deleteProjectRows(project.value(QStringLiteral("id")).toLongLong(),
                                               text(project.value(QStringLiteral("ostan"))),
                                               text(project.value(QStringLiteral("prj_name")))))
        return Outcome::refusal(*refused);
    Outcome r;
    r.done = true;
    return r;
}

// ---------------------------------------------------------------- outputs

HeaderMap excelHeaders()
{
    HeaderMap h;
    for (const auto& [field, heading] : prjtext::kExcelHeadings)
        h.insert(field, heading);
    return h;
}

QVariantMap printRow(const QSqlRecord& project)
{
    static const QStringList fields {
        QStringLiteral("ostan"),      QStringLiteral("shahrestan"),  QStringLiteral("prj_name"),
        QStringLiteral("prj_typ"),    QStringLiteral("prj_cod"),     QStringLiteral("vahed_kol"),
        QStringLiteral("vahed_cnt"),  QStringLiteral("vahed_f"),     QStringLiteral("mande"),
        QStringLiteral("anbari_cnt"), QStringLiteral("parking_cnt"), QStringLiteral("st_tavrin"),
        QStringLiteral("expire_dat")};
    QVariantMap row;
    for (const QString& f : fields)
        row.insert(f, exportCellText(project.value(f)));
    return row;
}

QString webPage(const QStringList& fieldNames, const RecordSource& rows)
{
    QHash<QString, QString> headings;
    for (const auto& [field, heading] : prjtext::kWebHeadings)
        headings.insert(field, heading);
    QString head = prjtext::kWebHead;
    head.replace(QStringLiteral("<head>"), QStringLiteral("<head><meta charset=\"utf-8\">"));

    QStringList lines {QStringLiteral("<html>"), head, QStringLiteral("<body>"),
                       QStringLiteral("<table dir=\"rtl\" border=\"1\" align=\"center\" width=\"95%\">"),
                       QStringLiteral("<thead>"), QStringLiteral("<tr bgcolor=\"#22ddff\" valign=\"middle\">"),
                       prjtext::kWebRowNumberHeading};
    for (const QString& f : fieldNames)
        lines << QStringLiteral("<th>") + headings.value(f, f).toHtmlEscaped() + QStringLiteral("</th>");
    lines << QStringLiteral("</tr>") << QStringLiteral("</thead>") << QStringLiteral("<tbody>");
    int n = 0;
    rows([&](const QSqlRecord& r) {
        lines << QStringLiteral("<tr>");
        lines << QStringLiteral("<td>") + QString::number(++n) + QStringLiteral("</td>");
        for (int i = 0; i < fieldNames.size(); ++i) {
            const QString value = exportCellText(r.value(fieldNames[i])).toHtmlEscaped();
            const bool leftToRight = i == 0 || fieldNames[i] == QLatin1String("chek_dat");
            lines << (leftToRight ? QStringLiteral("<td dir=\"ltr\">") : QStringLiteral("<td>")) + value +
                         QStringLiteral("</td>");
        }
        lines << QStringLiteral("</tr>");
    });
    lines << QStringLiteral("</tbody>") << QStringLiteral("</table>") << QStringLiteral("</body>")
          << QStringLiteral("</html>");
    return lines.join('\n') + '\n';
}

bool writeWebPage(const QString& path, const QStringList& fieldNames, const RecordSource& rows, QString* error)
{
    const QString page = webPage(fieldNames, rows);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    f.write(page.toUtf8());
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

} // namespace tavrin::projects
