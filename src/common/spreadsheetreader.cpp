#include "spreadsheetreader.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QXmlStreamReader>

#include <freexl.h>
#include <minizip/unzip.h>

#include <cmath>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tavrin {

QString spreadsheetNumberText(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    // Excel keeps and shows 15 significant digits; 0.1+0.2 reads "0.3".
    const double shown = QString::number(value, 'g', 15).toDouble();
    if (shown == 0)
        return QStringLiteral("0");
    return QString::number(shown, 'f', QLocale::FloatingPointShortest);
}

QString SheetCell::name() const
{
    QString letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row);
}

namespace {

constexpr int kMaxColumns = 16384;     // XFD
constexpr int kMaxRows = 1048576;
constexpr qint64 kChunk = 256 * 1024;

// Collects rows for readSpreadsheetRows: drops empty rows, and hands the empty
// rows before a row with values over as empty lists.
class RowSink {
public:
    RowSink(const SheetRowHandler& handler) : m_handler(handler) {}

    // False when the handler asked to stop.
    bool row(QStringList cells, int rowNumber)
    {
        while (!cells.isEmpty() && cells.constLast().isEmpty())
            cells.removeLast();
        if (cells.isEmpty())
            return true;
        if (rowNumber <= m_emitted)
            rowNumber = m_emitted + 1;
        for (int r = m_emitted + 1; r < rowNumber; ++r)
            if (!m_handler(QStringList(), r))
                return stop();
        m_emitted = rowNumber;
        if (!m_handler(cells, rowNumber))
            return stop();
        return true;
    }
private:
    static bool stop() { return false; }
    const SheetRowHandler& m_handler;
    int m_emitted = 0;
};

class ProgressReporter {
public:
    ProgressReporter(const SheetProgress& p, qint64 total) : m_progress(p), m_total(std::max<qint64>(total, 1)) {}
    void advance(qint64 by) { set(m_done + by); }
    void set(qint64 done)
    {
        m_done = done;
        if (!m_progress)
            return;
        const int percent = int(std::min<qint64>(100, m_done * 100 / m_total));
        if (percent != m_last) {
            m_last = percent;
            m_progress(percent);
        }
    }
    void finish()
    {
        if (m_progress && m_last != 100) {
            m_last = 100;
            m_progress(100);
        }
    }

private:
    const SheetProgress& m_progress;
    qint64 m_total;
    qint64 m_done = 0;
    int m_last = -1;
};

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// ---------------------------------------------------------------- .xlsx ---

// OOXML escapes characters that XML cannot carry as _xHHHH_.
QString decodeEscapes(const QString& s)
{
    if (!s.contains(QLatin1String("_x")))
        return s;
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == '_' && i + 6 < s.size() && s[i + 1] == 'x' && s[i + 6] == '_') {
            bool ok = false;
            const uint code = s.mid(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                out += QChar(char16_t(code));
                i += 6;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

// Column index (0 for A) of a reference such as "AB12"; -1 when it has no letters.
int columnOf(QStringView ref)
{
    int col = 0;
    qsizetype i = 0;
    for (; i < ref.size(); ++i) {
        const char16_t c = ref[i].unicode();
        int v;
        if (c >= 'A' && c <= 'Z')
            v = c - 'A' + 1;
        else if (c >= 'a' && c <= 'z')
            v = c - 'a' + 1;
        else
            break;
        col = col * 26 + v;
        if (col > kMaxColumns)
            return kMaxColumns;  // reported as out of range by the caller
    }
    return i == 0 ? -1 : col - 1;
}

class Zip {
public:
    explicit Zip(const QString& path) { m_zip = unzOpen64(QFile::encodeName(path).constData()); }
    ~Zip()
    {
        if (m_zip)
            unzClose(m_zip);
    }
    Zip(const Zip&) = delete;
    Zip& operator=(const Zip&) = delete;
    bool isOpen() const { return m_zip != nullptr; }

    // Makes the entry current; its uncompressed size, or -1 when absent.
    qint64 locate(const QString& name)
    {
        const QByteArray n = name.toUtf8();
        if (unzLocateFile(m_zip, n.constData(), 1) != UNZ_OK && unzLocateFile(m_zip, n.constData(), 2) != UNZ_OK)
            return -1;
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return -1;
        return qint64(info.uncompressed_size);
    }

    // Streams an entry through a QXmlStreamReader; onToken is called for every
    // token and returns false to stop early.
    bool streamXml(const QString& name, const std::function<bool(QXmlStreamReader&)>& onToken,
                   ProgressReporter* progress, QString* error)
    {
        if (locate(name) < 0) {
            setError(error, QStringLiteral("the workbook has no part %1").arg(name));
            return false;
        }
        if (unzOpenCurrentFile(m_zip) != UNZ_OK) {
            setError(error, QStringLiteral("cannot open the part %1").arg(name));
            return false;
        }
        QXmlStreamReader xml;
        QByteArray buffer(kChunk, Qt::Uninitialized);
        bool ok = true, more = true, stopped = false, done = false;
        while (ok && !stopped && !done) {
            if (more) {
                const int got = unzReadCurrentFile(m_zip, buffer.data(), unsigned(buffer.size()));
                if (got < 0) {
                    setError(error, QStringLiteral("the part %1 is damaged (zip error %2)").arg(name).arg(got));
                    ok = false;
                    break;
                }
                if (got == 0)
                    more = false;
                else
                    xml.addData(QByteArray(buffer.constData(), got));
                if (progress)
                    progress->advance(got);
            }
            // Reads what has arrived; a token cut by the end of a chunk is
            // reported as a premature end and read again with the next chunk.
            for (;;) {
                const QXmlStreamReader::TokenType t = xml.readNext();
                if (t == QXmlStreamReader::Invalid)
                    break;
                if (!onToken(xml)) {
                    stopped = true;
                    break;
                }
                if (t == QXmlStreamReader::EndDocument) {
                    done = true;
                    break;
                }
            }
            if (stopped || done)
                break;
            if (more && (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError ||
                         xml.error() == QXmlStreamReader::NoError))
                continue;
            setError(error, QStringLiteral("the part %1 is not valid XML: %2 (line %3)")
                                .arg(name, xml.errorString())
                                .arg(xml.lineNumber()));
            ok = false;
        }
        if (unzCloseCurrentFile(m_zip) == UNZ_CRCERROR && ok && !stopped) {
            setError(error, QStringLiteral("the part %1 is damaged (CRC error)").arg(name));
            ok = false;
        }
        return ok;
    }

private:
    unzFile m_zip = nullptr;
};

struct Relationship {
    QString type;
    QString target;  // resolved path inside the package
};

QString partDir(const QString& part)
{
    const qsizetype slash = part.lastIndexOf('/');
    return slash < 0 ? QString() : part.left(slash + 1);
}

QString resolvePart(const QString& baseDir, const QString& target)
{
    if (target.startsWith('/'))
        return QDir::cleanPath(target.mid(1));
    return QDir::cleanPath(baseDir + target);
}

// The relationships of a part (from its _rels/<name>.rels), by id.
bool readRelationships(Zip& zip, const QString& part, QHash<QString, Relationship>* out, QString* error)
{
    const QString dir = partDir(part);
    const QString relsPart = dir + QStringLiteral("_rels/") + part.mid(dir.size()) + QStringLiteral(".rels");
    if (zip.locate(relsPart) < 0)
        return true;  // a part without relationships
    return zip.streamXml(
        relsPart,
        [&](QXmlStreamReader& x) {
            if (x.isStartElement() && x.name() == QLatin1String("Relationship")) {
                const auto a = x.attributes();
                if (a.value(QLatin1String("TargetMode")) == QLatin1String("External"))
                    return true;
                out->insert(a.value(QLatin1String("Id")).toString(),
                            {a.value(QLatin1String("Type")).toString(),
                             resolvePart(dir, a.value(QLatin1String("Target")).toString())});
            }
            return true;
        },
        nullptr, error);
}

bool readSharedStrings(Zip& zip, const QString& part, QStringList* strings, ProgressReporter* progress,
                       QString* error)
{
    bool inItem = false, inText = false;
    int phoneticDepth = 0;
    QString current;
    return zip.streamXml(
        part,
        [&](QXmlStreamReader& x) {
            switch (x.tokenType()) {
            case QXmlStreamReader::StartElement:
                if (x.name() == QLatin1String("si")) {
                    inItem = true;
                    current.clear();
                } else if (x.name() == QLatin1String("rPh")) {
                    ++phoneticDepth;
                } else if (x.name() == QLatin1String("t")) {
                    inText = inItem && phoneticDepth == 0;
                }
                break;
            case QXmlStreamReader::EndElement:
                if (x.name() == QLatin1String("si")) {
                    strings->append(decodeEscapes(current));
                    inItem = false;
                } else if (x.name() == QLatin1String("rPh")) {
                    --phoneticDepth;
                } else if (x.name() == QLatin1String("t")) {
                    inText = false;
                }
                break;
            case QXmlStreamReader::Characters:
                if (inText)
                    current += x.text();
                break;
            default:
                break;
            }
            return true;
        },
        progress, error);
}

// The state of a worksheet being read.
class SheetParser {
public:
    SheetParser(const QStringList& shared, RowSink& sink, const UnreadableCellHandler& onUnreadable)
        : m_shared(shared), m_sink(sink), m_onUnreadable(onUnreadable)
    {
    }

    bool token(QXmlStreamReader& x)
    {
        switch (x.tokenType()) {
        case QXmlStreamReader::StartElement: return start(x);
        case QXmlStreamReader::EndElement: return end(x);
        case QXmlStreamReader::Characters:
            if (m_inValue || m_inText)
                m_value += x.text();
            return true;
        default:
            return true;
        }
    }
    const QString& failure() const { return m_failure; }

private:
    bool start(QXmlStreamReader& x)
    {
        const QStringView n = x.name();
        if (n == QLatin1String("sheetData")) {
            m_inData = true;
            return true;
        }
        if (!m_inData)
            return true;
        if (n == QLatin1String("row")) {
            bool ok = false;
            const int r = x.attributes().value(QLatin1String("r")).toInt(&ok);
            m_row = ok && r > m_row ? r : m_row + 1;
            if (m_row > kMaxRows)
                return fail(QStringLiteral("row %1 is beyond the last row of a sheet").arg(m_row));
            m_cells.clear();
            m_nextColumn = 0;
        } else if (n == QLatin1String("c")) {
            const auto a = x.attributes();
            const int c = columnOf(a.value(QLatin1String("r")));
            m_column = c < 0 ? m_nextColumn : c;
            if (m_column >= kMaxColumns)
                return fail(QStringLiteral("a cell of row %1 is beyond the last column of a sheet").arg(m_row));
            m_type = a.value(QLatin1String("t")).toString();
            m_value.clear();
            m_inCell = true;
            m_hasFormula = false;
        } else if (m_inCell && n == QLatin1String("f")) {
            m_hasFormula = true;
        } else if (m_inCell && n == QLatin1String("v")) {
            m_inValue = true;
        } else if (m_inCell && n == QLatin1String("is")) {
            m_inInline = true;
        } else if (m_inInline && n == QLatin1String("rPh")) {
            ++m_phonetic;
        } else if (m_inInline && n == QLatin1String("t")) {
            m_inText = m_phonetic == 0;
        }
        return true;
    }

    bool end(QXmlStreamReader& x)
    {
        const QStringView n = x.name();
        if (n == QLatin1String("sheetData")) {
            m_inData = false;
        } else if (!m_inData) {
            return true;
        } else if (n == QLatin1String("v")) {
            m_inValue = false;
        } else if (n == QLatin1String("t")) {
            m_inText = false;
        } else if (n == QLatin1String("rPh")) {
            --m_phonetic;
        } else if (n == QLatin1String("is")) {
            m_inInline = false;
        } else if (n == QLatin1String("c")) {
            const QString text = cellText();
            if (!m_failure.isEmpty())
                return false;
            // An error value, or a formula whose result was not saved with it
            // (a text result may be empty, a number never is).
            const bool unreadable = m_type == QLatin1String("e") ||
                                    (m_hasFormula && text.isEmpty() && m_type != QLatin1String("str"));
            if (unreadable && m_onUnreadable)
                m_onUnreadable(SheetCell{m_row, m_column});
            if (!text.isEmpty()) {
                while (m_cells.size() <= m_column)
                    m_cells.append(QString());
                m_cells[m_column] = text;
            }
            m_nextColumn = m_column + 1;
            m_inCell = m_inValue = m_inInline = m_inText = false;
            m_phonetic = 0;
        } else if (n == QLatin1String("row")) {
            const bool go = m_sink.row(m_cells, m_row);
            m_cells.clear();
            return go;
        }
        return true;
    }

    QString cellText()
    {
        if (m_type == QLatin1String("s")) {
            if (m_value.trimmed().isEmpty())
                return {};
            bool ok = false;
            const qsizetype i = m_value.trimmed().toLongLong(&ok);
            if (!ok || i < 0 || i >= m_shared.size()) {
                fail(QStringLiteral("a cell of row %1 refers to a missing shared string").arg(m_row));
                return {};
            }
            return m_shared.at(i);
        }
        if (m_type == QLatin1String("inlineStr") || m_type == QLatin1String("str"))
            return decodeEscapes(m_value);
        if (m_type == QLatin1String("b"))
            return m_value.trimmed().isEmpty() ? QString()
                   : m_value.trimmed() == QLatin1String("0") ? QStringLiteral("FALSE")
                                                            : QStringLiteral("TRUE");
        if (m_type == QLatin1String("e") || m_type == QLatin1String("d"))
            return m_value;
        // A number ("n", or no type at all).
        const QString v = m_value.trimmed();
        if (v.isEmpty())
            return {};
        bool ok = false;
        const double d = v.toDouble(&ok);
        return ok ? spreadsheetNumberText(d) : v;
    }

    bool fail(const QString& why)
    {
        if (m_failure.isEmpty())
            m_failure = why;
        return false;
    }

    const QStringList& m_shared;
    RowSink& m_sink;
    const UnreadableCellHandler& m_onUnreadable;
    QString m_failure;
    bool m_inData = false, m_inCell = false, m_inValue = false, m_inInline = false, m_inText = false;
    bool m_hasFormula = false;
    int m_phonetic = 0;
    int m_row = 0;
    int m_column = 0, m_nextColumn = 0;
    QString m_type, m_value;
    QStringList m_cells;
};

bool readXlsx(const QString& path, const SheetRowHandler& onRow, QString* error, const SheetProgress& progress,
              QString* sheetName, const UnreadableCellHandler& onUnreadable)
{
    Zip zip(path);
    if (!zip.isOpen()) {
        setError(error, QStringLiteral("%1 is not a readable .xlsx package").arg(path));
        return false;
    }

    // The workbook part, from the package relationships.
    QString workbookPart = QStringLiteral("xl/workbook.xml");
    {
        if (zip.locate(QStringLiteral("_rels/.rels")) >= 0) {
            if (!zip.streamXml(
                    QStringLiteral("_rels/.rels"),
                    [&](QXmlStreamReader& x) {
                        if (x.isStartElement() && x.name() == QLatin1String("Relationship") &&
                            x.attributes().value(QLatin1String("Type")).endsWith(QLatin1String("/officeDocument")))
                            workbookPart = resolvePart(QString(), x.attributes().value(QLatin1String("Target")).toString());
                        return true;
                    },
                    nullptr, error))
                return false;
        }
    }

    QHash<QString, Relationship> rels;
    if (!readRelationships(zip, workbookPart, &rels, error))
        return false;

    struct Sheet {
        QString name, relId;
    };
    QList<Sheet> sheets;
    if (!zip.streamXml(
            workbookPart,
            [&](QXmlStreamReader& x) {
                if (x.isStartElement() && x.name() == QLatin1String("sheet")) {
                    Sheet s;
                    for (const QXmlStreamAttribute& a : x.attributes()) {
                        if (a.name() == QLatin1String("name") && a.namespaceUri().isEmpty())
                            s.name = a.value().toString();
                        else if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty())
                            s.relId = a.value().toString();
                    }
                    sheets.append(s);
                }
                return true;
            },
            nullptr, error))
        return false;

    const Sheet* chosen = nullptr;
    for (const Sheet& s : sheets) {
        const auto rel = rels.constFind(s.relId);
        if (rel == rels.constEnd() || !rel->type.endsWith(QLatin1String("/worksheet")))
            continue;
        if (s.name.compare(QLatin1String("Sheet1"), Qt::CaseInsensitive) == 0) {
            chosen = &s;
            break;
        }
        if (!chosen)
            chosen = &s;
    }
    if (!chosen) {
        setError(error, QStringLiteral("%1 has no worksheet").arg(path));
        return false;
    }
    if (sheetName)
        *sheetName = chosen->name;
    const QString sheetPart = rels.value(chosen->relId).target;

    QString sharedPart;
    for (const Relationship& r : std::as_const(rels))
        if (r.type.endsWith(QLatin1String("/sharedStrings")))
            sharedPart = r.target;

    const qint64 sheetSize = zip.locate(sheetPart);
    if (sheetSize < 0) {
        setError(error, QStringLiteral("the workbook has no part %1").arg(sheetPart));
        return false;
    }
    const qint64 sharedSize = sharedPart.isEmpty() ? 0 : std::max<qint64>(0, zip.locate(sharedPart));
    ProgressReporter reporter(progress, sheetSize + sharedSize);

    QStringList shared;
    if (!sharedPart.isEmpty() && zip.locate(sharedPart) >= 0 &&
        !readSharedStrings(zip, sharedPart, &shared, &reporter, error))
        return false;
    reporter.set(sharedSize);

    RowSink sink(onRow);
    SheetParser parser(shared, sink, onUnreadable);
    QString streamError;
    const bool ok = zip.streamXml(
        sheetPart, [&](QXmlStreamReader& x) { return parser.token(x); }, &reporter, &streamError);
    if (!parser.failure().isEmpty()) {
        setError(error, QStringLiteral("%1: %2").arg(path, parser.failure()));
        return false;
    }
    if (!ok) {
        setError(error, streamError);
        return false;
    }
    reporter.finish();
    return true;
}

// ----------------------------------------------------------------- .xls ---

QString freexlError(int code)
{
    switch (code) {
    case FREEXL_FILE_NOT_FOUND: return QStringLiteral("file not found");
    case FREEXL_INSUFFICIENT_MEMORY: return QStringLiteral("out of memory");
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
    case FREEXL_CFBF_INVALID_SECTOR_SIZE: return QStringLiteral("not a valid compound document");
    case FREEXL_CFBF_READ_ERROR:
    case FREEXL_CFBF_SEEK_ERROR: return QStringLiteral("read error");
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND: return QStringLiteral("no workbook stream (encrypted or not an Excel file)");
    case FREEXL_UNSUPPORTED_CHARSET:
    case FREEXL_INVALID_CHARACTER: return QStringLiteral("unsupported text encoding");
    case FREEXL_CRAFTED_FILE: return QStringLiteral("damaged file");
    default: return QStringLiteral("FreeXL error %1").arg(code);
    }
}

bool readXlsHere(const QString& path, const SheetRowHandler& onRow, QString* error, const SheetProgress& progress,
                 QString* sheetName)
{
    const void* handle = nullptr;
    const int opened = freexl_open(QFile::encodeName(path).constData(), &handle);
    struct Closer {
        const void*& h;
        ~Closer()
        {
            if (h)
                freexl_close(h);
        }
    } closer{handle};
    auto failed = [&](int code) {
        setError(error, QStringLiteral("%1: %2").arg(path, freexlError(code)));
        return false;
    };
    if (opened != FREEXL_OK)
        return failed(opened);

    unsigned int count = 0;
    if (const int rc = freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count); rc != FREEXL_OK)
        return failed(rc);
    if (count == 0) {
        setError(error, QStringLiteral("%1 has no worksheet").arg(path));
        return false;
    }
    unsigned short chosen = 0;
    QString chosenName;
    for (unsigned short i = 0; i < count; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(handle, i, &name) != FREEXL_OK || !name)
            continue;
        const QString n = QString::fromUtf8(name);
        if (i == 0)
            chosenName = n;
        if (n.compare(QLatin1String("Sheet1"), Qt::CaseInsensitive) == 0) {
            chosen = i;
            chosenName = n;
            break;
        }
    }
    if (sheetName)
        *sheetName = chosenName;
    if (const int rc = freexl_select_active_worksheet(handle, chosen); rc != FREEXL_OK)
        return failed(rc);
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (const int rc = freexl_worksheet_dimensions(handle, &rows, &columns); rc != FREEXL_OK)
        return failed(rc);

