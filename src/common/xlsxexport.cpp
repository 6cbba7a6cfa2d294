#include "xlsxexport.h"

#include "dialogs.h"
#include "listmodel.h"
#include "spreadsheetreader.h"

#include "db/database.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlField>
#include <QStandardPaths>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextBoundaryFinder>
#include <QTime>

#include <xlsxwriter.h>

#include <cmath>
#include <vector>

namespace tavrin {

const QString kExcelWriteFailed = QStringLiteral("خطا در ساخت فايل اکسل");
const QString kExcelSaveTitle = QStringLiteral("ذخيره فايل اکسل");
const QString kExcelFilter = QStringLiteral("Excel (*.xlsx)");
const QString kExcelSavedAt = QStringLiteral("برنامه اي براي باز کردن فايل اکسل پيدا نشد. فايل در اين مسير ذخيره شد:");

namespace {

// The formatted ranges of the sheet, as column counts from A.
constexpr int kBorderedColumns = 13;   // A..M
constexpr int kBoldColumns = 27;       // A..AA
constexpr double kColumnWidth = 10;
constexpr int kMaxCellChars = 32767;  // the longest text a cell holds

QString describe(lxw_error e)
{
    return QString::fromUtf8(lxw_strerror(e));
}

// A cell's value as it is written: a number, or a text.
struct CellValue {
    enum class Kind { Text, Whole, Amount, Decimal };
    Kind kind = Kind::Text;
    double number = 0;
    QString text;
};

// Largest whole number a cell holds exactly: a spreadsheet keeps 15 digits.
constexpr double kExactDigits = 1e15;

bool isIntegerType(int id)
{
    switch (id) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

bool isRealType(int id)
{
    return id == QMetaType::Double || id == QMetaType::Float;
}

// A whole number written as such when a cell keeps all its digits.
CellValue wholeNumber(double value, bool amount, const QString& text)
{
    if (std::fabs(value) >= kExactDigits)
        return {CellValue::Kind::Text, 0, text};
    return {amount ? CellValue::Kind::Amount : CellValue::Kind::Whole, value, {}};
}

// fieldType: the column's type (QMetaType::UnknownType when not known).
// Integer and real columns, and values that are numbers, give numbers;
// everything else (texts of text columns, dates, flags) text.
CellValue cellValue(const QVariant& v, int fieldType)
{
    if (!v.isValid() || v.isNull())
        return {};
    const int type = v.typeId();
    if (isIntegerType(type)) {
        const qint64 n = v.toLongLong();
        return wholeNumber(double(n), isRealType(fieldType), QString::number(n));
    }
    if (isRealType(type)) {
        const double d = v.toDouble();
        if (!std::isfinite(d))
            return {CellValue::Kind::Text, 0, exportCellText(v)};
        if (d == std::floor(d))
            return wholeNumber(d, !isIntegerType(fieldType), exportCellText(v));
        return {CellValue::Kind::Decimal, d, {}};
    }
    // Some drivers hand numeric columns over as text ("1500000.0000").
    if ((isIntegerType(fieldType) || isRealType(fieldType)) && type == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (ok && std::isfinite(d)) {
            if (d == std::floor(d))
                return wholeNumber(d, isRealType(fieldType), t);
            return {CellValue::Kind::Decimal, d, {}};
        }
    }
    return {CellValue::Kind::Text, 0, exportCellText(v)};
}

// How many characters a number shows with its format.
int shownLength(const CellValue& c)
{
    if (c.kind == CellValue::Kind::Decimal)
        return int(spreadsheetNumberText(c.number).size());
    int digits = 1;
    for (qint64 n = qint64(std::fabs(c.number)); n >= 10; n /= 10)
        ++digits;
    return digits + (c.kind == CellValue::Kind::Amount ? (digits - 1) / 3 : 0) + (c.number < 0 ? 1 : 0);
}

} // namespace

QString xlsxCellText(const QString& text)
{
    if (!text.contains(QLatin1String("_x")) && text.size() <= kMaxCellChars)
        return text;
    // An underscore that starts "_xHHHH_" would be read as an escaped
    // character: it is written as the escape of "_" itself.
    static const QRegularExpression escapeLike(QStringLiteral("_(?=x[0-9A-Fa-f]{4}_)"));
    QList<qsizetype> escaped;
    for (auto it = escapeLike.globalMatch(text); it.hasNext();)
        escaped << it.next().capturedStart();

    // Whole characters (a letter with its marks, both halves of a surrogate
    // pair) up to the cell's limit, counted as the text kept and as written.
    QString out;
    out.reserve(std::min<qsizetype>(text.size() + 6 * escaped.size(), kMaxCellChars + 16));
    qsizetype kept = 0;
    qsizetype written = 0;
    qsizetype next = 0;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype from = 0; from < text.size();) {
        qsizetype to = characters.toNextBoundary();
        if (to <= from)
            to = text.size();
        QString piece;
        for (qsizetype i = from; i < to; ++i) {
            if (next < escaped.size() && escaped.at(next) == i) {
                piece += QStringLiteral("_x005F");
                ++next;
            }
            piece += text.at(i);
        }
        qsizetype points = 0;
        for (const QChar c : std::as_const(piece))
            points += c.isLowSurrogate() ? 0 : 1;
        if (kept + (to - from) > kMaxCellChars || written + points > kMaxCellChars)
            break;
        out += piece;
        kept += to - from;
        written += points;
        from = to;
    }
    return out;
}

QString exportCellText(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return spreadsheetNumberText(v.toDouble());
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QTime:
        return v.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::QByteArray: {
        const QByteArray bytes = v.toByteArray();
        if (bytes.contains('\0'))
            return {};
        auto decode = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString s = decode(bytes);
        return decode.hasError() ? QString() : s;
    }
    default:
        return v.toString();
    }
}

