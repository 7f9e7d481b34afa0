// An issue's or a pull request's own answer, and a comment's: a state comes
// only from "open" or "closed" (merged and draft only for pull requests, not
// planned only for closed issues), and a bot is a "[bot]" login or a user of
// type "Bot".

#include "FuzzTarget.h"

#include "api/WireDecoding.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

bool botAsWritten(const QJsonObject &body)
{
    const QJsonObject user = body.value(QLatin1StringView("user")).toObject();
    return user.value(QLatin1StringView("login")).toString().endsWith(QLatin1StringView("[bot]"))
           || user.value(QLatin1StringView("type")).toString() == u"Bot";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const QJsonObject body = QJsonDocument::fromJson(bytes).object();
    const QString state = body.value(QLatin1StringView("state")).toString();
    for (const bool pullRequest : {true, false}) {
        const auto decoded = WireDecoding::decodeSubject(bytes, pullRequest);
        const auto *record = std::get_if<WireDecoding::SubjectRecord>(&decoded);
        if (!record)
            continue;
        FUZZ_EXPECT(state == u"open" || state == u"closed");
        FUZZ_EXPECT(record->author.isBot == botAsWritten(body));
        if (pullRequest)
            FUZZ_EXPECT((record->state == SubjectState::merged) == body.value(QLatin1StringView("merged")).toBool());
        else
            FUZZ_EXPECT(record->state == SubjectState::open || record->state == SubjectState::closed
                        || record->state == SubjectState::closedNotPlanned);
        if (record->state != SubjectState::merged)
            FUZZ_EXPECT((record->state == SubjectState::open || record->state == SubjectState::draft)
                        == (state == u"open"));
    }
    const auto comment = WireDecoding::decodeComment(bytes);
    if (const auto *record = std::get_if<WireDecoding::CommentRecord>(&comment))
        FUZZ_EXPECT(record->author.isBot == botAsWritten(body));
    return 0;
}
