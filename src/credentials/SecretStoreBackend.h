#pragma once

#include <QByteArray>

// The platform seam under KeychainManager: raw bytes of a token item. The
// first account's item is `accountName`; every other account has an item of
// its own under the same service. Each platform provides these three
// functions in a file of its own; codes are the platform store's own error
// codes.
namespace SecretStoreBackend {

inline constexpr char serviceName[] = "com.quillfen.app";
inline constexpr char accountName[] = "github-token";

// locked: the item exists, but its keyring stayed locked.
enum class Outcome { ok, notFound, failed, locked };

struct ReadResult {
    Outcome outcome = Outcome::failed;
    int code = 0;
    QByteArray secret;
};

struct WriteResult {
    Outcome outcome = Outcome::failed;
    int code = 0;
};

// With `mayPrompt` false a locked item answers `locked` without asking the
// desktop to unlock it.
ReadResult read(bool mayPrompt, const QByteArray &account = accountName);
// Replaces the item in place, so a failed write leaves the old secret intact.
WriteResult write(const QByteArray &secret, const QByteArray &account = accountName);
// notFound when there was nothing to remove.
WriteResult remove(const QByteArray &account = accountName);

} // namespace SecretStoreBackend
