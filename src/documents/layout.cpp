#include "documents/layout.h"

#include "documents/textlayout.h"

#include "common/jalali.h"

#include <QRegularExpression>

#include <cmath>

namespace tavrin::doc {

namespace {

const QRegularExpression& fieldPattern()
{
    static const QRegularExpression re(QStringLiteral("\\{([A-Za-z_][A-Za-z0-9_]*)\\}"));
    return re;
}

bool isPageName(const QString& name)
{
    return name == QLatin1String("page") || name == QLatin1String("pages");
}

void addUnique(QStringList& list, const QStringList& more)
{
    for (const QString& s : more)
        if (!list.contains(s))
            list << s;
}

} // namespace

QStringList Band::fieldNames() const
{
    QStringList names;
    for (const Item& item : m_items)
        addUnique(names, detail::fieldsIn(item.text));
    return names;
}

PageLayout::PageLayout(const PageSetup& setup) : m_setup(setup)
{
    m_pages.append(QList<Item>{});
}

PageLayout& PageLayout::newPage()
{
    m_pages.append(QList<Item>{});
    return *this;
}

QStringList PageLayout::fieldNames() const
{
    QStringList names;
    for (const QList<Item>& page : m_pages)
        for (const Item& item : page)
            addUnique(names, detail::fieldsIn(item.text));
    return names;
}

Document PageLayout::fill(const QVariantMap& values) const
{
    Document doc(m_setup);
    for (const QList<Item>& items : m_pages)
        fillPage(items, values, doc);
    detail::numberPages(doc, false);
    return doc;
}

namespace {

constexpr double kEps = 1e-6;

bool overlapsAcross(const QRectF& rect, double left, double right)
{
    const QRectF r = rect.normalized();
    return r.left() < right - 0.01 && r.right() > left + 0.01;
}

} // namespace

void PageLayout::fillPage(const QList<Item>& items, const QVariantMap& values, Document& doc) const
{
    doc.addPage();
    const int first = doc.pageCount() - 1;
    Page placed;
    detail::placeItems(items, 0, 0, Role::Layout, values, placed, doc);

    // The flowing paragraphs, and the horizontal strip they take.
    QList<Element> flow;
    double flowTop = 1e9, flowBottom = 0, left = 1e9, right = -1e9;
    for (const Element& e : std::as_const(placed.elements))
        if (e.flowing) {
            flow << e;
            flowTop = std::min(flowTop, e.rect.top());
            flowBottom = std::max(flowBottom, e.rect.bottom());
            left = std::min(left, e.rect.left());
            right = std::max(right, e.rect.right());
        }
    if (flow.isEmpty()) {
        doc.mutablePage(first).elements = placed.elements;
        return;
    }

    // Fixed items across that strip from the paragraphs' top down come after
    // the text (signatures); those printed on every page and the bottom of a
    // frame around the text only limit it.
    const QRectF content = m_setup.contentRect();
    QList<Element> staying, after, repeated;
    double limitEnd = content.bottom();   // on the page that carries the items after the text
    double limitMid = content.bottom();   // on the pages before it
    double contTop = content.top();       // where the text starts on an added page
    for (int i = 0; i < placed.elements.size(); ++i) {
        const Element& e = placed.elements.at(i);
        if (e.flowing)
            continue;
        const QRectF r = e.rect.normalized();
        const bool across = overlapsAcross(r, left, right);
        const bool every = i < items.size() && items.at(i).everyPage;
        if (every)
            repeated << e;
        if (across && r.top() >= flowTop - kEps) {
            limitEnd = std::min(limitEnd, r.top());
            if (!every) {
                after << e;
                continue;
            }
            limitMid = std::min(limitMid, r.top());
        } else if (across && e.kind == Element::Kind::Box && r.bottom() > flowTop + kEps) {
            // A frame around the text.
            limitEnd = std::min(limitEnd, r.bottom());
            limitMid = std::min(limitMid, r.bottom());
        } else if (across && every) {
            contTop = std::max(contTop, r.bottom());
        }
        staying << e;
    }
    if (flowBottom <= limitEnd + 0.01) {
        doc.mutablePage(first).elements = placed.elements;
        return;
    }
    // Room too small for any text: a template that left none; keep going over whole pages.
    if (limitMid - contTop < 10)
        limitMid = content.bottom();
    if (limitEnd - contTop < 10)
        limitEnd = limitMid;

    Overflow note;
    note.kind = m_continuation ? Overflow::Kind::Continued : Overflow::Kind::Cut;
    note.page = first;
    QStringList texts;
    for (const Element& e : std::as_const(flow)) {
        texts << e.text;
        for (const QString& f : e.fields)
            if (!note.fields.contains(f))
                note.fields << f;
    }
    note.text = texts.join(QLatin1Char('\n'));
    doc.addOverflow(note);

    detail::BandFlow text(flow, flowTop, flowBottom);
    if (!m_continuation) {
        Page& page = doc.mutablePage(first);
        page.elements = staying + after;
        text.emit(text.cutBefore(limitEnd), flowTop, page);
        return;
    }

    doc.mutablePage(first).elements = staying;
    double top = flowTop;
    for (int guard = 0; guard < 1000; ++guard) {
        Page& page = doc.mutablePage(doc.pageCount() - 1);
        const double rest = text.height() - text.from();
        if (rest <= limitEnd - top + 0.01) {
            text.emit(text.height(), top, page);
            page.elements << after;
            return;
        }
        // When the rest would fit but for the items after it, leave some of it for their page.
        const double room = rest <= limitMid - top ? limitEnd - top : limitMid - top;
        double cut = text.cutBefore(text.from() + room);
        if (cut <= text.from() + kEps && top == contTop)
            cut = text.from() + room;   // a line taller than the page: forced
        text.emit(cut, top, page);
        doc.addPage().elements = repeated;
        top = contTop;
    }
}

Document PageLayout::fill(const QMap<QString, QString>& values) const
{
    QVariantMap map;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        map.insert(it.key(), it.value());
    return fill(map);
}

namespace detail {

QStringList fieldsIn(const QString& text)
{
    QStringList names;
    auto it = fieldPattern().globalMatch(text);
    while (it.hasNext()) {
        const QString name = it.next().captured(1);
        if (!isPageName(name) && !names.contains(name))
            names << name;
    }
    return names;
}

QString valueText(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    if (value.typeId() == QMetaType::QString) {
        // A date never entered (the empty mask "    /  /  ", "//") prints blank.
        const QString text = value.toString();
        if (text.contains(QLatin1Char('/')) && jalali::isEmptyDate(text))
            return {};
        return text;
    }
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        const double d = value.toDouble();
        // Whole amounts print whole, however large.
        if (std::isfinite(d) && d == std::floor(d))
            return std::fabs(d) < 9e18 ? QString::number(qint64(d)) : QString::number(d, 'f', 0);
        return QString::number(d, 'f', 2);
    }
    return value.toString();
}

Filled fillText(const QString& text, const QVariantMap& values)
{
    Filled out;
    int from = 0;
    auto it = fieldPattern().globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString name = m.captured(1);
        out.text += QStringView(text).mid(from, m.capturedStart() - from);
        if (isPageName(name)) {
            out.text += m.captured(0);
        } else {
            const QString value = valueText(values.value(name));
            if (!value.isEmpty())
                out.valueRuns.append({int(out.text.size()), int(value.size())});
            out.text += value;
        }
        if (!out.fields.contains(name))
            out.fields << name;
        from = int(m.capturedEnd());
    }
    out.text += QStringView(text).mid(from);
    return out;
}

