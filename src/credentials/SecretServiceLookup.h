#pragma once

#include "credentials/SecretStoreBackend.h"

#include <optional>

// The token read straight over the Secret Service D-Bus API, for the common
// case of an item that is unlocked or absent. libsecret 0.20 leaks about a
// kilobyte on every lookup, and the token is read before every request: in
// a tray that runs for weeks that adds up. Absent whenever this read cannot
// answer for certain (a locked item, a missing service, any error), and the
// caller then asks libsecret, which prompts, and whose error codes the rest
// of the program knows.
namespace SecretServiceLookup {

std::optional<SecretStoreBackend::ReadResult> read(const QByteArray &account = SecretStoreBackend::accountName);

} // namespace SecretServiceLookup
