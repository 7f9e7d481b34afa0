#pragma once

#include <QString>

#include <functional>

// One-line diagnostics the user never sees in a window (a sound that could
// not play, a refused desktop notification). They go to standard output.
namespace Diagnostics {

void print(const QString &line);

// Tests collect the lines instead; an empty function restores stdout.
void setSinkForTesting(std::function<void(const QString &)> sink);

} // namespace Diagnostics
