#pragma once

#include <QString>

namespace tavrin {

class Tlogin;

// Sets up the application (right to left, Persian font and translations, the
// log file) and runs it from the splash window to the end of the session.
int runApplication(int argc, char** argv);
// The application-wide settings shared by the program and its tests.
void setUpApplication();
// Opens the program's log file in its data folder (readable by its owner
// alone), where warnings go from then on, after narrowing the data folder;
// returns its path.
QString openLogFile();
// Shows the login window (the first window after the splash), centred on its screen.
Tlogin& showLoginWindow();

} // namespace tavrin
