#include "units_logic.h"

#include "common/jalali.h"
#include "common/activitylog.h"
#include "common/fieldcheck.h"
#include "common/history.h"
#include "common/logtexts.h"
#include "common/monedit.h"
#include "common/stale.h"
#include "db/database.h"
#include "db/locks.h"
#include "db/schema.h"

namespace tavrin::units {

const QString kUnitSaveFailed = QStringLiteral("خطا! ثبت اطلاعات واحد انجام نشد");
const QString kUnitDeleteFailed = QStringLiteral("خطا! حذف واحد انجام نشد");
const QString kUnitRecordName = QStringLiteral("واحد");

namespace {

const QString kProjectGone = QStringLiteral("خطا! اين پروژه ديگر وجود ندارد");
const QString kUnitGone = QStringLiteral("خطا! اين واحد ديگر وجود ندارد");
const QString kOtaghNotNumber = QStringLiteral("خطا! تعداد اتاق بايد عدد صحيح باشد");

// A text bound as a text, never as NULL.
QString nn(const QString& s)
{
    return s.isNull() ? QStringLiteral("") : s;
}

std::optional<double> realOf(const QString& text, bool emptyIsZero)
{
    if (text.trimmed().isEmpty())
        return emptyIsZero ? std::optional<double>(0.0) : std::nullopt;
    return tryParseReal(text.trimmed());
}

// An amount as typed: "," removed; an empty text is not an amount unless emptyIsZero.
std::optional<qint64> amountOf(const QString& text, bool emptyIsZero)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return emptyIsZero ? std::optional<qint64>(0) : std::nullopt;
    return tryParseAmount(t);
}

QString projectText(const QSqlRecord& p, const char* field)
{
    return text(p.value(QString::fromLatin1(field)));
}

// The row, if any, of another unit of the project with the same block, floor and number.
bool tripleTaken(qint64 prjId, const UnitForm& f, qint64 exceptId)
{
    return dm().firstRow(QStringLiteral("select id from vahedha where prj_id=? and bolok=? and tabaghe=? and vahed_no=? and id<>?"),
                         {prjId, nn(f.bolok), nn(f.tabaghe), nn(f.vahed_no), exceptId})
        .has_value();
}

bool shenaseTaken(qint64 prjId, const QString& shenase, qint64 exceptId)
{
    return dm().firstRow(QStringLiteral("select id from vahedha where prj_id=? and shenase=? and id<>?"),
                         {prjId, nn(shenase), exceptId})
        .has_value();
}

// The columns an insert and an update write from the form, in the order of
// the entry window's save (vam apart: it is the sum of the unit's loans).
const QStringList& formColumns()
{
    static const QStringList c {
        QStringLiteral("karbari"),  QStringLiteral("bolok"),    QStringLiteral("tabaghe"),   QStringLiteral("vahed_no"),
        QStringLiteral("shenase"),  QStringLiteral("jahat"),    QStringLiteral("metraj"),    QStringLiteral("mablagh"),
        QStringLiteral("mablagh1"), QStringLiteral("ekhtesasi"), QStringLiteral("moshtarak"), QStringLiteral("teras1"),
        QStringLiteral("teras"),    QStringLiteral("status"),   QStringLiteral("otagh"),     QStringLiteral("vahed_typ"),
        QStringLiteral("hayat1"),   QStringLiteral("hayat"),    QStringLiteral("metraj_z"),  QStringLiteral("bana")};
    return c;
}

// The first text of the form longer than its column (the identifier, made of
// block, floor and number, is refused at the block).
std::optional<FieldRefusal> textTooLong(const UnitForm& f)
{
    return checkTextLengths(QStringLiteral("vahedha"),
                            {{QStringLiteral("karbari"), f.karbari, QStringLiteral("کاربري")},
                             {QStringLiteral("bolok"), f.bolok, QStringLiteral("بلوک")},
                             {QStringLiteral("tabaghe"), f.tabaghe, QStringLiteral("طبقه")},
                             {QStringLiteral("vahed_no"), f.vahed_no, QStringLiteral("شماره واحد")},
                             {QStringLiteral("shenase"), f.shenase(), QStringLiteral("شناسه واحد"), QStringLiteral("bolok")},
                             {QStringLiteral("jahat"), f.jahat, QStringLiteral("جهت")},
                             {QStringLiteral("ekhtesasi"), f.ekhtesasi, QStringLiteral("انشعابات اختصاصي")},
                             {QStringLiteral("moshtarak"), f.moshtarak, QStringLiteral("انشعابات مشترک")},
                             {QStringLiteral("status"), f.status, QStringLiteral("وضعيت")},
                             {QStringLiteral("vahed_typ"), f.vahed_typ, QStringLiteral("نوع واحد")},
                             {QStringLiteral("bana"), f.bana, QStringLiteral("نوع بنا")}});
}

QVariantList formValues(const UnitForm& f, const Converted& c, const QString& status)
{
    return {nn(f.karbari),   nn(f.bolok),     nn(f.tabaghe), nn(f.vahed_no), nn(f.shenase()), nn(f.jahat),
            c.metraj,        c.mablagh,       c.mablagh1,    nn(f.ekhtesasi), nn(f.moshtarak), c.teras1,
            c.teras,         nn(status),      c.otagh,       nn(f.vahed_typ), c.hayat1,        c.hayat,
            c.metraj_z,      nn(f.bana)};
}

} // namespace

