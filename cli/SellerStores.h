#pragma once
// What every command on a seller's data does first: read the login, hand it to the plug-in
// as the host would, and open the seller's stores checked and upgraded, as the workbench does.
#include "database/StoreFileCheck.h"
#include "quorvia/LoginFile.h"

#include <QIODevice>

#include <initializer_list>

namespace Quorvia::cli {

// False with the reason written to `err` as "<command>：<reason>".
bool OpenSellerStores(const char* command, std::initializer_list<Quorvia::vumo::database::StoreKind> kinds,
                      QIODevice& err, Quorvia::login::LoginData& login);

} // namespace Quorvia::cli