Fitted fitText(const QString& text, const QList<QPair<int, int>>& boldRuns, const TextStyle& style,
               const QSizeF& box, double minScale)
{
    Fitted f {text, boldRuns, style, false};
    const double w = box.width();
    const double h = box.height();
    if (text.isEmpty() || w <= 0)
        return f;
    const double base = style.pointSize;
    if (!style.wordWrap) {
        const double natural = widestLineMm(text, style);
        if (natural > w && natural > 0) {
            f.style.pointSize = base * std::max(minScale, w / natural * 0.98);
            if (widestLineMm(text, f.style) > w)
                f.style.wordWrap = true;   // cannot shrink further: onto more lines
        }
    }
    if (h <= 0)
        return f;
    const auto lines = [&] { return textLines(f.text, f.boldRuns, f.style, w); };
    const auto tooTall = [&](const QList<TextLine>& l) { return l.size() > 1 && l.last().bottom > h + 0.01; };
    QList<TextLine> laid = lines();
    while (tooTall(laid) && f.style.pointSize > base * minScale + 1e-3) {
        f.style.pointSize = std::max(base * minScale, f.style.pointSize * 0.93);
        laid = lines();
    }
    if (!tooTall(laid))
        return f;

    // Keep the lines that fit; the last one kept takes the rest on one line,
    // cut with an ellipsis when it is too long.
    const QString whole = f.text;
    int kept = int(whole.size());   // characters of the text that are still shown
    int keep = 1;
    while (keep < laid.size() && laid.at(keep).bottom <= h + 0.01)
        ++keep;
    for (; keep >= 1; --keep) {
        const int start = laid.at(keep - 1).start;
        TextStyle one = f.style;
        one.wordWrap = false;
        QString rest = whole.mid(start);
        rest.remove(QLatin1Char('\r'));
        rest.replace(QLatin1Char('\n'), QLatin1Char(' '));
        const QString last = elidedMm(rest, one, w);
        f.cut = last != rest;
        f.text = whole.left(start) + last;
        int same = 0;
        while (same < last.size() && same < rest.size() && last.at(same) == rest.at(same))
            ++same;
        kept = start + same;
        const QList<TextLine> now = lines();
        if (now.size() <= keep && (keep == 1 || !tooTall(now)))
            break;
    }
    // Bold runs up to the ellipsis.
    QList<QPair<int, int>> runs;
    for (const auto& run : std::as_const(f.boldRuns))
        if (run.first < kept)
            runs.append({run.first, std::min(run.second, kept - run.first)});
    f.boldRuns = runs;
    return f;
}

