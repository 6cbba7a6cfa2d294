#include "divisions.h"

#include "reftexts.h"
#include "refmessages.h"

#include "common/activitylog.h"
#include "common/session.h"
#include "common/spreadsheetreader.h"
#include "db/database.h"
#include "db/schema.h"

namespace tavrin {

QStringList Division::values() const
{
    return {ostan, shahrestan, shahr, bakhsh, dehestan, rosta, cod};
}

Division Division::fromValues(const QStringList& v)
{
    Division d;
    const auto at = [&](int i) { return i < v.size() ? v[i] : QStringLiteral(""); };
    d.ostan = at(0);
    d.shahrestan = at(1);
    d.shahr = at(2);
    d.bakhsh = at(3);
    d.dehestan = at(4);
    d.rosta = at(5);
    d.cod = at(6);
    return d;
}

const QStringList& divisionColumns()
{
    static const QStringList c = {QStringLiteral("ostan"),    QStringLiteral("shahrestan"), QStringLiteral("shahr"),
                                  QStringLiteral("bakhsh"),   QStringLiteral("dehestan"),   QStringLiteral("rosta"),
                                  QStringLiteral("cod")};
    return c;
}

namespace {
QString captionOf(const QString& column)
{
    static const QStringList captions = {reftext::kOstan,    reftext::kShahrestan, reftext::kShahr, reftext::kBakhsh,
                                         reftext::kDehestan, reftext::kRosta,      reftext::kCodAbadi};
    return captions.value(divisionColumns().indexOf(column), column);
}

// The first value of the settlement longer than its column.
std::optional<FieldRefusal> textTooLong(const Division& d)
{
    QList<ColumnText> texts;
    const QStringList values = d.values();
    for (int i = 0; i < divisionColumns().size(); ++i)
        texts.append({divisionColumns()[i], values[i], captionOf(divisionColumns()[i])});
    return checkTextLengths(QStringLiteral("abadiha"), texts);
}

bool refusedAsTooLong(const std::optional<FieldRefusal>& r, FieldRefusal* out)
{
    if (r && out)
        *out = *r;
    return r.has_value();
}

QVariantList bound(const Division& d)
{
    QVariantList v;
    for (const QString& s : d.values())
        v << (s.isNull() ? QStringLiteral("") : s);
    return v;
}
} // namespace

ListQuery divisionsQuery(const DivisionCriteria& c)
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from abadiha"));
    // The conditions in the order the search has always added them.
    const std::pair<const char*, const std::optional<QString>*> order[] = {
        {"cod", &c.cod},       {"dehestan", &c.dehestan},     {"ostan", &c.ostan},
        {"bakhsh", &c.bakhsh}, {"shahrestan", &c.shahrestan}, {"rosta", &c.rosta}};
    for (const auto& [column, value] : order)
        if (value->has_value())
            q.like(QString::fromLatin1(column), **value);
    q.orderBy(QStringLiteral("shahrestan,bakhsh,dehestan,rosta"));
    return q;
}

DivisionSave insertDivision(const Division& d, FieldRefusal* tooLong)
{
    if (refusedAsTooLong(textTooLong(d), tooLong))
        return DivisionSave::TooLong;
    Database& db = dm();
    Transaction tx(db);
    db.lockTable(QStringLiteral("abadiha"));
    if (db.firstRow(QStringLiteral("select id from abadiha where shahrestan=? and rosta=? and ostan=? and cod=?"),
                    {d.shahrestan, d.rosta, d.ostan, d.cod}))
        return DivisionSave::DuplicatePlace;
    if (db.firstRow(QStringLiteral("select id from abadiha where cod=?"), {d.cod}))
        return DivisionSave::DuplicateCode;
    db.insert(QStringLiteral("abadiha"), divisionColumns(), bound(d));
    writeLog(reftext::kLogNewAbadi + d.cod + QStringLiteral(" ") + session().karbar);
    tx.commit();
    return DivisionSave::Saved;
}

