#pragma once
// Users' passwords are kept as salted Argon2id hashes (libsodium).  A value that
// is not a hash is a password stored by an older installation as plain text; it
// still verifies, and the login replaces it by its hash.
#include <QString>
#include <QVariant>

namespace tavrin::password {

QString hash(const QString& plain);
bool isHash(const QString& stored);
bool verify(const QString& plain, const QString& stored);
// The same for the users.ps value as read from the table: an absent password
// (NULL) matches nothing, not even an empty typed password.
bool matches(const QString& plain, const QVariant& storedColumn);

} // namespace tavrin::password
