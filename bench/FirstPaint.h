#pragma once
// What a start-up child process reports: the moment its window's first paint
// finished (on the system-wide monotonic clock, so the parent can subtract
// the moment it launched the child) and the peak resident memory after the
// window has idled for a while.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>

#include <cstdio>
#include <ctime>

namespace bench {

inline long long MonotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

inline long PeakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Watches one widget. A paint event arrives before the widget paints; the
// zero timer queued then fires once the whole paint pass is done.
class FirstPaintReporter : public QObject {
public:
    FirstPaintReporter(QWidget* watched, int idleMs) : QObject(watched), m_idleMs(idleMs)
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, this, [this] {
                m_paintNs = MonotonicNs();
                QTimer::singleShot(m_idleMs, this, [this] {
                    std::printf("paint_ns=%lld rss_kb=%ld\n", m_paintNs, PeakRssKb());
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                });
            });
        }
        return false;
    }

private:
    int m_idleMs;
    bool m_seen = false;
    long long m_paintNs = 0;
};

// How long a child keeps running after its first paint before it reports its
// peak memory: long enough for work the editor does when idle.
inline constexpr int kChildIdleMs = 1000;

} // namespace bench
