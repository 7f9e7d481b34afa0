// Thread paths built from any id: the address is always on the API host and
// names exactly one thread, one segment under /notifications/threads/, with
// no query or fragment to smuggle anything else in.

#include "FuzzTarget.h"

#include "api/ApiPaths.h"
#include "api/GitHubEndpoints.h"

#include <QUrl>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString threadId = QString::fromUtf8(fuzzBytes(data, size));
    const QLatin1StringView prefix("/notifications/threads/");
    for (const QString &suffix : {QString(), QStringLiteral("/subscription")}) {
        const std::optional<QString> path = ApiPaths::threadPath(threadId, suffix);
        if (!path) {
            FUZZ_EXPECT(threadId.isEmpty() || threadId == u"." || threadId == u"..");
            continue;
        }
        const QUrl api(GitHubEndpoints::apiBaseUrl());
        const QUrl url(GitHubEndpoints::apiBaseUrl() + *path, QUrl::StrictMode);
        FUZZ_EXPECT(url.isValid());
        FUZZ_EXPECT(url.scheme() == api.scheme() && url.host() == api.host() && url.port() == -1);
        FUZZ_EXPECT(url.userInfo().isEmpty() && !url.hasQuery() && !url.hasFragment());

        const QString encodedPath = url.path(QUrl::FullyEncoded);
        FUZZ_EXPECT(encodedPath.startsWith(prefix) && encodedPath.endsWith(suffix));
        const QString segment = encodedPath.sliced(prefix.size(), encodedPath.size() - prefix.size() - suffix.size());
        FUZZ_EXPECT(!segment.contains(u'/'));
        FUZZ_EXPECT(QUrl::fromPercentEncoding(segment.toLatin1()) == threadId);
    }
    return 0;
}
