#pragma once

#include <QString>

#include <optional>

// Paths on the REST API built from names a response carried. Each name is
// escaped whole, so it stays one path segment and cannot reach another
// endpoint with the user's token; "." and "..", which addresses resolve
// away, are refused.
namespace ApiPaths {

// /notifications/threads/{id}{suffix}; suffix is the client's own ("" or "/subscription").
std::optional<QString> threadPath(const QString &threadId, const QString &suffix);

// /repos/{owner}/{repo}/notifications
std::optional<QString> repositoryPath(const QString &owner, const QString &repo);

} // namespace ApiPaths
