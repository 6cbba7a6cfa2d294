#include "secretstore.h"

#ifdef TAVRIN_HAVE_KEYCHAIN
#include <qt6keychain/keychain.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#endif

namespace tavrin::secrets {

namespace {
[[maybe_unused]] bool switchedOff()
{
    return qEnvironmentVariableIntValue("TAVRIN_NO_KEYCHAIN") != 0;
}

#ifdef TAVRIN_HAVE_KEYCHAIN
const QString kService = QStringLiteral("Tavrin");

// Runs a job and waits for it (at most 5 s: a store that does not answer
// counts as none).  True when it finished without error.
bool runJob(QKeychain::Job* job)
{
    if (!QCoreApplication::instance()) {
        delete job;
        return false;
    }
    job->setAutoDelete(false);
    QEventLoop loop;
    bool finished = false;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    job->start();
    if (!finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    const bool ok = finished && job->error() == QKeychain::NoError;
    if (finished)
        delete job;
    else
        job->setAutoDelete(true);  // it deletes itself when the store answers at last
    return ok;
}
#endif
} // namespace

bool available()
{
#ifdef TAVRIN_HAVE_KEYCHAIN
    return !switchedOff();
#else
    return false;
#endif
}

std::optional<QString> read(const QString& key)
{
#ifdef TAVRIN_HAVE_KEYCHAIN
    if (!available())
        return std::nullopt;
    auto* job = new QKeychain::ReadPasswordJob(kService);
    job->setKey(key);
    QString value;
    QObject guard;  // drops the connection should the store answer after the wait
    QObject::connect(job, &QKeychain::Job::finished, &guard, [&value](QKeychain::Job* j) {
        if (j->error() == QKeychain::NoError)
            value = static_cast<QKeychain::ReadPasswordJob*>(j)->textData();
    });
    if (!runJob(job))
        return std::nullopt;
    return value;
#else
    Q_UNUSED(key);
    return std::nullopt;
#endif
}

bool write(const QString& key, const QString& password)
{
#ifdef TAVRIN_HAVE_KEYCHAIN
    if (!available())
        return false;
    auto* job = new QKeychain::WritePasswordJob(kService);
    job->setKey(key);
    job->setTextData(password);
    return runJob(job);
#else
    Q_UNUSED(key);
    Q_UNUSED(password);
    return false;
#endif
}

void remove(const QString& key)
{
#ifdef TAVRIN_HAVE_KEYCHAIN
    if (!available())
        return;
    auto* job = new QKeychain::DeletePasswordJob(kService);
    job->setKey(key);
    runJob(job);
#else
    Q_UNUSED(key);
#endif
}

} // namespace tavrin::secrets
