#pragma once

#include "FakeGitHubServer.h"

// Points the GitHub client at `server` with the product's time-out, an
// empty revalidation cache and no pause, and removes the preferences file.
void useFakeGitHub(const FakeGitHubServer &server);

// An http address on loopback where nothing listens.
QString closedLoopbackUrl();