DivisionSave updateDivision(const Division& d, const QString& oldCod, FieldRefusal* tooLong)
{
    if (refusedAsTooLong(textTooLong(d), tooLong))
        return DivisionSave::TooLong;
    Database& db = dm();
    Transaction tx(db);
    db.lockTable(QStringLiteral("abadiha"));
    if (d.cod != oldCod &&
        db.firstRow(QStringLiteral("select id from abadiha where cod=? and id<>?"), {d.cod, d.id}))
        return DivisionSave::DuplicateCode;
    QVariantList v = bound(d);
    v << d.id;
    const int n = db.execAffected(QStringLiteral("update abadiha set ostan=?,shahrestan=?,shahr=?,bakhsh=?,"
                                                 "dehestan=?,rosta=?,cod=? where id=?"),
                                  v);
    if (n == 0)
        return DivisionSave::Vanished;
    writeLog(reftext::kLogEditAbadi + d.cod + QStringLiteral(" ") + session().karbar);
    tx.commit();
    return DivisionSave::Saved;
}

bool deleteDivision(qint64 id, const QString& cod)
{
    Database& db = dm();
    Transaction tx(db);
    if (db.execAffected(QStringLiteral("delete from abadiha where id=?"), {id}) == 0)
        return false;
    writeLog(reftext::kLogDeleteAbadi + cod + QStringLiteral(" ") + session().karbar);
    tx.commit();
    return true;
}

bool isUsableNewName(const QString& name)
{
    const QString t = name.trimmed();
    return !t.isEmpty() && t != reftext::kInputPreset;
}

int renameDivisions(const QString& column, const QString& newName, const QList<qint64>& ids, FieldRefusal* tooLong)
{
    static const QStringList renamable = {QStringLiteral("ostan"),    QStringLiteral("shahrestan"),
                                          QStringLiteral("shahr"),    QStringLiteral("bakhsh"),
                                          QStringLiteral("dehestan"), QStringLiteral("rosta")};
    if (!renamable.contains(column))
        throw DbError(QStringLiteral("not a renamable column: ") + column, {});
    if (refusedAsTooLong(checkTextLengths(QStringLiteral("abadiha"), {{column, newName, captionOf(column)}}), tooLong))
        return -1;
    Database& db = dm();
    Transaction tx(db);
    int changed = 0;
    constexpr int kBatch = 200;
    for (int from = 0; from < ids.size(); from += kBatch) {
        const int n = std::min<int>(kBatch, ids.size() - from);
        QVariantList values{newName};
        QStringList marks;
        for (int i = 0; i < n; ++i) {
            marks << QStringLiteral("?");
            values << ids[from + i];
        }
        changed += db.execAffected(QStringLiteral("update abadiha set ") + column +
                                       QStringLiteral("=? where id in (") + marks.join(',') + ')',
                                   values);
    }
    tx.commit();
    return changed;
}

// ---- Spreadsheet ------------------------------------------------------------

namespace {
bool isHeaderRow(const QStringList& cells)
{
    if (cells.isEmpty())
        return false;
    const QString first = cells.first().trimmed();
    return foldText(first) == foldText(reftext::kOstan) || first.compare(QLatin1String("ostan"), Qt::CaseInsensitive) == 0;
}

bool isEmptyRow(const QStringList& cells)
{
    for (const QString& c : cells)
        if (!c.trimmed().isEmpty())
            return false;
    return true;
}

// Index of the header row in sheet.rows, or -1: the first row holding a value,
// when it starts with the province title.
int headerIndex(const SheetData& sheet)
{
    for (int r = 0; r < sheet.rows.size(); ++r)
        if (!isEmptyRow(sheet.rows[r]))
            return isHeaderRow(sheet.rows[r]) ? r : -1;
    return -1;
}
} // namespace

QList<int> divisionDataRows(const SheetData& sheet)
{
    const int header = headerIndex(sheet);
    QList<int> out;
    for (int r = 0; r < sheet.rows.size(); ++r)
        if (r != header && !isEmptyRow(sheet.rows[r]))
            out << r;
    return out;
}

