#pragma once
// The desktop's secret store (through qtkeychain, when the program is built
// with it and a store answers): keeps the stored connection's password out of
// the settings file.  Every call waits for the store at most a few seconds and
// reports failure when there is no store, so that the caller falls back to
// the settings file.  TAVRIN_NO_KEYCHAIN=1 turns the store off (tests).
#include <QString>

#include <optional>

namespace tavrin::secrets {

// Whether this build can use a secret store at all.
bool available();
// The password kept under key, or nothing when there is none or no store.
std::optional<QString> read(const QString& key);
// Keeps password under key; false when no store took it.
bool write(const QString& key, const QString& password);
// Removes what is kept under key (nothing happens without a store).
void remove(const QString& key);

} // namespace tavrin::secrets
