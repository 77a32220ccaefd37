#pragma once
// The seller's login as the workbench hands it to a plug-in. Field order is fixed: the host
// and every plug-in are built against this one header.
#include <QByteArray>
#include <QtGlobal>

namespace Quorvia::core::plugin {

struct LoginRecord
{
    QByteArray accessToken; // open-API access token
    QByteArray appKey;      // open-API application key
    QByteArray appSecret;   // used only to sign requests
    QByteArray fourthText;  // workbench-private; plug-ins do not take it over
    qint64 firstId = -1;    // carried, meaning is the workbench's
    qint64 secondId = -1;
    qint32 stockMode = -1; // 1: stock is not managed through the plug-in
    qint32 shopType = 0;   // 8: shop takes part in comment synchronisation
};

} // namespace Quorvia::core::plugin
