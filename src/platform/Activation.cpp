#include "platform/Activation.h"

#include <utility>

namespace Activation {
namespace {

QString &current()
{
    static QString token;
    return token;
}

} // namespace

Scope::Scope(const QString &token) : m_previous(std::exchange(current(), token))
{
}

Scope::~Scope()
{
    current() = m_previous;
}

QString token()
{
    return current();
}

} // namespace Activation
