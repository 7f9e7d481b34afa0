// An update feed through the parser, the choice of the newest release and
// the version comparison. The comparison must be an order: antisymmetric,
// and transitive on the triples the input makes.

#include "FuzzTarget.h"

#include "updates/Appcast.h"

#include <algorithm>
#include <array>

namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

void checkOrder(const QString &a, const QString &b, const QString &c)
{
    const std::array<const QString *, 3> versions{&a, &b, &c};
    for (const QString *x : versions) {
        FUZZ_EXPECT(Appcast::compareVersions(*x, *x) == 0);
        for (const QString *y : versions) {
            FUZZ_EXPECT(sign(Appcast::compareVersions(*x, *y)) == -sign(Appcast::compareVersions(*y, *x)));
            for (const QString *z : versions) {
                if (Appcast::compareVersions(*x, *y) <= 0 && Appcast::compareVersions(*y, *z) <= 0)
                    FUZZ_EXPECT(Appcast::compareVersions(*x, *z) <= 0);
            }
        }
    }
}

void checkNewest(const QList<AppcastItem> &items, const QString &currentBuild, const QStringList &channels)
{
    const auto allowed = [&channels](const AppcastItem &item) {
        return item.channel.isEmpty() || channels.contains(item.channel);
    };
    const std::optional<AppcastItem> newest = Appcast::newestUpdate(items, currentBuild, channels);
    if (!newest) {
        FUZZ_EXPECT(std::none_of(items.begin(), items.end(), [&](const AppcastItem &item) {
            return allowed(item) && Appcast::compareVersions(item.version, currentBuild) > 0;
        }));
        return;
    }
    FUZZ_EXPECT(items.contains(*newest) && allowed(*newest));
    FUZZ_EXPECT(Appcast::compareVersions(newest->version, currentBuild) > 0);
    for (const AppcastItem &item : items) {
        if (allowed(item))
            FUZZ_EXPECT(Appcast::compareVersions(item.version, newest->version) <= 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzzBytes(data, size);

    // The first three lines, as versions of their own.
    QStringList lines = QString::fromUtf8(input).split(u'\n').mid(0, 3);
    while (lines.size() < 3)
        lines.append(QString());
    checkOrder(lines[0], lines[1], lines[2]);

    const auto parsed = Appcast::parse(input);
    if (const auto *error = std::get_if<AppcastError>(&parsed)) {
        FUZZ_EXPECT(!error->description.isEmpty());
        return 0;
    }
    const QList<AppcastItem> items = std::get<QList<AppcastItem>>(parsed).mid(0, 16);
    for (qsizetype i = 0; i + 2 < items.size(); ++i)
        checkOrder(items[i].version, items[i + 1].version, items[i + 2].version);
    for (const QString &current : {QStringLiteral("0"), QStringLiteral("1.0"), lines[0]}) {
        checkNewest(items, current, {});
        checkNewest(items, current, {QStringLiteral("beta")});
    }
    return 0;
}