QString UnitForm::shenase() const
{
    return shenaseOf(bolok, tabaghe, vahed_no);
}

QString shenaseOf(const QString& bolok, const QString& tabaghe, const QString& vahed_no)
{
    return bolok + QLatin1Char('-') + tabaghe + QLatin1Char('-') + vahed_no;
}

bool usesLandArea(const QString& bana)
{
    return bana == QStringLiteral("ويلايي") || bana == QStringLiteral("زمين");
}

QString areaWord(const QString& bana)
{
    return usesLandArea(bana) ? QStringLiteral("زمين") : QStringLiteral("واحد");
}

std::optional<qint64> computePrice(const UnitForm& f)
{
    const auto m1 = amountOf(f.mablagh1, true), t1 = amountOf(f.teras1, true), h1 = amountOf(f.hayat1, true);
    const auto base = realOf(usesLandArea(f.bana) ? f.metraj_z : f.metraj, true);
    const auto teras = realOf(f.teras, true), hayat = realOf(f.hayat, true);
    if (!m1 || !t1 || !h1 || !base || !teras || !hayat)
        return std::nullopt;
    return areaAmount({{*base, *m1}, {*teras, *t1}, {*hayat, *h1}});
}

QString priceText(const UnitForm& f)
{
    const auto m1 = amountOf(f.mablagh1, true), t1 = amountOf(f.teras1, true), h1 = amountOf(f.hayat1, true);
    const auto base = realOf(usesLandArea(f.bana) ? f.metraj_z : f.metraj, true);
    const auto teras = realOf(f.teras, true), hayat = realOf(f.hayat, true);
    if (!m1 || !t1 || !h1 || !base || !teras || !hayat)
        return QStringLiteral("0");
    return areaAmountText({{*base, *m1}, {*teras, *t1}, {*hayat, *h1}});
}

QString grouped(const QString& digits)
{
    return groupAmount(digits);
}

