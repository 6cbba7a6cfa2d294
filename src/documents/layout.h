#pragma once
// Page layouts: items placed on the page in millimetres (fixed text, named
// fields, lines, boxes, images).  A text item's text may name fields as
// {name}; filling the layout with a map of values replaces them.  A document
// is such a template plus the code that computes its field values:
//
//     PageLayout letter(PageSetup{Paper::A5});
//     letter.text({10, 10, 128, 8}, "...", TextStyle().pt(14).bold().centre())
//           .field("lname", {60, 30, 60, 7})
//           .text({10, 40, 128, 40}, "آقاي {lname} فرزند {father} ...", TextStyle().wrap().justify());
//     Document d = letter.fill({{"lname", ...}, {"father", ...}});
//     d.showPreview();
//
// The names "page" and "pages" give the page number and the page count.
//
// Nothing is drawn off the paper or over other text:
// - a fixed text too long for its rectangle shrinks (to 60%), then wraps
//   inside it, and what still does not fit is cut with "…" (the document
//   lists it in overflows(); the preview tells the user);
// - flowing paragraphs that would run into the items below them (a
//   signature line, the page number) or off the page go on over added
//   pages: the text continues at the top of the next page, items marked
//   onEveryPage() are printed on every such page, and the items below the
//   paragraphs move to the last one, under the end of the text.  With
//   continuation(false) the text is cut there instead and listed as cut.
#include "documents/document.h"

#include "documents/textlayout.h"

#include <QVariantMap>

namespace tavrin::doc {

// One thing a template draws.
struct Item {
    Element::Kind kind = Element::Kind::Text;
    // mm; x from the paper's left edge, y from the top of the band (of the
    // paper, in a page layout).  A flowing item's y is the gap above it.
    QRectF rect;
    QString text;           // may hold {field} names
    TextStyle style;
    double penWidth = 0.3;
    QColor fill;
    QImage image;
    // Placed below the previous flowing item and as tall as its wrapped text
    // (rect.height() is the least height).
    bool flow = false;
    // Printed again on the pages a page layout adds for its flowing text.
    bool everyPage = false;
};

// Fluent methods shared by bands and page layouts.
template <class Self>
class ItemBuilder {
public:
    // Fixed text (it may embed {field} names).
    Self& text(const QRectF& mm, const QString& text, const TextStyle& style = {})
    {
        return add({Element::Kind::Text, mm, text, style});
    }
    // A named field alone in its rectangle.
    Self& field(const QString& name, const QRectF& mm, const TextStyle& style = {})
    {
        return text(mm, QLatin1Char('{') + name + QLatin1Char('}'), style);
    }
    // A word-wrapped paragraph from x to x + width below the previous
    // paragraph (gapAbove mm lower), as tall as its text.
    Self& paragraph(double x, double width, const QString& text, const TextStyle& style = TextStyle().justify(),
                    double gapAbove = 0)
    {
        Item item {Element::Kind::Text, QRectF(x, gapAbove, width, 0), text, style.wrap().top()};
        item.flow = true;
        return add(item);
    }
    Self& line(const QPointF& from, const QPointF& to, double widthMm = 0.3)
    {
        Item item {Element::Kind::Line, QRectF(from, to)};
        item.penWidth = widthMm;
        return add(item);
    }
    Self& box(const QRectF& mm, double widthMm = 0.3, const QColor& fill = QColor())
    {
        Item item {Element::Kind::Box, mm};
        item.penWidth = widthMm;
        item.fill = fill;
        return add(item);
    }
    Self& image(const QRectF& mm, const QImage& image)
    {
        Item item {Element::Kind::Image, mm};
        item.image = image;
        return add(item);
    }
    Self& add(const Item& item)
    {
        Self& self = static_cast<Self&>(*this);
        self.currentItems().append(item);
        return self;
    }
    // The item added last is printed again on every page a page layout adds
    // when its flowing text does not fit (a heading, a page number).
    Self& onEveryPage(bool on = true)
    {
        Self& self = static_cast<Self&>(*this);
        if (!self.currentItems().isEmpty())
            self.currentItems().last().everyPage = on;
        return self;
    }
};

// A strip of items: the page header, page footer, title or summary of a
// report.  Its height is the given least height or the bottom of its lowest item.
class Band : public ItemBuilder<Band> {
public:
    explicit Band(double minHeightMm = 0) : m_minHeight(minHeightMm) {}

