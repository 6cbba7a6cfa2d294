#include "prereg/pishsabt_logic.h"

#include "prereg/fieldchecks.h"
#include "prereg/prereg_texts.h"

#include "common/activitylog.h"
#include "common/applicantheaders.h"
#include "common/deletepassword.h"
#include "common/dialogs.h"
#include "common/fieldcheck.h"
#include "common/history.h"
#include "common/jalali.h"
#include "common/logtexts.h"
#include "common/nationcode.h"
#include "common/session.h"
#include "common/stale.h"
#include "db/database.h"
#include "db/schema.h"

namespace tavrin::prereg {

using namespace preregtext;

const QString kSaveFailed = QStringLiteral("خطا! ثبت اطلاعات پيش ثبت نام انجام نشد");
const QString kDeleteFailed = QStringLiteral("خطا! حذف پيش ثبت نام انجام نشد");
const QString kSearchFailed = QStringLiteral("خطا! جستجوي پيش ثبت نام ها انجام نشد");
const QString kPersonGone = QStringLiteral("خطا! اين پيش ثبت نام توسط کاربر ديگري حذف شده است");
const QString kRecordName = QStringLiteral("پيش ثبت نام");

namespace {

const QString kTable = QStringLiteral("pishsabt");

QString col(const char* name)
{
    return QString::fromLatin1(name);
}

QString eq(const char* column)
{
    return dm().dialect().exactEquals(QString::fromLatin1(column));
}


bool isBlank(const QString& s)
{
    return s.trimmed().isEmpty();
}

QString captionOf(const QString& column)
{
    for (const Field& f : kFields)
        if (f.column == column)
            return f.caption;
    return column;
}

bool placeIsListed(const PersonValues& v)
{
    return dm().firstRow(QStringLiteral("select id from abadiha where ") + eq("ostan") + QStringLiteral(" and ") +
                             eq("shahrestan"),
                         {v.value(col("ostan")), v.value(col("shahrestan"))})
        .has_value();
}

// The checks both saves make first, in their order: province, county, and
// the pair of the country divisions.
std::optional<Outcome> checkPlace(const PersonValues& v)
{
    if (isBlank(v.value(col("ostan"))))
        return Outcome::refusal(kNoProvince, col("ostan"));
    if (isBlank(v.value(col("shahrestan"))))
        return Outcome::refusal(kNoCounty, col("shahrestan"));
    if (!placeIsListed(v))
        return Outcome::refusal(kNotFromList, col("ostan"));
    return std::nullopt;
}

// Every date must be whole and every value fit its column.
std::optional<Outcome> checkValues(PersonValues& v)
{
    for (const QString& c : dateColumns()) {
        const auto d = jalali::fieldDate(v.value(c));
        if (!d)
            return Outcome::refusal(jalali::invalidDateMessage(captionOf(c)), c);
        v[c] = *d;
    }
    QList<ColumnText> texts;
    for (const QString& c : formColumns())
        texts.append({c, v.value(c), captionOf(c)});
    if (auto tooLong = checkTextLengths(kTable, texts))
        return Outcome::refusal(tooLong->message, tooLong->field);
    return std::nullopt;
}

// Another row than `exceptId` holding the code.
bool nationTaken(const QString& nation, qint64 exceptId = 0)
{
    return dm().firstRow(QStringLiteral("select id from pishsabt where ") + eq("nation") + QStringLiteral(" and id<>?"),
                         {nation, exceptId})
        .has_value();
}

QVariantList boundValues(const PersonValues& v)
{
    QVariantList out;
    for (const QString& c : formColumns())
        out << textValue(v.value(c));
    return out;
}

QString logPlace(const PersonValues& v)
{
    return v.value(col("ostan")) + ' ' + v.value(col("shahrestan")) + ' ' + v.value(col("lname"));
}

// Deletes the deposits, then the row; false when no row went.
bool deleteRows(qint64 id)
{
    // Pre-registrations and their deposits belong to no applicant or project:
    // their history is found by their own ids.
    history::deletedWhere(QStringLiteral("pishpardakht"), QStringLiteral("pishsabt_id=?"), {id}, {});
    history::deletedWhere(kTable, QStringLiteral("id=?"), {id}, {});
    dm().exec(QStringLiteral("delete from pishpardakht where pishsabt_id=?"), {id});
    return dm().execAffected(QStringLiteral("delete from pishsabt where id=?"), {id}) == 1;
}

} // namespace

// ---------------------------------------------------------------- the list

ListQuery personQuery(const PersonFilter& f)
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from pishsabt"));
    q.countyScope(QStringLiteral("shahrestan"), CountyScope::AllButAdmin);
    if (f.ostan)
        q.where(eq("ostan"), {textValue(*f.ostan)});
    if (f.shahrestan)
        q.like(QStringLiteral("shahrestan"), *f.shahrestan);
    if (f.nation)
        q.like(QStringLiteral("nation"), toAsciiDigits(*f.nation));
    if (f.lname)
        q.like(QStringLiteral("lname"), *f.lname);
    if (f.gender)
        q.like(QStringLiteral("gender"), *f.gender);
    if (f.regUser)
        // The preset names the rows of the internet channel, whose user text
        // only contains the words of registration.
        q.like(QStringLiteral("reg_user"), *f.regUser == kInternetPreset ? kInternetLike : *f.regUser);
    return q;
}

// ---------------------------------------------------------------- the record

const QStringList& formColumns()
{
    static const QStringList c {
        col("ostan"),   col("shahrestan"), col("fname"),   col("lname"),  col("father"),  col("nation"),
        col("sh_no"),   col("birthday"),   col("sodor"),   col("tavalod_loc"), col("phone"), col("mobile"),
        col("adr"),     col("job"),        col("job_adr"), col("taahol"), col("gender"),  col("sabeghe"),
        col("moaref"),  col("reg_no"),     col("reg_dat"), col("cmt"),    col("sana"),    col("hesab_no"),
        col("bank")};
    return c;
}