Converted convert(const UnitForm& f)
{
    Converted c;
    const auto fail = [&c](const char* field, const QString& message) {
        c.failedField = QString::fromLatin1(field);
        c.message = message;
        return c;
    };
    // In the order the entry window has always reported them.
    const auto metraj = realOf(f.metraj, false);
    if (!metraj)
        return fail("metraj", QStringLiteral("خطا! مقدار متراژ بايد عدد صحيح يا اعشاري باشد"));
    const auto mablagh = amountOf(f.mablagh, false);
    if (!mablagh)
        return fail("mablagh", QStringLiteral("خطا! مقدار مبلغ واحد بايد عدد صحيح باشد"));
    const auto mablagh1 = amountOf(f.mablagh1, false);
    if (!mablagh1)
        return fail("mablagh1", QStringLiteral("خطا! مقدار مبلغ هر متر مربع  واحد بايد عدد صحيح باشد"));
    const auto teras1 = amountOf(f.teras1, false);
    if (!teras1)
        return fail("teras1", QStringLiteral("خطا! مقدار مبلغ هر متر مربع  تراس بايد عدد صحيح باشد"));
    const auto teras = realOf(f.teras, false);
    if (!teras)
        return fail("teras", QStringLiteral("خطا! مقدار تراس واحد بايد عدد اعشاري باشد"));
    const auto hayat1 = amountOf(f.hayat1, false);
    if (!hayat1)
        return fail("hayat1", QStringLiteral("خطا! مقدار مبلغ هر متر مربع  حياط بايد عدد صحيح باشد"));
    const auto hayat = realOf(f.hayat, false);
    if (!hayat)
        return fail("hayat", QStringLiteral("خطا! مقدار حياط واحد بايد عدد اعشاري باشد"));
    const auto metraj_z = realOf(f.metraj_z, false);
    if (!metraj_z)
        return fail("metraj_z", QStringLiteral("خطا! مقدار متراژ زمين بايد عدد صحيح يا اعشاري باشد"));
    QVariant otagh = QVariant(QMetaType::fromType<int>());  // NULL when the rooms are not given
    if (!f.otagh.trimmed().isEmpty()) {
        bool ok = false;
        const int n = f.otagh.trimmed().toInt(&ok);
        if (!ok || n < 0)
            return fail("otagh", kOtaghNotNumber);
        otagh = n;
    }
    c.metraj = *metraj;
    c.metraj_z = *metraj_z;
    c.teras = *teras;
    c.hayat = *hayat;
    c.mablagh1 = *mablagh1;
    c.teras1 = *teras1;
    c.hayat1 = *hayat1;
    c.mablagh = *mablagh;
    c.otagh = otagh;
    return c;
}

int unitCount(qint64 projectId)
{
    return dm().scalar(QStringLiteral("select count(*) as c from vahedha where prj_id=?"), {projectId}).toInt();
}

Outcome insertUnit(const QSqlRecord& project, const UnitForm& f)
{
    Outcome r;
    const Converted c = convert(f);
    if (!c.ok())
        return r.refuse(c.message, c.failedField);
    if (const auto tooLong = textTooLong(f))
        return r.refuse(tooLong->message, tooLong->field);
    const qint64 prjId = items::recordId(project);
    Transaction tx(dm());
    const auto prj = items::lockProject(prjId);
    if (!prj)
        return r.refuse(kProjectGone);
    const qint64 kol = prj->value(QStringLiteral("vahed_kol")).toLongLong();
    if (unitCount(prjId) >= kol)
        return r.refuse(QStringLiteral("خطا! تعداد واحدهاي اين پروژه اين مقدار هست و امکان افزودن واحد جديد نيست*") + QString::number(kol));
    if (tripleTaken(prjId, f, -1))
        return r.refuse(QStringLiteral("خطا! نام استان و شهرستان و پروژه و بلوک و طبقه و واحد تکراريست"),
                        QStringLiteral("bolok"));
    if (shenaseTaken(prjId, f.shenase(), -1))
        return r.refuse(QStringLiteral("خطا!     شناسه واحد تکراريست"), QStringLiteral("bolok"));
    QStringList columns {QStringLiteral("prj_id")};
    columns << formColumns() << QStringLiteral("vam");
    QVariantList values {prjId};
    values << formValues(f, c, f.status) << QVariant(qint64(0));
    r.id = dm().insert(QStringLiteral("vahedha"), columns, values);
    history::inserted(QStringLiteral("vahedha"), r.id, history::Owner::ofProject(prjId), history::rowOf(columns, values));
    writeLog(QString::fromUtf8(logtext::kNewUnit) + projectText(*prj, "ostan") + QLatin1Char(' ') +
             projectText(*prj, "shahrestan") + QLatin1Char(' ') + projectText(*prj, "prj_name") + QLatin1Char(' ') +
             f.shenase());
    tx.commit();
    r.done = true;
    r.status = f.status;
    return r;
}

namespace {

// Locks a unit of the project until the commit; false when it is gone.
bool lockUnit(qint64 unitId, qint64 prjId)
{
    return locks::lockInProject(locks::Row::Unit, unitId, prjId);
}

} // namespace

