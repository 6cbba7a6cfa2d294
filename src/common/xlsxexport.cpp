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

#include "zipwriter.h"

#include <charconv>
#include <cstdio>

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

namespace {

// The cell styles of styles.xml, by their index.
enum Style : int {
    kPlain = 0,
    kHeaderBordered,   // bold, slanted dash-dot borders
    kHeaderBold,
    kDataBordered,     // thin borders
    kWhole,            // "0"
    kAmount,           // "#,##0"
    kWholeBordered,
    kAmountBordered,
    kDecimalBordered,
    kNoStyle = -1,     // an empty cell without a style is not written
};

constexpr int kMaxRows = 1048576;
constexpr qsizetype kFlushAt = 1 << 18;   // the sheet's text handed on in parts of this size
constexpr int kMaxColumns = 16384;

const char kStyles[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<fonts count="2"><font><sz val="11"/><name val="Calibri"/><family val="2"/></font>)"
    R"(<font><b/><sz val="11"/><name val="Calibri"/><family val="2"/></font></fonts>)"
    R"(<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>)"
    R"(<borders count="3"><border><left/><right/><top/><bottom/><diagonal/></border>)"
    R"(<border><left style="thin"><color auto="1"/></left><right style="thin"><color auto="1"/></right>)"
    R"(<top style="thin"><color auto="1"/></top><bottom style="thin"><color auto="1"/></bottom><diagonal/></border>)"
    R"(<border><left style="slantDashDot"><color auto="1"/></left><right style="slantDashDot"><color auto="1"/></right>)"
    R"(<top style="slantDashDot"><color auto="1"/></top><bottom style="slantDashDot"><color auto="1"/></bottom><diagonal/></border></borders>)"
    R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
    R"(<cellXfs count="9"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>)"
    R"(<xf numFmtId="0" fontId="1" fillId="0" borderId="2" xfId="0" applyFont="1" applyBorder="1"/>)"
    R"(<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/>)"
    R"(<xf numFmtId="0" fontId="0" fillId="0" borderId="1" xfId="0" applyBorder="1"/>)"
    R"(<xf numFmtId="1" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>)"
    R"(<xf numFmtId="3" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>)"
    R"(<xf numFmtId="1" fontId="0" fillId="0" borderId="1" xfId="0" applyNumberFormat="1" applyBorder="1"/>)"
    R"(<xf numFmtId="3" fontId="0" fillId="0" borderId="1" xfId="0" applyNumberFormat="1" applyBorder="1"/>)"
    R"(<xf numFmtId="0" fontId="0" fillId="0" borderId="1" xfId="0" applyBorder="1"/></cellXfs>)"
    R"(<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>)"
    R"(<dxfs count="0"/><tableStyles count="0"/></styleSheet>)";

const char kContentTypes[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
    R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
    R"(<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>)"
    R"(</Types>)";

const char kRootRels[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
    R"(</Relationships>)";

const char kWorkbook[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
    R"(<bookViews><workbookView/></bookViews><sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>)";

const char kWorkbookRels[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(</Relationships>)";

// A column's letters: A, B, ..., Z, AA, ...
QByteArray columnName(int column)
{
    QByteArray name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        name.prepend(char('A' + (c - 1) % 26));
    return name;
}

// The width a file stores for a column `characters` wide in the default font
// (7 pixels a digit, 5 of padding), in 256ths of a character as spreadsheet
// programs keep it.
double storedWidth(double characters)
{
    const double w = (int(characters * 7 + 0.5) + 5) / 7.0;
    return int(w * 256) / 256.0;
}

// Whether a character cannot go into the sheet's XML as it is: a control
// character other than tab and line feed, a character XML does not allow,
// or a surrogate (checked for its pair by the careful path).
inline bool needsCare(char16_t c)
{
    return (c < 0x20 && c != '\t' && c != '\n') || c == '&' || c == '<' || c == '>' || (c >= 0xD800 && c <= 0xDFFF) ||
           c >= 0xFFFE;
}

} // namespace

struct XlsxWriter::Impl {
    QString pathText;
    std::unique_ptr<ZipWriter> zip;
    bool open = false;
    QByteArray xml;                 // the sheet's rows not yet handed to the zip
    std::vector<QByteArray> names;  // column letters, by column
    QList<int> widths;   // per column: characters of its longest number (0: none)
    int fieldCount = 0;
    int columns = 0;                // the widest row written
    int nextRow = 1;
    int dataRows = 0;
    QString firstError;
    // The field types of the records written, taken from the first one (every
    // record of an export has the same fields).
    QList<int> fieldTypes;
    QStringEncoder utf8 {QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};

    void note(const QString& e)
    {
        if (firstError.isEmpty())
            firstError = e;
    }

    const QByteArray& name(int column)
    {
        while (int(names.size()) <= column)
            names.push_back(columnName(int(names.size())));
        return names[size_t(column)];
    }

    void cellStart(int row, int column, int style)
    {
        xml += "<c r=\"";
        xml += name(column);
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, row + 1).ptr;
        xml.append(digits, end - digits);
        xml += '"';
        if (style != kPlain) {
            xml += " s=\"";
            const auto e = std::to_chars(digits, digits + sizeof digits, style).ptr;
            xml.append(digits, e - digits);
            xml += '"';
        }
        columns = std::max(columns, column + 1);
    }

    // A text as the sheet's XML holds it: &, < and > as entities; control
    // characters, the two non-characters U+FFFE and U+FFFF and halves of
    // surrogate pairs standing alone as the file format's "_xHHHH_" escapes.
    void appendText(const QString& text)
    {
        const char16_t* p = reinterpret_cast<const char16_t*>(text.constData());
        const qsizetype n = text.size();
        bool plain = true;
        for (qsizetype i = 0; i < n && plain; ++i)
            plain = !needsCare(p[i]);
        if (plain) {
            const qsizetype at = xml.size();
            xml.resize(at + utf8.requiredSpace(n));
            char* end = utf8.appendToBuffer(xml.data() + at, text);
            xml.resize(end - xml.constData());
            return;
        }
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = p[i];
            if (c == '&') {
                xml += "&amp;";
            } else if (c == '<') {
                xml += "&lt;";
            } else if (c == '>') {
                xml += "&gt;";
            } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
                xml += QStringView(p + i, 2).toUtf8();
                ++i;
            } else if (needsCare(c)) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "_x%04X_", unsigned(c));
                xml += escape;
            } else {
                xml += QStringView(p + i, 1).toUtf8();
            }
        }
    }

    void writeText(int row, int column, const QString& text, int style)
    {
        if (text.isEmpty()) {
            if (style != kNoStyle) {
                cellStart(row, column, style);
                xml += "/>";
            }
            return;
        }
        cellStart(row, column, style == kNoStyle ? kPlain : style);
        const QString cell = xlsxCellText(text);
        const auto isBlank = [](QChar c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
        if (isBlank(cell.front()) || isBlank(cell.back()))
            xml += " t=\"inlineStr\"><is><t xml:space=\"preserve\">";
        else
            xml += " t=\"inlineStr\"><is><t>";
        appendText(cell);
        xml += "</t></is></c>";
    }

    void writeCell(int row, int column, const CellValue& c, bool bordered)
    {
        if (c.kind == CellValue::Kind::Text) {
            writeText(row, column, c.text.trimmed(), bordered ? kDataBordered : kNoStyle);
            return;
        }
        const int style = c.kind == CellValue::Kind::Whole    ? (bordered ? kWholeBordered : kWhole)
                          : c.kind == CellValue::Kind::Amount ? (bordered ? kAmountBordered : kAmount)
                                                              : (bordered ? kDecimalBordered : kPlain);
        cellStart(row, column, style);
        xml += "><v>";
        char digits[32];
        // Whole numbers are below 10^15: exactly their digits.  A decimal in
        // the fewest digits that read back as the same number.
        const auto end = c.kind == CellValue::Kind::Decimal
                             ? std::to_chars(digits, digits + sizeof digits, c.number).ptr
                             : std::to_chars(digits, digits + sizeof digits, qint64(c.number)).ptr;
        xml.append(digits, end - digits);
        xml += "</v></c>";
        if (widths.size() <= column)
            widths.resize(column + 1);
        widths[column] = std::max(widths.at(column), shownLength(c));
    }

    void rowStart(int row)
    {
        xml += "<row r=\"";
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, row + 1).ptr;
        xml.append(digits, end - digits);
        xml += "\">";
    }

    void rowEnd()
    {
        xml += "</row>";
        if (xml.size() >= kFlushAt)
            flush();
    }

    void flush()
    {
        // A part the zip refuses has failed it: its finish() says why.
        if (!xml.isEmpty() && firstError.isEmpty())
            zip->appendLong(std::move(xml));
        xml = QByteArray();
        xml.reserve(kFlushAt + (1 << 16));
    }

    // Writes the next data row of n values, cell(c) giving column c's value.
    // Each cell goes straight to the sheet: no row of values is built first.
    template<typename Cell>
    void writeCells(int n, Cell cell)
    {
        if (!open)
            return;
        if (nextRow >= kMaxRows || n > kMaxColumns) {
            note(QStringLiteral("Worksheet row or column index out of range"));
            return;
        }
        const int row = nextRow++;
        rowStart(row);
        for (int c = 0; c < n; ++c)
            writeCell(row, c, cell(c), c < kBorderedColumns);
        for (int c = n; c < kBorderedColumns; ++c)
            writeCell(row, c, CellValue(), true);
        rowEnd();
        ++dataRows;
    }

    // Every field column 10 characters wide, a column of numbers as wide as
    // its longest number; runs of equal widths are set together.
    QByteArray cols() const
    {
        const int last = std::max(fieldCount, int(widths.size()));
        QList<double> w(last, 0);
        for (int c = 0; c < last; ++c) {
            const int number = c < widths.size() ? widths.at(c) : 0;
            if (c < fieldCount || number > 0)
                w[c] = std::max(kColumnWidth, number > 0 ? number + 2.0 : 0.0);
        }
        QByteArray out;
        for (int c = 0; c < last;) {
            int end = c;
            while (end + 1 < last && w.at(end + 1) == w.at(c))
                ++end;
            if (w.at(c) > 0) {
                char width[32];
                const auto e = std::to_chars(width, width + sizeof width, storedWidth(w.at(c))).ptr;
                out += "<col min=\"" + QByteArray::number(c + 1) + "\" max=\"" + QByteArray::number(end + 1) +
                       "\" width=\"" + QByteArray(width, e - width) + "\" customWidth=\"1\"/>";
            }
            c = end + 1;
        }
        if (!out.isEmpty())
            out = QByteArray("<cols>") + out + QByteArray("</cols>");
        return out;
    }

    QByteArray sheetHead() const
    {
        const QByteArray last = columnName(std::max(columns, 1) - 1) + QByteArray::number(nextRow);
        return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                                 "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                                 "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                                 "<dimension ref=\"A1:") +
               last +
               "\"/><sheetViews><sheetView rightToLeft=\"1\" tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
               "<sheetFormatPr defaultRowHeight=\"15\"/>" +
               cols() + "<sheetData>";
    }
};

