#pragma once
// The rules of an applicant's paper file, without windows: the electronic file
// (scanned documents kept whole in customers_pic) and the checklist of the
// standard documents present in his paper file (savabegh).
#include "common/listquery.h"
#include "projects/item_rules.h"

#include <QByteArray>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavrin::applicantfiles {

// ---------------------------------------------------------------- the electronic file

// The applicant's documents: id, description and extension, never the bytes.
ListQuery picturesQuery(qint64 customerId);

// The extension a file is stored with: its suffix with the leading dot
// (".jpg"), or "" when it has none.
QString extensionOf(const QString& fileName);

// The largest file the electronic file takes.
inline constexpr qint64 kMaxFileSize = 64LL * 1024 * 1024;

// Stores a file among the applicant's documents.  Refusals: no description
// ("خطا! ابتدا شرح ضميمه را مشخص نماييد"); an extension or a description
// longer than its column, or a file that cannot be read or is too large
// ("خطايي در ثبت رخ داده است!" for the columns and the file, the size message
// for the size).  Nothing is stored then.
Outcome addPicture(qint64 customerId, const QString& cmt, const QString& fileName);

// One stored document's bytes and extension, or nothing when it is gone.
struct StoredFile {
    QByteArray bytes;
    QString pictyp;
};
std::optional<StoredFile> pictureFile(qint64 pictureId);

// The file name a document is saved under: the chosen name followed by the
// stored extension, unless the name already ends with it.
QString savedName(const QString& chosen, const QString& pictyp);

Outcome deletePicture(qint64 pictureId);

// ---------------------------------------------------------------- the checklist

// Every document type (the setting "انواع مدارک موجود در پرونده"), sorted.
QStringList documentTypes();
// The types not yet recorded for the applicant.
QStringList missingTypes(qint64 customerId);
// The recorded ones.
ListQuery presentQuery(qint64 customerId);

// Records the ticked types the applicant's file does not yet hold, in one
// transaction with its log row; "ثبت شد" after the commit.
Outcome recordTypes(qint64 customerId, const QStringList& ticked);
// Removes a recorded type with its log row; "حذف شد" after the commit.
Outcome removeType(qint64 customerId, qint64 savabeghId);

} // namespace tavrin::applicantfiles
