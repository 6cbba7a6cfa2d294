#include "documents/layout.h"

#include "documents/textlayout.h"

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
    for (const QList<Item>& items : m_pages) {
        Page& page = doc.addPage();
        detail::placeItems(items, 0, 0, Role::Layout, values, page, doc);
    }
    detail::numberPages(doc, false);
    return doc;
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
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
            return QString::number(qint64(d));
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
            if (item.style.shrinkToFit && !item.style.wordWrap && !e.text.isEmpty()) {
                const double natural = textWidthMm(e.text, e.style);
                if (natural > rect.width() && natural > 0)
                    e.style.pointSize *= std::max(0.6, rect.width() / natural * 0.98);
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
    const QString total = QString::number(doc.pageCount());
    for (int i = 0; i < doc.pageCount(); ++i) {
        const QString number = QString::number(i + 1);
        const QString values[2] = {persian ? persianDigits(number) : number, persian ? persianDigits(total) : total};
        const QString tokens[2] = {QStringLiteral("{page}"), QStringLiteral("{pages}")};
        Page& page = doc.mutablePage(i);
        for (Element& e : page.elements) {
            if (!e.isText() || !(e.fields.contains(QLatin1String("page")) || e.fields.contains(QLatin1String("pages"))))
                continue;
            for (int t = 0; t < 2; ++t) {
                for (qsizetype at = e.text.indexOf(tokens[t]); at >= 0; at = e.text.indexOf(tokens[t], at)) {
                    const int delta = int(values[t].size() - tokens[t].size());
                    e.text.replace(at, tokens[t].size(), values[t]);
                    for (auto& run : e.boldRuns)
                        if (run.first > at)
                            run.first += delta;
                    at += values[t].size();
                }
            }
        }
    }
}

} // namespace detail

} // namespace tavrin::doc
