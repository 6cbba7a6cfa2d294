#pragma once
// The spreadsheet fuzz programs: reads one file both ways (streamed and whole)
// and checks what any reader of an imported sheet relies on.
#include "fuzz_check.h"

#include "common/spreadsheetreader.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstdlib>
#include <unistd.h>

namespace fuzz {

// A file of this process's own for the input (the reader takes a path).
inline QString scratchPath(const char* suffix)
{
    static const QString path = [suffix] {
        const QString p =
            QDir::tempPath() + QStringLiteral("/tavrin-fuzz-%1%2").arg(getpid()).arg(QLatin1String(suffix));
        static QByteArray name = QFile::encodeName(p);
        std::atexit([] { ::unlink(name.constData()); });
        return p;
    }();
    return path;
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(f.write(bytes) == bytes.size());
}

inline void readAndCheck(const QString& path)
{
    using namespace tavrin;
    int expected = 1;
    int lastPercent = -1;
    QList<QStringList> streamed;
    QString error;
    const bool ok = readSpreadsheetRows(
        path,
        [&](const QStringList& cells, int row) {
            // Rows come in order with none skipped; a row never ends with an empty cell.
            FUZZ_CHECK(row == expected);
            FUZZ_CHECK(cells.isEmpty() || !cells.constLast().isEmpty());
            ++expected;
            streamed.append(cells);
            return true;
        },
        &error,
        [&](int percent) {
            FUZZ_CHECK(percent >= 0 && percent <= 100 && percent != lastPercent);
            lastPercent = percent;
        });
    if (!ok)
        FUZZ_CHECK(!error.isEmpty());

    QString wholeError;
    const auto sheet = readSpreadsheet(path, &wholeError);
    if (!sheet) {
        FUZZ_CHECK(!wholeError.isEmpty());
        return;
    }
    FUZZ_CHECK(ok);
    FUZZ_CHECK(sheet->rows.size() == streamed.size());
    for (qsizetype r = 0; r < sheet->rows.size(); ++r) {
        FUZZ_CHECK(sheet->rows[r].size() == sheet->columnCount);
        FUZZ_CHECK(sheet->rows[r].mid(0, streamed[r].size()) == streamed[r]);
    }
    for (const SheetCell& c : sheet->unreadable)
        FUZZ_CHECK(c.row >= 1 && c.column >= 0 && !c.name().isEmpty());
}

} // namespace fuzz
