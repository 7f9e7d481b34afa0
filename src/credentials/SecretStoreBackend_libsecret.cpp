// Secret Service back-end (GNOME Keyring, KWallet, KeePassXC) through
// libsecret's synchronous API, which is safe to call from any thread.

// GLib's headers name struct fields "signals", which Qt defines as a keyword,
// so they come before any Qt header.
#include <libsecret/secret.h>

#include "credentials/SecretStoreBackend.h"
#include "credentials/SecretServiceLookup.h"

#include <memory>

namespace SecretStoreBackend {
namespace {

// The generic-password schema, so secret-tool and password managers see the
// item under the same service and account attributes.
const SecretSchema *tokenSchema()
{
    static const SecretSchema schema = {
        "org.freedesktop.Secret.Generic",
        SECRET_SCHEMA_NONE,
        {
            {"service", SECRET_SCHEMA_ATTRIBUTE_STRING},
            {"account", SECRET_SCHEMA_ATTRIBUTE_STRING},
            {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING},
        },
        0,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
    };
    return &schema;
}

struct ErrorFree {
    void operator()(GError *error) const { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;

struct ValueUnref {
    void operator()(SecretValue *value) const { secret_value_unref(value); }
};
using ValuePtr = std::unique_ptr<SecretValue, ValueUnref>;

} // namespace

ReadResult read(bool mayPrompt, const QByteArray &account)
{
    const std::optional<ReadResult> direct = SecretServiceLookup::read(account);
    if (direct && (direct->outcome != Outcome::locked || !mayPrompt))
        return *direct;
    GError *rawError = nullptr;
    ValuePtr value(secret_password_lookup_binary_sync(tokenSchema(), nullptr, &rawError, "service", serviceName,
                                                      "account", account.constData(), nullptr));
    ErrorPtr error(rawError);
    if (error)
        return {Outcome::failed, error->code, {}};
    if (!value) {
        // libsecret says the same for a missing item and for a prompt that
        // was dismissed: an item still locked tells them apart.
        const std::optional<ReadResult> after = SecretServiceLookup::read(account);
        if (after && after->outcome == Outcome::locked)
            return {Outcome::locked, 0, {}};
        return {Outcome::notFound, 0, {}};
    }
    gsize length = 0;
    const gchar *bytes = secret_value_get(value.get(), &length);
    return {Outcome::ok, 0, QByteArray(bytes, qsizetype(length))};
}

WriteResult write(const QByteArray &secret, const QByteArray &account)
{
    ValuePtr value(secret_value_new(secret.constData(), secret.size(), "text/plain"));
    GError *rawError = nullptr;
    const gboolean stored =
        secret_password_store_binary_sync(tokenSchema(), SECRET_COLLECTION_DEFAULT, "Quillfen GitHub token",
                                          value.get(), nullptr, &rawError, "service", serviceName, "account",
                                          account.constData(), nullptr);
    ErrorPtr error(rawError);
    if (error)
        return {Outcome::failed, error->code};
    return {stored ? Outcome::ok : Outcome::failed, 0};
}

WriteResult remove(const QByteArray &account)
{
    GError *rawError = nullptr;
    const gboolean removed = secret_password_clear_sync(tokenSchema(), nullptr, &rawError, "service", serviceName,
                                                        "account", account.constData(), nullptr);
    ErrorPtr error(rawError);
    if (error)
        return {Outcome::failed, error->code};
    return {removed ? Outcome::ok : Outcome::notFound, 0};
}

} // namespace SecretStoreBackend
