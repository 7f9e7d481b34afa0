#pragma once

#include <QString>

#include <optional>

// Starting Quillfen at login. Autostart_xdg.cpp writes a file in
// $XDG_CONFIG_HOME/autostart/ that runs the installed command with
// --background; a sandboxed build would provide these functions over the
// background portal (org.freedesktop.portal.Background) instead.
namespace Autostart {

bool isEnabled();
// Writes or removes the entry; the reason when that failed.
std::optional<QString> setEnabled(bool enabled);

// The entry's file, for tests and diagnostics.
QString entryPath();

} // namespace Autostart
