// The two scalar parsers, each against an independent one: date-times
// against Qt's ISO parser where both accept the text, integers against
// std::from_chars.

#include "FuzzTarget.h"

#include "api/Conversion.h"
#include "api/WireDecoding.h"

#include <QDateTime>

#include <charconv>

namespace {

void checkDateTime(const QString &text)
{
    const std::optional<QDateTime> parsed = WireDecoding::parseInternetDateTime(text);
    if (!parsed)
        return;
    FUZZ_EXPECT(parsed->isValid());
    // Whole seconds and a zone designator: ISO 8601 as Qt reads it too.
    const QDateTime byQt = QDateTime::fromString(text, Qt::ISODate);
    if (byQt.isValid())
        FUZZ_EXPECT(byQt.toMSecsSinceEpoch() == parsed->toMSecsSinceEpoch());
}

void checkInteger(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    const std::optional<qint64> parsed = Conversion::parseStrictInt64(text);
    bool ascii = true;
    for (const QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    if (!ascii || text != QLatin1StringView(bytes)) {
        FUZZ_EXPECT(!parsed);
        return;
    }
    // from_chars takes no "+"; the strict parser takes one before a digit.
    std::string_view digits(bytes.constData(), size_t(bytes.size()));
    if (digits.size() > 1 && digits.front() == '+' && digits[1] != '-')
        digits.remove_prefix(1);
    qint64 expected = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), expected);
    const bool whole = error == std::errc() && end == digits.data() + digits.size();
    FUZZ_EXPECT(parsed.has_value() == whole);
    if (parsed)
        FUZZ_EXPECT(*parsed == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    checkDateTime(QString::fromUtf8(bytes));
    checkInteger(bytes);
    return 0;
}