DivisionSheet checkDivisionSheet(const SheetData& sheet)
{
    DivisionSheet out;
    const int kColumns = int(divisionColumns().size());
    if (sheet.columnCount != kColumns) {
        out.problem = SheetProblem::ColumnCount;
        return out;
    }
    // A code or name that cannot be read is not imported as an empty or an error text.
    for (const SheetCell& cell : sheet.unreadable) {
        if (cell.column < kColumns) {
            out.problem = SheetProblem::UnreadableCell;
            out.badRow = cell.row;
            out.badCell = cell.name();
            return out;
        }
    }
    QList<int> lengths;
    const TableDef* table = schema().table(QStringLiteral("abadiha"));
    for (const QString& c : divisionColumns()) {
        const ColumnDef* def = table ? table->column(c) : nullptr;
        lengths << (def ? def->length : 0);
    }
    const int header = headerIndex(sheet);
    out.headerSkipped = header >= 0;
    out.headerRow = header + 1;
    for (const int r : divisionDataRows(sheet)) {
        QStringList cells = sheet.rows[r];
        for (QString& c : cells)
            c = c.trimmed();
        if (cells.value(0).isEmpty() || cells.value(1).isEmpty()) {
            out.problem = SheetProblem::EmptyPlace;
            out.badRow = r + 1;
            out.rows.clear();
            out.rowNumbers.clear();
            return out;
        }
        for (int c = 0; c < kColumns; ++c) {
            if (lengths[c] > 0 && cells.value(c).size() > lengths[c]) {
                out.problem = SheetProblem::TooLong;
                out.badRow = r + 1;
                out.badColumn = divisionColumns()[c];
                out.rows.clear();
                out.rowNumbers.clear();
                return out;
            }
        }
        out.rows << Division::fromValues(cells);
        out.rowNumbers << r + 1;
    }
    if (out.rows.isEmpty())
        out.problem = SheetProblem::NoRows;
    return out;
}

QString sheetProblemMessage(const DivisionSheet& s)
{
    switch (s.problem) {
    case SheetProblem::None: return {};
    case SheetProblem::ColumnCount: return reftext::kColumnCount;
    case SheetProblem::EmptyPlace: return refmsg::kBadRowEmpty + QString::number(s.badRow);
    case SheetProblem::TooLong: return refmsg::kBadRowLong + QString::number(s.badRow);
    case SheetProblem::NoRows: return refmsg::kNoRows;
    case SheetProblem::UnreadableCell: return refmsg::kBadCell.arg(s.badCell);
    }
    return {};
}

QString sheetProblemText(const DivisionSheet& s)
{
    switch (s.problem) {
    case SheetProblem::None: return {};
    case SheetProblem::ColumnCount:
        return QStringLiteral("the sheet must have exactly 7 columns: ostan, shahrestan, shahr, bakhsh, dehestan, rosta, cod");
    case SheetProblem::EmptyPlace:
        return QStringLiteral("row %1: the province or the county is empty").arg(s.badRow);
    case SheetProblem::TooLong:
        return QStringLiteral("row %1: the %2 cell is longer than the column allows").arg(s.badRow).arg(s.badColumn);
    case SheetProblem::NoRows: return QStringLiteral("the sheet holds no settlement");
    case SheetProblem::UnreadableCell:
        return QStringLiteral("cell %1 cannot be read (an error value, or a formula saved without its result)")
            .arg(s.badCell);
    }
    return {};
}

int replaceDivisions(Database& db, const QList<Division>& rows, const ImportProgress& progress)
{
    Transaction tx(db);
    // Two imports at once are served one after the other: without the table's
    // lock the second one's delete misses the rows the first is inserting, and
    // the table ends up holding both sheets.
    db.lockTable(QStringLiteral("abadiha"));
    db.exec(QStringLiteral("delete from abadiha"));
    const QString head = QStringLiteral("insert into abadiha (") + divisionColumns().join(',') + QStringLiteral(") values ");
    const QString one = QStringLiteral("(?,?,?,?,?,?,?)");
    constexpr int kBatch = 100;
    const int total = int(rows.size());
    if (progress)
        progress(0, total);
    for (int from = 0; from < total; from += kBatch) {
        const int n = std::min(kBatch, total - from);
        QStringList groups;
        QVariantList values;
        for (int i = 0; i < n; ++i) {
            groups << one;
            values << bound(rows[from + i]);
        }
        db.exec(head + groups.join(','), values);
        if (progress)
            progress(from + n, total);
    }
    tx.commit();
    return total;
}

DivisionImport importDivisionsFile(Database& db, const QString& path, const ImportProgress& progress)
{
    DivisionImport out;
    QString why;
    const auto sheet = readSpreadsheet(path, &why);
    if (!sheet) {
        out.error = QStringLiteral("cannot read %1: %2").arg(path, why);
        return out;
    }
    const DivisionSheet checked = checkDivisionSheet(*sheet);
    out.headerSkipped = checked.headerSkipped;
    if (checked.problem != SheetProblem::None) {
        out.error = sheetProblemText(checked);
        return out;
    }
    try {
        out.rows = replaceDivisions(db, checked.rows, progress);
    } catch (const DbError& e) {
        out.error = QStringLiteral("the database refused the import (nothing was changed): ") + e.driverText;
        return out;
    }
    out.ok = true;
    return out;
}

