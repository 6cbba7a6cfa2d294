#pragma once
// The fixed wording of the deposit agreement: a text resource with named
// sections (vadiegozari.txt) that an organisation may replace, section by
// section, with a copy of its own in the user's data folder
// (templates/vadiegozari.txt under the program's data location).
#include <QMap>
#include <QString>
#include <QStringList>

namespace tavrin::prereg {

struct Paragraph {
    QString text;          // may name fields as {name}
    bool heading = false;  // written "== text" in the template
};

class AgreementTemplate {
public:
    // Reads "[section]" blocks: lines starting with "#" are comments, blank
    // lines separate paragraphs, the lines of a paragraph are joined by one
    // blank.
    static AgreementTemplate parse(const QString& text);
    // The built-in wording, with the sections of the organisation's copy in
    // place of the built-in ones when such a copy exists.
    static AgreementTemplate load();
    // The built-in wording alone, and its text (a starting point for an
    // organisation's copy).
    static const AgreementTemplate& builtIn();
    static QString builtInText();
    // Where an organisation's copy is looked for, in order of preference.
    static QStringList overridePaths();
    // The file load() took the organisation's wording from (empty when none).
    QString source() const { return m_source; }

    bool has(const QString& section) const { return m_sections.contains(section); }
    QList<Paragraph> paragraphs(const QString& section) const;
    // The non-empty lines of a section (captions, signature lines).
    QStringList lines(const QString& section) const;

    // The section names the agreement prints.
    static const QStringList& sectionNames();

private:
    QMap<QString, QStringList> m_sections;  // raw lines, comments removed
    QString m_source;
};

} // namespace tavrin::prereg
