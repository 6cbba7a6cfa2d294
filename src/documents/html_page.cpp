#include "documents/html_page.h"

#include "common/dialogs.h"
#include "common/xlsxexport.h"
#include "db/database.h"

#include <QApplication>
#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <memory>

namespace tavrin {

const QString kPageWriteFailed = QString::fromUtf16(u"خطا! فايل گزارش ساخته نشد");
const QString kPageSavedAt =
    QString::fromUtf16(u"برنامه اي براي باز کردن فايل پيدا نشد. فايل در اين مسير ذخيره شد:");
const QString kPageSaveTitle = QString::fromUtf16(u"ذخيره گزارش (وب)");
const QString kPageWriting = QString::fromUtf16(u"در حال ساخت فايل، لطفا صبر کنيد...");

namespace {

const QString kWebFilter = QStringLiteral("Web page (*.htm *.html)");
const QString kSheetFilter = QStringLiteral("Excel (*.xls)");

// A cell whose digits a spreadsheet program must keep as text (LibreOffice
// reads the number format of sdnum, Excel that of its style).
const QString kTextCell = QStringLiteral("<td sdnum=\"1033;0;@\" style=\"mso-number-format:'\\@'\">");

bool allowedInXml(char32_t c)
{
    if (c == 0x9 || c == 0xA || c == 0xD)
        return true;
    if (c < 0x20 || (c >= 0x7F && c <= 0x84) || (c >= 0x86 && c <= 0x9F))
        return false;
    if ((c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE)
        return false;
    return c <= 0x10FFFF;
}

} // namespace

HeadingRow headingRow(const QStringList& texts)
{
    HeadingRow row;
    for (const QString& t : texts)
        row << HeadingCell {t, 1};
    return row;
}

QString htmlText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const char32_t c = QChar::surrogateToUcs4(ch, text.at(i + 1));
            if (allowedInXml(c))
                out += text.mid(i, 2);
            ++i;
            continue;
        }
        if (ch.isSurrogate() || !allowedInXml(ch.unicode()))
            continue;
        switch (ch.unicode()) {
        case '&': out += QStringLiteral("&amp;"); break;
        case '<': out += QStringLiteral("&lt;"); break;
        case '>': out += QStringLiteral("&gt;"); break;
        case '"': out += QStringLiteral("&quot;"); break;
        default: out += ch;
        }
    }
    return out;
}

HtmlTableWriter::HtmlTableWriter(QIODevice& out) : m_out(out) {}

void HtmlTableWriter::line(const QString& text)
{
    m_out.write(text.toUtf8());
    m_out.write("\n", 1);
}

void HtmlTableWriter::begin(const HtmlFrame& frame)
{
    line(QStringLiteral("<html>"));
    line(QStringLiteral("<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" /><title>") +
         htmlText(frame.title) + QStringLiteral("</title></head>"));
    line(QStringLiteral("<body>"));
    line(QStringLiteral("<table dir=\"rtl\" border=\"1\" align=\"center\" width=\"95%\">"));
    line(QStringLiteral("<caption>") + htmlText(frame.caption) + QStringLiteral("</caption>"));
    line(QStringLiteral("<thead>"));
    for (const HeadingRow& r : frame.headings) {
        line(QStringLiteral("<tr bgcolor=\"#22ddff\" valign=\"middle\">"));
        for (const HeadingCell& c : r) {
            const QString open = c.span > 1 ? QStringLiteral("<th colspan=\"%1\">").arg(c.span) : QStringLiteral("<th>");
            line(open + htmlText(c.text) + QStringLiteral("</th>"));
        }
        line(QStringLiteral("</tr>"));
    }
    line(QStringLiteral("</thead>"));
    line(QStringLiteral("<tbody>"));
}

bool readAsNumberWrongly(const QString& text)
{
    if (text.size() < 2)
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return text.startsWith(QLatin1Char('0')) || text.size() > 15;
}

void HtmlTableWriter::row(const QStringList& cells)
{
    line(QStringLiteral("<tr>"));
    for (const QString& c : cells)
        line((readAsNumberWrongly(c) ? kTextCell : QStringLiteral("<td>")) + htmlText(c) + QStringLiteral("</td>"));
    line(QStringLiteral("</tr>"));
    ++m_rows;
    if (onRow)
        onRow(m_rows);
}

void HtmlTableWriter::end()
{
    for (const char* t : {"</tbody>", "</table>", "</body>", "</html>"})
        line(QString::fromLatin1(t));
}

QByteArray htmlPage(const HtmlFrame& frame, const QList<QStringList>& rows)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    HtmlTableWriter w(buffer);
    w.begin(frame);
    for (const QStringList& r : rows)
        w.row(r);
    w.end();
    return bytes;
}

bool writeHtmlFile(const QString& path, const PageProducer& produce, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    HtmlTableWriter w(file);
    produce(w);   // a DbError leaves the temporary file to QSaveFile, which discards it
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

namespace {

QString askPath(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    const bool sheet = suffix.compare(QStringLiteral("xls"), Qt::CaseInsensitive) == 0;
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty())
        dir = QDir::homePath();
    QString path = dialogs().saveFile(sheet ? kExcelSaveTitle : kPageSaveTitle, sheet ? kSheetFilter : kWebFilter,
                                      QDir(dir).filePath(fileName));
    if (path.isEmpty())
        return {};
    const QString given = QFileInfo(path).suffix();
    const bool known = sheet ? given.compare(suffix, Qt::CaseInsensitive) == 0
                             : given.compare(QStringLiteral("htm"), Qt::CaseInsensitive) == 0 ||
                                   given.compare(QStringLiteral("html"), Qt::CaseInsensitive) == 0;
    if (!known)
        path += QLatin1Char('.') + suffix;
    return path;
}

} // namespace

QString saveHtmlPage(const QString& fileName, const PageProducer& produce)
{
    const QString path = askPath(fileName);
    if (path.isEmpty())
        return {};
    QString error;
    bool ok = false;
    try {
        // The rows are counted in a dialog whose cancel stops the page: the
        // unfinished file is discarded.
        const std::unique_ptr<ProgressView> progress = dialogs().progress(kPageWriting, 0);
        ok = writeHtmlFile(path, [&](HtmlTableWriter& w) {
            w.onRow = [&progress](int n) {
                if (!progress->advance(n))
                    throw ReadCancelled();
            };
            produce(w);
        }, &error);
    } catch (const ReadCancelled&) {
        return {};
    } catch (const DbError& e) {
        reportFailure(kPageWriteFailed, e);
        return {};
    }
    if (!ok) {
        qWarning().noquote() << "page not written:" << path << error;
        dialogs().error(kPageWriteFailed);
        return {};
    }
    openExportedFile(path, kPageSavedAt);
    return path;
}

} // namespace tavrin
