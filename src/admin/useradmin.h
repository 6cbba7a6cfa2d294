#pragma once
// The writes of the users window: new and edited users, deleting a user, and
// saving a user's rights and granted counties.  Each runs in one transaction
// and first checks that the logged-in user may make the change:
//
// - the administrator's row ("admin") is never edited or deleted, and its
//   "karbaran" rights are never rewritten;
// - only the administrator may give the level "admin" or change any
//   "karbaran" right; other holders of the users page cannot touch users of
//   level "admin", nor their own level, province, rights or counties.
#include "rights_templates.h"

#include <QSqlRecord>
#include <QString>
#include <QStringList>

namespace tavrin::useradmin {

struct UserFields {
    QString us, ps, nam, mobile, ostan, lev, semat, status;
};

// The settings list of the users' roles, and the status of an active user.
inline const QString kRolesKey = QStringLiteral("گروه کاربري");
inline const QString kActiveUser = QStringLiteral("فعال");

extern const QString kSaved;              // "ثبت شد"
extern const QString kDeleted;            // "حذف شد"
extern const QString kCountiesSaved;      // "دسترسي ها بروز شد"
extern const QString kDuplicate;          // duplicate user name
extern const QString kCannotEditAdmin;    // "امکان ويرايش مدير نيست"
extern const QString kCannotDeleteAdmin;  // "خطا، امكان حذف مدير نيست"
extern const QString kOnlyAdminLevel;     // only the administrator gives the level "admin"
extern const QString kOnlyAdminKarbaran;  // only the administrator changes rights of the users page
extern const QString kOwnRights;          // nobody but the administrator changes his own level or rights
extern const QString kNeedUserName;
extern const QString kNeedPassword;
extern const QString kNeedLevel;
extern const QString kUserMissing;
// The refusal of an edit whose user another user changed after the window read
// him (changedByOtherMessage of common/stale.h for "کاربر").
extern const QString kChangedByOther;
// Fixed messages of failed writes.
extern const QString kInsertFailed;
extern const QString kUpdateFailed;
extern const QString kDeleteFailed;
extern const QString kRightsFailed;
extern const QString kCountiesFailed;

// The logged-in user is the administrator (user name "admin").
bool isSystemAdmin();
bool isAdminName(const QString& us);

// Each returns an empty text when done, otherwise the refusal to show; a
// database failure throws DbError after rolling the whole change back.

// A new user: the password is stored hashed; the log row is written.
QString insertUser(const UserFields& f);
// An edited user: a blank password keeps the stored one; the log row is
// written.  `read` is the users row the window showed: when another user
// changed the user's fields since then (the password and rights apart), the
// refusal is kChangedByOther and nothing is written.
QString updateUser(qint64 id, const UserFields& f, const QSqlRecord& read);
// Whether the logged-in user may open the given user for editing.
QString refuseEdit(qint64 id);
// Deletes the user with his rights, counties and news mark.
QString deleteUser(qint64 id);
// Rewrites the editor's pages of the user's rights (not "karbaran" for the
// administrator's row); rows of other pages stay.
QString saveRights(qint64 id, const RightsMap& rights);
// The field under which the record history keeps a user's rights of a page
// ("dastrasi:<page>", values as rightsCode).
inline QString rightsField(const QString& page)
{
    return QStringLiteral("dastrasi:") + page;
}
// Replaces the user's granted counties by the list (duplicates kept).
QString saveCounties(qint64 id, const QStringList& counties);

} // namespace tavrin::useradmin
