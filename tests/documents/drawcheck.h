#pragma once
// What a document really draws, recorded through a paint device of its own,
// and the checks every printed page must pass:
// - every text, line, box and image lies inside the paper;
// - every text lies inside its element's rectangle (its cell or box);
// - no text is drawn over another element's text or across a line or the
//   edge of a box.
// Texts are measured by the ink of their glyphs as drawn, so a text that is
// cut, wrapped or shrunk is checked as it prints.
//
//     const Document d = ...;
//     VERIFY_PRINTS_CLEAN(d);     // inside a test function
// or, to look at the faults:
//     const QStringList faults = test::drawingFaults(d);
#include "documents/document.h"

#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextItem>
#include <QWidget>

#include <algorithm>

namespace tavrin::test {

struct DrawnItem {
    enum class Kind { Text, Line, Rect, Image };
    Kind kind = Kind::Text;
    int element = -1;   // the element of the page that drew it
    QRectF box;         // mm: the ink of a text, the stroke of a line or rectangle, an image
    QLineF line;        // mm: a line's centre line
    double pen = 0;     // mm: the stroke width of a line or rectangle (0: no outline)
    QString text;
    bool rightToLeft = false;   // a text whose glyphs stand from right to left (its last character leftmost)
};

namespace detail {

class RecordingEngine : public QPaintEngine {
public:
    explicit RecordingEngine(double dpi) : QPaintEngine(QPaintEngine::AllFeatures), m_dpi(dpi) {}

    QList<DrawnItem> items;
    int element = -1;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& s) override
    {
        if (s.state() & QPaintEngine::DirtyPen)
            m_pen = s.pen();
        if (s.state() & QPaintEngine::DirtyTransform)
            m_transform = s.transform();
    }

    void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override { addImage(r); }
    void drawImage(const QRectF& r, const QImage&, const QRectF&, Qt::ImageConversionFlags) override { addImage(r); }

    void drawLines(const QLineF* lines, int count) override
    {
        for (int i = 0; i < count; ++i) {
            DrawnItem item;
            item.kind = DrawnItem::Kind::Line;
            item.element = element;
            item.line = QLineF(mm(m_transform.map(lines[i].p1())), mm(m_transform.map(lines[i].p2())));
            item.pen = penMm();
            const double half = item.pen / 2;
            item.box = QRectF(item.line.p1(), item.line.p2()).normalized().adjusted(-half, -half, half, half);
            items << item;
        }
    }

    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            DrawnItem item;
            item.kind = DrawnItem::Kind::Rect;
            item.element = element;
            item.pen = penMm();
            const double half = item.pen / 2;
            const QRectF r = m_transform.mapRect(rects[i]);
            item.box = QRectF(mm(r.topLeft()), mm(r.bottomRight())).normalized().adjusted(-half, -half, half, half);
            items << item;
        }
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override
    {
        QPolygonF polygon;
        for (int i = 0; i < count; ++i)
            polygon << points[i];
        addShape(m_transform.map(polygon).boundingRect());
    }

    void drawPath(const QPainterPath& path) override { addShape(m_transform.map(path).boundingRect()); }

    void drawTextItem(const QPointF& p, const QTextItem& ti) override
    {
        // The ink of the glyphs: their outlines in the font of the text's
        // layout (which knows the resolution it was laid out for).
        QPainterPath path;
        path.addText(p, ti.font(), ti.text());
        // A run of blanks (between two bold values of a paragraph) has no ink.
        if (path.isEmpty())
            return;
        QRectF ink = path.boundingRect();
        if (ti.width() > 0) {
            ink.setLeft(std::min(ink.left(), p.x()));
            ink.setRight(std::max(ink.right(), p.x() + ti.width()));
        }
        ink = m_transform.mapRect(ink);
        DrawnItem item;
        item.kind = DrawnItem::Kind::Text;
        item.element = element;
        item.box = QRectF(mm(ink.topLeft()), mm(ink.bottomRight()));
        item.text = ti.text();
        item.rightToLeft = ti.renderFlags().testFlag(QTextItem::RightToLeft);
        items << item;
    }

private:
    QPointF mm(const QPointF& px) const { return px * (25.4 / m_dpi); }
    double penMm() const
    {
        if (m_pen.style() == Qt::NoPen)
            return 0;
        return std::max(m_pen.widthF(), 1.0) * 25.4 / m_dpi;
    }
    void addImage(const QRectF& r)
    {
        const QRectF d = m_transform.mapRect(r);
        DrawnItem item;
        item.kind = DrawnItem::Kind::Image;
        item.element = element;
        item.box = QRectF(mm(d.topLeft()), mm(d.bottomRight()));
        items << item;
    }
    void addShape(const QRectF& r)
    {
        DrawnItem item;
        item.kind = DrawnItem::Kind::Rect;
        item.element = element;
        item.box = QRectF(mm(r.topLeft()), mm(r.bottomRight()));
        items << item;
    }

