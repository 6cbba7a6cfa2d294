#pragma once
// Attachments (zamaem): files kept in the database under a description, the
// rules for storing them, and the safe writing of a stored file to disk.
//
// A stored attachment is written only into the program's own attachments
// folder, under a name made from its description (path separators, "..", ":"
// and control characters replaced, length capped) and its stored extension
// (used only when it is a dot and 1 to 4 letters or digits).  Files are written
// atomically and readable by their owner alone (the folder too); a failed
// write leaves no partial file and is reported.
#include "common/outcome.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavrin::attachments {

// The folder attachments are opened from (created when missing).
QString folder();
// The description as a file name inside the folder (never empty, never a path).
QString safeBaseName(const QString& description);
// The stored extension when it is safe (".jpg"), otherwise "".
QString safeExtension(const QString& pictype);
// The extension of a chosen file as it is stored: "." + its suffix when safe, else "".
QString extensionOf(const QString& path);

// The checks made before the file is chosen, in order: an empty description,
// a too long description or password, a description already stored (only the
// loan-signature description may hold several files).  Empty when fine.
// Throws DbError.
QString refuseBeforeChoosing(const QString& description, const QString& ramz);
// The extension rules of the descriptions that expect one kind of file.
QString refuseExtension(const QString& description, const QString& extension);

// Stores the chosen file: the checks again (the duplicate check inside the
// transaction), the extension rules, then the row.  A refusal's text is what
// to show instead of "ثبت شد".  Throws DbError.
Outcome store(const QString& description, const QString& ramz, const QString& filePath);

// Writes bytes to path atomically, mode 0600; the error to show, or "" when written.
QString writeFile(const QString& path, const QByteArray& bytes);

struct Stored {
    qint64 id = 0;
    QString cmt, ramz, pictype;
    QByteArray pic;
};
// One attachment with its bytes; nothing when it is gone.  Throws DbError.
std::optional<Stored> read(qint64 id);
// The first attachment of a description (the fixed ones the login offers).
std::optional<Stored> readFirst(const QString& description);

struct Written {
    QString path;   // the file written, empty on failure
    QString error;  // the message to show on failure
};
// Writes the attachment into the attachments folder (replacing an earlier copy).
Written saveToFolder(const Stored& a);
// Writes the attachment to a name the user chose, its safe extension appended.
Written saveAs(const Stored& a, const QString& chosenName);

QStringList descriptions();
// False when nothing was deleted.
bool remove(qint64 id);

extern const QString kWriteFailed;
extern const QString kReadFailed;       // the chosen file cannot be read
extern const QString kSaveFailed;       // the database write failed
extern const QString kOpenFailed;       // reading the attachment failed
extern const QString kDeleteFailed;
extern const QString kWrongRamz;
extern const QString kSavedAt;          // no desktop program opened the written file

} // namespace tavrin::attachments
