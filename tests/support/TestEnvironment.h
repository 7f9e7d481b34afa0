#pragma once

#include "FakeGitHubServer.h"

class QQmlEngine;

// Points the GitHub client at `server` with the product's time-out and an
// empty revalidation cache, and removes the preferences file.
void useFakeGitHub(const FakeGitHubServer &server);

// The QML engine as the application sets it up: Fusion style, the Quillfen
// module and the symbol image provider.
void prepareQmlEngine(QQmlEngine &engine);
