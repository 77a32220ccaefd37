#pragma once
// A look at a store file before anything opens it for writing: is it a database at all, does it
// come from a newer release, does another program hold it locked. The host's connection
// switches the journal mode and the schema check creates tables, so both must only ever see a
// file that passed this look; and the look itself waits briefly, where the working
// connections wait ten seconds per statement.
#include <QString>

namespace Quorvia::vumo::database {

enum class StoreFileState { Ready, Damaged, Newer, Locked, Unreadable };

enum class StoreKind { Listings, Categories };

struct StoreFileStatus
{
    StoreFileState state = StoreFileState::Ready;
    QString path;
    QString version;   // as stored; empty when the store has none (yet)
    QString supported; // the version this program writes
    QString detail;    // the driver's text, for the log
};

constexpr int kStartUpBusyTimeoutMs = 1500;

// Never changes the file. A missing or empty file is Ready (the store is created then); a store
// whose stored "Version" is above `currentVersion` is Newer; a store another connection keeps
// from reading, or from writing, for longer than `busyTimeoutMs` is Locked.
StoreFileStatus InspectStoreFile(const QString& path, const QString& currentVersion,
                                 int busyTimeoutMs = kStartUpBusyTimeoutMs);

// What the seller is told: what is wrong with which file and what to do. Empty when Ready.
QString StoreFileMessage(const StoreFileStatus& status, StoreKind kind);

} // namespace Quorvia::vumo::database
