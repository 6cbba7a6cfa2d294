#pragma once
// tavrin-cli: the command-line tool for administrators and scripts.
#include <QStringList>
#include <QTextStream>

namespace tavrin::cli {

// Runs one command (args without the program name); returns the exit code.
int run(const QStringList& args, QTextStream& out, QTextStream& err);
// The program's version ("33.0"), as "--version" prints it and the package carries it.
QString version();

} // namespace tavrin::cli

#include "db/database.h"

#include <QMap>
#include <memory>
#include <optional>

namespace tavrin::cli {
// The connection a command works on: "--builtin", or "--backend sqlite|pg|mssql
// --server S [--database D --user U --password P]", else the stored settings,
// else the built-in connection.
std::optional<ConnectionParams> connectionFromOptions(const QMap<QString, QString>& opts, QTextStream& err);
std::unique_ptr<Database> openFromOptions(const QMap<QString, QString>& opts, QTextStream& err);
// Reads "--name value" pairs (and the flag "--builtin"); false on a name without its value.
bool parseOptions(const QStringList& args, QMap<QString, QString>& opts, QStringList& rest);
} // namespace tavrin::cli
