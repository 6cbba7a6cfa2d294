#include "useradmin.h"

#include "common/activitylog.h"
#include "common/fieldcheck.h"
#include "common/history.h"
#include "common/logtexts.h"
#include "common/session.h"
#include "common/stale.h"
#include "db/database.h"
#include "db/locks.h"
#include "db/password.h"

#include <QSqlField>

#include <optional>

namespace tavrin::useradmin {

const QString kSaved = QStringLiteral("ثبت شد");
const QString kDeleted = QStringLiteral("حذف شد");
const QString kCountiesSaved = QStringLiteral("دسترسي ها بروز شد");
const QString kDuplicate = QStringLiteral("خطا، نام كاربري تكراري است");
const QString kCannotEditAdmin = QStringLiteral("امکان ويرايش مدير نيست");
const QString kCannotDeleteAdmin = QStringLiteral("خطا، امكان حذف مدير نيست");
const QString kOnlyAdminLevel = QStringLiteral("فقط مدير سامانه مي تواند سطح «مدير سامانه» را به کاربري بدهد");
const QString kOnlyAdminKarbaran = QStringLiteral("فقط مدير سامانه مي تواند دسترسي صفحه کاربران را تغيير دهد");
const QString kOwnRights = QStringLiteral("امکان تغيير سطح، استان يا دسترسي هاي خودتان را نداريد");
const QString kNeedUserName = QStringLiteral("نام كاربري را وارد نماييد");
const QString kNeedPassword = QStringLiteral("رمز را وارد نماييد");
const QString kNeedLevel = QStringLiteral("سطح را انتخاب نماييد");
const QString kUserMissing = QStringLiteral("اين کاربر در سامانه وجود ندارد");
const QString kChangedByOther = changedByOtherMessage(QStringLiteral("کاربر"));
const QString kInsertFailed = QStringLiteral("خطا در ثبت کاربر");
const QString kUpdateFailed = QStringLiteral("خطا در ويرايش کاربر");
const QString kDeleteFailed = QStringLiteral("خطا در حذف کاربر");
const QString kRightsFailed = QStringLiteral("خطا در ثبت دسترسي ها");
const QString kCountiesFailed = QStringLiteral("خطا در ثبت دسترسي شهرستان ها");

namespace {
const QString kAdminLevel = QStringLiteral("admin");
const QString kKarbaran = QStringLiteral("karbaran");

struct Target {
    QString us, lev, ostan;
};

// The user's own fields, as the edit window shows and writes them.
const QStringList& userColumns()
{
    static const QStringList c {QStringLiteral("us"),    QStringLiteral("lev"),    QStringLiteral("ostan"),
                                QStringLiteral("nam"),   QStringLiteral("semat"),  QStringLiteral("mobile"),
                                QStringLiteral("status")};
    return c;
}

std::optional<QSqlRecord> readUser(qint64 id)
{
    return dm().firstRow(QStringLiteral("select ") + userColumns().join(QLatin1Char(',')) +
                             QStringLiteral(" from users where id=?"),
                         {id});
}

Target targetOf(const QSqlRecord& row)
{
    return Target{text(row.value(0)), text(row.value(1)), text(row.value(2))};
}

std::optional<Target> readTarget(qint64 id)
{
    const auto row = dm().firstRow(QStringLiteral("select us,lev,ostan from users where id=?"), {id});
    if (!row)
        return std::nullopt;
    return targetOf(*row);
}

bool isOwnRow(qint64 id)
{
    return id == session().prsId;
}

// A user of level "admin" (the administrator's row above all) is out of reach
// of everyone but the administrator.
bool protectedFromSession(const Target& t)
{
    return !isSystemAdmin() && (isAdminName(t.us) || t.lev == kAdminLevel);
}

bool nameTaken(const QString& us, std::optional<qint64> except = std::nullopt)
{
    Database& db = dm();
    QString sql = QStringLiteral("select id from users where ") + db.dialect().exactEquals(QStringLiteral("us"));
    QVariantList values{us};
    if (except) {
        sql += QStringLiteral(" and id<>?");
        values << *except;
    }
    return db.firstRow(sql, values).has_value();
}

// The first text of the user's fields longer than its column.
QString textTooLong(const UserFields& f)
{
    const auto r = checkTextLengths(QStringLiteral("users"),
                                    {{QStringLiteral("us"), f.us, QStringLiteral("نام كاربري")},
                                     {QStringLiteral("nam"), f.nam, QStringLiteral("نام و نام خانوادگي")},
                                     {QStringLiteral("mobile"), f.mobile, QStringLiteral("موبايل")},
                                     {QStringLiteral("ostan"), f.ostan, QStringLiteral("استان")},
                                     {QStringLiteral("lev"), f.lev, QStringLiteral("سطح")},
                                     {QStringLiteral("semat"), f.semat, QStringLiteral("گروه کاربري")},
                                     {QStringLiteral("status"), f.status, QStringLiteral("وضعيت")}});
    return r ? r->message : QString();
}

// An empty text is stored as "", never as NULL.
QString notNull(const QString& s)
{
    return s.isNull() ? QStringLiteral("") : s;
}
} // namespace

bool isAdminName(const QString& us)
{
    return us == QLatin1String("admin");
}

bool isSystemAdmin()
{
    return isAdminName(session().karbar);
}

QString insertUser(const UserFields& f)
{
    if (f.us.isEmpty())
        return kNeedUserName;
    if (f.ps.isEmpty())
        return kNeedPassword;
    if (f.lev.isEmpty())
        return kNeedLevel;
    if (f.lev == kAdminLevel && !isSystemAdmin())
        return kOnlyAdminLevel;
    if (const QString tooLong = textTooLong(f); !tooLong.isEmpty())
        return tooLong;
    Database& db = dm();
    Transaction tx(db);
    db.lockTable(QStringLiteral("users"));
    if (nameTaken(f.us))
        return kDuplicate;
    const QStringList columns {QStringLiteral("us"),    QStringLiteral("ps"),     QStringLiteral("ver"),
                               QStringLiteral("lev"),   QStringLiteral("ostan"),  QStringLiteral("semat"),
                               QStringLiteral("mobile"), QStringLiteral("nam"),   QStringLiteral("status")};
    const QVariantList values {f.us, password::hash(f.ps), QStringLiteral(""), f.lev, notNull(f.ostan), notNull(f.semat),
                               notNull(f.mobile), notNull(f.nam), notNull(f.status)};
    const qint64 id = db.insert(QStringLiteral("users"), columns, values);
    // The password only as set, never its hash.
    history::inserted(QStringLiteral("users"), id, {}, history::rowOf(columns, values));
    writeLog(QString::fromUtf8(logtext::kNewUser) + f.us + QLatin1Char(' ') + f.ostan);
    tx.commit();
    return {};
}

QString refuseEdit(qint64 id)
{
    const auto t = readTarget(id);
    if (!t)
        return kUserMissing;
    if (isAdminName(t->us) || protectedFromSession(*t))
        return kCannotEditAdmin;
    return {};
}

QString updateUser(qint64 id, const UserFields& f, const QSqlRecord& read)
{
    if (f.us.isEmpty())
        return kNeedUserName;
    if (f.lev.isEmpty())
        return kNeedLevel;
    if (const QString tooLong = textTooLong(f); !tooLong.isEmpty())
        return tooLong;
    Database& db = dm();
    Transaction tx(db);
    db.lockTable(QStringLiteral("users"));
    const auto row = readUser(id);
    if (!row)
        return kUserMissing;
    const Target t = targetOf(*row);
    if (isAdminName(t.us) || protectedFromSession(t))
        return kCannotEditAdmin;
    // Read under the lock: the user's fields must still be what the window showed.
    if (!changedColumns(read, *row, userColumns()).isEmpty())
        return kChangedByOther;
    if (!isSystemAdmin()) {
        if (f.lev == kAdminLevel)
            return kOnlyAdminLevel;
        if (isOwnRow(id) && (f.lev != t.lev || f.ostan != t.ostan))
            return kOwnRights;
    }
    if (f.us != t.us && nameTaken(f.us, id))
        return kDuplicate;
    db.exec(QStringLiteral("update users set us=?,lev=?,nam=?,semat=?,mobile=?,ostan=?,status=? where id=?"),
            {f.us, f.lev, notNull(f.nam), notNull(f.semat), notNull(f.mobile), notNull(f.ostan), notNull(f.status), id});
    QVariantMap written {{QStringLiteral("us"), f.us},          {QStringLiteral("lev"), f.lev},
                         {QStringLiteral("nam"), notNull(f.nam)}, {QStringLiteral("semat"), notNull(f.semat)},
                         {QStringLiteral("mobile"), notNull(f.mobile)}, {QStringLiteral("ostan"), notNull(f.ostan)},
                         {QStringLiteral("status"), notNull(f.status)}};
    if (!f.ps.isEmpty()) {
        const QString hash = password::hash(f.ps);
        db.exec(QStringLiteral("update users set ps=? where id=?"), {hash, id});
        written.insert(QStringLiteral("ps"), hash);   // recorded as "changed", without values
    }
    history::edited(QStringLiteral("users"), id, {}, *row, written);
    writeLog(QString::fromUtf8(logtext::kEditUser) + f.us + QLatin1Char(' ') + f.ostan);
    tx.commit();
    return {};
}

QString deleteUser(qint64 id)
{
    Database& db = dm();
    Transaction tx(db);
    const auto t = readTarget(id);
    if (!t)
        return kUserMissing;
    if (isAdminName(t->us) || protectedFromSession(*t))
        return kCannotDeleteAdmin;
    history::deletedWhere(QStringLiteral("users"), QStringLiteral("id=?"), {id}, {});
    db.exec(QStringLiteral("delete from users where id=?"), {id});
    // A later user must not find the rights of this one under a reused id.
    db.exec(QStringLiteral("delete from dastrasi where prs_id=?"), {id});
    db.exec(QStringLiteral("delete from dastrasi2 where user_id=?"), {id});
    db.exec(QStringLiteral("delete from tazeha_readed where prs_id=?"), {id});
    tx.commit();
    return {};
}

QString saveRights(qint64 id, const RightsMap& rights)
{
    Database& db = dm();
    Transaction tx(db);
    // The user's row is locked, so that two administrators saving at once
    // replace his rows one after the other instead of mixing them.
    locks::lock(locks::Row::User, id);
    const auto t = readTarget(id);
    if (!t)
        return kUserMissing;
    if (protectedFromSession(*t))
        return kCannotEditAdmin;
    bool writeKarbaran = !isAdminName(t->us);
    if (!isSystemAdmin() && isOwnRow(id))
        return kOwnRights;
    // The rights as stored, read under the user's lock: the history records
    // each page whose rights change ("1101": insert, edit, delete, view).
    const RightsMap stored = loadRights(id);
    if (!isSystemAdmin()) {
        if (!sameRights(stored.value(kKarbaran), rights.value(kKarbaran)))
            return kOnlyAdminKarbaran;
        writeKarbaran = false;  // unchanged, and not the user's to write
    }
    QSqlRecord before;
    QVariantMap after;
    for (const QString& page : rightsSaveOrder()) {
        if (page == kKarbaran && !writeKarbaran)
            continue;
        QSqlField was(rightsField(page), QMetaType(QMetaType::QString));
        was.setValue(rightsCode(stored.value(page)));
        before.append(was);
        after.insert(was.name(), rightsCode(rights.value(page)));
    }
    history::edited(QStringLiteral("users"), id, {}, before, after);
    for (const QString& page : rightsSaveOrder()) {
        if (page == kKarbaran && !writeKarbaran)
            continue;
        const Rights r = rights.value(page);
        db.exec(QStringLiteral("delete from dastrasi where prs_id=? and page_name=?"), {id, page});
        db.exec(QStringLiteral("insert into dastrasi (prs_id,page_name,darj,virayesh,hazf,namayesh) values (?,?,?,?,?,?)"),
                {id, page, r.darj, r.virayesh, r.hazf, r.namayesh});
    }
    tx.commit();
    return {};
}

QString saveCounties(qint64 id, const QStringList& counties)
{
    Database& db = dm();
    Transaction tx(db);
    // The user's row is locked, so that two administrators saving at once
    // replace his rows one after the other instead of mixing them.
    locks::lock(locks::Row::User, id);
    const auto t = readTarget(id);
    if (!t)
        return kUserMissing;
    if (protectedFromSession(*t))
        return kCannotEditAdmin;
    if (!isSystemAdmin() && isOwnRow(id))
        return kOwnRights;
    history::listChanged(QStringLiteral("users"), id, {}, QStringLiteral("dastrasi2"), QStringLiteral("dastrasi2"),
                         QStringLiteral("user_id"), QStringLiteral("cmt"), counties);
    db.exec(QStringLiteral("delete from dastrasi2 where user_id=?"), {id});
    for (const QString& c : counties)
        db.exec(QStringLiteral("insert into dastrasi2 (user_id,cmt) values (?,?)"), {id, c});
    tx.commit();
    return {};
}

} // namespace tavrin::useradmin