const QStringList& dateColumns()
{
    static const QStringList c = schema().table(kTable)->dateColumns();
    return c;
}

PersonValues valuesOf(const QSqlRecord& person)
{
    PersonValues v;
    for (const QString& c : formColumns())
        v.insert(c, text(person.value(c)));
    return v;
}

Outcome insertPerson(PersonValues& v, const Ask& ask)
{
    if (auto r = checkPlace(v))
        return *r;
    v[col("nation")] = toAsciiDigits(v.value(col("nation"))).trimmed();
    const QString nation = v.value(col("nation"));
    if (nation.isEmpty())
        return Outcome::refusal(kNoNation, col("nation"));
    if (auto r = checkValues(v))
        return *r;
    if (nationTaken(nation))
        return Outcome::refusal(kDuplicateNation, col("nation"));
    const auto namesake = dm().firstRow(
        QStringLiteral("select ostan,shahrestan from pishsabt where ") + eq("ostan") + QStringLiteral(" and ") +
            eq("shahrestan") + QStringLiteral(" and ") + eq("fname") + QStringLiteral(" and ") + eq("lname") +
            QStringLiteral(" and ") + eq("father") + QStringLiteral(" order by id"),
        {v.value(col("ostan")), v.value(col("shahrestan")), textValue(v.value(col("fname"))),
         textValue(v.value(col("lname"))), textValue(v.value(col("father")))});
    if (namesake && !ask(kNameWarning + text(namesake->value(0)) + ' ' + text(namesake->value(1))))
        return Outcome {};

    // The code is checked again under the lock: another user may have saved
    // it while the question was open.
    Transaction tx(dm());
    lockPersons();
    if (nationTaken(nation))
        return Outcome::refusal(kDuplicateNation, col("nation"));
    QStringList columns = formColumns();
    columns << col("reg_user");
    QVariantList values = boundValues(v);
    values << textValue(session().karbar);
    Outcome r;
    r.id = dm().insert(kTable, columns, values);
    history::inserted(kTable, r.id, {}, history::rowOf(columns, values));
    writeLog(QString::fromUtf8(logtext::kNewPishsabt) + logPlace(v));
    tx.commit();
    r.done = true;
    return r;
}

Outcome updatePerson(qint64 id, const PersonValues& before, PersonValues& v)
{
    if (auto r = checkPlace(v))
        return *r;
    v[col("nation")] = toAsciiDigits(v.value(col("nation"))).trimmed();
    if (auto r = checkValues(v))
        return *r;
    Transaction tx(dm());
    lockPersons();
    const auto stored = dm().firstRow(QStringLiteral("select * from pishsabt where id=?"), {id});
    if (!stored) {
        return Outcome().refuseGone(kPersonGone, col("ostan"));
    }
    // Read under the lock: the row must still hold what the window was filled from.
    if (valuesOf(*stored) != before) {
        return Outcome().refuseChanged(changedByOtherMessage(kRecordName));
    }
    // A code that was already shared stays as it is; a new one must be free.
    const QString nation = v.value(col("nation"));
    if (!nation.isEmpty() && nation != text(stored->value(QStringLiteral("nation"))) && nationTaken(nation, id))
        return Outcome::refusal(kDuplicateNation, col("nation"));
    QStringList sets;
    for (const QString& c : formColumns())
        sets << c + QStringLiteral("=?");
    QVariantList values = boundValues(v);
    history::edited(kTable, id, {}, *stored, history::rowOf(formColumns(), values));
    values << id;
    dm().exec(QStringLiteral("update pishsabt set ") + sets.join(',') + QStringLiteral(" where id=?"), values);
    writeLog(QString::fromUtf8(logtext::kEditPishsabt) + logPlace(v));
    tx.commit();
    Outcome r;
    r.done = true;
    r.id = id;
    return r;
}

// ---------------------------------------------------------------- delete

bool deletePersonRows(qint64 id)
{
    Transaction tx(dm());
    lockPersons();
    const auto person = dm().firstRow(QStringLiteral("select fname,lname from pishsabt where id=?"), {id});
    if (!person)
        return false;
    if (!deleteRows(id))
        return false;
    writeLog(QString::fromUtf8(logtext::kDeletePishsabt) + text(person->value(0)) + ' ' + text(person->value(1)));
    tx.commit();
    return true;
}

bool removePreregistration(qint64 id)
{
    Transaction tx(dm());
    lockPersons();
    if (!deleteRows(id))
        return false;
    tx.commit();
    return true;
}

DeleteOutcome deletePerson(const QSqlRecord& person)
{
    if (person.isEmpty() || person.value(QStringLiteral("id")).isNull())
        return DeleteOutcome::Cancelled;
    if (!askDeletePassword(kDeletePrompt))
        return DeleteOutcome::Cancelled;
    try {
        if (!deletePersonRows(person.value(QStringLiteral("id")).toLongLong())) {
            dialogs().error(kPersonGone);
            return DeleteOutcome::Gone;
        }
    } catch (const DbError& e) {
        reportFailure(kDeleteFailed, e);
        return DeleteOutcome::Failed;
    }
    return DeleteOutcome::Deleted;
}

// ---------------------------------------------------------------- outputs

HeaderMap excelHeaders()
{
    HeaderMap h = applicantHeaders();
    for (const auto& [field, heading] : kExcelHeadings)
        h.insert(field, heading);
    return h;
}

} // namespace tavrin::prereg
