#pragma once

namespace tavrin {

class Tlogin;

// Sets up the application (right to left, Persian font and translations, the
// log file) and runs it from the splash window to the end of the session.
int runApplication(int argc, char** argv);
// The application-wide settings shared by the program and its tests.
void setUpApplication();
// Shows the login window (the first window after the splash), centred on its screen.
Tlogin& showLoginWindow();

} // namespace tavrin
