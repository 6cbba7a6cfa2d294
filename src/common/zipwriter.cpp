#include "zipwriter.h"

#include <QDateTime>
#include <QSaveFile>
#include <QTemporaryFile>

#include <zlib.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace tavrin {

namespace zipparts {

constexpr int kLevel = Z_BEST_SPEED;
constexpr qint64 kZipLimit = 0xFFFFFFFFLL;   // sizes and offsets without the zip64 extension

void put16(QByteArray& out, quint32 v)
{
    out.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
}

void put32(QByteArray& out, quint32 v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

// A raw deflate stream (no zlib header), fed piece by piece.
class Deflater {
public:
    Deflater()
    {
        m_ok = deflateInit2(&m_z, kLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~Deflater() { deflateEnd(&m_z); }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // Compresses data; flush is Z_NO_FLUSH, Z_SYNC_FLUSH (end on a byte
    // boundary, stream not ended) or Z_FINISH.  sink(bytes, n) takes the output.
    template<typename Sink>
    bool feed(const char* data, qsizetype size, int flush, Sink sink)
    {
        if (!m_ok)
            return false;
        m_z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        m_z.avail_in = uInt(size);
        do {
            m_z.next_out = reinterpret_cast<Bytef*>(m_out);
            m_z.avail_out = sizeof m_out;
            const int r = deflate(&m_z, flush);
            if (r == Z_STREAM_ERROR)
                return m_ok = false;
            const qsizetype n = qsizetype(sizeof m_out - m_z.avail_out);
            if (n > 0 && !sink(m_out, n))
                return m_ok = false;
        } while (m_z.avail_out == 0 || m_z.avail_in > 0);
        return true;
    }

private:
    z_stream m_z {};
    bool m_ok = false;
    char m_out[1 << 16];
};

QByteArray deflated(const QByteArray& data, int flush, bool* ok)
{
    QByteArray out;
    Deflater z;
    *ok = z.feed(data.constData(), data.size(), flush, [&](const char* p, qsizetype n) {
        out.append(p, n);
        return true;
    });
    return out;
}

quint32 crcOf(const char* data, qsizetype size, quint32 crc = 0)
{
    return quint32(crc32(crc, reinterpret_cast<const Bytef*>(data), uInt(size)));
}

struct Entry {
    QByteArray name;
    quint32 crc = 0;
    qint64 size = 0;         // uncompressed
    QByteArray packed;       // a short entry's compressed bytes
    qint64 packedSize = 0;
    qint64 offset = 0;       // of its local header in the file
};

} // namespace zipparts

using namespace zipparts;

struct ZipWriter::Impl {
    std::vector<Entry> entries;
    QString firstError;
    // The long entry's middle, compressed by a thread of its own while the
    // rows are read and turned into text: parts wait in a short queue.
    QByteArray longName;
    std::unique_ptr<QTemporaryFile> middle;
    std::unique_ptr<Deflater> deflater;
    quint32 middleCrc = 0;
    qint64 middleSize = 0;
    std::thread worker;
    std::mutex lock;
    std::condition_variable changed;
    std::deque<QByteArray> parts;
    bool ending = false;
    QString workerError;   // under lock
    static constexpr size_t kQueued = 4;

    bool fail(const QString& why)
    {
        if (firstError.isEmpty())
            firstError = why;
        return false;
    }
    bool writeMiddle(const char* p, qsizetype n)
    {
        if (middle->write(p, n) == n)
            return true;
        std::lock_guard g(lock);
        if (workerError.isEmpty())
            workerError = QStringLiteral("cannot write the temporary file: ") + middle->errorString();
        return false;
    }
    void work()
    {
        for (;;) {
            QByteArray part;
            {
                std::unique_lock g(lock);
                changed.wait(g, [&] { return ending || !parts.empty(); });
                if (parts.empty())
                    return;
                part = std::move(parts.front());
                parts.pop_front();
            }
            changed.notify_all();
            middleCrc = crcOf(part.constData(), part.size(), middleCrc);
            middleSize += part.size();
            if (!deflater->feed(part.constData(), part.size(), Z_NO_FLUSH,
                                [&](const char* p, qsizetype n) { return writeMiddle(p, n); })) {
                std::lock_guard g(lock);
                if (workerError.isEmpty())
                    workerError = QStringLiteral("cannot compress the sheet");
                parts.clear();
                ending = true;
                return;
            }
        }
    }
    // Waits for the thread to compress what is queued and end.
    void stop()
    {
        if (!worker.joinable())
            return;
        {
            std::lock_guard g(lock);
            ending = true;
        }
        changed.notify_all();
        worker.join();
        if (!workerError.isEmpty())
            fail(workerError);
    }
    ~Impl() { stop(); }
};

ZipWriter::ZipWriter() : d(std::make_unique<Impl>()) {}
ZipWriter::~ZipWriter() = default;

QString ZipWriter::error() const
{
    return d->firstError;
}

void ZipWriter::add(const QString& name, const QByteArray& data)
{
    Entry e;
    e.name = name.toUtf8();
    e.crc = crcOf(data.constData(), data.size());
    e.size = data.size();
    bool ok = false;
    e.packed = deflated(data, Z_FINISH, &ok);
    if (!ok)
        d->fail(QStringLiteral("cannot compress ") + name);
    e.packedSize = e.packed.size();
    d->entries.push_back(std::move(e));
}

bool ZipWriter::beginLong(const QString& name, QString* error)
{
    d->longName = name.toUtf8();
    d->middle = std::make_unique<QTemporaryFile>();
    d->deflater = std::make_unique<Deflater>();
    if (!d->middle->open()) {
        d->fail(QStringLiteral("cannot make a temporary file: ") + d->middle->errorString());
        if (error)
            *error = d->firstError;
        return false;
    }
    d->worker = std::thread([impl = d.get()] { impl->work(); });
    return true;
}

bool ZipWriter::appendLong(QByteArray part)
{
    if (!d->worker.joinable() || !d->firstError.isEmpty())
        return false;
    std::unique_lock g(d->lock);
    d->changed.wait(g, [&] { return d->ending || d->parts.size() < Impl::kQueued; });
    if (!d->workerError.isEmpty() || d->ending)
        return false;
    d->parts.push_back(std::move(part));
    g.unlock();
    d->changed.notify_all();
    return true;
}

bool ZipWriter::finish(const QString& path, const QByteArray& head, const QByteArray& tail, QString* error)
{
    const auto failed = [&](const QString& why) {
        d->fail(why);
        if (error)
            *error = d->firstError;
        return false;
    };
    if (!d->deflater)
        return failed(QStringLiteral("the long entry was not begun"));
    d->stop();
    if (!d->firstError.isEmpty())
        return failed(d->firstError);
    // The middle ends on a byte boundary without ending the stream.
    if (!d->deflater->feed(nullptr, 0, Z_SYNC_FLUSH, [&](const char* p, qsizetype n) { return d->writeMiddle(p, n); }))
        return failed(QStringLiteral("cannot compress the sheet"));
    bool ok1 = false, ok2 = false;
    const QByteArray headPacked = deflated(head, Z_SYNC_FLUSH, &ok1);
    const QByteArray tailPacked = deflated(tail, Z_FINISH, &ok2);
    if (!ok1 || !ok2)
        return failed(QStringLiteral("cannot compress the sheet"));
    Entry sheet;
    sheet.name = d->longName;
    sheet.crc = crcOf(head.constData(), head.size());
    sheet.crc = quint32(crc32_combine(sheet.crc, d->middleCrc, d->middleSize));
    sheet.crc = quint32(crc32_combine(sheet.crc, crcOf(tail.constData(), tail.size()), tail.size()));
    sheet.size = head.size() + d->middleSize + tail.size();
    sheet.packedSize = headPacked.size() + d->middle->size() + tailPacked.size();
    if (sheet.size > kZipLimit || sheet.packedSize > kZipLimit)
        return failed(QStringLiteral("the sheet is larger than a workbook holds"));

    // DOS date and time of the entries: now, in local time.
    const QDateTime now = QDateTime::currentDateTime();
    const quint32 dosTime = quint32(now.time().hour() << 11 | now.time().minute() << 5 | now.time().second() / 2);
    const quint32 dosDate = quint32((std::max(now.date().year(), 1980) - 1980) << 9 | now.date().month() << 5 | now.date().day());
    const auto header = [&](const Entry& e, bool central) {
        QByteArray h;
        put32(h, central ? 0x02014b50 : 0x04034b50);
        if (central)
            put16(h, 20);   // made by
        put16(h, 20);       // needed to extract: deflate
        put16(h, 0);        // flags
        put16(h, 8);        // deflate
        put16(h, dosTime);
        put16(h, dosDate);
        put32(h, e.crc);
        put32(h, quint32(e.packedSize));
        put32(h, quint32(e.size));
        put16(h, quint32(e.name.size()));
        put16(h, 0);        // extra field
        if (central) {
            put16(h, 0);    // comment
            put16(h, 0);    // disk
            put16(h, 0);    // internal attributes
            put32(h, 0);    // external attributes
            put32(h, quint32(e.offset));
        }
        h += e.name;
        return h;
    };

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return failed(QStringLiteral("cannot write %1: %2").arg(path, out.errorString()));
    qint64 at = 0;
    const auto write = [&](const QByteArray& bytes) {
        at += bytes.size();
        return out.write(bytes) == bytes.size();
    };
    bool ok = true;
    for (Entry& e : d->entries) {
        e.offset = at;
        ok = ok && write(header(e, false)) && write(e.packed);
    }
    sheet.offset = at;
    ok = ok && write(header(sheet, false)) && write(headPacked);
    if (ok && d->middle->seek(0)) {
        QByteArray buffer(1 << 20, Qt::Uninitialized);
        for (;;) {
            const qint64 n = d->middle->read(buffer.data(), buffer.size());
            if (n < 0) {
                ok = false;
                break;
            }
            if (n == 0)
                break;
            ok = out.write(buffer.constData(), n) == n;
            at += n;
            if (!ok)
                break;
        }
    } else {
        ok = false;
    }
    ok = ok && write(tailPacked);
    d->entries.push_back(sheet);
    const qint64 directory = at;
    for (const Entry& e : d->entries)
        ok = ok && write(header(e, true));
    QByteArray end;
    put32(end, 0x06054b50);
    put16(end, 0);
    put16(end, 0);
    put16(end, quint32(d->entries.size()));
    put16(end, quint32(d->entries.size()));
    put32(end, quint32(at - directory));
    put32(end, quint32(directory));
    put16(end, 0);
    ok = ok && write(end) && at <= kZipLimit;
    if (!ok) {
        out.cancelWriting();
        return failed(QStringLiteral("cannot write %1: %2").arg(path, out.errorString()));
    }
    if (!out.commit())
        return failed(QStringLiteral("cannot write %1: %2").arg(path, out.errorString()));
    return true;
}

}   // namespace tavrin
