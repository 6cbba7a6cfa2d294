#pragma once
// The schema installer with the rows a new database starts with, shared by
// the connection-settings window, the connect procedure and "tavrin-cli
// install".
#include "db/installer.h"

namespace tavrin {

// Runs the schema installer; a new database also gets the starter set of
// country divisions, so that a project can be registered before the full list
// is imported, and its administrator the rights of every page and the first
// role and user-status lists.
InstallReport installDatabase(Database& db);

} // namespace tavrin
