#include <libsecret/secret.h>

#include "RawSecret.h"

namespace RawSecret {
namespace {

const SecretSchema *schema()
{
    static const SecretSchema generic = {
        "org.freedesktop.Secret.Generic",
        SECRET_SCHEMA_NONE,
        {{"service", SECRET_SCHEMA_ATTRIBUTE_STRING},
         {"account", SECRET_SCHEMA_ATTRIBUTE_STRING},
         {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
        0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    };
    return &generic;
}

} // namespace

std::optional<QByteArray> read()
{
    SecretValue *value = secret_password_lookup_binary_sync(schema(), nullptr, nullptr, "service", "com.quillfen.app",
                                                            "account", "github-token", nullptr);
    if (!value)
        return std::nullopt;
    gsize length = 0;
    const gchar *bytes = secret_value_get(value, &length);
    QByteArray result(bytes, qsizetype(length));
    secret_value_unref(value);
    return result;
}

bool write(const QByteArray &bytes)
{
    SecretValue *value = secret_value_new(bytes.constData(), bytes.size(), "application/octet-stream");
    const bool stored = secret_password_store_binary_sync(schema(), SECRET_COLLECTION_DEFAULT, "test", value, nullptr,
                                                          nullptr, "service", "com.quillfen.app", "account",
                                                          "github-token", nullptr);
    secret_value_unref(value);
    return stored;
}

} // namespace RawSecret
