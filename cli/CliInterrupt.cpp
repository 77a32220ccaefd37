#include "CliInterrupt.h"

#include <atomic>
#include <csignal>

namespace Quorvia::cli {

namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void setInterrupted(int)
{
    g_interrupted = true;
}

} // namespace

InterruptWatch::InterruptWatch(std::function<void()> onInterrupt)
{
    g_interrupted = false;
    m_previous = std::signal(SIGINT, setInterrupted);
    QObject::connect(&m_timer, &QTimer::timeout, [this, onInterrupt = std::move(onInterrupt)] {
        if (g_interrupted) {
            m_timer.stop();
            onInterrupt();
        }
    });
    m_timer.start(50);
}

InterruptWatch::~InterruptWatch()
{
    m_timer.stop();
    std::signal(SIGINT, m_previous);
}

bool InterruptWatch::Interrupted() const
{
    return g_interrupted;
}

} // namespace Quorvia::cli
