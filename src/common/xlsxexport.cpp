#include "xlsxexport.h"

#include "dialogs.h"
#include "spreadsheetreader.h"

#include "db/database.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlField>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTime>

#include <xlsxwriter.h>

namespace tavrin {

const QString kExcelWriteFailed = QStringLiteral("خطا در ساخت فايل اکسل");
const QString kExcelSaveTitle = QStringLiteral("ذخيره فايل اکسل");
const QString kExcelFilter = QStringLiteral("Excel (*.xlsx)");

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

} // namespace

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
    lxw_row_t nextRow = 1;
    int dataRows = 0;
    lxw_error firstError = LXW_NO_ERROR;

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
        const QByteArray utf8 = (text.size() > kMaxCellChars ? text.left(kMaxCellChars) : text).toUtf8();
        note(worksheet_write_string(sheet, row, col, utf8.constData(), format));
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
    if (n > 0)
        d->note(worksheet_set_column(d->sheet, 0, lxw_col_t(n - 1), kColumnWidth, nullptr));
}

void XlsxWriter::writeRow(const QStringList& values)
{
    if (!d->sheet)
        return;
    if (d->nextRow >= LXW_ROW_MAX) {
        d->note(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE);
        return;
    }
    const lxw_row_t row = d->nextRow++;
    const int n = int(values.size());
    const int last = std::max(n, kBorderedColumns);
    for (int c = 0; c < last; ++c)
        d->writeText(row, lxw_col_t(c), c < n ? values[c].trimmed() : QString(),
                     c < kBorderedColumns ? d->dataBordered : nullptr);
    ++d->dataRows;
}

void XlsxWriter::writeRecord(const QSqlRecord& record)
{
    QStringList values;
    values.reserve(record.count());
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField f = record.field(i);
        QVariant v = f.value();
        // Some drivers hand numeric columns over as text ("1500000.0000").
        if (f.metaType().id() == QMetaType::Double && v.typeId() == QMetaType::QString) {
            bool ok = false;
            const double x = v.toString().toDouble(&ok);
            if (ok)
                v = x;
        }
        values << exportCellText(v);
    }
    writeRow(values);
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

bool exportStatement(const QString& path, const QString& sql, const QVariantList& values,
                     const HeaderMap& headers, QString* error, int pageSize)
{
    if (pageSize < 1)
        pageSize = 1000;
    const Dialect& dialect = dm().dialect();
    const QString paged = sql + dialect.pageClause();
    XlsxWriter w;
    if (!w.open(path, error))
        return false;
    for (qint64 offset = 0;; offset += pageSize) {
        QVariantList bound = values;
        if (dialect.pageBindsOffsetFirst())
            bound << offset << pageSize;
        else
            bound << pageSize << offset;
        QSqlQuery q = dm().exec(paged, bound);
        if (offset == 0) {
            const QSqlRecord fields = q.record();
            QStringList names;
            for (int i = 0; i < fields.count(); ++i)
                names << fields.fieldName(i);
            w.writeHeader(names, headers);
        }
        int got = 0;
        while (q.next()) {
            w.writeRecord(q.record());
            ++got;
        }
        if (got < pageSize)
            break;
    }
    return w.close(error);
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
    dialogs().openWithDesktop(path);
    return true;
}

} // namespace

bool exportListToExcel(const QString& suggestedName, const QStringList& fieldNames,
                       const HeaderMap& headers, const RecordSource& records)
{
    const QString path = askPath(suggestedName);
    if (path.isEmpty())
        return false;
    QString error;
    bool ok = false;
    try {
        ok = exportRecords(path, fieldNames, headers, records, &error);
    } catch (const DbError& e) {
        reportFailure(kExcelWriteFailed, e);
        return false;
    }
    return finish(ok, path, error);
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
        ok = exportStatement(path, sql, values, headers, &error);
    } catch (const DbError& e) {
        reportFailure(kExcelWriteFailed, e);
        return false;
    }
    return finish(ok, path, error);
}

} // namespace tavrin