QString headerFor(const QString& fieldName, const HeaderMap& headers)
{
    auto it = headers.constFind(fieldName);
    if (it == headers.constEnd())
        it = headers.constFind(fieldName.toLower());
    return it == headers.constEnd() ? fieldName : it.value();
}

struct XlsxWriter::Impl {
    QByteArray path;
    QString pathText;
    lxw_workbook* workbook = nullptr;
    lxw_worksheet* sheet = nullptr;
    lxw_format* headerBordered = nullptr;
    lxw_format* headerBold = nullptr;
    lxw_format* dataBordered = nullptr;
    // Number formats, with and without the data rows' border.
    lxw_format* wholeFormat[2] = {};
    lxw_format* amountFormat[2] = {};
    lxw_format* decimalFormat[2] = {};
    QList<int> widths;   // per column: characters of its longest number (0: none)
    int fieldCount = 0;
    lxw_row_t nextRow = 1;
    int dataRows = 0;
    lxw_error firstError = LXW_NO_ERROR;
    // The field types of the records written, taken from the first one (every
    // record of an export has the same fields).
    QList<int> fieldTypes;
    // A cell's text as UTF-8, reused from cell to cell.
    QStringEncoder utf8 {QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
    std::vector<char> utf8Text;

    void note(lxw_error e)
    {
        if (e != LXW_NO_ERROR && firstError == LXW_NO_ERROR)
            firstError = e;
    }

    void writeText(lxw_row_t row, lxw_col_t col, const QString& text, lxw_format* format)
    {
        if (text.isEmpty()) {
            if (format)
                note(worksheet_write_blank(sheet, row, col, format));
            return;
        }
        const QString cell = xlsxCellText(text);
        const qsizetype room = utf8.requiredSpace(cell.size()) + 1;
        if (qsizetype(utf8Text.size()) < room)
            utf8Text.resize(size_t(room));
        *utf8.appendToBuffer(utf8Text.data(), cell) = '\0';
        note(worksheet_write_string(sheet, row, col, utf8Text.data(), format));
    }

    void writeCell(lxw_row_t row, lxw_col_t col, const CellValue& c, bool bordered)
    {
        if (c.kind == CellValue::Kind::Text) {
            writeText(row, col, c.text.trimmed(), bordered ? dataBordered : nullptr);
            return;
        }
        lxw_format* const* formats = c.kind == CellValue::Kind::Whole    ? wholeFormat
                                     : c.kind == CellValue::Kind::Amount ? amountFormat
                                                                         : decimalFormat;
        note(worksheet_write_number(sheet, row, col, c.number, formats[bordered ? 1 : 0]));
        if (widths.size() <= int(col))
            widths.resize(int(col) + 1);
        widths[col] = std::max(widths.at(col), shownLength(c));
    }

    // Writes the next data row of n values, cell(c) giving column c's value.
    // Each cell goes straight to the sheet: no row of values is built first.
    template<typename Cell>
    void writeCells(int n, Cell cell)
    {
        if (!sheet)
            return;
        if (nextRow >= LXW_ROW_MAX) {
            note(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE);
            return;
        }
        const lxw_row_t row = nextRow++;
        for (int c = 0; c < n; ++c)
            writeCell(row, lxw_col_t(c), cell(c), c < kBorderedColumns);
        for (int c = n; c < kBorderedColumns; ++c)
            writeCell(row, lxw_col_t(c), CellValue(), true);
        ++dataRows;
    }

    // Every field column 10 characters wide, a column of numbers as wide as
    // its longest number; runs of equal widths are set together.
    void setWidths()
    {
        const int last = std::max(fieldCount, int(widths.size()));
        QList<double> w(last, 0);
        for (int c = 0; c < last; ++c) {
            const int number = c < widths.size() ? widths.at(c) : 0;
            if (c < fieldCount || number > 0)
                w[c] = std::max(kColumnWidth, number > 0 ? number + 2.0 : 0.0);
        }
        for (int c = 0; c < last;) {
            int end = c;
            while (end + 1 < last && w.at(end + 1) == w.at(c))
                ++end;
            if (w.at(c) > 0)
                note(worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(end), w.at(c), nullptr));
            c = end + 1;
        }
    }