// ---- Starter set --------------------------------------------------------------

int seedStarterDivisions(Database& db)
{
    // Province, centre county, centre city.
    static const QList<QStringList> kStarter = {
        {QStringLiteral("آذربايجان شرقي"), QStringLiteral("تبريز"), QStringLiteral("تبريز")},
        {QStringLiteral("آذربايجان غربي"), QStringLiteral("اروميه"), QStringLiteral("اروميه")},
        {QStringLiteral("اردبيل"), QStringLiteral("اردبيل"), QStringLiteral("اردبيل")},
        {QStringLiteral("اصفهان"), QStringLiteral("اصفهان"), QStringLiteral("اصفهان")},
        {QStringLiteral("البرز"), QStringLiteral("كرج"), QStringLiteral("كرج")},
        {QStringLiteral("ايلام"), QStringLiteral("ايلام"), QStringLiteral("ايلام")},
        {QStringLiteral("بوشهر"), QStringLiteral("بوشهر"), QStringLiteral("بوشهر")},
        {QStringLiteral("تهران"), QStringLiteral("تهران"), QStringLiteral("تهران")},
        {QStringLiteral("چهارمحال و بختياري"), QStringLiteral("شهركرد"), QStringLiteral("شهركرد")},
        {QStringLiteral("خراسان جنوبي"), QStringLiteral("بيرجند"), QStringLiteral("بيرجند")},
        {QStringLiteral("خراسان رضوي"), QStringLiteral("مشهد"), QStringLiteral("مشهد")},
        {QStringLiteral("خراسان شمالي"), QStringLiteral("بجنورد"), QStringLiteral("بجنورد")},
        {QStringLiteral("خوزستان"), QStringLiteral("اهواز"), QStringLiteral("اهواز")},
        {QStringLiteral("زنجان"), QStringLiteral("زنجان"), QStringLiteral("زنجان")},
        {QStringLiteral("سمنان"), QStringLiteral("سمنان"), QStringLiteral("سمنان")},
        {QStringLiteral("سيستان و بلوچستان"), QStringLiteral("زاهدان"), QStringLiteral("زاهدان")},
        {QStringLiteral("فارس"), QStringLiteral("شيراز"), QStringLiteral("شيراز")},
        {QStringLiteral("قزوين"), QStringLiteral("قزوين"), QStringLiteral("قزوين")},
        {QStringLiteral("قم"), QStringLiteral("قم"), QStringLiteral("قم")},
        {QStringLiteral("كردستان"), QStringLiteral("سنندج"), QStringLiteral("سنندج")},
        {QStringLiteral("كرمان"), QStringLiteral("كرمان"), QStringLiteral("كرمان")},
        {QStringLiteral("كرمانشاه"), QStringLiteral("كرمانشاه"), QStringLiteral("كرمانشاه")},
        {QStringLiteral("كهگيلويه و بويراحمد"), QStringLiteral("بويراحمد"), QStringLiteral("ياسوج")},
        {QStringLiteral("گلستان"), QStringLiteral("گرگان"), QStringLiteral("گرگان")},
        {QStringLiteral("گيلان"), QStringLiteral("رشت"), QStringLiteral("رشت")},
        {QStringLiteral("لرستان"), QStringLiteral("خرم آباد"), QStringLiteral("خرم آباد")},
        {QStringLiteral("مازندران"), QStringLiteral("ساري"), QStringLiteral("ساري")},
        {QStringLiteral("مركزي"), QStringLiteral("اراك"), QStringLiteral("اراك")},
        {QStringLiteral("هرمزگان"), QStringLiteral("بندرعباس"), QStringLiteral("بندرعباس")},
        {QStringLiteral("همدان"), QStringLiteral("همدان"), QStringLiteral("همدان")},
        {QStringLiteral("يزد"), QStringLiteral("يزد"), QStringLiteral("يزد")},
    };
    Transaction tx(db);
    if (db.scalar(QStringLiteral("select count(*) from abadiha")).toLongLong() > 0)
        return 0;
    for (const QStringList& p : kStarter)
        db.insert(QStringLiteral("abadiha"), divisionColumns(),
                  {p[0], p[1], p[2], QStringLiteral(""), QStringLiteral(""), QStringLiteral(""), QStringLiteral("")});
    tx.commit();
    return int(kStarter.size());
}

} // namespace tavrin
