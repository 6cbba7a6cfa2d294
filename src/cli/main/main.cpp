#include "cli/commands.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("norvad"));
    QCoreApplication::setApplicationName(QStringLiteral("Tavrin"));
    QTextStream out(stdout), err(stderr);
    const int rc = tavrin::cli::run(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return rc;
}
