#pragma once
// The administrators' commands of tavrin-cli: backup and copy-database.
#include <QStringList>
#include <QTextStream>

namespace tavrin::cli {

int cmdBackup(const QStringList& args, QTextStream& out, QTextStream& err);
int cmdCopyDatabase(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace tavrin::cli
