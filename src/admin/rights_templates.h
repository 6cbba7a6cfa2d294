#pragma once
// The pages of the rights editor, the role templates that fill a user's rights
// from his level and role, and reading a user's rights for the editor.
#include "common/rights.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

namespace tavrin {

class Database;

struct RightsPage {
    QString key;      // dastrasi.page_name
    QString caption;  // the row's caption in the editor
    QString prefix;   // the check boxes are prefix + "_ins", "_edit", "_del", "_show"
};

// The eighteen pages, in the editor's order from top to bottom.
const QList<RightsPage>& rightsPages();
// The order in which the rights are written.
const QStringList& rightsSaveOrder();
bool isRightsPage(const QString& key);

// Page key -> rights, for the editor's pages.
using RightsMap = QMap<QString, Rights>;

// "1101" (insert, edit, delete, view) <-> Rights.
Rights rightsFromCode(const QString& code);
QString rightsCode(const Rights& r);
bool sameRights(const Rights& a, const Rights& b);
// Every editor page without any right.
RightsMap emptyRights();

// What choosing a role does to the boxes: the template of the level and role
// (level "admin" whatever the role), and for any other combination only the
// view of the news page.
RightsMap roleTemplate(const QString& level, const QString& role);

// A user's rights for the editor's pages (pages without a row have none; rows
// of other pages are left out).  Throws DbError.
RightsMap loadRights(qint64 prsId);

// The roles of the templates, for the role list of a new database.
QStringList templateRoles();

// The setting lists a new database starts with (key, values): the role list
// ("گروه کاربري") and the user-status list ("وضعيت کاربر").
QList<QPair<QString, QStringList>> firstUseLists();

// What a new database starts with so that its administrator can work at once:
// the "admin" user gets the rights of the admin template for every page he has
// no row for (his existing rows stay as they are), and the role list
// ("گروه کاربري") and the user-status list ("وضعيت کاربر") get their first
// values when they are empty.  Returns the rows added; throws DbError.
int seedFirstUse(Database& db);

// The "admin" user gets the admin template's rights of each of these editor
// pages he has no row for (his other rows stay as they are).  Returns the
// rows added; throws DbError.
int grantPages(Database& db, const QStringList& keys);

} // namespace tavrin
