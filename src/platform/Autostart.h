#pragma once

#include <QString>

#include <optional>

// Starting Quillfen at login. On a desktop this is a file in
// $XDG_CONFIG_HOME/autostart/ that runs the installed command with
// --background; a sandboxed build would ask the background portal instead,
// behind the same two calls.
namespace Autostart {

bool isEnabled();
// Writes or removes the entry; the reason when that failed.
std::optional<QString> setEnabled(bool enabled);

// The entry's file, for tests and diagnostics.
QString entryPath();

} // namespace Autostart
