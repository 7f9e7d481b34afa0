#pragma once

#include <QByteArray>

#include <optional>

// Reads and writes the token item's bytes directly through libsecret, below
// KeychainManager, so tests can see exactly what is stored and plant bytes
// the application would never write.
namespace RawSecret {

std::optional<QByteArray> read();
bool write(const QByteArray &bytes);

} // namespace RawSecret
