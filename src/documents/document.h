#pragma once
// A filled document: pages of drawing elements placed in millimetres on the
// paper.  Page layouts and tabular reports compose into this form; it is then
// painted to the print preview, a printer, a PDF file or an image.  Tests read
// the filled field values and the placed texts without painting anything.
#include <QColor>
#include <QImage>
#include <QList>
#include <QMap>
#include <QMarginsF>
#include <QPair>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QPainter;
class QPrinter;

namespace tavrin::doc {

// The font of every printed text unless a style names another.  It extracts
// Persian digits exactly from PDF files, which Naskh does not.
inline constexpr const char* kDocumentFont = "Noto Sans Arabic";

enum class Paper { A4, A5 };
enum class Orientation { Portrait, Landscape };

struct PageSetup {
    Paper paper = Paper::A4;
    Orientation orientation = Orientation::Portrait;
    QMarginsF margins {10, 10, 10, 10};   // mm: left, top, right, bottom

    // Paper size in mm as oriented (A4 landscape is 297 x 210).
    QSizeF paperSize() const;
    // The paper less the margins, in mm from the paper's top-left corner.
    QRectF contentRect() const;

    friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

// Font and placement of a text.  Alignment is physical: "right" is the right
// edge of the rectangle whatever the direction of the text, so a Persian and a
// Latin text with the same style line up on the same edge.
struct TextStyle {
    QString family;                 // empty: kDocumentFont
    double pointSize = 10;
    bool isBold = false;
    bool fieldsInBold = false;      // filled values inside a fixed text in bold
    Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter;
    bool wordWrap = false;          // break into lines inside the rectangle
    // One line: shrink the font (to 60%) until it fits the width.  Page
    // layouts and bands now fit every fixed text to its rectangle (see
    // layout.h), so this only documents the intent.
    bool shrinkToFit = false;
    double lineSpacing = 1.0;       // factor on the font's line height
    QColor color = Qt::black;

    TextStyle pt(double size) const { TextStyle s = *this; s.pointSize = size; return s; }
    TextStyle bold(bool on = true) const { TextStyle s = *this; s.isBold = on; return s; }
    TextStyle boldFields(bool on = true) const { TextStyle s = *this; s.fieldsInBold = on; return s; }
    TextStyle right() const { return horizontal(Qt::AlignRight); }
    TextStyle left() const { return horizontal(Qt::AlignLeft); }
    TextStyle centre() const { return horizontal(Qt::AlignHCenter); }
    TextStyle justify() const { return horizontal(Qt::AlignJustify); }
    TextStyle top() const { return vertical(Qt::AlignTop); }
    TextStyle middle() const { return vertical(Qt::AlignVCenter); }
    TextStyle bottom() const { return vertical(Qt::AlignBottom); }
    TextStyle wrap(bool on = true) const { TextStyle s = *this; s.wordWrap = on; return s; }
    TextStyle fit(bool on = true) const { TextStyle s = *this; s.shrinkToFit = on; return s; }
    TextStyle spacing(double factor) const { TextStyle s = *this; s.lineSpacing = factor; return s; }
    TextStyle colour(const QColor& c) const { TextStyle s = *this; s.color = c; return s; }
    TextStyle font(const QString& f) const { TextStyle s = *this; s.family = f; return s; }

    friend bool operator==(const TextStyle&, const TextStyle&) = default;

