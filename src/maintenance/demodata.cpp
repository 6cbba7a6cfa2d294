#include "maintenance/demodata.h"

#include "common/jalali.h"
#include "common/monedit.h"
#include "db/database.h"
#include "db/schema.h"

#include <QElapsedTimer>
#include <QHash>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

#include <map>

#include <algorithm>
#include <memory>

namespace tavrin::demo {

namespace {

const QString kMask = QString::fromLatin1(kEmptyDateMask);
const QString kActive = QStringLiteral("فعال");
const QString kSoldPrefix = QStringLiteral(" فروخته شد ");

// Provinces and counties for an empty divisions table.
const QList<QPair<QString, QStringList>> kDivisions {
    {QStringLiteral("تهران"), {QStringLiteral("تهران"), QStringLiteral("شميرانات"), QStringLiteral("ري"), QStringLiteral("اسلامشهر")}},
    {QStringLiteral("اصفهان"), {QStringLiteral("اصفهان"), QStringLiteral("کاشان"), QStringLiteral("نجف آباد"), QStringLiteral("شاهين شهر")}},
    {QStringLiteral("فارس"), {QStringLiteral("شيراز"), QStringLiteral("مرودشت"), QStringLiteral("کازرون")}},
    {QStringLiteral("خراسان رضوي"), {QStringLiteral("مشهد"), QStringLiteral("نيشابور"), QStringLiteral("سبزوار")}},
    {QStringLiteral("آذربايجان شرقي"), {QStringLiteral("تبريز"), QStringLiteral("مراغه"), QStringLiteral("مرند")}},
    {QStringLiteral("مازندران"), {QStringLiteral("ساري"), QStringLiteral("آمل"), QStringLiteral("بابل")}},
    {QStringLiteral("کرمان"), {QStringLiteral("کرمان"), QStringLiteral("رفسنجان"), QStringLiteral("سيرجان")}},
    {QStringLiteral("خوزستان"), {QStringLiteral("اهواز"), QStringLiteral("دزفول"), QStringLiteral("آبادان")}},
};

// Common values of the choice lists, added where a list has none.
const QList<QPair<QString, QStringList>> kSettings {
    {QStringLiteral("نوع پروژه"), {QStringLiteral("حمايتي"), QStringLiteral("مسکن مهر"), QStringLiteral("مسکن ملي"), QStringLiteral("اقدام ملي")}},
    {QStringLiteral("وضعيت پروژه"), {QStringLiteral("فعال"), QStringLiteral("انقضا فروش")}},
    {QStringLiteral("وضعيت فروش پروژه"), {QStringLiteral("جاري"), QStringLiteral("اتمام يافته"), QStringLiteral("ثبت نام")}},
    {QStringLiteral("نوع قرارداد پروژه"), {QStringLiteral("پيش فروش"), QStringLiteral("مشارکت مدني"), QStringLiteral("قطعي")}},
    {QStringLiteral("وضعيت واحد"), {QStringLiteral("فعال"), QStringLiteral("رزرو")}},
    {QStringLiteral("بلوک"), {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}},
    {QStringLiteral("جهت واحد"), {QStringLiteral("شمال"), QStringLiteral("جنوب"), QStringLiteral("شمال شرقي"), QStringLiteral("جنوب غربي")}},
    {QStringLiteral("کاربري"), {QStringLiteral("مسکوني"), QStringLiteral("تجاري")}},
    {QStringLiteral("بنا"), {QStringLiteral("آپارتمان"), QStringLiteral("ويلايي")}},
    {QStringLiteral("موقعيت انباري"), {QStringLiteral("زيرزمين"), QStringLiteral("همکف")}},
    {QStringLiteral("موقعيت پارکينگ"), {QStringLiteral("زيرزمين"), QStringLiteral("همکف")}},
};

const QStringList kNameStarts {QStringLiteral("مسکن مهر"), QStringLiteral("شهرک"), QStringLiteral("مجتمع مسکوني"),
                               QStringLiteral("اقدام ملي"), QStringLiteral("برج هاي"), QStringLiteral("شهرک مسکوني")};
const QStringList kNameEnds {QStringLiteral("بهار"), QStringLiteral("نرگس"), QStringLiteral("فرهنگيان"), QStringLiteral("الغدير"),
                             QStringLiteral("آزادي"), QStringLiteral("پرديس"), QStringLiteral("گلستان"), QStringLiteral("امام رضا"),
                             QStringLiteral("شهيد بهشتي"), QStringLiteral("ياس"), QStringLiteral("سپيدار"), QStringLiteral("صدف")};
const QStringList kSaleStates {QStringLiteral("جاري"), QStringLiteral("جاري"), QStringLiteral("اتمام يافته"), QStringLiteral("ثبت نام")};
const QStringList kContracts {QStringLiteral("پيش فروش"), QStringLiteral("مشارکت مدني"), QStringLiteral("قطعي")};
const QStringList kTypes {QStringLiteral("حمايتي"), QStringLiteral("مسکن مهر"), QStringLiteral("مسکن ملي"), QStringLiteral("اقدام ملي")};
const QStringList kDirections {QStringLiteral("شمال"), QStringLiteral("جنوب"), QStringLiteral("شمال شرقي"), QStringLiteral("شمال غربي"),
                               QStringLiteral("جنوب شرقي"), QStringLiteral("جنوب غربي")};
const QStringList kStreets {QStringLiteral("بلوار امام خميني"), QStringLiteral("خيابان آزادي"), QStringLiteral("بلوار جمهوري"),
                            QStringLiteral("کمربندي شمالي"), QStringLiteral("جاده قديم"), QStringLiteral("خيابان معلم")};
// Men's and women's first names, surnames (some with a common ending) and fathers' names.
const QStringList kMaleNames {QStringLiteral("علي"), QStringLiteral("محمد"), QStringLiteral("حسين"), QStringLiteral("رضا"),
                              QStringLiteral("مهدي"), QStringLiteral("امير"), QStringLiteral("حميد"), QStringLiteral("جواد"),
                              QStringLiteral("سعيد"), QStringLiteral("مصطفي"), QStringLiteral("مرتضي"), QStringLiteral("کاظم"),
                              QStringLiteral("يوسف"), QStringLiteral("کريم"), QStringLiteral("مجيد"), QStringLiteral("وحيد"),
                              QStringLiteral("ابوالفضل"), QStringLiteral("يعقوب"), QStringLiteral("اکبر"), QStringLiteral("ياسر")};
const QStringList kFemaleNames {QStringLiteral("زهرا"), QStringLiteral("فاطمه"), QStringLiteral("مريم"), QStringLiteral("سارا"),
                                QStringLiteral("ليلا"), QStringLiteral("نرگس"), QStringLiteral("معصومه"), QStringLiteral("زينب"),
                                QStringLiteral("سکينه"), QStringLiteral("کبري"), QStringLiteral("مليکا"), QStringLiteral("ريحانه"),
                                QStringLiteral("مهديه"), QStringLiteral("سمیه"), QStringLiteral("الهام"), QStringLiteral("کيميا")};
const QStringList kLastNames {
    QStringLiteral("احمدي"), QStringLiteral("محمدي"), QStringLiteral("حسيني"), QStringLiteral("رضايي"), QStringLiteral("کريمي"),
    QStringLiteral("موسوي"), QStringLiteral("جعفري"), QStringLiteral("صادقي"), QStringLiteral("رحيمي"), QStringLiteral("نوري"),
    QStringLiteral("قاسمي"), QStringLiteral("ابراهيمي"), QStringLiteral("کاظمي"), QStringLiteral("طاهري"), QStringLiteral("عباسي"),
    QStringLiteral("يوسفي"), QStringLiteral("حيدري"), QStringLiteral("مرادي"), QStringLiteral("کرمي"), QStringLiteral("اکبري"),
    QStringLiteral("سليمي"), QStringLiteral("ملکي"), QStringLiteral("کيانی"), QStringLiteral("شريفي"), QStringLiteral("نيکخواه"),
    QStringLiteral("بابايي"), QStringLiteral("فرهادي"), QStringLiteral("اسدي"), QStringLiteral("کامراني"), QStringLiteral("يزداني"),
    QStringLiteral("قرباني"), QStringLiteral("ميرزايي"), QStringLiteral("توکلي"), QStringLiteral("زارعي"), QStringLiteral("کاوه"),
    QStringLiteral("صالحي"), QStringLiteral("نجفي"), QStringLiteral("بهرامي"), QStringLiteral("سبحاني"), QStringLiteral("کشاورز"),
    QStringLiteral("رستمي"), QStringLiteral("خسروي"), QStringLiteral("اميري"), QStringLiteral("شکوهي"), QStringLiteral("دهقان"),
    QStringLiteral("کوهستاني"), QStringLiteral("يگانه"), QStringLiteral("مقدم"), QStringLiteral("کلانتري"), QStringLiteral("فتحي"),
    QStringLiteral("هاشمي"), QStringLiteral("عسگري"), QStringLiteral("ستوده"), QStringLiteral("کيهاني"), QStringLiteral("پاکزاد"),
    QStringLiteral("افشار"), QStringLiteral("بيگي"), QStringLiteral("ترکمان"), QStringLiteral("جليلي"), QStringLiteral("حکيمي")};
const QStringList kLastNameEndings {QString(), QString(), QString(), QString(), QStringLiteral(" زاده"), QStringLiteral("پور"),
                                    QStringLiteral(" نژاد"), QStringLiteral("فر"), QStringLiteral("نيا")};
const QStringList kFathers {QStringLiteral("حسن"), QStringLiteral("عباس"), QStringLiteral("احمد"), QStringLiteral("محمود"),
                            QStringLiteral("اکبر"), QStringLiteral("قاسم"), QStringLiteral("يدالله"), QStringLiteral("کاظم"),
                            QStringLiteral("علي"), QStringLiteral("رحيم"), QStringLiteral("ابراهيم"), QStringLiteral("نعمت الله")};
const QStringList kRelations {QStringLiteral("همسر"), QStringLiteral("فرزند"), QStringLiteral("فرزند"), QStringLiteral("پدر"),
                              QStringLiteral("مادر")};
const QStringList kPaymentKinds {QStringLiteral("پيش پرداخت"), QStringLiteral("قسط"), QStringLiteral("چک"),
                                 QStringLiteral("فيش بانکي")};
const QStringList kBanks {QStringLiteral("ملي"), QStringLiteral("مسکن"), QStringLiteral("ملت"), QStringLiteral("صادرات"),
                          QStringLiteral("کشاورزي")};

// Rows of one table inserted many to a statement through prepared statements.
class BatchInserter {
public:
    BatchInserter(Database& db, QString table, QStringList columns)
        : m_db(db), m_table(std::move(table)), m_columns(std::move(columns))
    {
        // SQL Server takes at most 2100 values in a statement.
        m_rowsPerStatement = std::max(1, std::min(200, 2000 / int(m_columns.size())));
    }

