#pragma once
// Files of the program that only their owner may read.  The data file, its
// -wal and -shm files, backups, attachments and scanned documents written to
// disk, the log file and the settings file hold national codes, addresses,
// payments and password hashes: they are created with mode 0600 in folders
// of mode 0700 from their first byte, whatever the user's umask, and what an
// older version left readable by others in the program's data folder is
// narrowed when the program starts.  (Files the user saves elsewhere on
// purpose, such as an exported list or a printed document, are his own
// documents and keep the modes his umask gives them.)
#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace tavrin {

inline constexpr QFileDevice::Permissions kOwnerOnlyFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
inline constexpr QFileDevice::Permissions kOwnerOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

// Makes the folder (and the missing folders above it) with mode 0700, and
// narrows it to that when it exists.  False when it cannot be made.
bool makeOwnerOnlyFolder(const QString& path);
// Narrows an existing file to mode 0600 (nothing when it is absent).
void narrowToOwner(const QString& path);
// Creates an empty file of mode 0600 when none exists (a new data file, a
// backup being written); false when it cannot be created.
bool createOwnerOnlyFile(const QString& path);
// Writes bytes to path atomically: into a new file of mode 0600 beside it,
// renamed over it once complete (an earlier file of that name is replaced,
// its mode with it).  A failure leaves no partial file and gives the reason.
bool writeOwnerOnly(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// The program's data folder (the embedded data file, the log file, the
// attachments folder, templates), made and narrowed to its owner.
QString programDataFolder();
// At start: narrows the data folder, the folders in it to mode 0700 and the
// files in it to 0600 (symbolic links are not followed).
void narrowProgramData();

} // namespace tavrin
