#pragma once
// The connect procedure shared by the login, the password change, the font
// help and the schema installer: it turns the login's connection choice into a
// connection, reports a failure with the fixed messages and offers the
// connection-settings window so that the user can correct the settings.
#include "db/connection.h"

namespace tavrin {

// The login window's connection choice ("Internet" = built-in, "Local" = stored).
connection::Choice currentChoice();
void setCurrentChoice(connection::Choice c);

// showSettingsWhenMissing: the password change, the font help and the installer
// show the settings window when no settings are stored; the login does not.
// forInstaller: the schema installer may create a new SQLite data file at the
// stored path; every other caller needs the file to exist.
// A connection that succeeds is remembered as the choice of the next start.
// "Internet" without a system connection file opens the embedded data file:
// while connection settings are stored for the user and that file holds no
// project, applicant or pre-registration, the user is asked first (work
// entered there would not reach the stored server).
bool connectProcedure(connection::Choice choice, bool showSettingsWhenMissing, bool forInstaller = false);

// The database a connection reaches, for the user: the backend and the server
// and database, or the data file (each value kept left to right).
QString connectionCaption(const ConnectionParams& p);

} // namespace tavrin
