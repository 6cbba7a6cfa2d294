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
#include "documents/document.h"

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
};

// A strip of items: the page header, page footer, title or summary of a
// report.  Its height is the given least height or the bottom of its lowest item.
class Band : public ItemBuilder<Band> {
public:
    explicit Band(double minHeightMm = 0) : m_minHeight(minHeightMm) {}

    double minHeight() const { return m_minHeight; }
    const QList<Item>& items() const { return m_items; }
    bool isEmpty() const { return m_items.isEmpty() && m_minHeight <= 0; }
    QStringList fieldNames() const;

    QList<Item>& currentItems() { return m_items; }

private:
    double m_minHeight = 0;
    QList<Item> m_items;
};

class PageLayout : public ItemBuilder<PageLayout> {
public:
    explicit PageLayout(const PageSetup& setup = {});

    // Items added from now on go on a new page.
    PageLayout& newPage();

    const PageSetup& setup() const { return m_setup; }
    int pageCount() const { return int(m_pages.size()); }
    const QList<Item>& items(int page) const { return m_pages.at(page); }
    // Every field the layout names, in order of first use.
    QStringList fieldNames() const;

    Document fill(const QVariantMap& values) const;
    Document fill(const QMap<QString, QString>& values) const;

    QList<Item>& currentItems() { return m_pages.last(); }

private:
    PageSetup m_setup;
    QList<QList<Item>> m_pages;
};

// Filling and placing items (shared by page layouts and reports).
namespace detail {

// Names of the fields a text refers to, in order.
QStringList fieldsIn(const QString& text);

// A value as printed: null is "", a whole double has no decimals.
QString valueText(const QVariant& value);

struct Filled {
    QString text;
    QList<QPair<int, int>> valueRuns;   // where the values landed
    QStringList fields;
};
// Replaces {name} by its value; "page" and "pages" are left for the paginator.
Filled fillText(const QString& text, const QVariantMap& values);

// Places items with their band's top at y: appends elements to page, records
// the fields used, and returns the height the items take.
double placeItems(const QList<Item>& items, double minHeight, double y, Role role, const QVariantMap& values,
                  Page& page, Document& doc);
// The height placeItems would return.
double measureItems(const QList<Item>& items, double minHeight, const QVariantMap& values);
// Replaces {page} and {pages} in every text of the document.
void numberPages(Document& doc, bool persian);

} // namespace detail

} // namespace tavrin::doc