    double minHeight() const { return m_minHeight; }
    const QList<Item>& items() const { return m_items; }
    // A title or summary band that does not fit the space left on a page
    // moves whole to the next page when it fits there (the default), and is
    // broken over the pages otherwise.  A breakable band is always broken at
    // the end of the page: between its items or between the lines of its
    // paragraphs (boxes and lines crossing the break are cut there).
    Band& breakable(bool on = true) { m_breakable = on; return *this; }
    bool isBreakable() const { return m_breakable; }
    bool isEmpty() const { return m_items.isEmpty() && m_minHeight <= 0; }
    QStringList fieldNames() const;

    QList<Item>& currentItems() { return m_items; }

private:
    double m_minHeight = 0;
    bool m_breakable = false;
    QList<Item> m_items;
};

class PageLayout : public ItemBuilder<PageLayout> {
public:
    explicit PageLayout(const PageSetup& setup = {});

    // Items added from now on go on a new page.
    PageLayout& newPage();
    // Whether flowing paragraphs too long for their page go on over added
    // pages (the default) or are cut where their room ends.
    PageLayout& continuation(bool on) { m_continuation = on; return *this; }
    bool continues() const { return m_continuation; }

    const PageSetup& setup() const { return m_setup; }
    int pageCount() const { return int(m_pages.size()); }
    const QList<Item>& items(int page) const { return m_pages.at(page); }
    // Every field the layout names, in order of first use.
    QStringList fieldNames() const;

    Document fill(const QVariantMap& values) const;
    Document fill(const QMap<QString, QString>& values) const;

    QList<Item>& currentItems() { return m_pages.last(); }

private:
    void fillPage(const QList<Item>& items, const QVariantMap& values, Document& doc) const;

    PageSetup m_setup;
    QList<QList<Item>> m_pages;
    bool m_continuation = true;
};

// Filling and placing items (shared by page layouts and reports).
namespace detail {

// Names of the fields a text refers to, in order.
QStringList fieldsIn(const QString& text);

// A value as printed: null is "", a whole double has no decimals (whatever
// its size), another double two; a date never entered (a text of blanks and
// slashes, the empty date mask) is "".
QString valueText(const QVariant& value);

struct Filled {
    QString text;
    QList<QPair<int, int>> valueRuns;   // where the values landed
    QStringList fields;
};
// Replaces {name} by its value; "page" and "pages" are left for the paginator.
Filled fillText(const QString& text, const QVariantMap& values);

// A text fitted to its box (mm).  A text on one line wider than the box
// shrinks (down to minScale of its size), then wraps; a wrapped text breaks
// its long words at the box's edge and, when its lines are taller than the
// box, shrinks, then loses its last lines ("…" ends the last one kept).  A
// single line is never too tall.  A box height of 0 or less sets no limit.
struct Fitted {
    QString text;
    QList<QPair<int, int>> boldRuns;
    TextStyle style;
    bool cut = false;
};
Fitted fitText(const QString& text, const QList<QPair<int, int>>& boldRuns, const TextStyle& style,
               const QSizeF& box, double minScale = 0.6);

// Places items with their band's top at y: appends elements to page, records
// the fields used (and the texts cut to fit, as overflows of the document's
// last page), and returns the height the items take.
double placeItems(const QList<Item>& items, double minHeight, double y, Role role, const QVariantMap& values,
                  Page& page, Document& doc);
// The height placeItems would return.
double measureItems(const QList<Item>& items, double minHeight, const QVariantMap& values);
// Replaces {page} and {pages} in every text of the document.
void numberPages(Document& doc, bool persian);

// Elements placed from y = 0 (a band, or the flowing part of a page) laid out
// over pages: each call to emit() puts the part between from() and a cut on
// a page, and cuts fall between items or between the lines of paragraphs.
class BandFlow {
public:
    BandFlow(const QList<Element>& elements, double from, double height);

    double from() const { return m_from; }
    double height() const { return m_height; }
    bool atEnd() const { return m_from >= m_height - 1e-6; }
    // The lowest cut at or above limit that leaves no paragraph line, text or
    // image cut through (boxes and lines may be); from() when nothing fits.
    double cutBefore(double limit) const;
    // Appends the elements between from() and to to page, moved so that
    // from() lands at y; to becomes from().  A text or image is put where its
    // top lies, a paragraph line where its bottom lies; boxes and lines are
    // cut at the edges.
    void emit(double to, double y, Page& page);

private:
    struct Lines {
        QList<TextLine> lines;   // mm from the element's top
        int next = 0;            // the first line not placed yet
    };
    bool isParagraph(int i) const { return !m_lines.at(i).lines.isEmpty(); }

    QList<Element> m_elements;
    QList<Lines> m_lines;
    QList<bool> m_done;
    double m_from;
    double m_height;
};

} // namespace detail

} // namespace tavrin::doc
