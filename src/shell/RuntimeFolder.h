#pragma once

#include <QString>

#include <optional>

// Where the single-instance lock and socket live: a folder of this user that
// no one else may enter. $XDG_RUNTIME_DIR when it is one; otherwise a
// private folder Quillfen makes in the user's cache (never a guessable
// name in /tmp, which any local user could make first). Absent when
// neither can be had.
namespace RuntimeFolder {

std::optional<QString> find();

} // namespace RuntimeFolder
