#pragma once
// Where the connection's parameters come from: the built-in connection (the
// login's "Internet" choice) or the settings stored for this user ("Local"),
// kept with QSettings under the organisation key "norvad".
#include "database.h"

#include <optional>

namespace tavrin::connection {

// The stored password is the typed one reversed, every character code lowered by one.
QString scramble(const QString& plain);
QString unscramble(const QString& stored);

// Values of TavrinAuthentication.
inline constexpr auto kAuthSqlServer = "SQL Server";
inline constexpr auto kAuthWindows = "Windows";
inline constexpr auto kAuthAccess = "Access";       // an SQLite data file
inline constexpr auto kAuthPostgres = "PostgreSQL";

struct StoredSettings {
    bool exists = false;
    QString serverName;      // TavrinSqlServerName (host[,port], or the data file's path)
    QString dataBase;        // TavrinDataBase
    QString authentication;  // TavrinAuthentication
    QString userName;        // TavrinUserName
    QString password;        // TavrinPassword, unscrambled
};

StoredSettings readStored();
// Writes the five values in their order; false when the settings cannot be written.
bool writeStored(const StoredSettings& s);

enum class Choice { Internet = 0, Local = 1 };

// The login's last connection choice on this desk, remembered for the user
// (TavrinConnectionChoice: "Internet" or "Local"); nothing when none was
// remembered yet.  A desk set up for a server stays on it at the next start.
std::optional<Choice> rememberedChoice();
void rememberChoice(Choice c);

// The built-in connection: the server named by the organisation's system-wide
// configuration file when one is installed, otherwise the embedded data file in
// the user's data folder.
ConnectionParams builtIn();
QString embeddedDataFile();
QString systemConfigFile();

enum class Problem { None, NoStoredSettings, WindowsLogin, UnknownAuthentication };

struct Resolved {
    std::optional<ConnectionParams> params;
    Problem problem = Problem::None;
    QString authentication;
};

// Turns the login's choice into connection parameters.
Resolved resolve(Choice choice);
// Parameters for stored settings (also used by tavrin-cli).
Resolved fromStored(const StoredSettings& s);

} // namespace tavrin::connection