    void add(const QVariantList& row)
    {
        m_rows << row;
        if (m_rows.size() >= m_rowsPerStatement)
            flush();
    }

    // The rows waiting go in statements of the full batch size, and a shorter
    // rest in statements of powers of two: each statement size is prepared
    // once per table (preparing a statement of some thousand values costs
    // more than running it, and the rest's size differs at every flush).
    void flush()
    {
        qsizetype at = 0;
        while (at < m_rows.size()) {
            const qsizetype left = m_rows.size() - at;
            int n = m_rowsPerStatement;
            if (left < n)
                for (n = 1; n * 2 <= left;)
                    n *= 2;
            std::unique_ptr<QSqlQuery>& q = m_prepared[n];
            if (!q)
                q = prepared(n);
            int i = 0;
            for (qsizetype r = at; r < at + n; ++r)
                for (const QVariant& v : m_rows.at(r))
                    q->bindValue(i++, v);
            if (!q->exec())
                throw DbError(q->lastError().text(), q->lastQuery());
            at += n;
        }
        m_count += m_rows.size();
        m_rows.clear();
    }

    qint64 count() const { return m_count; }

private:
    std::unique_ptr<QSqlQuery> prepared(int rows)
    {
        const QString one = QLatin1Char('(') + QStringList(m_columns.size(), QStringLiteral("?")).join(',') + QLatin1Char(')');
        const QString sql = QStringLiteral("insert into ") + m_table + QStringLiteral(" (") + m_columns.join(',') +
                            QStringLiteral(") values ") + QStringList(rows, one).join(',');
        auto q = std::make_unique<QSqlQuery>(m_db.qdb());
        if (!q->prepare(sql))
            throw DbError(q->lastError().text(), sql);
        return q;
    }

