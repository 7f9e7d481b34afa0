#include "api/ClientError.h"

QString userDescription(const ClientError &error)
{
    return std::visit(
        [](const auto &e) -> QString {
            using E = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<E, TransportError>)
                return e.description;
            else
                return e.errorDescription();
        },
        error);
}
