#pragma once
// The choice lists every window offers: values of the settings tables and the
// country divisions.  One place reads them, so every window reads them alike.
#include <QString>
#include <QStringList>

class QComboBox;

namespace tavrin {

// Every value (cmt) of a general setting key, in the order the rows come back.
QStringList settingList(const QString& component);
// The first value of a general setting key, or "" when it has none.
QString settingValue(const QString& component);
QStringList settingListOst(const QString& ostan, const QString& component);
QString settingValueOst(const QString& ostan, const QString& component);
QStringList settingListCity(const QString& ostan, const QString& shahrestan, const QString& component);
QString settingValueCity(const QString& ostan, const QString& shahrestan, const QString& component);

// Provinces, counties, cities ... of abadiha ("select distinct"), ordered when asked.
QStringList provinces(bool ordered = true);
QStringList counties(const QString& ostan, bool ordered = true);
QStringList cities(const QString& ostan, const QString& shahrestan, bool ordered = true);

// The counties of the province the logged-in user may record in: every county
// for the level "admin", the counties granted to him (dastrasi2) for the others.
QStringList grantedCounties(const QString& ostan, bool ordered = true);
// Whether the logged-in user may record in the county (always for "admin").
bool isGrantedCounty(const QString& shahrestan);

// Clears a combo box and fills it with items, keeping the typed text of an editable one empty.
void fillCombo(QComboBox* combo, const QStringList& items);

} // namespace tavrin
