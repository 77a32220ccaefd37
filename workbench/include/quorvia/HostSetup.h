#pragma once
// Set-up calls of the AppShare service for the host, which links the library directly. A
// plug-in loading the same library file at run time sees the same process-wide object.
// Without these calls the service reads the login file itself on first use.
#include "quorvia/LoginFile.h"

#include <QtGlobal>

namespace Quorvia::appshare::host {

// Makes `login` the current login, replacing whatever was read before.
void SetLogin(const Quorvia::login::LoginData& login);

// Difference between the marketplace's clock and the local one, in milliseconds.
void SetServerTimeOffset(qint64 msecs);

} // namespace Quorvia::appshare::host
