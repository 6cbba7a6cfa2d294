#include "privatefiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cstdio>

#include <unistd.h>

namespace tavrin {

namespace {
// permissions() adds the running user's own flags: compare without them.
QFileDevice::Permissions withoutUserFlags(QFileDevice::Permissions p)
{
    return p & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
}

void narrow(const QString& path, QFileDevice::Permissions to)
{
    if (withoutUserFlags(QFile::permissions(path)) != to)
        QFile::setPermissions(path, to);
}
} // namespace

bool makeOwnerOnlyFolder(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QString dir = QDir::cleanPath(QDir(path).absolutePath());
    if (!QFileInfo(dir).isDir()) {
        // Each missing folder on the way is made with the narrow mode itself,
        // never made wider first.
        QStringList missing;
        for (QString d = dir; !QFileInfo::exists(d); d = QFileInfo(d).absolutePath()) {
            missing.prepend(d);
            if (QFileInfo(d).absolutePath() == d)
                break;
        }
        for (const QString& d : std::as_const(missing))
            if (!QDir().mkdir(d, kOwnerOnlyFolder) && !QFileInfo(d).isDir())
                return false;
    }
    narrow(dir, kOwnerOnlyFolder);
    return true;
}

void narrowToOwner(const QString& path)
{
    const QFileInfo f(path);
    if (f.exists() && !f.isSymLink())
        narrow(path, kOwnerOnlyFile);
}

bool createOwnerOnlyFile(const QString& path)
{
    if (QFileInfo::exists(path))
        return true;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnlyFile))
        return false;
    f.close();
    return true;
}

bool writeOwnerOnly(const QString& path, const QByteArray& bytes, QString* error)
{
    // Beside the file, so that the rename stays on one file system; a
    // temporary file is created with mode 0600.
    QTemporaryFile tmp(path + QStringLiteral(".XXXXXX"));
    const auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!tmp.open())
        return fail(tmp.errorString());
    if (tmp.write(bytes) != bytes.size() || !tmp.flush() || ::fsync(tmp.handle()) != 0)
        return fail(tmp.errorString());
    // rename() replaces an earlier file in one step: a reader sees the old
    // file or the new one, never part of it.
    if (std::rename(QFile::encodeName(tmp.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return fail(QStringLiteral("cannot rename %1 to %2").arg(tmp.fileName(), path));
    tmp.setAutoRemove(false);
    return true;
}

QString programDataFolder()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    makeOwnerOnlyFolder(dir);   // (none without a home folder)
    return dir;
}

void narrowProgramData()
{
    const QString dir = programDataFolder();
    if (dir.isEmpty())
        return;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        if (f.isSymLink())
            continue;
        narrow(f.filePath(), f.isDir() ? kOwnerOnlyFolder : kOwnerOnlyFile);
    }
}

} // namespace tavrin