    ProgressReporter reporter(progress, rows);
    RowSink sink(onRow);
    QStringList cells;
    for (unsigned int r = 0; r < rows; ++r) {
        cells.clear();
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue cell;
            const int rc = freexl_get_cell_value(handle, r, c, &cell);
            if (rc != FREEXL_OK)
                return failed(rc);
            QString text;
            switch (cell.type) {
            case FREEXL_CELL_INT: text = QString::number(cell.value.int_value); break;
            case FREEXL_CELL_DOUBLE: text = spreadsheetNumberText(cell.value.double_value); break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                text = cell.value.text_value ? QString::fromUtf8(cell.value.text_value) : QString();
                break;
            default: break;
            }
            cells.append(text);
        }
        if (!sink.row(cells, int(r) + 1))
            return true;
        reporter.set(r + 1);
    }
    reporter.finish();
    return true;
}

// FreeXL reads past its own buffers on some damaged workbooks (a text whose
// stated length runs beyond the record) and can take the whole program down
// with it.  The workbook is therefore read in a child process that hands the
// sheet name, the rows and the progress over a pipe; a child that dies or
// stops halfway is reported as a damaged file and the program carries on.
enum class XlsMessage : quint8 { End, Name, Row, Progress };

bool readXls(const QString& path, const SheetRowHandler& onRow, QString* error, const SheetProgress& progress,
             QString* sheetName)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        setError(error, QStringLiteral("%1: cannot start reading (%2)").arg(path, QString::fromLocal8Bit(strerror(errno))));
        return false;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        setError(error, QStringLiteral("%1: cannot start reading (%2)").arg(path, QString::fromLocal8Bit(strerror(errno))));
        return false;
    }
    if (child == 0) {
        ::close(fds[0]);
        QFile out;
        if (!out.open(fds[1], QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
            ::_exit(1);
        QDataStream stream(&out);
        QString name, why;
        bool named = false;
        const bool ok = readXlsHere(
            path,
            [&](const QStringList& cells, int row) {
                if (!named) {
                    stream << quint8(XlsMessage::Name) << name;
                    named = true;
                }
                stream << quint8(XlsMessage::Row) << qint32(row) << cells;
                return stream.status() == QDataStream::Ok;
            },
            &why, [&](int percent) { stream << quint8(XlsMessage::Progress) << qint32(percent); }, &name);
        stream << quint8(XlsMessage::End) << ok << why << name;
        ::_exit(stream.status() == QDataStream::Ok ? 0 : 1);
    }

    ::close(fds[1]);
    bool finished = false, stopped = false, ok = false;
    QString why, name;
    {
        QFile in;
        in.open(fds[0], QIODevice::ReadOnly, QFileDevice::DontCloseHandle);
        QDataStream stream(&in);
        while (!finished && !stopped) {
            quint8 kind = 0;
            stream >> kind;
            if (stream.status() != QDataStream::Ok)
                break;
            switch (XlsMessage(kind)) {
            case XlsMessage::Name:
                stream >> name;
                if (sheetName && stream.status() == QDataStream::Ok)
                    *sheetName = name;
                break;
            case XlsMessage::Row: {
                qint32 row = 0;
                QStringList cells;
                stream >> row >> cells;
                if (stream.status() == QDataStream::Ok && !onRow(cells, row))
                    stopped = true;
                break;
            }
            case XlsMessage::Progress: {
                qint32 percent = 0;
                stream >> percent;
                if (progress && stream.status() == QDataStream::Ok)
                    progress(percent);
                break;
            }
            case XlsMessage::End:
                stream >> ok >> why >> name;
                finished = stream.status() == QDataStream::Ok;
                break;
            default:
                stream.setStatus(QDataStream::ReadCorruptData);
                break;
            }
            if (stream.status() != QDataStream::Ok)
                break;
        }
    }
    if (stopped)
        ::kill(child, SIGKILL);
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (stopped)
        return true;
    if (!finished) {
        setError(error, QStringLiteral("%1: damaged file (the reader stopped%2)")
                            .arg(path, WIFSIGNALED(status) ? QStringLiteral(" on signal %1").arg(WTERMSIG(status))
                                                           : QString()));
        return false;
    }
    if (sheetName)
        *sheetName = name;
    if (!ok)
        setError(error, why);
    return ok;
}

enum class Kind { Xlsx, Xls, Unknown };

Kind sniff(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("cannot open %1: %2").arg(path, f.errorString()));
        return Kind::Unknown;
    }
    const QByteArray head = f.read(8);
    if (head.startsWith("PK\x03\x04"))
        return Kind::Xlsx;
    if (head == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
        return Kind::Xls;
    setError(error, QStringLiteral("%1 is not an Excel workbook").arg(path));
    return Kind::Unknown;
}

} // namespace

