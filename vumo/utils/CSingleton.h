#pragma once
// Lazily created process-wide singleton, created under a mutex of its own on first access.
// Lives until the library unloads.
#include <QMutex>
#include <QMutexLocker>

namespace Quorvia::utils {

template <typename T>
class CSingleton
{
public:
    static T* instance()
    {
        QMutexLocker locker(&mutex());
        if (!slot())
            slot() = new T();
        return slot();
    }

protected:
    CSingleton() = default;
    ~CSingleton() = default;

private:
    static QMutex& mutex()
    {
        static QMutex m;
        return m;
    }
    static T*& slot()
    {
        static T* object = nullptr;
        return object;
    }
};

} // namespace Quorvia::utils
