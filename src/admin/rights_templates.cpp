#include "rights_templates.h"

#include "common/listquery.h"

#include "db/database.h"

#include <QSet>

namespace tavrin {

namespace {
// The columns of the template table, in its order; tazeha is left out: every
// template gives it the view right only.
const QStringList& templateColumns()
{
    static const QStringList c = {
        QStringLiteral("customers"), QStringLiteral("customers_pic"), QStringLiteral("takafol"), QStringLiteral("pardakht"),
        QStringLiteral("prj"), QStringLiteral("vahed"), QStringLiteral("tashilat"), QStringLiteral("transfer"),
        QStringLiteral("seting"), QStringLiteral("setting_ost"), QStringLiteral("phone"), QStringLiteral("abadiha"),
        QStringLiteral("log"), QStringLiteral("pishsabt"), QStringLiteral("zamaem"), QStringLiteral("karbaran"),
        QStringLiteral("taghirat")};
    return c;
}

struct TemplateRow {
    QString level;
    QString role;  // empty: any role
    QString codes;  // one four-digit group per column of templateColumns()
};

const QList<TemplateRow>& templateRows()
{
    static const QList<TemplateRow> rows = {
        {QStringLiteral("admin"), QStringLiteral(""), QStringLiteral("1111 1111 1111 1111 1111 1111 1111 1111 1111 1111 1111 1111 1111 1111 1111 1111 1111")},
        {QStringLiteral("keshvar"), QStringLiteral("کاربر ارشد"), QStringLiteral("1111 0000 1111 1111 1111 1111 1111 0000 1111 0001 1111 1111 0001 0000 1111 0001 0000")},
        {QStringLiteral("keshvar"), QStringLiteral("کارشناس مسکن شهري"), QStringLiteral("0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000")},
        {QStringLiteral("keshvar"), QStringLiteral("کارشناس مالي"), QStringLiteral("0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000")},
        {QStringLiteral("keshvar"), QStringLiteral("گزارش گيري"), QStringLiteral("0001 0000 0001 0001 0001 0001 0001 0000 0001 0001 0001 0001 0001 0000 0001 0000 0000")},
        {QStringLiteral("ostan"), QStringLiteral("کاربر ارشد"), QStringLiteral("1111 0000 1111 1111 1111 1111 1111 0000 0000 1111 1101 0001 0000 0000 0001 0000 0000")},
        {QStringLiteral("ostan"), QStringLiteral("کارشناس مسکن شهري"), QStringLiteral("1001 0000 1001 0001 1001 1001 1001 0000 0000 0000 0001 0001 0000 0000 0001 0000 0000")},
        {QStringLiteral("ostan"), QStringLiteral("کارشناس مالي"), QStringLiteral("0001 0000 0001 1111 0000 0000 0000 0000 0000 0000 0001 0001 0000 0000 0001 0000 0000")},
        {QStringLiteral("ostan"), QStringLiteral("گزارش گيري"), QStringLiteral("0001 0000 0001 0001 0001 0001 0001 0000 0000 0001 0000 0001 0000 0000 0001 0000 0000")},
        {QStringLiteral("city"), QStringLiteral("کاربر ارشد"), QStringLiteral("1111 0000 1111 1111 1111 1111 1111 0000 0000 0000 1101 0001 0000 0000 0001 0000 0000")},
        {QStringLiteral("city"), QStringLiteral("کارشناس مسکن شهري"), QStringLiteral("1001 0000 1001 0001 0001 1001 0001 0000 0000 0000 0001 0001 0000 0000 0001 0000 0000")},
        {QStringLiteral("city"), QStringLiteral("کارشناس مالي"), QStringLiteral("0001 0000 0001 1111 0001 0001 0001 0000 0000 0000 0001 0001 0000 0000 0001 0000 0000")},
        {QStringLiteral("city"), QStringLiteral("گزارش گيري"), QStringLiteral("0001 0000 0001 0001 0001 0001 0001 0000 0000 0001 0001 0001 0000 0000 0001 0000 0000")},
    };
    return rows;
}
} // namespace

const QList<RightsPage>& rightsPages()
{
    static const QList<RightsPage> pages = {
        {QStringLiteral("pishsabt"), QStringLiteral("پيش ثبت نام"), QStringLiteral("pishsabt")},
        {QStringLiteral("customers"), QStringLiteral("صفحه متقاضيان"), QStringLiteral("customers")},
        {QStringLiteral("customers_pic"), QStringLiteral("پرونده الکترونيک مشتريان"), QStringLiteral("cust_pic")},
        {QStringLiteral("takafol"), QStringLiteral("تحت تکفل"), QStringLiteral("takafol")},
        {QStringLiteral("pardakht"), QStringLiteral("پرداخت ها"), QStringLiteral("pardakht")},
        {QStringLiteral("prj"), QStringLiteral("پروژه ها"), QStringLiteral("prj")},
        {QStringLiteral("vahed"), QStringLiteral("واحدها-انباري-پارکينگ"), QStringLiteral("vahed")},
        {QStringLiteral("tashilat"), QStringLiteral("تسهيلات"), QStringLiteral("tashilat")},
        {QStringLiteral("transfer"), QStringLiteral("انتقال اطلاعات"), QStringLiteral("transfer")},
        {QStringLiteral("seting"), QStringLiteral("تنظيمات عمومي"), QStringLiteral("set")},
        {QStringLiteral("phone"), QStringLiteral("دفترچه تلفن"), QStringLiteral("phone")},
        {QStringLiteral("zamaem"), QStringLiteral("ضمائم"), QStringLiteral("zamaem")},
        {QStringLiteral("abadiha"), QStringLiteral("آبادي ها"), QStringLiteral("abadiha")},
        {QStringLiteral("setting_ost"), QStringLiteral("تنظيمات استاني"), QStringLiteral("setting_ost")},
        {QStringLiteral("log"), QStringLiteral("لاگ"), QStringLiteral("log")},
        {QStringLiteral("taghirat"), QStringLiteral("سابقه تغييرات"), QStringLiteral("taghirat")},
        {QStringLiteral("tazeha"), QStringLiteral("تازه ها"), QStringLiteral("tazeha")},
        {QStringLiteral("karbaran"), QStringLiteral("کاربران"), QStringLiteral("karbaran")},
    };
    return pages;
}

const QStringList& rightsSaveOrder()
{
    static const QStringList order = {
        QStringLiteral("seting"), QStringLiteral("setting_ost"), QStringLiteral("phone"), QStringLiteral("abadiha"),
        QStringLiteral("pardakht"), QStringLiteral("takafol"), QStringLiteral("transfer"), QStringLiteral("prj"),
        QStringLiteral("vahed"), QStringLiteral("tashilat"), QStringLiteral("customers_pic"), QStringLiteral("customers"),
        QStringLiteral("log"), QStringLiteral("tazeha"), QStringLiteral("pishsabt"), QStringLiteral("zamaem"),
        QStringLiteral("taghirat"), QStringLiteral("karbaran")};
    return order;
}

bool isRightsPage(const QString& key)
{
    for (const RightsPage& p : rightsPages())
        if (p.key == key)
            return true;
    return false;
}

Rights rightsFromCode(const QString& code)
{
    Rights r;
    r.darj = code.size() > 0 && code[0] == QLatin1Char('1');
    r.virayesh = code.size() > 1 && code[1] == QLatin1Char('1');
    r.hazf = code.size() > 2 && code[2] == QLatin1Char('1');
    r.namayesh = code.size() > 3 && code[3] == QLatin1Char('1');
    return r;
}

QString rightsCode(const Rights& r)
{
    QString s;
    for (bool b : {r.darj, r.virayesh, r.hazf, r.namayesh})
        s += b ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

bool sameRights(const Rights& a, const Rights& b)
{
    return a.darj == b.darj && a.virayesh == b.virayesh && a.hazf == b.hazf && a.namayesh == b.namayesh;
}

RightsMap emptyRights()
{
    RightsMap m;
    for (const RightsPage& p : rightsPages())
        m.insert(p.key, Rights());
    return m;
}

RightsMap roleTemplate(const QString& level, const QString& role)
{
    RightsMap m = emptyRights();
    m[QStringLiteral("tazeha")].namayesh = true;
    // Roles come from the settings list, which may be typed with either yeh
    // and kaf; they are compared folded.
    const QString folded = foldText(role);
    for (const TemplateRow& row : templateRows()) {
        if (row.level != level || (!row.role.isEmpty() && foldText(row.role) != folded))
            continue;
        const QStringList codes = row.codes.split(QLatin1Char(' '));
        for (int i = 0; i < templateColumns().size(); ++i)
            m[templateColumns()[i]] = rightsFromCode(codes[i]);
        m[QStringLiteral("tazeha")] = rightsFromCode(QStringLiteral("0001"));
        break;
    }
    return m;
}

RightsMap loadRights(qint64 prsId)
{
    RightsMap m = emptyRights();
    QSqlQuery q = dm().exec(QStringLiteral("select page_name,darj,virayesh,hazf,namayesh from dastrasi where prs_id=?"), {prsId});
    while (q.next()) {
        const QString page = q.value(0).toString();
        if (!m.contains(page))
            continue;  // rows of other pages are not the editor's
        Rights r;
        r.darj = q.value(1).toBool();
        r.virayesh = q.value(2).toBool();
        r.hazf = q.value(3).toBool();
        r.namayesh = q.value(4).toBool();
        m[page] = r;
    }
    return m;
}

QStringList templateRoles()
{
    QStringList roles;
    for (const TemplateRow& t : templateRows())
        if (!t.role.isEmpty() && !roles.contains(t.role))
            roles << t.role;
    return roles;
}

QList<QPair<QString, QStringList>> firstUseLists()
{
    return {
        {QStringLiteral("گروه کاربري"), templateRoles()},
        {QStringLiteral("وضعيت کاربر"), {QStringLiteral("فعال"), QStringLiteral("غير فعال")}},
    };
}

int grantPages(Database& db, const QStringList& keys)
{
    // The administrator and the pages he has rows for, in one statement.
    const auto missingPages = [&db, &keys](QVariant& admin) {
        QSet<QString> held;
        QSqlQuery q = db.exec(QStringLiteral("select u.id,d.page_name from users u left join dastrasi d on d.prs_id=u.id "
                                             "where u.us=?"),
                              {QStringLiteral("admin")});
        while (q.next()) {
            admin = q.value(0);
            if (!q.isNull(1))
                held.insert(q.value(1).toString());
        }
        QList<RightsPage> missing;
        for (const RightsPage& page : rightsPages())
            if (admin.isValid() && keys.contains(page.key) && !held.contains(page.key))
                missing << page;
        return missing;
    };
    QVariant admin;
    if (missingPages(admin).isEmpty())
        return 0;
    // A second program starting at the same moment may be writing them too:
    // read again under the table's lock.
    Transaction tx(db);
    db.lockTable(QStringLiteral("dastrasi"));
    const QList<RightsPage> missing = missingPages(admin);
    const RightsMap rights = roleTemplate(QStringLiteral("admin"), QString());
    for (const RightsPage& page : missing) {
        const Rights r = rights.value(page.key);
        db.exec(QStringLiteral("insert into dastrasi (prs_id,page_name,darj,virayesh,hazf,namayesh) values (?,?,?,?,?,?)"),
                {admin, page.key, r.darj, r.virayesh, r.hazf, r.namayesh});
    }
    tx.commit();
    return int(missing.size());
}

int seedFirstUse(Database& db)
{
    Transaction tx(db);
    QStringList keys;
    for (const RightsPage& page : rightsPages())
        keys << page.key;
    int added = grantPages(db, keys);
    for (const auto& [key, values] : firstUseLists()) {
        if (db.scalar(QStringLiteral("select count(*) from setting where component=?"), {key}).toInt() > 0)
            continue;
        for (const QString& v : values) {
            db.exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"), {key, v});
            ++added;
        }
    }
    tx.commit();
    return added;
}

} // namespace tavrin
