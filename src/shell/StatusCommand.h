#pragma once

#include <QString>

// `quillfen --status [--watch]`: asks the running instance for its status
// line and prints it, or every line it sends until interrupted. Returns the
// exit status: 1 when no instance runs.
namespace StatusCommand {

int run(bool watch);

} // namespace StatusCommand
