#pragma once
// Deletes of important rows ask for the delete password kept in the general
// setting "رمز حذف".  One function asks for it everywhere, so every window
// behaves alike.
#include <QString>

namespace tavrin {

// Asks in a masked box titled "Delete Password" with the window's prompt; true
// only when the answer equals the stored password.  A cancelled box or a wrong
// answer gives false and shows nothing; with no password stored, no answer
// matches (an empty setting must not let every delete through).  A failure to
// read the setting is reported and gives false.
bool askDeletePassword(const QString& prompt);

} // namespace tavrin
