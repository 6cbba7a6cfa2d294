#pragma once
// The rules of a project's storage rooms (anbariha) and parking spaces
// (parkingha), one implementation for both: the two differ only by their
// tables, their capacity column, their texts and the parking's roof column.
#include "item_rules.h"

#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace tavrin::spaces {

struct SpaceKind {
    QString table;          // "anbariha" / "parkingha"
    QString assignTable;    // "anbari" / "parking": the applicants' rows
    QString assignId;       // "anbari_id" / "parking_id"
    QString capacity;       // "anbari_cnt" / "parking_cnt" of projects
    bool hasSaghf = false;  // parking: roofed or not
    QString posSetting, statusSetting;
    QString numCaption;     // "شماره انباري" / "شماره پارکينگ"
    QString recordName;     // "انباري" / "پارکينگ": the refusal of a save another user overtook
    QString emptyNum, capacityFull, duplicate, mablaghWrong, mablagh1Wrong;
    QString heldWarning, heldWarningTail, editHeld, deleteHeld;
    QString logNew, logEdit, logDelete;
    QString saveFailed, deleteFailed;

    bool isParking() const { return hasSaghf; }
};

const SpaceKind& storage();
const SpaceKind& parking();

// The texts of the entry form, as typed.
struct SpaceForm {
    QString bolok, num, metraj, pos, mablagh1, mablagh, status, saghf;
};

// mablagh1 x metraj rounded to whole rials by areaAmount, as plain digits;
// "0" when a value does not convert (empty texts count as 0).
QString priceText(const QString& metraj, const QString& mablagh1);

// The messages of the fields that may not be empty (block, number, position), all that apply.
QStringList emptyFieldMessages(const SpaceKind& k, const SpaceForm& f);

struct Converted {
    qint64 num = 0;
    double metraj = 0;
    qint64 mablagh = 0, mablagh1 = 0;
    QString failedField, message;
    bool ok() const { return failedField.isEmpty(); }
};
Converted convert(const SpaceKind& k, const SpaceForm& f);

// New room or space of the project: empty fields, conversions, capacity
// ("*" + the project's count), duplicate (block, number, position).
Outcome insertSpace(const SpaceKind& k, const QSqlRecord& project, const SpaceForm& f);
// Saves an edited one.  One that an applicant holds cannot be edited; setting
// a held one free shows the holder and keeps the sold status.  `read` is the
// row the window showed: when another user changed what the form writes since
// then (items::changedSinceRead), nothing is written and the result is
// refuseChanged.
Outcome updateSpace(const SpaceKind& k, const QSqlRecord& project, qint64 id, const SpaceForm& f,
                                const QSqlRecord& read);
// Deletes one that no applicant holds.
Outcome deleteSpace(const SpaceKind& k, const QSqlRecord& project, qint64 id);

// Rooms or spaces of the project.
int spaceCount(const SpaceKind& k, qint64 projectId);
// The condition of the number filter: the number compared as text, so that a
// part of a number matches on every backend (num is an integer column).
QString numberAsText(const QString& column = QStringLiteral("num"));

} // namespace tavrin::spaces
