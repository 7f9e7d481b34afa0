#pragma once

#include "FakeGitHubServer.h"
#include "ThreadJson.h"

// Points the GitHub client at `server` with the product's time-out, an
// empty revalidation cache and no pause, and removes the preferences file.
void useFakeGitHub(const FakeGitHubServer &server);

// A plain answer, and GitHub's answer listing these threads.
inline ScriptedResponse answer(int status, QByteArray body = {})
{
    return {status, std::move(body), {}, ScriptedResponse::Behaviour::respond};
}

inline ScriptedResponse listAnswer(const QList<WireThread> &threads)
{
    return {200,
            threadsBody(threads),
            {{"Last-Modified", "Wed, 01 May 2024 09:30:00 GMT"}},
            ScriptedResponse::Behaviour::respond};
}

// An http address on loopback where nothing listens.
QString closedLoopbackUrl();

// The token item's bytes, read and written with secret-tool, below
// KeychainManager: what is really stored, and bytes Quillfen never writes.
std::optional<QByteArray> storedSecret();
bool plantSecret(const QByteArray &bytes);
