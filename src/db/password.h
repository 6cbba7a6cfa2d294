#pragma once
// Users' passwords are kept as salted Argon2id hashes (libsodium).  A value that
// is not a hash is a password stored by an older installation as plain text; it
// still verifies, and the login replaces it by its hash.
#include <QString>

namespace tavrin::password {

QString hash(const QString& plain);
bool isHash(const QString& stored);
bool verify(const QString& plain, const QString& stored);

} // namespace tavrin::password