double placeItems(const QList<Item>& items, double minHeight, double y, Role role, const QVariantMap& values,
                  Page& page, Document& doc)
{
    double bottom = minHeight;
    double flowY = 0;
    for (const Item& item : items) {
        Element e;
        e.kind = item.kind;
        e.role = role;
        e.style = item.style;
        e.penWidth = item.penWidth;
        e.fill = item.fill;
        e.image = item.image;
        QRectF rect = item.rect;
        if (item.kind == Element::Kind::Text) {
            const Filled filled = fillText(item.text, values);
            e.text = filled.text;
            e.fields = filled.fields;
            if (item.style.fieldsInBold)
                e.boldRuns = filled.valueRuns;
            for (const QString& name : filled.fields)
                if (!isPageName(name))
                    doc.setField(name, valueText(values.value(name)));
            e.flowing = item.flow;
            if (!item.flow && !e.text.isEmpty()) {
                const Fitted fitted = fitText(e.text, e.boldRuns, e.style, rect.size());
                if (fitted.cut)
                    doc.addOverflow({Overflow::Kind::Cut, std::max(0, doc.pageCount() - 1), role, e.text, e.fields});
                e.text = fitted.text;
                e.boldRuns = fitted.boldRuns;
                e.style = fitted.style;
            }
            if (item.flow) {
                const double top = flowY + rect.y();
                const double height = std::max(rect.height(), textHeightMm(e.text, e.boldRuns, e.style, rect.width()));
                rect = QRectF(rect.x(), top, rect.width(), height);
                flowY = top + height;
            }
        }
        bottom = std::max({bottom, rect.top(), rect.bottom(), flowY});
        e.rect = rect.translated(0, y);
        page.elements.append(e);
    }
    return bottom;
}

double measureItems(const QList<Item>& items, double minHeight, const QVariantMap& values)
{
    Page scratch;
    Document ignored;
    return placeItems(items, minHeight, 0, Role::Layout, values, scratch, ignored);
}

void numberPages(Document& doc, bool persian)
{
    doc.numberPages(persian);
}

BandFlow::BandFlow(const QList<Element>& elements, double from, double height)
    : m_elements(elements), m_from(from), m_height(height)
{
    for (const Element& e : m_elements) {
        Lines l;
        if (e.isText() && e.flowing && !e.text.isEmpty() && !e.isPart())
            l.lines = textLines(e.text, e.boldRuns, e.style, e.rect.width());
        if (l.lines.size() < 2)
            l.lines.clear();   // one line: placed whole like a fixed text
        m_lines.append(l);
        m_done.append(false);
    }
}

