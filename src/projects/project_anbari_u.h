#pragma once
// The storage-room entry window "انباري هاي پروژه".
#include "project_space_u.h"

namespace tavrin {

class Tproject_anbari : public TProjectSpaceWindow {
    Q_OBJECT
public:
    Tproject_anbari();
};

} // namespace tavrin
