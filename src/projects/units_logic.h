#pragma once
// The rules of a project's units (vahedha): the unit identifier, the price,
// the conversion of the entry form's texts, and saving, editing and deleting a
// unit with their checks.  Every action runs in one transaction with its log
// row; the checks that two users could race (the project's capacity, the
// duplicates, whether a buyer holds the unit) are made inside it.
#include "item_rules.h"

#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <optional>

namespace tavrin::units {

// The texts of the unit entry form, as typed.
struct UnitForm {
    QString karbari, bolok, tabaghe, vahed_no, jahat, otagh;
    QString metraj, metraj_z, teras, hayat;     // areas (decimal numbers)
    QString mablagh1, teras1, hayat1, mablagh;  // amounts (digits, "," allowed)
    QString ekhtesasi, moshtarak, status, vahed_typ, bana;

    // The identifier the form shows: bolok-tabaghe-vahed_no.
    QString shenase() const;
};

// bolok + "-" + tabaghe + "-" + vahed_no.
QString shenaseOf(const QString& bolok, const QString& tabaghe, const QString& vahed_no);
// A villa or a plot: its price per square metre applies to the land area.
bool usesLandArea(const QString& bana);
// The word the price captions end in for a building type: "زمين" or "واحد".
QString areaWord(const QString& bana);

// The total price of the form: mablagh1 x (metraj_z for a villa or plot,
// metraj otherwise) + teras1 x teras + hayat1 x hayat, rounded to whole rials
// by areaAmount (common/monedit.h).  Empty texts count as 0; nothing when a
// text does not convert.
std::optional<qint64> computePrice(const UnitForm& f);
// The price as the form's mablagh field shows it: plain digits (whole, even
// beyond what the money columns hold, so that the save refuses it), "0" when
// a value does not convert.
QString priceText(const UnitForm& f);
// Digits grouped in threes with "," (the labels beside the prices).
QString grouped(const QString& digits);

// The form's values converted for the table, or the first field that does not
// convert with its message.  Nothing is saved unless every field converts.
struct Converted {
    QVariant metraj, metraj_z, teras, hayat, mablagh1, teras1, hayat1, mablagh, otagh;
    QString failedField;   // object name of the field
    QString message;
    bool ok() const { return failedField.isEmpty(); }
};
Converted convert(const UnitForm& f);

// New unit of the project (project: a projects row with at least "id").
// Refusals: conversion, capacity ("*" + vahed_kol), duplicate block/floor/
// number, duplicate identifier.  Writes the row (vam 0) and its log row.
Outcome insertUnit(const QSqlRecord& project, const UnitForm& f);
// Saves an edited unit and copies it to the applicants who bought it (their
// amount keeps their discount: mablagh = price - takhfif).  A unit a buyer
// still holds cannot be made free: the save goes on with the sold status.
// The unit's vam (the sum of its loans) is not taken from the form.  `read`
// is the vahedha row the window showed: when another user changed what the
// form writes since then (items::changedSinceRead), nothing is written and
// the result is refuseChanged.
Outcome updateUnit(const QSqlRecord& project, qint64 unitId, const UnitForm& f, const QSqlRecord& read);

// The unit's name in the refusal of a save another user overtook.
extern const QString kUnitRecordName;
// Deletes a unit no applicant refers to, with its loan rows.  (The delete
// password is the window's business.)
Outcome deleteUnit(const QSqlRecord& project, qint64 unitId);

// Units of the project.
int unitCount(qint64 projectId);

// Sets every free unit that an applicant holds back to its sold status;
// returns the number of units corrected.
int repairUnitStatuses();

// Texts of the unit rules.
extern const QString kUnitSaveFailed;
extern const QString kUnitDeleteFailed;

} // namespace tavrin::units
