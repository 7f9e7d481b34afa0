#pragma once

#include <QString>

// The two GitHub addresses the application knows. Kept here and nowhere else.
namespace GitHubEndpoints {

// REST API base: scheme and host, no trailing slash.
inline QString apiBaseUrl()
{
    return QStringLiteral("https://api.github.com");
}

// Web site root: scheme, host and exactly one trailing slash.
inline QString webRootUrl()
{
    return QStringLiteral("https://github.com/");
}

} // namespace GitHubEndpoints
