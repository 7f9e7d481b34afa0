#include "settings/Accounts.h"

#include "platform/PreferencesFile.h"

#include <QVariantList>
#include <QVariantMap>

namespace Accounts {
namespace {

QString key()
{
    return QString::fromLatin1(accountsKey);
}

QVariantList stored()
{
    const QVariant value = PreferencesFile::value(key());
    return value.typeId() == QMetaType::QVariantList ? value.toList() : QVariantList();
}

std::optional<Entry> entryOf(const QVariant &element)
{
    if (element.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap object = element.toMap();
    const QVariant host = object.value(QStringLiteral("host"));
    const QVariant login = object.value(QStringLiteral("login"));
    if (host.typeId() != QMetaType::QString || login.typeId() != QMetaType::QString)
        return std::nullopt;
    Entry entry{host.toString(), login.toString()};
    if (!wellFormed(entry))
        return std::nullopt;
    return entry;
}

} // namespace

bool wellFormed(const Entry &entry)
{
    if (entry.host.isEmpty() || entry.login.isEmpty() || entry.host.contains(u'/'))
        return false;
    return std::none_of(entry.login.cbegin(), entry.login.cend(),
                        [](QChar c) { return c == u'/' || c.isSpace() || !c.isPrint(); });
}

QList<Entry> list()
{
    QList<Entry> entries;
    for (const QVariant &element : stored()) {
        const std::optional<Entry> entry = entryOf(element);
        if (entry && !entries.contains(*entry))
            entries.append(*entry);
    }
    return entries;
}

bool add(const Entry &entry)
{
    if (!wellFormed(entry) || list().contains(entry))
        return false;
    QVariantList elements = stored();
    elements.append(QVariantMap{{QStringLiteral("host"), entry.host}, {QStringLiteral("login"), entry.login}});
    PreferencesFile::setValue(key(), elements);
    return true;
}

void remove(const Entry &entry)
{
    QVariantList elements = stored();
    elements.removeIf([&entry](const QVariant &element) { return entryOf(element) == entry; });
    PreferencesFile::setValue(key(), elements);
}

} // namespace Accounts
