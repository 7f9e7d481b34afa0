// A thread-list body through the decoder, the conversion to items and the
// web address. Whatever the body says, an address that passes the guard in
// front of the browser is a page on https://github.com.

#include "FuzzTarget.h"

#include "api/Conversion.h"
#include "api/WireDecoding.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

bool isOnGitHubWeb(const QString &address)
{
    const QLatin1StringView root("https://github.com");
    return address.startsWith(root)
           && (address.size() == root.size() || QStringView(u"/?#").contains(address.at(root.size())));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body = fuzzBytes(data, size);
    const auto decoded = WireDecoding::decodeNotificationList(body);
    if (const auto *error = std::get_if<DecodingError>(&decoded)) {
        FUZZ_EXPECT(!error->description.isEmpty());
        return 0;
    }
    const auto &threads = std::get<QList<GitHubNotification>>(decoded);
    const QJsonDocument document = QJsonDocument::fromJson(body);
    FUZZ_EXPECT(document.isArray() && document.array().size() == threads.size());

    for (const GitHubNotification &thread : threads) {
        const GHNotification item = Conversion::toGHNotification(thread);
        FUZZ_EXPECT(item.id == thread.id);
        const QUrl address(Conversion::webURL(item), QUrl::StrictMode);
        if (Conversion::isGitHubWebPage(address))
            FUZZ_EXPECT(isOnGitHubWeb(address.toString(QUrl::FullyEncoded)));
    }
    return 0;
}
