// Link headers of any shape: the next page the client would fetch is always
// the list it asked for, on the API host, never another address.

#include "FuzzTarget.h"

#include "api/LinkHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray header = fuzzBytes(data, size);
    const QUrl list(QStringLiteral("https://api.github.com/notifications?all=true&per_page=50"));

    const std::optional<QUrl> next = LinkHeader::next(header);
    if (next)
        FUZZ_EXPECT(next->isValid() && !next->isRelative());

    const std::optional<QUrl> page = LinkHeader::nextPageOf(header, list);
    if (!page)
        return 0;
    FUZZ_EXPECT(next && page->query() == next->query());
    FUZZ_EXPECT(page->toString(QUrl::FullyEncoded).startsWith(u"https://api.github.com/notifications"));
    FUZZ_EXPECT(page->host() == u"api.github.com" && page->port() == -1 && page->userInfo().isEmpty());
    FUZZ_EXPECT(page->path() == u"/notifications");
    return 0;
}