XlsxWriter::XlsxWriter() : d(std::make_unique<Impl>()) {}

XlsxWriter::~XlsxWriter() = default;

bool XlsxWriter::open(const QString& path, QString* error)
{
    *d = Impl();
    d->pathText = path;
    d->zip = std::make_unique<ZipWriter>();
    if (!d->zip->beginLong(QStringLiteral("xl/worksheets/sheet1.xml"), error)) {
        d->zip.reset();
        return false;
    }
    d->open = true;
    return true;
}

bool XlsxWriter::isOpen() const
{
    return d->open;
}

void XlsxWriter::writeHeader(const QStringList& fieldNames, const HeaderMap& headers)
{
    if (!d->open)
        return;
    const int n = int(fieldNames.size());
    if (n > kMaxColumns) {
        d->note(QStringLiteral("Worksheet row or column index out of range"));
        return;
    }
    const int last = std::max(n, kBorderedColumns);
    d->rowStart(0);
    for (int c = 0; c < last; ++c) {
        const int style = c < kBorderedColumns ? kHeaderBordered : c < kBoldColumns ? kHeaderBold : kNoStyle;
        d->writeText(0, c, c < n ? headerFor(fieldNames[c], headers) : QString(), style);
    }
    d->rowEnd();
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
    if (!d->open) {
        if (error)
            *error = QStringLiteral("the workbook was not open");
        return false;
    }
    d->open = false;
    d->flush();
    std::unique_ptr<ZipWriter> zip = std::move(d->zip);
    if (d->firstError.isEmpty()) {
        zip->add(QStringLiteral("[Content_Types].xml"), QByteArray(kContentTypes));
        zip->add(QStringLiteral("_rels/.rels"), QByteArray(kRootRels));
        zip->add(QStringLiteral("xl/workbook.xml"), QByteArray(kWorkbook));
        zip->add(QStringLiteral("xl/_rels/workbook.xml.rels"), QByteArray(kWorkbookRels));
        zip->add(QStringLiteral("xl/styles.xml"), QByteArray(kStyles));
        QString why;
        if (zip->finish(d->pathText, d->sheetHead(),
                        QByteArrayLiteral("</sheetData><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" "
                                          "bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/></worksheet>"),
                        &why))
            return true;
        d->note(why);
    }
    if (error)
        *error = QStringLiteral("%1: %2").arg(d->pathText, d->firstError);
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