double BandFlow::cutBefore(double limit) const
{
    double cut = std::min(limit, m_height);
    for (bool moved = true; moved;) {
        moved = false;
        for (int i = 0; i < m_elements.size(); ++i) {
            const Element& e = m_elements.at(i);
            if (m_done.at(i) || e.kind == Element::Kind::Box || e.kind == Element::Kind::Line)
                continue;
            if (isParagraph(i)) {
                const Lines& l = m_lines.at(i);
                if (l.next >= l.lines.size())
                    continue;
                // The lowest line that ends above the cut, or before the first line left.
                double at = e.rect.top() + l.lines.at(l.next).top;
                for (int k = l.next; k < l.lines.size(); ++k) {
                    const double bottom = e.rect.top() + l.lines.at(k).bottom;
                    if (bottom > cut + kEps)
                        break;
                    at = bottom;
                }
                const double lastBottom = e.rect.top() + l.lines.last().bottom;
                if (lastBottom > cut + kEps && at < cut - kEps) {
                    cut = std::max(at, m_from);
                    moved = true;
                }
                continue;
            }
            const QRectF r = e.rect.normalized();
            if (r.top() < cut - kEps && r.bottom() > cut + kEps && r.top() > m_from + kEps) {
                cut = r.top();
                moved = true;
            }
        }
    }
    return std::max(cut, m_from);
}

void BandFlow::emit(double to, double y, Page& page)
{
    const double dy = y - m_from;
    for (int i = 0; i < m_elements.size(); ++i) {
        if (m_done.at(i))
            continue;
        const Element& e = m_elements.at(i);
        const QRectF r = e.rect.normalized();
        if (isParagraph(i)) {
            Lines& l = m_lines[i];
            int n = 0;
            while (l.next + n < l.lines.size() && e.rect.top() + l.lines.at(l.next + n).bottom <= to + kEps)
                ++n;
            if (n == 0)
                continue;
            const TextLine& a = l.lines.at(l.next);
            const TextLine& b = l.lines.at(l.next + n - 1);
            Element part = e;
            if (n < l.lines.size()) {
                part.source = e.text;
                part.firstLine = l.next;
                part.lineCount = n;
                part.text = e.text.mid(a.start, b.start + b.length - a.start);
            }
            const double top = std::max(e.rect.top() + a.top, m_from);
            part.rect = QRectF(e.rect.left(), top + dy, e.rect.width(), b.bottom - a.top);
            page.elements.append(part);
            l.next += n;
            m_done[i] = l.next >= l.lines.size();
            continue;
        }
        const bool cuttable = (e.kind == Element::Kind::Box || e.kind == Element::Kind::Line) && r.height() > kEps;
        if (!cuttable) {
            if (r.top() < to - kEps || r.bottom() <= to + kEps) {
                Element moved = e;
                moved.rect.translate(0, dy);
                page.elements.append(moved);
                m_done[i] = true;
            }
            continue;
        }
        const double top = std::max(r.top(), m_from);
        const double bottom = std::min(r.bottom(), to);
        if (bottom - top > kEps) {
            Element piece = e;
            if (e.kind == Element::Kind::Box) {
                piece.rect = QRectF(r.left(), top + dy, r.width(), bottom - top);
            } else {
                // The stretch of the line between the two heights.
                const QPointF p1 = e.rect.topLeft(), p2 = e.rect.bottomRight();
                const auto at = [&](double yy) {
                    const double t = (yy - p1.y()) / (p2.y() - p1.y());
                    return QPointF(p1.x() + t * (p2.x() - p1.x()), yy + dy);
                };
                piece.rect = p1.y() < p2.y() ? QRectF(at(top), at(bottom)) : QRectF(at(bottom), at(top));
            }
            page.elements.append(piece);
        }
        m_done[i] = r.bottom() <= to + kEps;
    }
    m_from = std::max(m_from, to);
}

} // namespace detail

} // namespace tavrin::doc
