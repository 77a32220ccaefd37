#pragma once
// Ctrl-C for a command whose worker runs while the caller's event loop turns: SIGINT only sets
// a flag (nothing else is safe in a signal handler); a timer on the loop's thread sees it and
// calls `onInterrupt` once. The previous handler is back when the watch goes.
#include <QTimer>

#include <functional>

namespace Quorvia::cli {

class InterruptWatch
{
public:
    explicit InterruptWatch(std::function<void()> onInterrupt);
    ~InterruptWatch();

    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    bool Interrupted() const;

private:
    QTimer m_timer;
    void (*m_previous)(int) = nullptr;
};

} // namespace Quorvia::cli
