#pragma once

#include <QCoro/QCoroTask>
#include <QString>

#include <variant>

// The GitHub CLI (`gh`) as a source of a token: Quillfen asks it, and never
// reads its files.
namespace GitHubCli {

struct Failure {
    // One line for the user: what went wrong, with the CLI's own words.
    QString description;
};

// Whether `gh` is on PATH.
bool isInstalled();

// `gh auth token --hostname <host>`, run without a shell and given ten
// seconds: the token, or why there is none.
QCoro::Task<std::variant<QString, Failure>> token(QString host);

} // namespace GitHubCli
