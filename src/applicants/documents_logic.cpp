#include "applicants/documents_logic.h"

#include "applicants/child_texts.h"

#include "common/activitylog.h"
#include "common/logtexts.h"
#include "common/windows.h"
#include "db/database.h"
#include "db/locks.h"

#include <QFile>
#include <QFileInfo>

namespace tavrin::applicantfiles {

using namespace childtext;

namespace {

std::optional<QSqlRecord> customerName(qint64 customerId)
{
    return dm().firstRow(QStringLiteral("select fname,lname from customers where id=?"), {customerId});
}

QString logLine(const char* opening, const QSqlRecord& names)
{
    return QString::fromUtf8(opening) + text(names.value(0)) + QLatin1Char(' ') + text(names.value(1));
}

} // namespace

// ---------------------------------------------------------------- the electronic file

ListQuery picturesQuery(qint64 customerId)
{
    ListQuery q(QStringLiteral("select id,customer_id,cmt,pictyp"), QStringLiteral("from customers_pic"));
    q.equals(QStringLiteral("customer_id"), customerId);
    return q;
}

QString extensionOf(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    return suffix.isEmpty() ? QString(QStringLiteral("")) : QString(QLatin1Char('.') + suffix);
}

Outcome addPicture(qint64 customerId, const QString& cmt, const QString& fileName)
{
    Outcome r;
    if (cmt.trimmed().isEmpty())
        return r.refuse(kNoDescription, QStringLiteral("cmt"));
    const QString pictyp = extensionOf(fileName);
    if (cmt.size() > columnLength(QStringLiteral("customers_pic"), QStringLiteral("cmt")) ||
        pictyp.size() > columnLength(QStringLiteral("customers_pic"), QStringLiteral("pictyp")))
        return r.refuse(kUploadFailed);
    QFile f(fileName);
    if (f.size() > kMaxFileSize)
        return r.refuse(kPicTooLarge);
    if (!f.open(QIODevice::ReadOnly))
        return r.refuse(kUploadFailed);
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return r.refuse(kUploadFailed);
    Transaction tx(dm());
    // The applicant's row is locked, so that a delete of his file committed
    // meanwhile is seen, and one started meanwhile waits and takes this
    // picture with it (no picture is left without its applicant).
    if (!locks::lock(locks::Row::Customer, customerId))
        return r.refuse(kCustomerGone);
    r.id = dm().insert(QStringLiteral("customers_pic"),
                       {QStringLiteral("customer_id"), QStringLiteral("cmt"), QStringLiteral("pictyp"), QStringLiteral("pic")},
                       {customerId, cmt, pictyp, bytes});
    tx.commit();
    r.done = true;
    return r;
}

std::optional<StoredFile> pictureFile(qint64 pictureId)
{
    const auto row = dm().firstRow(QStringLiteral("select pic,pictyp from customers_pic where id=?"), {pictureId});
    if (!row)
        return std::nullopt;
    return StoredFile {row->value(0).toByteArray(), text(row->value(1))};
}

QString savedName(const QString& chosen, const QString& pictyp)
{
    if (pictyp.isEmpty() || chosen.endsWith(pictyp, Qt::CaseInsensitive))
        return chosen;
    return chosen + pictyp;
}

Outcome deletePicture(qint64 pictureId)
{
    Outcome r;
    r.id = pictureId;
    if (dm().execAffected(QStringLiteral("delete from customers_pic where id=?"), {pictureId}) == 0)
        return r.refuse(kRowGone);
    r.done = true;
    r.notes.append({MsgKind::Information, kDeleted});
    return r;
}

// ---------------------------------------------------------------- the checklist

QStringList documentTypes()
{
    return dm().textColumn(QStringLiteral("select cmt from setting where component=? order by cmt"), {kSetDocTypes});
}

QStringList missingTypes(qint64 customerId)
{
    return dm().textColumn(QStringLiteral("select cmt from setting where component=? and not exists "
                                          "(select 1 from savabegh where savabegh.cust_id=? and savabegh.cmt=setting.cmt) "
                                          "order by id"),
                           {kSetDocTypes, customerId});
}

ListQuery presentQuery(qint64 customerId)
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from savabegh"));
    q.equals(QStringLiteral("cust_id"), customerId);
    return q;
}

Outcome recordTypes(qint64 customerId, const QStringList& ticked)
{
    Outcome r;
    Transaction tx(dm());
    // The applicant's row is locked, so two users ticking the same type add it once.
    if (!locks::lock(locks::Row::Customer, customerId))
        return r.refuse(kCustomerGone);
    const auto names = customerName(customerId);
    for (const QString& type : ticked)
        if (!dm().firstRow(QStringLiteral("select id from savabegh where cust_id=? and cmt=?"), {customerId, type}))
            dm().insert(QStringLiteral("savabegh"), {QStringLiteral("cust_id"), QStringLiteral("cmt")}, {customerId, type});
    writeLog(logLine(logtext::kNewDocuments, *names));
    tx.commit();
    r.done = true;
    r.notes.append({MsgKind::Information, kSaved});
    return r;
}

Outcome removeType(qint64 customerId, qint64 savabeghId)
{
    Outcome r;
    r.id = savabeghId;
    Transaction tx(dm());
    const auto names = customerName(customerId);
    if (dm().execAffected(QStringLiteral("delete from savabegh where id=? and cust_id=?"), {savabeghId, customerId}) == 0)
        return r.refuse(kRowGone);
    writeLog(logLine(logtext::kDeleteDocuments, names ? *names : QSqlRecord()));
    tx.commit();
    r.done = true;
    r.notes.append({MsgKind::Information, kDeleted});
    return r;
}

} // namespace tavrin::applicantfiles
