#pragma once
// The HTML tables written for the central office, for the receiving
// systems of the conversion exports and for the users' last actions of the
// activity log.  A page is UTF-8 with its charset
// declared, every caption, heading and value is escaped, and the markup is
// also well-formed XML (every element closed, every attribute quoted), so
// that a browser, a spreadsheet program and an XML reader all read the same
// cells.  The frame, one tag a line:
//
//   <html>, <head> with the charset and the title, </head>, <body>,
//   <table dir="rtl" border="1" align="center" width="95%">,
//   <caption>...</caption>,
//   <thead>, per header row <tr bgcolor="#22ddff" valign="middle"> with its
//   <th> cells, </tr>, </thead>,
//   <tbody>, per data row <tr>, one <td>...</td> per value, </tr>,
//   </tbody>, </table>, </body>, </html>.
//
// A page goes where the user's save dialog says (the user's Documents folder
// and the page's file name by default), is written to a temporary file that
// replaces the target only when complete, and is opened with the desktop's
// program only after that.
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

namespace tavrin {

// A heading cell spanning one or more columns.
struct HeadingCell {
    QString text;
    int span = 1;
};
using HeadingRow = QList<HeadingCell>;
HeadingRow headingRow(const QStringList& texts);

struct HtmlFrame {
    QString title;
    QString caption;
    QList<HeadingRow> headings;
};

// A text as the page holds it: "&", "<", ">" and '"' as entities, and the
// characters an XML reader refuses (control characters other than tab and
// line breaks, unpaired surrogates, non-characters) left out.
QString htmlText(const QString& text);

// Writes a page line by line to a device.
class HtmlTableWriter {
public:
    explicit HtmlTableWriter(QIODevice& out);

    // The head, the caption and the header rows, up to <tbody>.
    void begin(const HtmlFrame& frame);
    // One data row: each value in its own cell.  A value of digits that a
    // spreadsheet program would read as a number and change (a leading zero,
    // more digits than it keeps) is marked as text.
    void row(const QStringList& cells);
    // </tbody> to </html>.
    void end();

    int rowCount() const { return m_rows; }
    // Called after each data row (progress of long pages).
    std::function<void(int)> onRow;

private:
    void line(const QString& text);

    QIODevice& m_out;
    int m_rows = 0;
};

// Whether a spreadsheet program would read a value as a number and change
// it: digits only, with a leading zero or more than 15 of them.
bool readAsNumberWrongly(const QString& text);

// A whole page in memory.
QByteArray htmlPage(const HtmlFrame& frame, const QList<QStringList>& rows);

// Writes the page: calls begin(), row() and end() itself.  May throw DbError.
using PageProducer = std::function<void(HtmlTableWriter&)>;

// Writes a page to path through a temporary file that replaces path only
// when the whole page was written.  False with the reason otherwise (path
// untouched).  DbError thrown by the producer passes through, path untouched.
bool writeHtmlFile(const QString& path, const PageProducer& produce, QString* error = nullptr);

// The action of a menu entry: asks where to save (fileName in the user's
// Documents folder by default; its suffix, ".htm" or ".xls", is kept), writes
// the page with a progress dialog, then opens it with the desktop's program,
// or says where it was saved when no program opens it.  A cancelled dialog
// does nothing; any failure shows kPageWriteFailed (a database failure's
// driver text goes to the log) and opens nothing.  Returns the path written,
// or an empty text.
QString saveHtmlPage(const QString& fileName, const PageProducer& produce);

// Texts of this system's own.
extern const QString kPageWriteFailed;   // the file could not be made
extern const QString kPageSavedAt;       // saved here (no program opens it)
extern const QString kPageSaveTitle;     // the save dialog of a web page
extern const QString kPageWriting;       // the progress dialog

} // namespace tavrin
