#include "messages.h"

#include "commtexts.h"
#include "useradmin.h"

#include "common/fieldcheck.h"
#include "common/jalali.h"
#include "common/session.h"
#include "db/database.h"

#include <QStringDecoder>

namespace tavrin::messages {

const QString kNoRecipient = QStringLiteral("ابتدا گيرنده پيام را انتخاب نماييد");
const QString kEmptyMessage = QStringLiteral("موضوع يا متن پيام را وارد نماييد");
const QString kUserMissing = QStringLiteral("اين کاربر در سامانه وجود ندارد");
const QString kSendFailed = QStringLiteral("خطا در ارسال پيام");
const QString kReadFailed = QStringLiteral("خطا در خواندن پيام ها");
const QString kDeleteFailed = QStringLiteral("خطا در حذف پيام");

namespace {
const QString kStar = QStringLiteral("*");
const QString kEmpty = QStringLiteral("");

QString labelOf(const std::optional<QSqlRecord>& user)
{
    if (!user || user->value(QStringLiteral("id")).isNull())
        return {};
    return recipientLabel(*user);
}

// Runs an administrator's delete: the refusal for anyone else, otherwise the
// statement's outcome.
template <class F>
QString adminDelete(F run)
{
    if (!useradmin::isSystemAdmin())
        return commtext::kAdminOnlyDelete;
    return run() > 0 ? commtext::kDeleted : commtext::kNothingDeleted;
}

// A body in UTF-16 little-endian: every second byte is the high byte of an
// ASCII, Arabic-block, joiner or presentation-form character, and some are of
// ASCII or Arabic letters (bytes 0x00 and 0x06, which text in UTF-8 or a code
// page never holds).
bool looksUtf16(const QByteArray& b)
{
    if (b.size() < 2 || b.size() % 2 != 0)
        return false;
    bool letters = false;
    for (int i = 1; i < b.size(); i += 2) {
        const auto hi = uchar(b[i]);
        if (hi != 0x00 && hi != 0x06 && hi != 0x20 && hi != 0xFB && hi != 0xFE)
            return false;
        letters = letters || hi == 0x00 || hi == 0x06;
    }
    return letters;
}

// A message has been read when its show date is set.
QString shown()
{
    return jalali::dateIsSet(QStringLiteral("show_dat"));
}

} // namespace

QString recipientLabel(const QSqlRecord& user)
{
    return text(user.value(QStringLiteral("ostan"))) + kStar + levelCaption(text(user.value(QStringLiteral("lev")))) + kStar +
           text(user.value(QStringLiteral("semat"))) + kStar + text(user.value(QStringLiteral("nam")));
}

QList<Recipient> recipients()
{
    QSqlQuery q = dm().exec(QStringLiteral("select id,ostan,lev,semat,nam from users order by id"));
    QList<Recipient> out;
    while (q.next())
        out.append({q.value(0).toLongLong(), recipientLabel(q.record())});
    return out;
}

ListQuery listQuery(std::optional<qint64> recipient)
{
    ListQuery q(QStringLiteral("select payamha.id,payamha.send_prs_id,payamha.rec_prs_id,payamha.send_dat,"
                               "payamha.show_dat,payamha.mozo,users.us as ferestande"),
                QStringLiteral("from payamha left join users on payamha.send_prs_id=users.id"),
                QStringLiteral("payamha.id"));
    if (!useradmin::isSystemAdmin())
        q.equals(QStringLiteral("payamha.rec_prs_id"), session().prsId);
    else if (recipient)
        q.equals(QStringLiteral("payamha.rec_prs_id"), *recipient);
    q.orderBy(QStringLiteral("payamha.send_dat desc"));
    return q;
}

QByteArray encodeBody(const QString& body)
{
    return body.toUtf8();
}

QString decodeBody(const QVariant& stored)
{
    if (stored.isNull())
        return {};
    if (stored.metaType().id() == QMetaType::QString)
        return stored.toString();
    QByteArray b = stored.toByteArray();
    if (b.startsWith("\xEF\xBB\xBF"))
        b.remove(0, 3);
    else if (b.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE)(b.mid(2));
    // UTF-16 first: its bytes of ASCII and Arabic letters also pass as UTF-8.
    if (looksUtf16(b))
        return QStringDecoder(QStringDecoder::Utf16LE)(b);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8(b);
    if (!utf8.hasError())
        return asUtf8;
    QStringDecoder arabic("windows-1256");
    if (arabic.isValid()) {
        const QString s = arabic(b);
        if (!arabic.hasError())
            return s;
    }
    return QString::fromLatin1(b);
}

QString body(qint64 messageId)
{
    return decodeBody(dm().scalar(QStringLiteral("select cmt from payamha where id=?"), {messageId}));
}

QString SendResult::message() const
{
    return sent > 0 ? commtext::kSent : commtext::kNothingSent;
}

SendResult send(const QList<qint64>& recipientIds, const QString& mozo, const QString& body)
{
    SendResult r;
    if (recipientIds.isEmpty()) {
        r.refusal = kNoRecipient;
        return r;
    }
    if (mozo.trimmed().isEmpty() && body.trimmed().isEmpty()) {
        r.refusal = kEmptyMessage;
        return r;
    }
    if (const auto tooLong = checkTextLengths(QStringLiteral("payamha"), {{QStringLiteral("mozo"), mozo, commtext::kMozo}})) {
        r.refusal = tooLong->message;
        return r;
    }
    Database& db = dm();
    const qint64 self = session().prsId;
    const QString today = jalali::today();
    const QString subject = mozo.isNull() ? kEmpty : mozo;
    Transaction tx(db);
    // The check and the insert stay together against another client of the same user.
    db.lockTable(QStringLiteral("payamha"));
    for (const qint64 to : recipientIds) {
        if (db.firstRow(QStringLiteral("select id from payamha where send_prs_id=? and rec_prs_id=? and ") +
                            db.dialect().exactEquals(QStringLiteral("mozo")) + QStringLiteral(" and send_dat=?"),
                        {self, to, subject, today}))
            continue;
        db.insert(QStringLiteral("payamha"),
                  {QStringLiteral("send_prs_id"), QStringLiteral("rec_prs_id"), QStringLiteral("send_dat"),
                   QStringLiteral("show_dat"), QStringLiteral("mozo"), QStringLiteral("cmt")},
                  {self, to, today, kEmpty, subject, encodeBody(body)});
        ++r.sent;
    }
    tx.commit();
    return r;
}

int markRead(const QList<qint64>& messageIds)
{
    Database& db = dm();
    const QString today = jalali::today();
    int n = 0;
    Transaction tx(db);
    for (const qint64 id : messageIds)
        n += db.execAffected(QStringLiteral("update payamha set show_dat=? where id=? and not (") + shown() + ')',
                             {today, id});
    tx.commit();
    return n;
}

QString deleteMessage(qint64 messageId)
{
    return adminDelete([&] { return dm().execAffected(QStringLiteral("delete from payamha where id=?"), {messageId}); });
}

QString deleteAllRead()
{
    return adminDelete([] { return dm().execAffected(QStringLiteral("delete from payamha where ") + shown()); });
}

QString deleteSelectedRead(const QList<qint64>& messageIds)
{
    return adminDelete([&] {
        Database& db = dm();
        int n = 0;
        Transaction tx(db);
        for (const qint64 id : messageIds)
            n += db.execAffected(QStringLiteral("delete from payamha where id=? and ") + shown(), {id});
        tx.commit();
        return n;
    });
}

QString unreadCountQuery()
{
    return QStringLiteral("select count(*) as c from payamha where rec_prs_id=? and not (") + shown() + ')';
}

int unreadCount(qint64 prsId)
{
    return dm().scalar(unreadCountQuery(), {prsId}).toInt();
}

std::optional<QString> senderLabel(qint64 messageId)
{
    const QString l = labelOf(dm().firstRow(
        QStringLiteral("select users.* from payamha join users on payamha.send_prs_id=users.id where payamha.id=?"),
        {messageId}));
    return l.isEmpty() ? std::nullopt : std::optional<QString>(l);
}

std::optional<QString> recipientLabelOf(qint64 messageId)
{
    const QString l = labelOf(dm().firstRow(
        QStringLiteral("select users.* from payamha join users on payamha.rec_prs_id=users.id where payamha.id=?"),
        {messageId}));
    return l.isEmpty() ? std::nullopt : std::optional<QString>(l);
}

} // namespace tavrin::messages