Outcome updateUnit(const QSqlRecord& project, qint64 unitId, const UnitForm& f, const QSqlRecord& read)
{
    Outcome r;
    const Converted c = convert(f);
    if (!c.ok())
        return r.refuse(c.message, c.failedField);
    if (const auto tooLong = textTooLong(f))
        return r.refuse(tooLong->message, tooLong->field);
    const qint64 prjId = items::recordId(project);
    Transaction tx(dm());
    const auto prj = items::lockProject(prjId);
    if (!prj)
        return r.refuse(kProjectGone);
    // The unit is locked before its holder is looked up: a sale committed
    // meanwhile is then seen (and its sold status kept), and a sale started
    // meanwhile waits for this edit.  Project, then unit, then applicants: the
    // order every writer keeps.
    if (!lockUnit(unitId, prjId))
        return r.refuse(kUnitGone);
    const auto old = dm().firstRow(QStringLiteral("select * from vahedha where id=? and prj_id=?"), {unitId, prjId});
    if (!old)
        return r.refuse(kUnitGone);
    // What the form writes must still be what the window read; the status a
    // sale gave the unit meanwhile is left to the held-unit rule below.
    if (!items::changedSinceRead(read, *old, formColumns()).isEmpty())
        return r.refuseChanged(changedByOtherMessage(kUnitRecordName));
    QString status = f.status;
    if (status == items::freeStatus()) {
        const auto holder = dm().firstRow(
            QStringLiteral("select lname from customers where vahed_id=? and not (") +
                jalali::dateIsSet(QStringLiteral("transport_dat")) + QStringLiteral(") order by id"),
            {unitId});
        if (holder) {
            const QString lname = text(holder->value(0));
            r.warn(QStringLiteral("هشدار! وضعيت اين واحد نمي تواند فعال باشد - فروخته شده به ") + lname +
                   QStringLiteral(" ابتدا پرونده آن متقاضي را تاريخ انتقال/فروش بزنيد تا واحد آزاد گردد "));
            status = items::soldStatus(lname);
        }
    }
    if (f.bolok != text(old->value(QStringLiteral("bolok"))) || f.tabaghe != text(old->value(QStringLiteral("tabaghe")))) {
        if (tripleTaken(prjId, f, unitId))
            return r.refuse(QStringLiteral("خطا! بلوک و طبقه و شماره واحد تکراريست"), QStringLiteral("bolok"));
    }
    if (f.shenase() != text(old->value(QStringLiteral("shenase")))) {
        if (shenaseTaken(prjId, f.shenase(), unitId))
            return r.refuse(QStringLiteral("خطا! شناسه واحد تکراريست"), QStringLiteral("bolok"));
    }
    const QStringList& columns = formColumns();
    QString sql = QStringLiteral("update vahedha set ");
    for (int i = 0; i < columns.size(); ++i)
        sql += (i ? QStringLiteral(",") : QString()) + columns[i] + QStringLiteral("=?");
    sql += QStringLiteral(" where id=?");
    QVariantList values = formValues(f, c, status);
    history::edited(QStringLiteral("vahedha"), unitId, history::Owner::ofProject(prjId), *old, history::rowOf(columns, values));
    values << unitId;
    dm().exec(sql, values);
    writeLog(QString::fromUtf8(logtext::kEditUnit) + projectText(*prj, "ostan") + QLatin1Char(' ') +
             projectText(*prj, "shahrestan") + QLatin1Char(' ') + projectText(*prj, "prj_name") + QLatin1Char(' ') +
             f.shenase());
    // The buyers' copy of the unit; each buyer's amount keeps his discount.  The
    // loan total is read as stored now (after this update took the unit's lock),
    // so that a loan given meanwhile is not undone.  The history keeps each
    // buyer's area and prices as they change, read by the statement that
    // records them, queued before the update.
    {
        const QString buyers = QStringLiteral("prj_id=? and vahed_id=?");
        const auto each = history::Owner::eachApplicant();
        history::changedWhere(QStringLiteral("customers"), QStringLiteral("metraj"), c.metraj, buyers, {prjId, unitId}, each,
                              QStringLiteral("id"));
        history::changedWhere(QStringLiteral("customers"), QStringLiteral("mablagh1"), c.mablagh1, buyers, {prjId, unitId},
                              each, QStringLiteral("id"));
        history::changedToWhere(QStringLiteral("customers"), QStringLiteral("mablagh"), QStringLiteral("?-coalesce(takhfif,0)"),
                                {c.mablagh}, buyers, {prjId, unitId}, each, QStringLiteral("id"));
    }
    dm().exec(QStringLiteral("update customers set shenase=?,karbari=?,bolok=?,tabaghe=?,vahed_no=?,jahat=?,metraj=?,"
                             "teras=?,teras1=?,mablagh1=?,vam=(select vam from vahedha where id=?),ekhtesasi=?,moshtarak=?,otagh=?,"
                             "mablagh=?-coalesce(takhfif,0),vahed_typ=?,hayat=?,hayat1=?,metraj_z=? "
                             "where prj_id=? and vahed_id=?"),
              {nn(f.shenase()), nn(f.karbari), nn(f.bolok), nn(f.tabaghe), nn(f.vahed_no), nn(f.jahat), c.metraj,
               c.teras, c.teras1, c.mablagh1, unitId, nn(f.ekhtesasi),
               nn(f.moshtarak), c.otagh, c.mablagh, nn(f.vahed_typ), c.hayat, c.hayat1, c.metraj_z, prjId, unitId});
    tx.commit();
    r.done = true;
    r.id = unitId;
    r.status = status;
    return r;
}

