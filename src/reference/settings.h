#pragma once
// The three key/value settings tables (setting, setting_ost, setting_city):
// reading a key's rows, inserting a value, marking the default value of a key
// and deleting a value, each within its place (the whole organisation, one
// province, or one county of a province).
#include "common/fieldcheck.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tavrin {

enum class SettingTable { General, Province, County };

struct SettingPlace {
    SettingTable table = SettingTable::General;
    QString ostan;        // Province and County
    QString shahrestan;   // County
};

struct SettingRow {
    qint64 id = 0;
    QString ostan;
    QString shahrestan;
    QString component;
    QString cmt;
    QString def;
};

QString settingTableName(SettingTable t);
// The keys a settings window offers, in the order of its drop-down list.
QStringList settingKeys(SettingTable t);

// The rows of a key within the place, in the order they were entered.  An empty
// key lists every key of the place (the county window, on choosing a county).
QList<SettingRow> settingRows(const SettingPlace& place, const QString& component);

enum class SettingInsert { Inserted, Duplicate, TooLong };
// Inserts a value under a key unless the same value is already there or a text
// is longer than its column (the refusal then goes to *tooLong); the check and
// the insert run in one transaction.  Throws DbError.
SettingInsert addSetting(const SettingPlace& place, const QString& component, const QString& value,
                         FieldRefusal* tooLong = nullptr);
// Makes value the default of its key: clears the mark of the key's other rows
// within the place and sets it on the rows holding value, in one transaction.
// Returns the number of rows marked.  Throws DbError.
int markDefaultSetting(const SettingPlace& place, const QString& component, const QString& value);
// Deletes every row of the key holding value within the place; returns how many.
int deleteSetting(const SettingPlace& place, const QString& component, const QString& value);

// The deletion password's values are shown as kMaskedValue to every user but
// "admin": true when the rows of this key are masked for the session's user.
bool settingValueMasked(const QString& component);
extern const QString kMaskedValue;  // "****"
// The text a grid shows for a row's value.
QString settingDisplayValue(const SettingRow& row);

// The deletion password: the first value of the general setting "رمز حذف".
QString storedDeletePassword();
// Asks for the deletion password with the divisions window's prompt ("رمز حذف").
bool askDeletePassword();

// Reloads the session's registration code from the general setting "کد ثبت".
QString refreshSabtCod();

} // namespace tavrin
