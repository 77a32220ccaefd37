#pragma once
// The data root ("home") shared by the host and its plug-ins: $QUORVIA_HOME, else
// ~/.local/share/Quorvia. The host exports QUORVIA_HOME (from --home) before loading plug-ins.
#include <QDir>
#include <QString>
#include <QtGlobal>

namespace Quorvia {

inline QString DataRoot()
{
    const QString env = qEnvironmentVariable("QUORVIA_HOME");
    if (!env.isEmpty())
        return QDir::cleanPath(QDir(env).absolutePath());
    return QDir::homePath() + QStringLiteral("/.local/share/Quorvia");
}

} // namespace Quorvia
