#include "startup.h"

#include <QApplication>

namespace tavrin {

void setUpApplication()
{
    QApplication::setOrganizationName(QStringLiteral("norvad"));
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    QApplication::setLayoutDirection(Qt::RightToLeft);
}

int runApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    setUpApplication();
    return 0;
}

} // namespace tavrin