    TextStyle horizontal(Qt::Alignment h) const
    {
        TextStyle s = *this;
        s.alignment = (s.alignment & Qt::AlignVertical_Mask) | (h & Qt::AlignHorizontal_Mask);
        return s;
    }
    TextStyle vertical(Qt::Alignment v) const
    {
        TextStyle s = *this;
        s.alignment = (s.alignment & Qt::AlignHorizontal_Mask) | (v & Qt::AlignVertical_Mask);
        return s;
    }
};

// What part of a document an element belongs to (tests and debugging).
enum class Role {
    Layout,         // an item of a page layout
    PageHeader,     // repeated at the top of every page of a report
    PageFooter,     // repeated at the bottom of every page of a report
    Title,          // a report's band before its table
    Summary,        // a report's band after its table
    ColumnHeading,  // a column's caption in the table's header row
    SpanHeading,    // a heading over several columns
    Cell,           // a value of a row
    GroupHeader,
    GroupFooter,
    Totals          // the grand totals line
};

struct Element {
    enum class Kind { Text, Line, Box, Image };
    Kind kind = Kind::Text;
    Role role = Role::Layout;
    QRectF rect;                        // mm on the paper; a line runs from topLeft() to bottomRight()
    // Text
    QString text;
    QList<QPair<int, int>> boldRuns;    // (start, length) drawn in bold
    TextStyle style;
    // Line and box
    double penWidth = 0.3;              // mm; 0 draws no outline
    QColor stroke = Qt::black;
    QColor fill;                        // invalid: not filled
    // Image
    QImage image;
    // Where the text came from
    QStringList fields;                 // named fields it shows
    QString column;                     // the table column of a heading, cell or total
    int row = -1;                       // the row (from 0) of a cell
    // A paragraph that may be broken between its lines at the end of a page.
    bool flowing = false;
    // Part of a longer text broken over pages (or over the parts of a table
    // row): source is the whole text, laid out in the rectangle's width, and
    // only its lines firstLine .. firstLine + lineCount - 1 are drawn, from the
    // rectangle's top; text holds those lines' characters and boldRuns refer
    // to source.  An empty source: the element shows its whole text.
    QString source;
    int firstLine = 0;
    int lineCount = -1;

    bool isText() const { return kind == Kind::Text; }
    bool isPart() const { return !source.isNull(); }
    // The text laid out when drawing (source for a part).
    const QString& laidText() const { return isPart() ? source : text; }
};

// A text that did not fit where its template put it.
struct Overflow {
    enum class Kind {
        Cut,        // cut short (an ellipsis or its last lines dropped) to stay inside its box
        Continued   // a page layout's flowing text went on over added pages
    };
    Kind kind = Kind::Cut;
    int page = 0;           // where it was printed (the first page of a continuation)
    Role role = Role::Layout;
    QString text;           // the whole text as filled
    QStringList fields;     // the named fields it shows
};

struct Page {
    QList<Element> elements;
};

class PageSpool;

// A document still being laid out while its preview already shows the first
// pages (TableReport::Filler).  The preview asks for a little more between
// the events it handles.
class DocumentFilling {
public:
    virtual ~DocumentFilling() = default;
    // Lays out a little more (a few tens of milliseconds); false once the
    // document is complete (its pages are then numbered).
    virtual bool fillMore() = 0;
    // Pages that will not change any more (all of them once complete).
    virtual int pagesDone() const = 0;
};

class Document {
public:
    Document() = default;
    explicit Document(const PageSetup& setup) : m_setup(setup) {}

    const PageSetup& setup() const { return m_setup; }
    int pageCount() const { return m_spilled + int(m_pages.size()); }
    // A page written out (spillPagesBefore) is read back for the call; the
    // reference stays good until a few other written-out pages are read.
    const Page& page(int index) const;

    // Values of the named fields as filled (a field given no value is "").
    const QMap<QString, QString>& fields() const { return m_fields; }
    QString field(const QString& name) const { return m_fields.value(name); }
    bool hasField(const QString& name) const { return m_fields.contains(name); }

    // Texts of one page in drawing order, optionally only those of one role.
    QStringList texts(int page) const;
    QStringList texts(int page, Role role) const;
    QList<Element> elements(int page, Role role) const;
    // Every text of every page, pages separated by a form feed.
    QString plainText() const;

