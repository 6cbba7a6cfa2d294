#pragma once
// The parking-space entry window "پارکينگ هاي پروژه".
#include "project_space_u.h"

namespace tavrin {

class Tproject_parking : public TProjectSpaceWindow {
    Q_OBJECT
public:
    Tproject_parking();
};

} // namespace tavrin