Outcome deleteUnit(const QSqlRecord& project, qint64 unitId)
{
    Outcome r;
    const qint64 prjId = items::recordId(project);
    Transaction tx(dm());
    const auto prj = items::lockProject(prjId);
    if (!prj)
        return r.refuse(kProjectGone);
    // Locked before its buyer is looked up, so that no sale can give it away
    // between the check and the delete.
    if (!lockUnit(unitId, prjId))
        return r.refuse(kUnitGone);
    const auto unit = dm().firstRow(QStringLiteral("select shenase from vahedha where id=?"), {unitId});
    if (!unit)
        return r.refuse(kUnitGone);
    const auto buyer = dm().firstRow(QStringLiteral("select lname,nation from customers where vahed_id=? order by id"), {unitId});
    if (buyer)
        return r.refuse(QStringLiteral("خطا! امکان حذف اين واحد نيست. بدليل آنکه اين واحد واگذار شده است به کد ملي و نام*") + text(buyer->value(0)) +
                        QLatin1Char('*') + text(buyer->value(1)));
    writeLog(QString::fromUtf8(logtext::kDeleteUnit) + projectText(*prj, "ostan") + QLatin1Char(' ') +
             projectText(*prj, "prj_name") + QLatin1Char(' ') + text(unit->value(0)));
    history::deletedWhere(QStringLiteral("vahedha"), QStringLiteral("id=?"), {unitId}, history::Owner::ofProject(prjId));
    dm().exec(QStringLiteral("delete from vahed_vam where vahed_id=?"), {unitId});
    dm().exec(QStringLiteral("delete from vahedha where id=?"), {unitId});
    tx.commit();
    r.done = true;
    r.id = unitId;
    return r;
}

int repairUnitStatuses()
{
    Transaction tx(dm());
    struct Held {
        qint64 unit;
        QString lname;
        qint64 prj;
    };
    QList<Held> held;
    {
        QSqlQuery q = dm().exec(QStringLiteral("select vahed_id,lname,prj_id from customers where not (") +
                                    jalali::dateIsSet(QStringLiteral("transport_dat")) +
                                    QStringLiteral(") and vahed_id in (select id from vahedha where status=?) order by id"),
                                {items::freeStatus()});
        while (q.next())
            held.append({q.value(0).toLongLong(), text(q.value(1)), q.value(2).toLongLong()});
    }
    int n = 0;
    for (const auto& [id, lname, prj] : held) {
        const int changed = dm().execAffected(QStringLiteral("update vahedha set status=? where id=? and status=?"),
                                              {items::soldStatus(lname), id, items::freeStatus()});
        if (changed == 1) {
            history::fieldChanged(QStringLiteral("vahedha"), id, history::Owner::ofProject(prj),
                                  QStringLiteral("status"), items::freeStatus(), items::soldStatus(lname));
        }
        n += changed;
    }
    tx.commit();
    return n;
}

} // namespace tavrin::units
