#pragma once
// The fixed wording of the applicant documents.  Each document has one
// template, a UTF-8 text file: the program's own copy is built in (resource
// ":/forms/<name>.txt"); an organisation that words a document differently
// puts its own file of the same name into the folder formOverrideDir()
// ("templates" in the user's data folder, beside the deposit agreement's
// wording) and the program prints that one instead, without being rebuilt.
//
// A template is a list of lines "kind: text" ("#" starts a comment line):
//   paper: A4 | A5            orientation: portrait | landscape
//   title: the document's title (large, bold, centred, on every page)
//   head: a | b | c           a line of short texts side by side under the title
//   heading: an article's caption (bold)
//   para: a justified paragraph
//   line: a short unjustified line
//   table:                    where the document's table goes (partners, payments)
//   sign: a | b | c           signatures side by side at the foot of every page
// A text names the document's fields as {name}.  A kind followed by ?flag
// ("para?company: ...") prints only when the document sets that flag, and
// by ?!flag only when it does not.
#include "documents/tablereport.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

namespace tavrin::forms {

struct TemplateLine {
    QString kind;
    QString flag;        // empty: always printed
    bool negated = false;
    QString text;
};

struct FormTemplate {
    QString name;
    doc::PageSetup setup;
    QList<TemplateLine> lines;
    // Every field the template names, in order of first use.
    QStringList fieldNames() const;
    // The first title line (the preview window's caption).
    QString title() const;
};

// The folder of an organisation's own templates (in the user's data folder).
QString formOverrideDir();
// Reads the template text (the organisation's file when there is one).
QString templateText(const QString& name);
FormTemplate parseTemplate(const QString& name, const QString& text);
FormTemplate formTemplate(const QString& name);

// The table a document prints at its "table:" line.
struct FormTable {
    QList<doc::Column> columns;
    QList<QVariantMap> rows;
};

// What one printing of a document fills in.
struct FormFill {
    QVariantMap values;
    QSet<QString> flags;
    std::optional<FormTable> table;
    // Fields left empty for handwriting: printed as a dotted line, their value stays "".
    QStringList handwritten;
};

doc::Document buildForm(const FormTemplate& t, const FormFill& fill);
inline doc::Document buildForm(const QString& name, const FormFill& fill)
{
    return buildForm(formTemplate(name), fill);
}

} // namespace tavrin::forms
