#pragma once
// The choice lists every window offers: values of the settings tables and the
// country divisions.  One place reads them, so every window reads them alike.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

class QComboBox;

namespace tavrin {

// Every value (cmt) of a general setting key, in the order of the rows' ids
// (several keys in one statement: ListBatch).
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

// Several choice lists read with one statement: a window opening on a record
// fills its whole cascade of combo boxes with one round trip to a distant
// server.  Each list is one text column of a table; add the lists, read(),
// then take each by the number its add returned.
class ListBatch {
public:
    // The distinct values of column in `fromWhere` ("from abadiha where
    // ostan=?", no order by), sorted by them, as a select distinct … order by gives.
    int distinct(const QString& column, const QString& fromWhere, const QVariantList& values = {});
    // Column in the order of the rows' ids, as … order by id gives.
    int byId(const QString& column, const QString& fromWhere, const QVariantList& values = {});
    // The lookups above, as one list each.
    int provinces();
    int counties(const QString& ostan);
    int grantedCounties(const QString& ostan);
    int cities(const QString& ostan, const QString& shahrestan);
    int setting(const QString& component);
    int settingOst(const QString& ostan, const QString& component);
    // Runs the statement (throws DbError); NULL values come back as "".
    void read();
    QStringList list(int n) const { return m_lists.value(n); }
    // One list read on its own: add is given the batch and returns the list's number.
    template <class Add>
    static QStringList alone(Add add)
    {
        ListBatch b;
        const int n = add(b);
        b.read();
        return b.list(n);
    }

private:
    int add(const QString& part, const QVariantList& values);
    QStringList m_parts;
    QVariantList m_values;
    QList<QStringList> m_lists;
};

// Clears a combo box and fills it with items, keeping the typed text of an editable one empty.
void fillCombo(QComboBox* combo, const QStringList& items);

} // namespace tavrin
