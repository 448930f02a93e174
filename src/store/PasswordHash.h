#pragma once
// Passwords are kept as salted Argon2id hashes in libsodium's text form, which carries its own
// salt and cost, so that a hash made at any cost is verified the same way.

#include <QString>

namespace xr {

// The cost of making a hash. The program always uses the interactive cost; the minimum exists
// so that tests can make many accounts quickly.
enum class HashCost { Interactive, Minimum };

// A new hash of `password` with a fresh salt. Throws std::runtime_error when it cannot be made
// (the memory it needs is not there).
QString hashPassword(const QString& password, HashCost cost = HashCost::Interactive);

// Whether `password` is the one `hash` was made from; false for anything that is no such hash.
bool passwordMatches(const QString& hash, const QString& password);

} // namespace xr
