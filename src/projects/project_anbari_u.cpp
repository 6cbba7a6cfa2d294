#include "project_anbari_u.h"

namespace tavrin {

Tproject_anbari::Tproject_anbari()
    : TProjectSpaceWindow(spaces::storage(), QStringLiteral("Tproject_anbari"), QStringLiteral("انباري هاي پروژه"),
                          QStringLiteral("تعدا انباري ها"))
{
}

} // namespace tavrin