    // Texts that had to be cut to stay inside their boxes, and page layouts
    // whose flowing text went on over added pages.  Nothing is ever drawn
    // off the paper or over other text; these say where it would have been.
    const QList<Overflow>& overflows() const { return m_overflows; }
    // Only the texts that were cut short.
    QList<Overflow> cutTexts() const;
    void addOverflow(const Overflow& overflow) { m_overflows.append(overflow); }

    // The other document's pages follow this one's (one preview, one print job).
    void append(const Document& other);

    // Gives a printer this document's paper, orientation and full-page origin.
    void configurePrinter(QPrinter& printer) const;
    // Paints every page (those of the printer's page range, when it has one)
    // into a printer whose painting has not begun.
    bool print(QPrinter* printer) const;
    bool renderToPdf(const QString& path, const QString& title = {}) const;
    // One page as a white image of the given resolution.
    QImage toImage(int page, int dpi = 150) const;
    // Paints one page; the painter's origin is the paper's top-left corner and
    // its device gives the resolution.  The printer, the PDF file, the images
    // and the print preview all draw through it; beforeElement (when given)
    // is told the index of each element before it is painted (tests record
    // what each element draws).
    void paintPage(QPainter& painter, int page, const std::function<void(int)>& beforeElement = {}) const;
    // Paints one element the same way (tests record what each element draws).
    void paintElement(QPainter& painter, const Element& element) const;
    // The modal print preview (PrintPreview, object name "preview"), through
    // the dialog service.  When a text had to be cut short to fit its box the user is
    // told first (kTextCutWarning and the texts concerned).
    // With filling, the preview opens on the pages laid out so far and the
    // rest are laid out while it shows; what the filling throws closes the
    // preview and is thrown on from here.
    int showPreview(const QString& title = {}, DocumentFilling* filling = nullptr) const;

    // Building (used by the templates).
    Page& addPage();
    Page& lastPage() { return m_pages.last(); }
    // A page still in memory (not written out).
    Page& mutablePage(int index) { return m_pages[index - m_spilled]; }
    void setField(const QString& name, const QString& value) { m_fields.insert(name, value); }
    // Replaces {page} and {pages} in the texts that show them; pages written
    // out are numbered as they are read back.
    void numberPages(bool persianDigits);
    // While the document is still being filled, its pages are painted with
    // their number and "…" for the count not known yet (the stored texts keep
    // their {page} and {pages} until numberPages).
    void numberPagesWhileFilling(bool persianDigits) { m_numberingWhileFilling = persianDigits ? 1 : 0; }

    // A long document keeps its finished pages out of memory: the pages
    // before the given one are written, in order, to a temporary file of the
    // program's data folder (its owner's alone, gone with the document and
    // its copies) and read back one at a time to be painted, printed or
    // looked at.  Nothing changes when the file cannot be written: the pages
    // then stay in memory.
    void spillPagesBefore(int page);
    // Pages still held in memory (the rest are written out).
    int pagesInMemory() const { return int(m_pages.size()); }

private:
    PageSetup m_setup;
    std::shared_ptr<PageSpool> m_spool;   // pages 0 .. m_spilled - 1
    int m_spilled = 0;
    mutable QList<std::shared_ptr<const Page>> m_readBack;   // the last pages read back, newest first
    mutable QList<int> m_readBackIndex;
    int m_numbering = -1;                 // -1: not numbered; else 1 for Persian digits, 0 for Latin
    int m_numberingWhileFilling = -1;     // the same for the pages painted before numberPages
    QList<Page> m_pages;                  // pages m_spilled ..
    QMap<QString, QString> m_fields;
    QList<Overflow> m_overflows;
};

// Shown before the preview of a document in which a text was cut short.
extern const QString kTextCutWarning;

// "0123456789" -> "۰۱۲۳۴۵۶۷۸۹", for callers that print Persian digits.
QString persianDigits(const QString& text);
// Whole numbers in groups of three with ","; a decimal number has its whole
// part grouped and a fraction of zeros dropped ("1500000.00" is "1,500,000");
// other text as it is.
QString groupThousands(const QString& number);

} // namespace tavrin::doc
