#include "applicants/form_templates.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

static void initFormResources()
{
    Q_INIT_RESOURCE(forms);
}

namespace tavrin::forms {

using namespace doc;

QString formOverrideDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/templates");
}

QString templateText(const QString& name)
{
    static const bool loaded = (initFormResources(), true);
    Q_UNUSED(loaded);
    const QString file = name + QStringLiteral(".txt");
    // The user's data folder first, then the system's, then the built-in copy.
    QStringList paths;
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
        paths << QDir(dir).filePath(QStringLiteral("templates/") + file);
    paths << QStringLiteral(":/forms/") + file;
    for (const QString& path : paths) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            return QString::fromUtf8(f.readAll());
    }
    return {};
}

FormTemplate parseTemplate(const QString& name, const QString& text)
{
    FormTemplate t;
    t.name = name;
    t.setup = PageSetup {Paper::A4, Orientation::Portrait, QMarginsF(12, 10, 12, 10)};
    for (QString raw : text.split(QLatin1Char('\n'))) {
        raw.remove(QLatin1Char('\r'));
        const QString trimmed = raw.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype colon = raw.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        TemplateLine l;
        l.kind = raw.left(colon).trimmed();
        l.text = raw.mid(colon + 1).trimmed();
        const qsizetype q = l.kind.indexOf(QLatin1Char('?'));
        if (q >= 0) {
            l.flag = l.kind.mid(q + 1).trimmed();
            l.kind = l.kind.left(q).trimmed();
            if (l.flag.startsWith(QLatin1Char('!'))) {
                l.negated = true;
                l.flag = l.flag.mid(1);
            }
        }
        if (l.kind == QLatin1String("paper")) {
            t.setup.paper = l.text.compare(QLatin1String("A5"), Qt::CaseInsensitive) == 0 ? Paper::A5 : Paper::A4;
            if (t.setup.paper == Paper::A5)
                t.setup.margins = QMarginsF(10, 8, 10, 8);
        } else if (l.kind == QLatin1String("orientation")) {
            t.setup.orientation = l.text.compare(QLatin1String("landscape"), Qt::CaseInsensitive) == 0
                                      ? Orientation::Landscape
                                      : Orientation::Portrait;
        } else {
            t.lines << l;
        }
    }
    return t;
}

FormTemplate formTemplate(const QString& name)
{
    return parseTemplate(name, templateText(name));
}

QStringList FormTemplate::fieldNames() const
{
    QStringList names;
    for (const TemplateLine& l : lines)
        for (const QString& f : doc::detail::fieldsIn(l.text))
            if (!names.contains(f))
                names << f;
    return names;
}

QString FormTemplate::title() const
{
    for (const TemplateLine& l : lines)
        if (l.kind == QLatin1String("title"))
            return l.text;
    return name;
}

namespace {

bool printed(const TemplateLine& l, const QSet<QString>& flags)
{
    if (l.flag.isEmpty())
        return true;
    return flags.contains(l.flag) != l.negated;
}

QStringList parts(const QString& text)
{
    QStringList p;
    for (const QString& s : text.split(QLatin1Char('|')))
        p << s.trimmed();
    return p;
}

// Texts side by side across the width, the first on the right.
void row(Band& band, const QRectF& content, double y, double height, const QString& text, const TextStyle& style)
{
    const QStringList p = parts(text);
    const double w = content.width() / p.size();
    for (int i = 0; i < p.size(); ++i)
        band.text(QRectF(content.right() - (i + 1) * w + 1, y, w - 2, height), p.at(i), style);
}

} // namespace

Document buildForm(const FormTemplate& t, const FormFill& fill)
{
    const PageSetup& setup = t.setup;
    const QRectF content = setup.contentRect();
    const bool small = setup.paper == Paper::A5 && setup.orientation == Orientation::Portrait;
    const double base = small ? 9.5 : 10.5;
    const TextStyle titleStyle = TextStyle().pt(small ? 12.5 : 14).bold().centre();
    const TextStyle headStyle = TextStyle().pt(base - 0.5).boldFields().centre();
    const TextStyle paraStyle = TextStyle().pt(base).right().boldFields().spacing(1.1);
    const TextStyle lineStyle = TextStyle().pt(base).right().boldFields();
    const TextStyle headingStyle = TextStyle().pt(base + 0.5).bold().right();
    const TextStyle signStyle = TextStyle().pt(base - 0.5).bold().centre().top().wrap();

    Band header;
    Band before;
    Band after;
    Band footer;
    double headerY = 0;
    double footerY = 0;
    bool pastTable = false;
    for (const TemplateLine& l : t.lines) {
        if (!printed(l, fill.flags))
            continue;
        Band& body = pastTable ? after : before;
        if (l.kind == QLatin1String("title")) {
            header.text(QRectF(content.left(), headerY, content.width(), small ? 8 : 10), l.text, titleStyle);
            headerY += small ? 8 : 10;
        } else if (l.kind == QLatin1String("head")) {
            row(header, content, headerY, 6, l.text, headStyle);
            headerY += 6;
        } else if (l.kind == QLatin1String("heading")) {
            body.paragraph(content.left(), content.width(), l.text, headingStyle, 2.5);
        } else if (l.kind == QLatin1String("para")) {
            body.paragraph(content.left(), content.width(), l.text, paraStyle.wrap(), 1.5);
        } else if (l.kind == QLatin1String("line")) {
            body.paragraph(content.left(), content.width(), l.text, lineStyle.wrap(), 1);
        } else if (l.kind == QLatin1String("table")) {
            pastTable = true;
        } else if (l.kind == QLatin1String("sign")) {
            row(footer, content, footerY + 2, 12, l.text, signStyle);
            footerY += 16;
        }
    }
    if (headerY > 0)
        header.line(QPointF(content.left(), headerY + 1.5), QPointF(content.right(), headerY + 1.5), 0.3);

    TableReport report(setup);
    // The header's height is known only now: its items go into a band of that height.
    Band h(headerY > 0 ? headerY + 3 : 0);
    for (const Item& i : header.items())
        h.add(i);
    report.pageHeader(h);
    if (!footer.items().isEmpty())
        report.pageFooter(footer);
    if (!before.items().isEmpty())
        report.title(before.breakable());
    if (!after.items().isEmpty())
        report.summary(after.breakable());
    TableStyle ts;
    ts.fontSize = small ? 8 : 9;
    ts.headingFontSize = ts.fontSize;
    ts.rowHeight = 6;
    ts.headerHeight = 7;
    report.style(ts);
    QList<QVariantMap> rows;
    if (fill.table) {
        for (const Column& c : fill.table->columns)
            report.column(c);
        rows = fill.table->rows;
    }
    QVariantMap values = fill.values;
    for (const QString& name : fill.handwritten)
        values.insert(name, QStringLiteral("............"));
    Document d = report.fill(values, rows);
    for (const QString& name : fill.handwritten)
        if (d.hasField(name))
            d.setField(name, QString());
    return d;
}

} // namespace tavrin::forms
