#pragma once
// A small writer of zip files for the workbooks the program exports: entries
// compressed with deflate at the fastest level, and one entry that may be
// very long and whose beginning is known only at the end (a worksheet's
// column widths come before its rows).  That entry is compressed as it comes
// into a temporary file; at the end its beginning and end are compressed on
// their own and the three pieces joined into one deflate stream (each piece
// but the last ends on a byte boundary with an empty block that does not end
// the stream, so the pieces can follow each other).  Memory stays flat
// however long the entry.
#include <QByteArray>
#include <QString>

#include <memory>

namespace tavrin {

class ZipWriter {
public:
    ZipWriter();
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // A short entry, kept in memory until finish().
    void add(const QString& name, const QByteArray& data);

    // The long entry: its middle, given in any number of parts, compressed
    // by a thread of the writer's own while the caller goes on (a few parts
    // wait at most; appendLong waits when they are queued).
    bool beginLong(const QString& name, QString* error);
    bool appendLong(QByteArray part);
    // Writes the file: the short entries in the order added, then the long
    // entry as head + middle + tail.  A failure leaves no file at path.
    bool finish(const QString& path, const QByteArray& head, const QByteArray& tail, QString* error);

    // The first failure, in English (for the program's log).
    QString error() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}   // namespace tavrin
