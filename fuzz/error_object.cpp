// GitHub's error objects: a message is taken only from a JSON object whose
// "message" is a string, and it is that string.

#include "FuzzTarget.h"

#include "api/WireDecoding.h"

#include <QJsonDocument>
#include <QJsonObject>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body = fuzzBytes(data, size);
    const std::optional<GitHubErrorResponse> decoded = WireDecoding::decodeErrorResponse(body);
    const QJsonDocument document = QJsonDocument::fromJson(body);
    const QJsonValue message = document.object().value(QLatin1StringView("message"));
    FUZZ_EXPECT(decoded.has_value() == (document.isObject() && message.isString()));
    if (decoded)
        FUZZ_EXPECT(decoded->message == message.toString());
    return 0;
}
