#pragma once
// How long maintenance work reports how far it is and learns that the user
// cancelled it.
#include <QString>

#include <functional>

namespace tavrin {

// Told the work done so far out of total (0 when the total is not known) and
// what is being done; returns false to cancel the work, which then undoes
// what it wrote.
using Progress = std::function<bool(qint64 done, qint64 total, const QString& step)>;

// Thrown inside long work when its Progress asked to cancel.
struct Cancelled {};

// Calls progress (if any) and throws Cancelled when it asks to stop.
inline void report(const Progress& progress, qint64 done, qint64 total, const QString& step = {})
{
    if (progress && !progress(done, total, step))
        throw Cancelled {};
}

} // namespace tavrin
