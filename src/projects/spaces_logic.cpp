#include "spaces_logic.h"

#include "common/activitylog.h"
#include "common/fieldcheck.h"
#include "common/logtexts.h"
#include "common/monedit.h"
#include "common/nationcode.h"
#include "common/stale.h"
#include "db/database.h"
#include "db/locks.h"

namespace tavrin::spaces {

namespace {

const QString kProjectGone = QStringLiteral("خطا! اين پروژه ديگر وجود ندارد");
const QString kRowGone = QStringLiteral("خطا! اين رديف ديگر وجود ندارد");
const QString kNumTooLong = QStringLiteral("خطا! شماره بايد عدد صحيح باشد");

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

std::optional<qint64> amountOf(const QString& text, bool emptyIsZero)
{
    if (text.trimmed().isEmpty())
        return emptyIsZero ? std::optional<qint64>(0) : std::nullopt;
    return tryParseAmount(text.trimmed());
}

QString projectText(const QSqlRecord& p, const char* field)
{
    return text(p.value(QString::fromLatin1(field)));
}

bool duplicateExists(const SpaceKind& k, qint64 prjId, const SpaceForm& f, qint64 num, qint64 exceptId)
{
    return dm().firstRow(QStringLiteral("select id from %1 where prj_id=? and bolok=? and num=? and pos=? and id<>?").arg(k.table),
                         {prjId, nn(f.bolok), num, nn(f.pos), exceptId})
        .has_value();
}

// Whether an applicant holds the room or space: an assignment row that carries
// an id names it by that id; only rows written before assignments carried the
// id (none, or 0) name it by its project, block and number.  So another room
// of the same block and number being assigned does not hold this one.
bool isHeld(const SpaceKind& k, qint64 id, qint64 prjId, const QVariant& bolok, const QVariant& num)
{
    return dm().firstRow(QStringLiteral("select id from %1 where %2=? or (coalesce(%2,0)=0 and prj_id=? and bolok=? and num=?)")
                             .arg(k.assignTable, k.assignId),
                         {id, prjId, bolok.isNull() ? QVariant(QStringLiteral("")) : bolok, num})
        .has_value();
}

QString logLine(const QString& opening, const QSqlRecord& prj, bool withCounty, const QString& num)
{
    QString s = opening + projectText(prj, "ostan") + QLatin1Char(' ');
    if (withCounty)
        s += projectText(prj, "shahrestan") + QLatin1Char(' ');
    return s + projectText(prj, "prj_name") + QLatin1Char(' ') + num;
}

} // namespace

const SpaceKind& storage()
{
    static const SpaceKind k = [] {
        SpaceKind s;
        s.table = QStringLiteral("anbariha");
        s.assignTable = QStringLiteral("anbari");
        s.assignId = QStringLiteral("anbari_id");
        s.capacity = QStringLiteral("anbari_cnt");
        s.posSetting = QStringLiteral("موقعيت انباري");
        s.statusSetting = QStringLiteral("وضعيت انباري");
        s.numCaption = QStringLiteral("شماره انباري");
        s.recordName = QStringLiteral("انباري");
        s.emptyNum = QStringLiteral("خطا! شماره انباري نمي تواند خالي باشد");
        s.capacityFull = QStringLiteral("خطا! تعداد انباريهاي اين پروژه اين مقدار هست و امکان افزودن انباري جديد نيست*");
        s.duplicate = QStringLiteral("خطا! شماره انباري و طبقه در اين پروژه تکراريست ");
        s.mablaghWrong = QStringLiteral("خطا! مقدار مبلغ کل انباري بايد عدد صحيح باشد");
        s.mablagh1Wrong = QStringLiteral("خطا! مقدار مبلغ هرمتر مربع انباري بايد عدد صحيح باشد");
        s.heldWarning = QStringLiteral("هشدار! وضعيت اين انباري نمي تواند فعال باشد - فروخته شده به ");
        s.heldWarningTail = QStringLiteral(" ابتدا انباري فروخته شده به اين متقاضي را حذف نماييد ");
        s.editHeld = QStringLiteral("خطا! بدليل آنکه اين انباري به متقاضي واگذار شده است، امکان ويرايش آن نيست");
        s.deleteHeld = QStringLiteral("خطا! بدليل آنکه اين انباري به متقاضي واگذار شده است، امکان حذف آن نيست");
        s.logNew = QString::fromUtf8(logtext::kNewAnbari);
        s.logEdit = QString::fromUtf8(logtext::kEditAnbari);
        s.logDelete = QString::fromUtf8(logtext::kDeleteAnbari);
        s.saveFailed = QStringLiteral("خطا! ثبت اطلاعات انباري انجام نشد");
        s.deleteFailed = QStringLiteral("خطا! حذف انباري انجام نشد");
        return s;
    }();
    return k;
}

const SpaceKind& parking()
{
    static const SpaceKind k = [] {
        SpaceKind s;
        s.table = QStringLiteral("parkingha");
        s.assignTable = QStringLiteral("parking");
        s.assignId = QStringLiteral("parking_id");
        s.capacity = QStringLiteral("parking_cnt");
        s.hasSaghf = true;
        s.posSetting = QStringLiteral("موقعيت پارکينگ");
        s.statusSetting = QStringLiteral("وضعيت پارکينگ");
        s.numCaption = QStringLiteral("شماره پارکينگ");
        s.recordName = QStringLiteral("پارکينگ");
        s.emptyNum = QStringLiteral("خطا! شماره پارکينگ نمي تواند خالي باشد");
        s.capacityFull = QStringLiteral("خطا! تعداد پارکينگهاي اين پروژه اين مقدار هست و امکان افزودن پارکينگ جديد نيست*");
        s.duplicate = QStringLiteral("خطا! شماره پارکينگ و طبقه در اين پروژه تکراريست ");
        s.mablaghWrong = QStringLiteral("خطا! مقدار مبلغ کل پارکينگ بايد عدد صحيح باشد");
        s.mablagh1Wrong = QStringLiteral("خطا! مقدار مبلغ هر مترمربع پارکينگ بايد عدد صحيح باشد");
        s.heldWarning = QStringLiteral("هشدار! وضعيت اين پارکينگ نمي تواند فعال باشد - فروخته شده به ");
        s.heldWarningTail = QStringLiteral(" ابتدا پارکينگ فروخته شده به اين متقاضي را حذف نماييد ");
        s.editHeld = QStringLiteral("خطا! بدليل آنکه اين پارکينگ به متقاضي واگذار شده است، امکان ويرايش آن نيست");
        s.deleteHeld = QStringLiteral("خطا! بدليل آنکه اين پارکينگ به متقاضي واگذار شده است، امکان حذف آن نيست");
        s.logNew = QString::fromUtf8(logtext::kNewParking);
        s.logEdit = QString::fromUtf8(logtext::kEditParking);
        s.logDelete = QString::fromUtf8(logtext::kDeleteParking);
        s.saveFailed = QStringLiteral("خطا! ثبت اطلاعات پارکينگ انجام نشد");
        s.deleteFailed = QStringLiteral("خطا! حذف پارکينگ انجام نشد");
        return s;
    }();
    return k;
}

QString priceText(const QString& metraj, const QString& mablagh1)
{
    const auto m = realOf(metraj, true);
    const auto p = amountOf(mablagh1, true);
    if (!m || !p)
        return QStringLiteral("0");
    return areaAmountText({{*m, *p}});
}

QStringList emptyFieldMessages(const SpaceKind& k, const SpaceForm& f)
{
    QStringList out;
    if (f.bolok.isEmpty())
        out << QStringLiteral("خطا! بلوک نمي تواند خالي باشد");
    if (f.num.isEmpty())
        out << k.emptyNum;
    if (f.pos.isEmpty())
        out << QStringLiteral("خطا! طبقه/موقعيت  نمي تواند خالي باشد");
    return out;
}

Converted convert(const SpaceKind& k, const SpaceForm& f)
{
    Converted c;
    bool ok = false;
    c.num = toAsciiDigits(f.num.trimmed()).toInt(&ok);  // the column is an int
    if (!ok) {
        c.failedField = QStringLiteral("num");
        c.message = kNumTooLong;
        return c;
    }
    const auto metraj = realOf(f.metraj, false);
    if (!metraj) {
        c.failedField = QStringLiteral("metraj");
        c.message = QStringLiteral("خطا! مقدار متراژ بايد عدد صحيح يا اعشاري باشد");
        return c;
    }
    const auto mablagh = amountOf(f.mablagh, false);
    if (!mablagh) {
        c.failedField = QStringLiteral("mablagh");
        c.message = k.mablaghWrong;
        return c;
    }
    const auto mablagh1 = amountOf(f.mablagh1, false);
    if (!mablagh1) {
        c.failedField = QStringLiteral("mablagh1");
        c.message = k.mablagh1Wrong;
        return c;
    }
    c.metraj = *metraj;
    c.mablagh = *mablagh;
    c.mablagh1 = *mablagh1;
    return c;
}

int spaceCount(const SpaceKind& k, qint64 projectId)
{
    return dm().scalar(QStringLiteral("select count(*) as c from %1 where prj_id=?").arg(k.table), {projectId}).toInt();
}

QString numberAsText(const QString& column)
{
    return QStringLiteral("CAST(%1 AS varchar(20))").arg(column);
}

namespace {

Outcome checkForm(const SpaceKind& k, const SpaceForm& f, Converted& c)
{
    Outcome r;
    const QStringList empty = emptyFieldMessages(k, f);
    if (!empty.isEmpty()) {
        for (const QString& m : empty)
            r.refuse(m);
        r.focus = f.bolok.isEmpty() ? QStringLiteral("bolok") : f.num.isEmpty() ? QStringLiteral("num") : QStringLiteral("pos");
        return r;
    }
    c = convert(k, f);
    if (!c.ok())
        return r.refuse(c.message, c.failedField);
    QList<ColumnText> texts {{QStringLiteral("bolok"), f.bolok, QStringLiteral("بلوک")},
                             {QStringLiteral("pos"), f.pos, QStringLiteral("طبقه/موقعيت")},
                             {QStringLiteral("status"), f.status, QStringLiteral("وضعيت")}};
    if (k.hasSaghf)
        texts.append({QStringLiteral("saghf"), f.saghf, QStringLiteral("سقف")});
    if (const auto tooLong = checkTextLengths(k.table, texts))
        r.refuse(tooLong->message, tooLong->field);
    return r;
}

QStringList writeColumns(const SpaceKind& k)
{
    QStringList c {QStringLiteral("num"),    QStringLiteral("metraj"),   QStringLiteral("pos"), QStringLiteral("mablagh"),
                   QStringLiteral("status"), QStringLiteral("mablagh1"), QStringLiteral("bolok")};
    if (k.hasSaghf)
        c << QStringLiteral("saghf");
    return c;
}

QVariantList writeValues(const SpaceKind& k, const SpaceForm& f, const Converted& c, const QString& status)
{
    QVariantList v {c.num, c.metraj, nn(f.pos), c.mablagh, nn(status), c.mablagh1, nn(f.bolok)};
    if (k.hasSaghf)
        v << nn(f.saghf);
    return v;
}

// Locks a storage room or parking space of the project until the commit;
// false when it is gone.
bool lockSpace(const SpaceKind& k, qint64 id, qint64 prjId)
{
    return locks::lockInProject(k.table == locks::tableOf(locks::Row::ParkingSpace) ? locks::Row::ParkingSpace : locks::Row::StorageRoom, id, prjId);
}

} // namespace

Outcome insertSpace(const SpaceKind& k, const QSqlRecord& project, const SpaceForm& f)
{
    Converted c;
    Outcome r = checkForm(k, f, c);
    if (r.refused())
        return r;
    const qint64 prjId = items::recordId(project);
    Transaction tx(dm());
    const auto prj = items::lockProject(prjId);
    if (!prj)
        return r.refuse(kProjectGone);
    const qint64 capacity = prj->value(k.capacity).toLongLong();
    if (spaceCount(k, prjId) >= capacity)
        return r.refuse(k.capacityFull + QString::number(capacity));
    if (duplicateExists(k, prjId, f, c.num, -1))
        return r.refuse(k.duplicate, QStringLiteral("num"));
    QStringList columns {QStringLiteral("prj_id")};
    columns << writeColumns(k);
    QVariantList values {prjId};
    values << writeValues(k, f, c, f.status);
    r.id = dm().insert(k.table, columns, values);
    writeLog(logLine(k.logNew, *prj, true, QString::number(c.num)));
    tx.commit();
    r.done = true;
    r.status = f.status;
    return r;
}

Outcome updateSpace(const SpaceKind& k, const QSqlRecord& project, qint64 id, const SpaceForm& f,
                         const QSqlRecord& read)
{
    Converted c;
    Outcome r = checkForm(k, f, c);
    if (r.refused())
        return r;
    const qint64 prjId = items::recordId(project);
    Transaction tx(dm());
    const auto prj = items::lockProject(prjId);
    if (!prj)
        return r.refuse(kProjectGone);
    // The space is locked before its holder is looked up, so that a sale
    // committed meanwhile is seen and one started meanwhile waits for this
    // edit (project, then space, then applicants).
    if (!lockSpace(k, id, prjId))
        return r.refuse(kRowGone);
    const auto old = dm().firstRow(QStringLiteral("select * from %1 where id=? and prj_id=?").arg(k.table), {id, prjId});
    if (!old)
        return r.refuse(kRowGone);
    // What the form writes must still be what the window read; a sale made
    // meanwhile is refused below as for any held one.
    if (!items::changedSinceRead(read, *old, writeColumns(k)).isEmpty())
        return r.refuseChanged(changedByOtherMessage(k.recordName));
    QString status = f.status;
    if (status == items::freeStatus()) {
        const auto holder = dm().firstRow(
            QStringLiteral("select customers.lname from %1 left join customers on %1.customer_id=customers.id "
                           "where %1.%2=? order by %1.id").arg(k.assignTable, k.assignId),
            {id});
        if (holder) {
            const QString lname = text(holder->value(0));
            r.warn(k.heldWarning + lname + k.heldWarningTail);
            status = items::soldStatus(lname);
        }
    }
    // The duplicate test whenever a part of the (block, number, position) key changed.
    const bool keyChanged = c.num != old->value(QStringLiteral("num")).toLongLong() ||
                            f.bolok != text(old->value(QStringLiteral("bolok"))) ||
                            f.pos != text(old->value(QStringLiteral("pos")));
    if (keyChanged && duplicateExists(k, prjId, f, c.num, id))
        return r.refuse(k.duplicate, QStringLiteral("num"));
    if (isHeld(k, id, prjId, old->value(QStringLiteral("bolok")), old->value(QStringLiteral("num"))))
        return r.refuse(k.editHeld);
    const QStringList columns = writeColumns(k);
    QString sql = QStringLiteral("update %1 set ").arg(k.table);
    for (int i = 0; i < columns.size(); ++i)
        sql += (i ? QStringLiteral(",") : QString()) + columns[i] + QStringLiteral("=?");
    sql += QStringLiteral(" where id=?");
    QVariantList values = writeValues(k, f, c, status);
    values << id;
    dm().exec(sql, values);
    writeLog(logLine(k.logEdit, *prj, true, QString::number(c.num)));
    tx.commit();
    r.done = true;
    r.id = id;
    r.status = status;
    return r;
}

Outcome deleteSpace(const SpaceKind& k, const QSqlRecord& project, qint64 id)
{
    Outcome r;
    const qint64 prjId = items::recordId(project);
    Transaction tx(dm());
    const auto prj = items::lockProject(prjId);
    if (!prj)
        return r.refuse(kProjectGone);
    // Locked before the holder check, so that no sale can give it away in between.
    if (!lockSpace(k, id, prjId))
        return r.refuse(kRowGone);
    const auto row = dm().firstRow(QStringLiteral("select * from %1 where id=?").arg(k.table), {id});
    if (!row)
        return r.refuse(kRowGone);
    if (isHeld(k, id, prjId, row->value(QStringLiteral("bolok")), row->value(QStringLiteral("num"))))
        return r.refuse(k.deleteHeld);
    writeLog(logLine(k.logDelete, *prj, false, text(row->value(QStringLiteral("num")))));
    dm().exec(QStringLiteral("delete from %1 where id=?").arg(k.table), {id});
    tx.commit();
    r.done = true;
    r.id = id;
    return r;
}

} // namespace tavrin::spaces
