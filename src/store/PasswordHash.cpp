#include "store/PasswordHash.h"

#include <sodium.h>

#include <array>
#include <stdexcept>

namespace xr {

namespace {

void initialiseSodium()
{
    if (sodium_init() < 0)
        throw std::runtime_error(QStringLiteral("无法初始化密码散列库。").toStdString());
}

} // namespace

QString hashPassword(const QString& password, HashCost cost)
{
    initialiseSodium();
    const bool interactive = cost == HashCost::Interactive;
    const unsigned long long opsLimit =
        interactive ? crypto_pwhash_OPSLIMIT_INTERACTIVE : crypto_pwhash_OPSLIMIT_MIN;
    const size_t memLimit = interactive ? crypto_pwhash_MEMLIMIT_INTERACTIVE : crypto_pwhash_MEMLIMIT_MIN;
    const QByteArray text = password.toUtf8();
    std::array<char, crypto_pwhash_STRBYTES> hash{};
    if (crypto_pwhash_str(hash.data(), text.constData(), static_cast<unsigned long long>(text.size()),
                          opsLimit, memLimit) != 0)
        throw std::runtime_error(QStringLiteral("内存不足，无法保存密码。").toStdString());
    return QString::fromLatin1(hash.data());
}

bool passwordMatches(const QString& hash, const QString& password)
{
    initialiseSodium();
    const QByteArray stored = hash.toLatin1();
    if (stored.isEmpty() || stored.size() >= crypto_pwhash_STRBYTES)
        return false;
    const QByteArray text = password.toUtf8();
    return crypto_pwhash_str_verify(stored.constData(), text.constData(),
                                    static_cast<unsigned long long>(text.size())) == 0;
}

} // namespace xr