    Database& m_db;
    QString m_table;
    QStringList m_columns;
    int m_rowsPerStatement;
    QList<QVariantList> m_rows;
    std::map<int, std::unique_ptr<QSqlQuery>> m_prepared;   // by rows per statement
    qint64 m_count = 0;
};

struct Place {
    QString ostan, shahrestan, shahr, rosta;
};

class Generator {
public:
    Generator(Database& db, const Options& o, const std::function<void(const QString&)>& progress)
        : db(db), o(o), progress(progress), rnd(o.seed)
    {
    }

    Report run();

private:
    Database& db;
    const Options& o;
    const std::function<void(const QString&)>& progress;
    QRandomGenerator rnd;
    Report report;

    template <class T>
    const T& pick(const QList<T>& list) { return list.at(int(rnd.bounded(quint32(list.size())))); }
    int between(int low, int high) { return low + int(rnd.bounded(quint32(high - low + 1))); }
    QString jalaliDate(int yearFrom, int yearTo)
    {
        return QStringLiteral("%1/%2/%3").arg(between(yearFrom, yearTo)).arg(between(1, 12), 2, 10, QChar('0'))
            .arg(between(1, 29), 2, 10, QChar('0'));
    }
    QString nationCode()
    {
        QString nine;
        for (int i = 0; i < 9; ++i)
            nine += QChar('0' + between(0, 9));
        return nationCodeFrom(nine);
    }

