#pragma once
// Messages between users (payamha): the recipients, the list a user sees,
// sending, marking read, the administrator's deletes and the unread count.
// Recipients are always users by id; the label only shows them.
#include "common/listquery.h"

#include <QList>
#include <QSqlRecord>
#include <QString>

#include <optional>

namespace tavrin::messages {

struct Recipient {
    qint64 id = 0;
    QString label;
};

// province*level*role*name; an empty (or NULL) part stays empty.
QString recipientLabel(const QSqlRecord& user);
// Every user, in the order of the users table.  Throws DbError.
QList<Recipient> recipients();

// The list of the session's messages, newest first: every message for the
// administrator (only one recipient's when recipient is given), otherwise the
// messages addressed to the user.  The body is read separately (body()).
ListQuery listQuery(std::optional<qint64> recipient = std::nullopt);

// Bodies are stored as UTF-8.  Reading also accepts what older clients stored
// (UTF-16 or the Arabic Windows code page) and text columns.
QByteArray encodeBody(const QString& body);
QString decodeBody(const QVariant& stored);
QString body(qint64 messageId);

struct SendResult {
    int sent = 0;
    QString refusal;   // not empty: nothing was sent, show this
    QString message() const;   // what to show after a send that was not refused
};
// Sends one message per recipient, in the given order, dated today.  A
// recipient who already has a message of this subject from the session's user
// today is skipped (one message per sender, recipient, subject and day).  One
// transaction.  Throws DbError.
SendResult send(const QList<qint64>& recipientIds, const QString& mozo, const QString& body);

// Gives unread messages today's date as their read date; a read message keeps
// the date it was first read.  Returns how many changed.
int markRead(const QList<qint64>& messageIds);

// The administrator's deletes ("admin" only).  Each returns the message to show:
// the refusal for anyone else, "حذف شد" when rows went, "موردي حذف نشد" when none did.
QString deleteMessage(qint64 messageId);
QString deleteAllRead();
// Of the given messages only those already read go.
QString deleteSelectedRead(const QList<qint64>& messageIds);

int unreadCount(qint64 prsId);
// The statement unreadCount runs (one value bound: the user's id), for a
// caller that reads it together with other values in one statement.
QString unreadCountQuery();
// The sender's or the recipient's label; nothing when that user is gone.
std::optional<QString> senderLabel(qint64 messageId);
std::optional<QString> recipientLabelOf(qint64 messageId);

extern const QString kNoRecipient;   // no recipient ticked
extern const QString kEmptyMessage;  // neither subject nor body
extern const QString kUserMissing;   // the details of a user no longer in the list
extern const QString kSendFailed;
extern const QString kReadFailed;
extern const QString kDeleteFailed;

} // namespace tavrin::messages