    void discard()
    {
        if (workbook)
            lxw_workbook_free(workbook);
        workbook = nullptr;
        sheet = nullptr;
    }
};

XlsxWriter::XlsxWriter() : d(std::make_unique<Impl>()) {}

XlsxWriter::~XlsxWriter()
{
    d->discard();
}

bool XlsxWriter::open(const QString& path, QString* error)
{
    d->discard();
    *d = Impl();
    d->pathText = path;
    d->path = QFile::encodeName(path);
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = nullptr;
    options.use_zip64 = LXW_FALSE;
    d->workbook = workbook_new_opt(d->path.constData(), &options);
    if (d->workbook)
        d->sheet = workbook_add_worksheet(d->workbook, "Sheet1");
    if (!d->sheet) {
        d->discard();
        if (error)
            *error = QStringLiteral("cannot start the workbook %1").arg(path);
        return false;
    }
    worksheet_right_to_left(d->sheet);

    d->headerBordered = workbook_add_format(d->workbook);
    format_set_bold(d->headerBordered);
    format_set_border(d->headerBordered, LXW_BORDER_SLANT_DASH_DOT);
    d->headerBold = workbook_add_format(d->workbook);
    format_set_bold(d->headerBold);
    d->dataBordered = workbook_add_format(d->workbook);
    format_set_border(d->dataBordered, LXW_BORDER_THIN);
    for (int bordered = 0; bordered < 2; ++bordered) {
        d->wholeFormat[bordered] = workbook_add_format(d->workbook);
        format_set_num_format(d->wholeFormat[bordered], "0");
        d->amountFormat[bordered] = workbook_add_format(d->workbook);
        format_set_num_format(d->amountFormat[bordered], "#,##0");
        d->decimalFormat[bordered] = bordered ? workbook_add_format(d->workbook) : nullptr;
        if (bordered) {
            format_set_border(d->wholeFormat[bordered], LXW_BORDER_THIN);
            format_set_border(d->amountFormat[bordered], LXW_BORDER_THIN);
            format_set_border(d->decimalFormat[bordered], LXW_BORDER_THIN);
        }
    }
    return true;
}

bool XlsxWriter::isOpen() const
{
    return d->sheet != nullptr;
}

