#pragma once

#include "FakeGitHubServer.h"

// Points the GitHub client at `server` with the product's time-out and an
// empty revalidation cache, and removes the preferences file.
void useFakeGitHub(const FakeGitHubServer &server);
