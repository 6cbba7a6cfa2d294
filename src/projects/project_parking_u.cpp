#include "project_parking_u.h"

namespace tavrin {

Tproject_parking::Tproject_parking()
    : TProjectSpaceWindow(spaces::parking(), QStringLiteral("Tproject_parking"), QStringLiteral("پارکينگ هاي پروژه"),
                          QStringLiteral("تعدا پارکينگ ها"))
{
}

} // namespace tavrin