    double m_dpi;
    QPen m_pen;
    QTransform m_transform;
};

class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(const QSizeF& paperMm, int dpi) : m_size(paperMm), m_dpi(dpi), m_engine(dpi) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    RecordingEngine& engine() const { return m_engine; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return qRound(m_size.width() / 25.4 * m_dpi);
        case PdmHeight: return qRound(m_size.height() / 25.4 * m_dpi);
        case PdmWidthMM: return qRound(m_size.width());
        case PdmHeightMM: return qRound(m_size.height());
        case PdmNumColors: return 0x7fffffff;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return m_dpi;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        }
        return 0;
    }

private:
    QSizeF m_size;
    int m_dpi;
    mutable RecordingEngine m_engine;
};

// Whether a line (with its stroke) crosses a rectangle.
inline bool crosses(const QLineF& line, double pen, const QRectF& rect)
{
    const QRectF r = rect.adjusted(-pen / 2, -pen / 2, pen / 2, pen / 2);
    // Liang-Barsky clipping of the segment against the rectangle.
    double t0 = 0, t1 = 1;
    const double dx = line.dx(), dy = line.dy();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {line.x1() - r.left(), r.right() - line.x1(), line.y1() - r.top(), r.bottom() - line.y1()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

inline QString describe(const doc::Element& e)
{
    static const char* roles[] = {"layout", "page header", "page footer", "title", "summary", "column heading",
                                  "span heading", "cell", "group header", "group footer", "totals"};
    QString where = QString::fromLatin1(roles[int(e.role)]);
    if (!e.column.isEmpty())
        where += QStringLiteral(" %1").arg(e.column);
    if (e.row >= 0)
        where += QStringLiteral(" row %1").arg(e.row);
    if (e.isText())
        where += QStringLiteral(" \"%1\"").arg(e.text.left(40));
    return where;
}

} // namespace detail

// Everything one page draws, element by element, in mm on the paper, on a
// device of the given resolution (that of a printer, or of the screen for the
// print preview), through the one drawing the printer and the preview use.
inline QList<DrawnItem> drawnItems(const doc::Document& d, int page, int dpi = 1200)
{
    detail::RecordingDevice device(d.setup().paperSize(), dpi);
    QPainter painter(&device);
    d.paintPage(painter, page, [&](int element) { device.engine().element = element; });
    painter.end();
    return device.engine().items;
}

// The characters of the texts drawn (those of one element, or all when
// element is -1), in the order they stand from left to right, keeping only
// what a number or code is made of (digits, Latin letters, "-" and "/"):
// "1-2-3" when the unit reads as stored, "3-2-1" when it is reversed.
inline QString readLeftToRight(QList<DrawnItem> items, int element = -1)
{
    items.removeIf([&](const DrawnItem& i) {
        return i.kind != DrawnItem::Kind::Text || (element >= 0 && i.element != element);
    });
    std::sort(items.begin(), items.end(), [](const DrawnItem& a, const DrawnItem& b) { return a.box.left() < b.box.left(); });
    QString out;
    for (const DrawnItem& item : items) {
        QString run;
        for (const QChar c : item.text)
            if (c.isDigit() || (c.unicode() < 128 && c.isLetter()) || c == QLatin1Char('-') || c == QLatin1Char('/'))
                run += c;
        if (item.rightToLeft)
            std::reverse(run.begin(), run.end());
        out += run;
    }
    return out;
}

// The same for what a widget draws on the screen.
inline QString readLeftToRight(QWidget* widget)
{
    detail::RecordingDevice device(QSizeF(widget->width(), widget->height()) * (25.4 / 96), 96);
    widget->render(&device);
    return readLeftToRight(device.engine().items);
}

// What is drawn wrongly on each page of the document; empty when every page
// prints clean.  Measures allow tolerance mm for rounding.
inline QStringList drawingFaults(const doc::Document& d, int dpi = 1200, double tolerance = 0.25)
{
    QStringList faults;
    const QRectF paper(QPointF(0, 0), d.setup().paperSize());
    for (int p = 0; p < d.pageCount(); ++p) {
        const QList<doc::Element>& elements = d.page(p).elements;
        const QList<DrawnItem> items = drawnItems(d, p, dpi);
        const auto fault = [&](const QString& what) {
            if (faults.size() < 50)
                faults << QStringLiteral("page %1: %2").arg(p + 1).arg(what);
        };
        QList<const DrawnItem*> texts, strokes;
        for (const DrawnItem& item : items) {
            const doc::Element& e = elements.at(item.element);
            // A run of blanks (between right-to-left and left-to-right words,
            // or where an empty field leaves two blanks) leaves no ink.
            if (item.kind == DrawnItem::Kind::Text && item.text.trimmed().isEmpty())
                continue;
            if (!paper.adjusted(-tolerance, -tolerance, tolerance, tolerance).contains(item.box))
                fault(QStringLiteral("%1 is drawn off the paper").arg(detail::describe(e)));
            if (item.kind == DrawnItem::Kind::Text) {
                texts << &item;
                const QRectF own = e.rect.normalized();
                if (own.width() > 0 && own.height() > 0
                    && !own.adjusted(-tolerance, -tolerance, tolerance, tolerance).contains(item.box))
                    fault(QStringLiteral("%1 runs out of its box").arg(detail::describe(e)));
            } else if ((item.kind == DrawnItem::Kind::Line || item.kind == DrawnItem::Kind::Rect) && item.pen > 0) {
                strokes << &item;
            }
        }
        for (int i = 0; i < texts.size(); ++i) {
            const QRectF a = texts.at(i)->box.adjusted(tolerance, tolerance, -tolerance, -tolerance);
            if (a.isEmpty())
                continue;
            for (int j = i + 1; j < texts.size(); ++j)
                if (texts.at(j)->element != texts.at(i)->element && a.intersects(texts.at(j)->box))
                    fault(QStringLiteral("%1 is drawn over %2")
                              .arg(detail::describe(elements.at(texts.at(i)->element)),
                                   detail::describe(elements.at(texts.at(j)->element))));
            for (const DrawnItem* s : std::as_const(strokes)) {
                QList<QLineF> edges;
                if (s->kind == DrawnItem::Kind::Line) {
                    edges << s->line;
                } else {
                    const QRectF r = s->box.adjusted(s->pen / 2, s->pen / 2, -s->pen / 2, -s->pen / 2);
                    edges << QLineF(r.topLeft(), r.topRight()) << QLineF(r.topRight(), r.bottomRight())
                          << QLineF(r.bottomRight(), r.bottomLeft()) << QLineF(r.bottomLeft(), r.topLeft());
                }
                for (const QLineF& edge : edges)
                    if (detail::crosses(edge, s->pen, a)) {
                        fault(QStringLiteral("%1 is drawn across the line of %2")
                                  .arg(detail::describe(elements.at(texts.at(i)->element)),
                                       detail::describe(elements.at(s->element))));
                        break;
                    }
            }
        }
    }
    return faults;
}

// When TAVRIN_DOC_ARTIFACTS names a folder, saves every page there as
// <name>-<page>.png, to look at what a test printed.
inline void saveArtifacts(const doc::Document& d, const QString& name, int dpi = 110)
{
    const QString dir = qEnvironmentVariable("TAVRIN_DOC_ARTIFACTS");
    if (dir.isEmpty())
        return;
    for (int p = 0; p < d.pageCount(); ++p)
        d.toImage(p, dpi).save(QStringLiteral("%1/%2-%3.png").arg(dir, name).arg(p + 1));
}

} // namespace tavrin::test

// Fails the test with the list of faults unless the document prints clean,
// as composed (the resolution texts are measured at), as a 300 dpi printer
// draws it and as the print preview shows it at the screen's 96 dpi.
#define VERIFY_PRINTS_CLEAN(document)                                                                           \
    do {                                                                                                        \
        const QStringList faults_ = tavrin::test::drawingFaults(document) + tavrin::test::drawingFaults(document, 300) \
                                    + tavrin::test::drawingFaults(document, 96);                                \
        QVERIFY2(faults_.isEmpty(), qPrintable(faults_.join(QLatin1Char('\n'))));                                \
    } while (false)
