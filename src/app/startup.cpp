#include "startup.h"

#include "login_u.h"
#include "main_u.h"
#include "splash_frm_u.h"

#include "common/windows.h"
#include "db/database.h"
#include "db/privatefiles.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace tavrin {

namespace {
QFile* g_logFile = nullptr;

// Warnings (failed statements with the driver's text among them) go to the
// program's log file in the user's data folder, not to the user.
void logToFile(QtMsgType type, const QMessageLogContext& ctx, const QString& msg)
{
    static const char* names[] = {"debug", "warning", "critical", "fatal", "info"};
    const QByteArray line = QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + ' ' + names[type] + ' ' +
                            (ctx.category ? ctx.category : "") + ": " + msg.toUtf8() + '\n';
    if (g_logFile && g_logFile->isOpen()) {
        g_logFile->write(line);
        g_logFile->flush();
    }
    if (type != QtDebugMsg && type != QtInfoMsg)
        std::fputs(line.constData(), stderr);
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

QString openLogFile()
{
    // The log holds statements with their values: it and its folder are
    // readable by their owner alone, and what an older version left
    // readable by others in the data folder is narrowed first.
    narrowProgramData();
    delete g_logFile;
    g_logFile = new QFile(QDir(programDataFolder()).filePath(QStringLiteral("tavrin.log")));
    if (g_logFile->open(QIODevice::Append | QIODevice::Text, kOwnerOnlyFile))
        qInstallMessageHandler(logToFile);
    return g_logFile->fileName();
}

void setUpApplication()
{
    QApplication::setOrganizationName(QStringLiteral("norvad"));
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tavrin"));
    QApplication::setLayoutDirection(Qt::RightToLeft);
    if (QFontDatabase::families().contains(QStringLiteral("Noto Sans Arabic"))) {
        QFont f(QStringLiteral("Noto Sans Arabic"));
        f.setPointSize(10);
        QApplication::setFont(f);
    }
    auto* qt = new QTranslator(qApp);
    if (qt->load(QStringLiteral("qtbase_fa"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qt);
    installWindowConventions();
}

Tlogin& showLoginWindow()
{
    // The window centres itself on the screen once its size is known.
    Tlogin& login = window<Tlogin>();
    login.show();
    return login;
}

int runApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    setUpApplication();
    openLogFile();

    {
        Tsplash_frm splash;
        splash.move(splash.screen()->availableGeometry().center() - splash.rect().center());
        splash.show();
        QEventLoop wait;
        QTimer::singleShot(1000, &wait, &QEventLoop::quit);
        wait.exec();
        showLoginWindow();
    }
    const int rc = app.exec();
    destroyMainWindow();
    destroyWindows();
    setDm(nullptr);
    qInstallMessageHandler(nullptr);
    return rc;
}

} // namespace tavrin