    // What an applicant gets once the database gave him an id.
    struct Plan {
        QList<std::pair<qint64, qint64>> payments;  // instalment, collected
        QList<double> partnerShares;
        int dependants = 0;
        QString lname;
    };
    QHash<QString, Plan> plans;   // by registration number
    qint64 applicantsAdded = 0;
    qint64 lastCustomerId = 0;
    qint64 regBase = 0;       // registration numbers follow the applicants already there

    // Names are written with the Arabic or the Persian yeh and kaf, as typed in
    // different offices.
    QString spelled(QString name)
    {
        if (rnd.bounded(100u) < 35)
            name.replace(QChar(0x064A), QChar(0x06CC));
        if (rnd.bounded(100u) < 20)
            name.replace(QChar(0x06A9), QChar(0x0643));
        return name;
    }
    QString lastName() { return spelled(pick(kLastNames) + pick(kLastNameEndings)); }

    QList<Place> places();
    void fillSettings();
    void addProject(int number, const Place& place, BatchInserter& units, BatchInserter& storage,
                    BatchInserter& parking, BatchInserter& applicants);
    void addApplicant(BatchInserter& applicants, const QVariantList& projectPart, const QSqlRecord& unit,
                      const QString& lname, bool holding);
    void addChildren(BatchInserter& payments, BatchInserter& partners, BatchInserter& dependants);
};

QList<Place> Generator::places()
{
    auto read = [&] {
        QList<Place> out;
        QSqlQuery q = db.exec(QStringLiteral("select ostan,shahrestan,min(shahr),min(rosta) from abadiha "
                                             "group by ostan,shahrestan order by ostan,shahrestan"));
        while (q.next())
            out << Place {q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString()};
        return out;
    };
    QList<Place> out = read();
    if (!out.isEmpty())
        return out;
    Transaction tx(db);
    int code = 1;
    for (const auto& [ostan, counties] : kDivisions) {
        for (const QString& county : counties) {
            db.exec(QStringLiteral("insert into abadiha (ostan,shahrestan,shahr,bakhsh,dehestan,rosta,cod) values (?,?,?,?,?,?,?)"),
                    {ostan, county, county, QStringLiteral("مرکزي"), QStringLiteral(""), QStringLiteral(""),
                     QString::number(code++)});
            ++report.divisionsAdded;
        }
    }
    tx.commit();
    if (progress)
        progress(QStringLiteral("divisions: %1 counties added").arg(report.divisionsAdded));
    return read();
}

void Generator::fillSettings()
{
    Transaction tx(db);
    for (const auto& [key, values] : kSettings) {
        if (db.scalar(QStringLiteral("select count(*) from setting where component=?"), {key}).toInt() > 0)
            continue;
        for (const QString& v : values)
            db.exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"), {key, v});
    }
    tx.commit();
}

void Generator::addProject(int number, const Place& place, BatchInserter& units, BatchInserter& storage,
                           BatchInserter& parking, BatchInserter& applicants)
{
    const int unitCount = o.unitsPerProject;
    const int storageCount = o.storagePerProject < 0 ? unitCount / 2 : o.storagePerProject;
    const int parkingCount = o.parkingPerProject < 0 ? unitCount / 2 : o.parkingPerProject;
    // Which units are sold, decided first so that the project carries its count.
    QList<bool> sold(unitCount, false);
    int soldCount = 0;
    for (int i = 0; i < unitCount; ++i) {
        // With a number of applicants to reach, the last projects sell only what is missing.
        if (o.applicants > 0 && applicantsAdded + soldCount >= o.applicants)
            break;
        if (int(rnd.bounded(100u)) < o.soldPercent) {
            sold[i] = true;
            ++soldCount;
        }
    }
    const QString type = pick(kTypes);
    const QString name = pick(kNameStarts) + ' ' + pick(kNameEnds) + ' ' + place.shahr +
                         (number % 3 == 0 ? QStringLiteral(" فاز %1").arg(number % 5 + 1) : QString());
    const QString code = QString::number(1000 + number);
    const QString shahr = place.shahr.isEmpty() ? place.shahrestan : place.shahr;
    const QString rosta = place.rosta.isEmpty() ? shahr : place.rosta;
    const QString pelak = QStringLiteral("مساحت %1 متر مربع، پلاک ثبتي %2 فرعي از %3 اصلي")
                              .arg(between(5, 60) * 1000).arg(between(1, 900)).arg(between(1, 200));
    const QString address = shahr + QStringLiteral("، ") + pick(kStreets) + QStringLiteral("، روبروي پارک ") + pick(kNameEnds);
    const bool expired = rnd.bounded(10u) == 0;
    const QString expire = expired ? jalaliDate(1398, 1401) : (rnd.bounded(4u) == 0 ? kMask : jalaliDate(1404, 1407));
    const QString state = pick(kSaleStates);
    const qint64 prjId = db.insert(
        QStringLiteral("projects"),
        {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("shahr"), QStringLiteral("rosta"),
         QStringLiteral("prj_cod"), QStringLiteral("prj_name"), QStringLiteral("prj_typ"), QStringLiteral("prot_typ"),
         QStringLiteral("status"), QStringLiteral("zamin_pelak"), QStringLiteral("zamin_adr"), QStringLiteral("vahed_kol"),
         QStringLiteral("vahed_cnt"), QStringLiteral("vahed_f"), QStringLiteral("anbari_cnt"), QStringLiteral("parking_cnt"),
         QStringLiteral("st_tavrin"), QStringLiteral("expire_dat"), QStringLiteral("sakht_dat"), QStringLiteral("cmt")},
        {place.ostan, place.shahrestan, shahr, rosta, code, name, type, pick(kContracts),
         expired ? QStringLiteral("انقضا فروش") : kActive, pelak, address, unitCount, unitCount - unitCount / 10,
         soldCount, storageCount, parkingCount, state, expire, rnd.bounded(2u) ? jalaliDate(1396, 1405) : kMask,
         QStringLiteral("")});
    ++report.projects;

    // Units: four to a floor, up to five floors to a block.
    const qint64 pricePerMetre = qint64(between(60, 260)) * 1000000;
    QStringList buyers(unitCount);
    for (int i = 0; i < unitCount; ++i) {
        const int block = i / 20 + 1;
        const int floor = (i % 20) / 4;
        const int no = i % 4 + 1;
        const QString shenase = QStringLiteral("%1-%2-%3").arg(block).arg(floor).arg(no);
        const double metraj = between(550, 1500) / 10.0;
        const double teras = rnd.bounded(3u) == 0 ? between(20, 120) / 10.0 : 0.0;
        const qint64 terasPrice = teras > 0 ? pricePerMetre / 2 : 0;
        const qint64 total = *areaAmount({{metraj, pricePerMetre}, {teras, terasPrice}});
        const QString karbari = floor == 0 && no == 1 && rnd.bounded(3u) == 0 ? QStringLiteral("تجاري") : QStringLiteral("مسکوني");
        QString status = kActive;
        if (sold[i]) {
            buyers[i] = lastName();
            status = kSoldPrefix + buyers[i];
        } else if (rnd.bounded(25u) == 0) {
            status = QStringLiteral("رزرو");
        }
        units.add({prjId, karbari, QString::number(block), QString::number(floor), QString::number(no), shenase,
                   pick(kDirections), between(1, 3), metraj, 0.0, teras, 0.0, pricePerMetre, terasPrice, qint64(0), total,
                   qint64(0), QStringLiteral("آب، برق، گاز"), QStringLiteral(""), status, type, QStringLiteral("آپارتمان")});
    }
    for (int i = 0; i < storageCount; ++i) {
        const double metraj = between(40, 120) / 10.0;
        const qint64 price = pricePerMetre / 3;
        storage.add({prjId, QString::number(i / 20 + 1), i % 20 + 1, metraj, QStringLiteral("زيرزمين"), price,
                     *areaAmount({{metraj, price}}), kActive});
    }
    for (int i = 0; i < parkingCount; ++i) {
        const double metraj = between(120, 150) / 10.0;
        const qint64 price = pricePerMetre / 4;
        parking.add({prjId, QString::number(i / 20 + 1), i % 20 + 1, metraj, QStringLiteral("زيرزمين"), price,
                     *areaAmount({{metraj, price}}), kActive, i % 3 ? QStringLiteral("مسقف") : QStringLiteral("غير مسقف")});
    }
    if (soldCount == 0)
        return;
    // The applicants refer to the units they hold by id.
    units.flush();
    QSqlQuery q = db.exec(QStringLiteral("select id,shenase,karbari,bolok,tabaghe,vahed_no,jahat,otagh,metraj,teras,teras1,"
                                         "mablagh1,mablagh from vahedha where prj_id=?"),
                          {prjId});
    QHash<QString, QSqlRecord> byShenase;
    while (q.next())
        byShenase.insert(q.value(1).toString(), q.record());
    const QVariantList projectPart {place.ostan, place.shahrestan, shahr, rosta, prjId, code, name, type, pelak, address};
    int holdersLeft = soldCount;
    for (int i = 0; i < unitCount; ++i) {
        if (!sold[i])
            continue;
        const QSqlRecord u = byShenase.value(QStringLiteral("%1-%2-%3").arg(i / 20 + 1).arg((i % 20) / 4).arg(i % 4 + 1));
        // Some units were sold before to an applicant who transferred his contract.
        const bool room = o.applicants <= 0 || applicantsAdded + holdersLeft < o.applicants;
        if (room && int(rnd.bounded(100u)) < o.transferredPercent)
            addApplicant(applicants, projectPart, u, lastName(), false);
        --holdersLeft;
        addApplicant(applicants, projectPart, u, buyers[i], true);
    }
}

void Generator::addApplicant(BatchInserter& applicants, const QVariantList& projectPart, const QSqlRecord& u,
                             const QString& lname, bool holding)
{
    const qint64 price = toMoney(u.value(QStringLiteral("mablagh")));
    const bool female = rnd.bounded(3u) == 0;
    const QString regNo = QString::number(100000 + regBase + ++applicantsAdded);
    Plan plan;
    plan.lname = lname;
    double sahm = 6.0;
    if (int(rnd.bounded(100u)) < o.partnersPercent) {
        const int partners = 1 + int(rnd.bounded(2u));
        for (int p = 0; p < partners; ++p)
            plan.partnerShares << 2.0;
        sahm = 6.0 - 2.0 * partners;
    }
    // Instalments of the price; the cheques not yet collected count for nothing.
    const int payments = o.paymentsPerApplicant > 0 ? int(rnd.bounded(quint32(2 * o.paymentsPerApplicant + 1))) : 0;
    qint64 collected = 0;
    for (int p = 0; p < payments; ++p) {
        const qint64 instalment = price / 100 * between(5, 25) / 1000 * 1000;
        const qint64 vosol = rnd.bounded(5u) == 0 ? 0 : instalment;
        plan.payments.append({instalment, vosol});
        collected += vosol;
    }
    plan.dependants = o.dependantsPerApplicant > 0 ? int(rnd.bounded(quint32(2 * o.dependantsPerApplicant + 1))) : 0;
    plans.insert(regNo, plan);
    QVariantList row = projectPart;
    row << u.value(QStringLiteral("id")) << u.value(QStringLiteral("shenase")) << u.value(QStringLiteral("karbari"))
        << u.value(QStringLiteral("bolok")) << u.value(QStringLiteral("tabaghe")) << u.value(QStringLiteral("vahed_no"))
        << u.value(QStringLiteral("jahat")) << u.value(QStringLiteral("otagh")) << u.value(QStringLiteral("metraj"))
        << u.value(QStringLiteral("teras")) << u.value(QStringLiteral("teras1")) << u.value(QStringLiteral("mablagh1"))
        << price << qint64(0) << projectPart.value(7) << spelled(female ? pick(kFemaleNames) : pick(kMaleNames)) << lname
        << spelled(pick(kFathers)) << nationCode() << QStringLiteral("0912%1").arg(between(1000000, 9999999))
        << jalaliDate(1340, 1380) << jalaliDate(1400, 1403) << regNo
        << (holding ? kActive : QStringLiteral("منتقل شد")) << sahm << collected << qint64(0) << 0.0 << 0.0 << qint64(0)
        << (holding ? kMask : jalaliDate(1401, 1403)) << QStringLiteral("حقيقي") << kMask << kMask << kMask << kMask
        << kMask << kMask << kMask << kMask << kMask << QStringLiteral("demo")
        << (female ? QStringLiteral("زن") : QStringLiteral("مرد"));
    applicants.add(row);
}

void Generator::addChildren(BatchInserter& payments, BatchInserter& partners, BatchInserter& dependants)
{
    QSqlQuery q = db.exec(QStringLiteral("select id,reg_no,lname from customers where id>? order by id"), {lastCustomerId});
    QList<std::pair<qint64, QString>> added;
    while (q.next())
        added.append({q.value(0).toLongLong(), q.value(1).toString()});
    for (const auto& [id, regNo] : added) {
        lastCustomerId = std::max(lastCustomerId, id);
        const auto plan = plans.constFind(regNo);
        if (plan == plans.constEnd())
            continue;
        int n = 0;
        for (const auto& [instalment, vosol] : plan->payments)
            payments.add({id, pick(kPaymentKinds), instalment, QString::number(between(100000, 999999)), vosol,
                          jalaliDate(1400, 1403), pick(kBanks), QString::number(5000 + ++n)});
        for (double share : plan->partnerShares)
            partners.add({id, spelled(pick(kMaleNames)), lastName(), spelled(pick(kFathers)), nationCode(), share,
                          QStringLiteral("0913%1").arg(between(1000000, 9999999)), jalaliDate(1340, 1385)});
        for (int d = 0; d < plan->dependants; ++d) {
            const QString relation = pick(kRelations);
            const bool child = relation == QStringLiteral("فرزند");
            dependants.add({id, qint64(0), relation, spelled(rnd.bounded(2u) ? pick(kMaleNames) : pick(kFemaleNames)),
                            child ? plan->lname : lastName(), spelled(pick(kFathers)), nationCode(),
                            jalaliDate(child ? 1385 : 1340, child ? 1402 : 1380), QStringLiteral("هست")});
        }
    }
    plans.clear();
}

Report Generator::run()
{
    QElapsedTimer timer;
    timer.start();
    const QList<Place> all = places();
    if (all.isEmpty())
        throw DbError(QStringLiteral("no divisions"), QStringLiteral("abadiha"));
    fillSettings();
    const int firstNumber = db.scalar(QStringLiteral("select count(*) from projects")).toInt() + 1;

    BatchInserter units(db, QStringLiteral("vahedha"),
                        {QStringLiteral("prj_id"), QStringLiteral("karbari"), QStringLiteral("bolok"), QStringLiteral("tabaghe"),
                         QStringLiteral("vahed_no"), QStringLiteral("shenase"), QStringLiteral("jahat"), QStringLiteral("otagh"),
                         QStringLiteral("metraj"), QStringLiteral("metraj_z"), QStringLiteral("teras"), QStringLiteral("hayat"),
                         QStringLiteral("mablagh1"), QStringLiteral("teras1"), QStringLiteral("hayat1"), QStringLiteral("mablagh"),
                         QStringLiteral("vam"), QStringLiteral("ekhtesasi"), QStringLiteral("moshtarak"), QStringLiteral("status"),
                         QStringLiteral("vahed_typ"), QStringLiteral("bana")});
    const QStringList spaceColumns {QStringLiteral("prj_id"), QStringLiteral("bolok"), QStringLiteral("num"), QStringLiteral("metraj"),
                                    QStringLiteral("pos"), QStringLiteral("mablagh1"), QStringLiteral("mablagh"), QStringLiteral("status")};
    BatchInserter storage(db, QStringLiteral("anbariha"), spaceColumns);
    BatchInserter parking(db, QStringLiteral("parkingha"), QStringList(spaceColumns) << QStringLiteral("saghf"));
    BatchInserter applicants(
        db, QStringLiteral("customers"),
        {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("shahr"), QStringLiteral("rosta"), QStringLiteral("prj_id"),
         QStringLiteral("prj_cod"), QStringLiteral("prj_name"), QStringLiteral("prj_typ"), QStringLiteral("zamin_pelak"),
         QStringLiteral("zamin_adr"), QStringLiteral("vahed_id"), QStringLiteral("shenase"), QStringLiteral("karbari"),
         QStringLiteral("bolok"), QStringLiteral("tabaghe"), QStringLiteral("vahed_no"), QStringLiteral("jahat"), QStringLiteral("otagh"),
         QStringLiteral("metraj"), QStringLiteral("teras"), QStringLiteral("teras1"), QStringLiteral("mablagh1"), QStringLiteral("mablagh"),
         QStringLiteral("vam"), QStringLiteral("vahed_typ"), QStringLiteral("fname"), QStringLiteral("lname"), QStringLiteral("father"),
         QStringLiteral("nation"), QStringLiteral("mobile"), QStringLiteral("birthday"), QStringLiteral("reg_dat"),
         QStringLiteral("reg_no"), QStringLiteral("status"), QStringLiteral("sahm"), QStringLiteral("pardakht_sum"),
         QStringLiteral("takhfif"), QStringLiteral("parking"), QStringLiteral("anbari"), QStringLiteral("jarime"),
         QStringLiteral("transport_dat"), QStringLiteral("typ"), QStringLiteral("comp_dat"), QStringLiteral("sanad_enteghal_dat"),
         QStringLiteral("prot_dat"), QStringLiteral("norvad_dat"), QStringLiteral("bank_dat"), QStringLiteral("mali_dat"),
         QStringLiteral("tahvil_dat"), QStringLiteral("daftar_dat"), QStringLiteral("sanad_dat"), QStringLiteral("reg_user"),
         QStringLiteral("gender")});
    BatchInserter payments(db, QStringLiteral("pardakht"),
                           {QStringLiteral("customer_id"), QStringLiteral("pardakht_typ"), QStringLiteral("mablagh"),
                            QStringLiteral("num"), QStringLiteral("vosol"), QStringLiteral("dat"), QStringLiteral("bank"),
                            QStringLiteral("resid_no")});
    BatchInserter partners(db, QStringLiteral("shoraka"),
                           {QStringLiteral("customer_id"), QStringLiteral("fname"), QStringLiteral("lname"), QStringLiteral("father"),
                            QStringLiteral("nation"), QStringLiteral("sahm"), QStringLiteral("mobile"), QStringLiteral("birthday")});
    BatchInserter dependants(db, QStringLiteral("takafol"),
                             {QStringLiteral("customer_id"), QStringLiteral("shoraka_id"), QStringLiteral("nesbat"),
                              QStringLiteral("fname"), QStringLiteral("lname"), QStringLiteral("father"), QStringLiteral("nation"),
                              QStringLiteral("birthday"), QStringLiteral("takafol")});
    lastCustomerId = db.scalar(QStringLiteral("select coalesce(max(id),0) from customers")).toLongLong();
    regBase = lastCustomerId;

    const int perTransaction = std::max(1, o.projectsPerTransaction);
    // A number of applicants to reach needs units that sell.
    const bool toTarget = o.applicants > 0 && o.soldPercent > 0 && o.unitsPerProject > 0;
    const auto more = [&](int done) { return done < o.projects || (toTarget && applicantsAdded < o.applicants); };
    for (int done = 0; more(done);) {
        Transaction tx(db);
        const int end = done + perTransaction;
        for (; done < end && more(done); ++done)
            addProject(firstNumber + done, all.at(done % all.size()), units, storage, parking, applicants);
        for (BatchInserter* b : {&units, &storage, &parking, &applicants})
            b->flush();
        addChildren(payments, partners, dependants);
        for (BatchInserter* b : {&payments, &partners, &dependants})
            b->flush();
        tx.commit();
        report.units = units.count();
        report.storageRooms = storage.count();
        report.parkingSpaces = parking.count();
        report.applicants = applicants.count();
        report.payments = payments.count();
        report.partners = partners.count();
        report.dependants = dependants.count();
        if (progress)
            progress(QStringLiteral("projects %1/%2, units %3, storage rooms %4, parking spaces %5, applicants %6 (%7 s)")
                         .arg(done).arg(std::max(o.projects, done)).arg(report.units).arg(report.storageRooms)
                         .arg(report.parkingSpaces).arg(report.applicants).arg(timer.elapsed() / 1000.0, 0, 'f', 1));
    }
    // The planners of both servers choose their indexes from fresh statistics.
    if (db.backend() == Backend::PostgreSQL)
        db.exec(QStringLiteral("vacuum analyze"));
    else if (db.backend() == Backend::SQLite)
        db.exec(QStringLiteral("analyze"));
    report.milliseconds = timer.elapsed();
    return report;
}

} // namespace

QString nationCodeFrom(const QString& nine)
{
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += (nine[i].unicode() - u'0') * (10 - i);
    const int r = sum % 11;
    return nine + QString::number(r < 2 ? r : 11 - r);
}

Report generate(Database& db, const Options& options, const std::function<void(const QString&)>& progress)
{
    Generator g(db, options, progress);
    return g.run();
}

} // namespace tavrin::demo