void XlsxWriter::writeHeader(const QStringList& fieldNames, const HeaderMap& headers)
{
    if (!d->sheet)
        return;
    const int n = int(fieldNames.size());
    const int last = std::max(n, kBorderedColumns);
    for (int c = 0; c < last; ++c) {
        lxw_format* f = c < kBorderedColumns ? d->headerBordered : c < kBoldColumns ? d->headerBold : nullptr;
        d->writeText(0, lxw_col_t(c), c < n ? headerFor(fieldNames[c], headers) : QString(), f);
    }
    d->fieldCount = n;
}

void XlsxWriter::writeRow(const QStringList& values)
{
    d->writeCells(int(values.size()), [&](int c) { return CellValue {CellValue::Kind::Text, 0, values.at(c)}; });
}

void XlsxWriter::writeRecord(const QSqlRecord& record)
{
    const int n = record.count();
    if (d->fieldTypes.size() != n) {
        d->fieldTypes.resize(n);
        for (int i = 0; i < n; ++i)
            d->fieldTypes[i] = record.field(i).metaType().id();
    }
    d->writeCells(n, [&](int c) { return cellValue(record.value(c), d->fieldTypes.at(c)); });
}

void XlsxWriter::writeValues(const QVariantList& values)
{
    d->writeCells(int(values.size()), [&](int c) { return cellValue(values.at(c), QMetaType::UnknownType); });
}

int XlsxWriter::rowCount() const
{
    return d->dataRows;
}

bool XlsxWriter::close(QString* error)
{
    if (!d->workbook) {
        if (error)
            *error = QStringLiteral("the workbook was not open");
        return false;
    }
    if (d->sheet && d->firstError == LXW_NO_ERROR)
        d->setWidths();
    const lxw_error failed = d->firstError;
    lxw_error e = LXW_NO_ERROR;
    if (failed == LXW_NO_ERROR) {
        e = workbook_close(d->workbook);  // frees the workbook whatever happens
        d->workbook = nullptr;
        d->sheet = nullptr;
    } else {
        d->discard();
    }
    if (failed == LXW_NO_ERROR && e == LXW_NO_ERROR)
        return true;
    if (e != LXW_NO_ERROR)
        QFile::remove(d->pathText);  // whatever part of the file was written
    if (error)
        *error = QStringLiteral("%1: %2").arg(d->pathText, describe(failed != LXW_NO_ERROR ? failed : e));
    return false;
}

bool exportRows(const QString& path, const QStringList& fieldNames, const HeaderMap& headers,
                const RowSource& rows, QString* error)
{
    XlsxWriter w;
    if (!w.open(path, error))
        return false;
    w.writeHeader(fieldNames, headers);
    if (rows)
        rows([&](const QStringList& r) { w.writeRow(r); });
    return w.close(error);
}

bool exportRecords(const QString& path, const QStringList& fieldNames, const HeaderMap& headers,
                   const RecordSource& records, QString* error)
{
    XlsxWriter w;
    if (!w.open(path, error))
        return false;
    w.writeHeader(fieldNames, headers);
    if (records)
        records([&](const QSqlRecord& r) { w.writeRecord(r); });
    return w.close(error);
}

bool exportQuery(const QString& path, QSqlQuery& query, const HeaderMap& headers, QString* error)
{
    const QSqlRecord fields = query.record();
    QStringList names;
    for (int i = 0; i < fields.count(); ++i)
        names << fields.fieldName(i);
    XlsxWriter w;
    if (!w.open(path, error))
        return false;
    w.writeHeader(names, headers);
    while (query.next())
        w.writeRecord(query.record());
    return w.close(error);
}

namespace {

// Streams the rows of a select to a workbook: read once, in order (a cursor on
// PostgreSQL), with perRow told after each row (it may throw to stop).
bool exportSelect(const QString& path, const QString& sql, const QVariantList& values, const HeaderMap& headers,
                  QString* error, int batch, const std::function<void()>& perRow)
{
    XlsxWriter w;
    if (!w.open(path, error))
        return false;
    dm().forEachRow(
        sql, values,
        [&](const QSqlRecord& r) {
            w.writeRecord(r);
            if (perRow)
                perRow();
        },
        [&](const QSqlRecord& fields) {
            QStringList names;
            for (int i = 0; i < fields.count(); ++i)
                names << fields.fieldName(i);
            w.writeHeader(names, headers);
        },
        batch);
    return w.close(error);
}

} // namespace

