#pragma once

#include "api/ClientError.h"

#include <QCoro/QCoroTask>
#include <QString>

#include <variant>

// Checks a token the user typed against GitHub's user resource, with the
// same three headers as every GitHub request. Valid exactly when GitHub
// answers 200; a transfer that fails below HTTP is an error.
namespace TokenValidation {

QCoro::Task<std::variant<bool, TransportError>> validate(QString token);

} // namespace TokenValidation
