#pragma once
// A relay that makes the throwaway PostgreSQL server look far away: it listens
// on a local TCP port, forwards every connection to the server's Unix socket
// and holds each piece the client sends for a set delay before passing it on,
// so that every round trip (a request and the answer it waits for) costs that
// delay, as between two cities.  It counts round trips: one starts each time
// the client speaks after the server has.
#include "db/database.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace tavrin::test {

class LatencyProxy {
public:
    // socketPath: the server's Unix socket ("<dir>/.s.PGSQL.<port>").
    LatencyProxy(const QString& socketPath, int delayMs);
    ~LatencyProxy();
    LatencyProxy(const LatencyProxy&) = delete;
    LatencyProxy& operator=(const LatencyProxy&) = delete;

    int port() const { return m_port; }
    void setDelay(int ms) { m_delayMs = ms; }
    int delay() const { return m_delayMs; }
    qint64 roundTrips() const { return m_roundTrips; }

    // The same database reached through the relay.
    ConnectionParams through(const ConnectionParams& direct) const;

    // The relay to the server of the PostgreSQL tests (TAVRIN_TEST_PGINFO).
    static std::unique_ptr<LatencyProxy> toTestServer(int delayMs);

private:
    void loop();

    QByteArray m_socketPath;
    int m_listen = -1;
    int m_wake[2] = {-1, -1};
    int m_port = 0;
    std::atomic<int> m_delayMs;
    std::atomic<qint64> m_roundTrips {0};
    std::atomic<bool> m_stop {false};
    std::thread m_thread;
};

// Runs an action five times through the relay, setup (untimed, given the run's
// number) before each; prints "<what> at <delay> ms [<scale>]: <mean round
// trips> round trips, <median> ms", lists the first run's statements when
// TAVRIN_BENCH_TRACE is set, and fails the test when either is over its bound.
void measureFar(LatencyProxy& proxy, const char* what, const QString& scale, double maxTrips,
                const std::function<void(int)>& action, const std::function<void(int)>& setup = {},
                double maxMs = 300);

} // namespace tavrin::test