bool exportStatement(const QString& path, const QString& sql, const QVariantList& values,
                     const HeaderMap& headers, QString* error, int pageSize)
{
    // Read once rather than page by page: every OFFSET page would sort the
    // whole result again.  pageSize is the batch a server sends at a time.
    return exportSelect(path, sql, values, headers, error, pageSize < 1 ? 1000 : std::max(pageSize, 1000), {});
}

namespace {

QString suggestedPath(const QString& name)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty())
        dir = QDir::homePath();
    QString file = name.isEmpty() ? QStringLiteral("Book1") : name;
    if (!file.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        file += QStringLiteral(".xlsx");
    return QDir(dir).filePath(file);
}

// Asks for the file; empty when cancelled.
QString askPath(const QString& suggestedName)
{
    QString path = dialogs().saveFile(kExcelSaveTitle, kExcelFilter, suggestedPath(suggestedName));
    if (path.isEmpty())
        return {};
    if (QFileInfo(path).suffix().compare(QStringLiteral("xlsx"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".xlsx");
    return path;
}

bool finish(bool ok, const QString& path, const QString& error)
{
    if (!ok) {
        qWarning().noquote() << "excel export failed:" << error;
        dialogs().error(kExcelWriteFailed);
        return false;
    }
    openExportedFile(path, kExcelSavedAt);
    return true;
}

} // namespace

void openExportedFile(const QString& path, const QString& savedText)
{
    if (!dialogs().openWithDesktopProgram(path))
        dialogs().information(savedText + QLatin1Char('\n') + QDir::toNativeSeparators(path));
}

bool exportListToExcel(const QString& suggestedName, const QStringList& fieldNames,
                       const HeaderMap& headers, const RecordSource& records)
{
    const QString path = askPath(suggestedName);
    if (path.isEmpty())
        return false;
    QString error;
    bool ok = false;
    try {
        // The progress window lives while the rows are written: it is gone
        // before the result (or a failure) is shown, so that it neither stays
        // over the message nor takes the Enter meant for it.
        const std::unique_ptr<ProgressView> progress = dialogs().progress(kReadingList, 0);
        qint64 done = 0;
        ok = exportRecords(path, fieldNames, headers, [&](const RecordVisitor& visit) {
            if (!records)
                return;
            records([&](const QSqlRecord& r) {
                visit(r);
                if (!progress->advance(++done))
                    throw ReadCancelled();
            });
        }, &error);
    } catch (const ReadCancelled&) {
        return false;  // the unfinished workbook was discarded
    } catch (const DbError& e) {
        reportFailure(kExcelWriteFailed, e);
        return false;
    }
    return finish(ok, path, error);
}

bool exportListToExcel(const QString& suggestedName, const ListModel& model, const HeaderMap& headers)
{
    return exportListToExcel(suggestedName, model.fieldNames(), headers,
                             [&model](const RecordVisitor& visit) { model.forEachRow(visit); });
}

bool exportListToExcel(const QString& suggestedName, const QString& sql, const QVariantList& values,
                       const HeaderMap& headers)
{
    const QString path = askPath(suggestedName);
    if (path.isEmpty())
        return false;
    QString error;
    bool ok = false;
    try {
        // As above: the progress window closes before the result is shown.
        const std::unique_ptr<ProgressView> progress = dialogs().progress(kReadingList, 0);
        qint64 done = 0;
        ok = exportSelect(path, sql, values, headers, &error, 2000, [&] {
            if (!progress->advance(++done))
                throw ReadCancelled();
        });
    } catch (const ReadCancelled&) {
        return false;
    } catch (const DbError& e) {
        reportFailure(kExcelWriteFailed, e);
        return false;
    }
    return finish(ok, path, error);
}

} // namespace tavrin
