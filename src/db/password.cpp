#include "password.h"

#include <sodium.h>

#include <stdexcept>

namespace tavrin::password {

namespace {
void initSodium()
{
    static const bool ok = sodium_init() >= 0;
    if (!ok)
        throw std::runtime_error("libsodium could not be initialised");
}
} // namespace

QString hash(const QString& plain)
{
    initSodium();
    const QByteArray p = plain.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, p.constData(), quint64(p.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return QString::fromLatin1(out);
}

bool isHash(const QString& stored)
{
    return stored.startsWith(QLatin1String("$argon2id$"));
}

bool verify(const QString& plain, const QString& stored)
{
    if (!isHash(stored))
        return plain == stored;
    initSodium();
    const QByteArray p = plain.toUtf8();
    const QByteArray s = stored.toLatin1();
    return crypto_pwhash_str_verify(s.constData(), p.constData(), quint64(p.size())) == 0;
}

bool matches(const QString& plain, const QVariant& storedColumn)
{
    if (!storedColumn.isValid() || storedColumn.isNull())
        return false;
    return verify(plain, storedColumn.toString());
}

} // namespace tavrin::password