bool readSpreadsheetRows(const QString& path, const SheetRowHandler& onRow, QString* error,
                         const SheetProgress& progress, QString* sheetName, const UnreadableCellHandler& onUnreadable)
{
    switch (sniff(path, error)) {
    case Kind::Xlsx: return readXlsx(path, onRow, error, progress, sheetName, onUnreadable);
    case Kind::Xls: return readXls(path, onRow, error, progress, sheetName);
    case Kind::Unknown: break;
    }
    return false;
}

std::optional<SheetData> readSpreadsheet(const QString& path, QString* error)
{
    SheetData data;
    // Every row is padded to the widest one, so a small file with one cell far
    // down and one far right would take rows x columns empty cells: such a
    // sheet is refused once the padded size passes kMaxSheetCells.
    bool tooLarge = false;
    const bool ok = readSpreadsheetRows(
        path,
        [&](const QStringList& cells, int) {
            const int columns = std::max(data.columnCount, int(cells.size()));
            if (qint64(data.rows.size() + 1) * columns > kMaxSheetCells) {
                tooLarge = true;
                return false;
            }
            data.columnCount = columns;
            data.rows.append(cells);
            return true;
        },
        error, {}, &data.sheetName, [&](const SheetCell& cell) { data.unreadable.append(cell); });
    if (tooLarge) {
        setError(error, QStringLiteral("%1: the sheet is too large to read whole (more than %2 cells)")
                            .arg(path)
                            .arg(kMaxSheetCells));
        return std::nullopt;
    }
    if (!ok)
        return std::nullopt;
    for (QStringList& r : data.rows)
        while (r.size() < data.columnCount)
            r.append(QString());
    return data;
}

} // namespace tavrin
