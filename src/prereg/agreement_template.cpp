#include "prereg/agreement_template.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

// Resources of a static library are registered by hand.
static void registerPreregResources()
{
    Q_INIT_RESOURCE(prereg);
}

namespace tavrin::prereg {

namespace {

const QString kResource = QStringLiteral(":/prereg/vadiegozari.txt");
const QString kOverrideName = QStringLiteral("templates/vadiegozari.txt");

QString readText(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

} // namespace

const QStringList& AgreementTemplate::sectionNames()
{
    static const QStringList names {QStringLiteral("header"),        QStringLiteral("page1"),
                                    QStringLiteral("page2.top"),     QStringLiteral("page2.columns"),
                                    QStringLiteral("page2.bottom"),  QStringLiteral("page3"),
                                    QStringLiteral("signature.depositor"), QStringLiteral("signature.organisation")};
    return names;
}

AgreementTemplate AgreementTemplate::parse(const QString& text)
{
    AgreementTemplate t;
    QString section;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            section = trimmed.mid(1, trimmed.size() - 2).trimmed();
            t.m_sections[section];
            continue;
        }
        if (!section.isEmpty())
            t.m_sections[section] << trimmed;
    }
    return t;
}

QString AgreementTemplate::builtInText()
{
    registerPreregResources();
    return readText(kResource);
}

const AgreementTemplate& AgreementTemplate::builtIn()
{
    static const AgreementTemplate t = [] {
        const QString text = builtInText();
        if (text.isEmpty())
            qWarning("tavrin.prereg: the agreement's wording resource is missing");
        return parse(text);
    }();
    return t;
}

QStringList AgreementTemplate::overridePaths()
{
    QStringList paths;
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
        paths << QDir(dir).filePath(kOverrideName);
    return paths;
}

AgreementTemplate AgreementTemplate::load()
{
    AgreementTemplate t = builtIn();
    for (const QString& path : overridePaths()) {
        if (!QFile::exists(path))
            continue;
        const AgreementTemplate own = parse(readText(path));
        for (const QString& name : sectionNames()) {
            if (own.has(name))
                t.m_sections[name] = own.m_sections.value(name);
            else
                qInfo().noquote() << "tavrin.prereg:" << path << "has no section" << name << "- the built-in one is printed";
        }
        t.m_source = path;
        break;
    }
    return t;
}

QList<Paragraph> AgreementTemplate::paragraphs(const QString& section) const
{
    QList<Paragraph> out;
    QStringList current;
    const auto flush = [&] {
        if (current.isEmpty())
            return;
        Paragraph p;
        p.text = current.join(QLatin1Char(' '));
        if (p.text.startsWith(QLatin1String("=="))) {
            p.heading = true;
            p.text = p.text.mid(2).trimmed();
        }
        out << p;
        current.clear();
    };
    for (const QString& line : m_sections.value(section)) {
        if (line.isEmpty())
            flush();
        else
            current << line;
    }
    flush();
    return out;
}

QStringList AgreementTemplate::lines(const QString& section) const
{
    QStringList out;
    for (const QString& line : m_sections.value(section))
        if (!line.isEmpty())
            out << line;
    return out;
}

} // namespace tavrin::prereg
