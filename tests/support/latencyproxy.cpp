#include "latencyproxy.h"

#include "testsupport.h"

#include <QElapsedTimer>
#include <QTest>
#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <deque>
#include <list>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tavrin::test {

namespace {

using Clock = std::chrono::steady_clock;

void nonBlocking(int fd)
{
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

struct Link {
    int client = -1;
    int server = -1;
    std::deque<std::pair<Clock::time_point, QByteArray>> held;  // client -> server, waiting out the delay
    QByteArray toServer, toClient;
    bool serverSpoke = true;  // the client's first words start a round trip
    bool serverGone = false;
    bool closed = false;
};

// Writes what it can of buf; false when the peer is gone.
bool flush(int fd, QByteArray& buf)
{
    while (!buf.isEmpty()) {
        const ssize_t n = ::send(fd, buf.constData(), size_t(buf.size()), MSG_NOSIGNAL);
        if (n < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK;
        buf.remove(0, n);
    }
    return true;
}

// Reads what is waiting; false at the end of the stream.
bool drain(int fd, QByteArray& into)
{
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n > 0) {
            into.append(chunk, n);
            continue;
        }
        if (n == 0)
            return false;
        return errno == EAGAIN || errno == EWOULDBLOCK;
    }
}

} // namespace

LatencyProxy::LatencyProxy(const QString& socketPath, int delayMs)
    : m_socketPath(socketPath.toLocal8Bit()), m_delayMs(delayMs)
{
    m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    if (::bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(m_listen, 16) != 0)
        qFatal("latency proxy: cannot listen on the loopback");
    socklen_t len = sizeof a;
    ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len);
    m_port = ntohs(a.sin_port);
    nonBlocking(m_listen);
    if (::pipe(m_wake) != 0)
        qFatal("latency proxy: no pipe");
    m_thread = std::thread([this] { loop(); });
}

LatencyProxy::~LatencyProxy()
{
    m_stop = true;
    const char c = 0;
    (void)!::write(m_wake[1], &c, 1);
    m_thread.join();
    ::close(m_listen);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

ConnectionParams LatencyProxy::through(const ConnectionParams& direct) const
{
    ConnectionParams p = direct;
    p.server = QStringLiteral("127.0.0.1,%1").arg(m_port);
    return p;
}

std::unique_ptr<LatencyProxy> LatencyProxy::toTestServer(int delayMs)
{
    const auto info = pgServerInfo();
    const QString path = info.value(QStringLiteral("HOST")) + QStringLiteral("/.s.PGSQL.") + info.value(QStringLiteral("PORT"));
    return std::make_unique<LatencyProxy>(path, delayMs);
}

void LatencyProxy::loop()
{
    std::list<Link> links;
    while (!m_stop) {
        const auto now = Clock::now();
        // Pass on what has waited long enough.
        int timeout = -1;
        for (Link& l : links) {
            while (!l.held.empty() && l.held.front().first <= now) {
                l.toServer += l.held.front().second;
                l.held.pop_front();
            }
            if (!l.toServer.isEmpty() && !flush(l.server, l.toServer))
                l.closed = true;
            if (!l.held.empty()) {
                const auto wait = std::chrono::ceil<std::chrono::milliseconds>(l.held.front().first - now).count();
                timeout = timeout < 0 ? int(wait) : std::min(timeout, int(wait));
            }
        }
        for (auto it = links.begin(); it != links.end();) {
            if (it->closed) {
                ::close(it->client);
                ::close(it->server);
                it = links.erase(it);
            } else {
                ++it;
            }
        }

        std::vector<pollfd> fds {{m_listen, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        for (const Link& l : links) {
            fds.push_back({l.client, short(POLLIN | (l.toClient.isEmpty() ? 0 : POLLOUT)), 0});
            fds.push_back({l.server, short(POLLIN | (l.toServer.isEmpty() ? 0 : POLLOUT)), 0});
        }
        if (::poll(fds.data(), nfds_t(fds.size()), timeout) < 0)
            continue;
        if (fds[1].revents)
            break;
        if (fds[0].revents & POLLIN) {
            for (int c; (c = ::accept(m_listen, nullptr, nullptr)) >= 0;) {
                const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
                sockaddr_un u {};
                u.sun_family = AF_UNIX;
                qstrncpy(u.sun_path, m_socketPath.constData(), sizeof u.sun_path);
                if (::connect(s, reinterpret_cast<sockaddr*>(&u), sizeof u) != 0) {
                    ::close(s);
                    ::close(c);
                    continue;
                }
                const int one = 1;
                ::setsockopt(c, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                nonBlocking(c);
                nonBlocking(s);
                Link l;
                l.client = c;
                l.server = s;
                links.push_back(std::move(l));
            }
        }
        const auto arrived = Clock::now();
        size_t i = 2;
        for (Link& l : links) {
            if (i >= fds.size())
                break;  // accepted during this turn
            const pollfd& cf = fds[i++];
            const pollfd& sf = fds[i++];
            if (cf.revents & (POLLIN | POLLHUP | POLLERR)) {
                QByteArray got;
                const bool open = drain(l.client, got);
                if (!got.isEmpty()) {
                    if (l.serverSpoke) {
                        ++m_roundTrips;
                        l.serverSpoke = false;
                    }
                    l.held.emplace_back(arrived + std::chrono::milliseconds(m_delayMs.load()), got);
                }
                if (!open)
                    l.closed = true;
            }
            if (sf.revents & (POLLIN | POLLHUP | POLLERR)) {
                if (!drain(l.server, l.toClient))
                    l.serverGone = true;
                if (!l.toClient.isEmpty())
                    l.serverSpoke = true;
            }
            if (!l.toClient.isEmpty() && !flush(l.client, l.toClient))
                l.closed = true;
            if (l.serverGone && l.toClient.isEmpty())
                l.closed = true;
        }
    }
    for (Link& l : links) {
        ::close(l.client);
        ::close(l.server);
    }
}

void measureFar(LatencyProxy& proxy, const char* what, const QString& scale, double maxTrips,
                const std::function<void(int)>& action, const std::function<void(int)>& setup, double maxMs)
{
    const int runs = 5;
    QList<double> times;
    qint64 trips = 0;
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup(i);
        const qint64 before = proxy.roundTrips();
        if (i == 0 && qEnvironmentVariableIsSet("TAVRIN_BENCH_TRACE"))
            dm().setStatementHook([what](const QString& sql) { qInfo("  %s: %s", what, qPrintable(sql.left(160))); });
        QElapsedTimer t;
        t.start();
        action(i);
        times << t.nsecsElapsed() / 1e6;
        trips += proxy.roundTrips() - before;
        dm().setStatementHook({});
    }
    std::sort(times.begin(), times.end());
    const double ms = times[runs / 2];
    qInfo("%s at %d ms [%s]: %.1f round trips, %.1f ms", what, proxy.delay(), qPrintable(scale), double(trips) / runs, ms);
    QVERIFY2(double(trips) / runs <= maxTrips, what);
    TAVRIN_CHECK_TIME(ms < maxMs, what);
}

} // namespace tavrin::test
