#pragma once
// For the start-up benchmark only: with FARM_BENCH_PAINTED set in the environment, the
// end of the watched window's first paint (the last paint of it or of a control in it
// before the event loop is back) is written to standard output as
// "painted <steady clock in ns> <width> <height> <peak resident KiB> <processor time in
// us>" and the program quits. The benchmark
// times a process from its spawn to that line; the program and the bare Qt window it is
// compared with report the same way.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>

namespace app {

class FirstPaintProbe : public QObject {
public:
    // True when the benchmark asked for the report.
    static bool Wanted() { return std::getenv("FARM_BENCH_PAINTED") != nullptr; }

    // Watches every object of the application for the first paint of the window that
    // `window` gives (read at each paint: the window may not exist yet).
    explicit FirstPaintProbe(std::function<QWidget*()> window) : window_(std::move(window)) {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || reported_)
            return false;
        QWidget* window = window_();
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (!window || !widget || widget->window() != window)
            return false;
        // The paint of the window and of each of its controls: the pass ends with the
        // last, and the report follows once the event loop is back.
        lastPaint_ = std::chrono::steady_clock::now();
        cpuAtPaint_ = ProcessorTime();
        if (!queued_)
            QTimer::singleShot(0, this, [this] { Report(); });
        queued_ = true;
        return false;
    }

private:
    void Report() {
        reported_ = true;
        QCoreApplication::instance()->removeEventFilter(this);
        const QWidget* window = window_();
        std::printf("painted %lld %d %d %ld %lld\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                               lastPaint_.time_since_epoch())
                                               .count()),
                    window ? window->width() : 0, window ? window->height() : 0, PeakKiB(),
                    static_cast<long long>(cpuAtPaint_.count()));
        std::fflush(stdout);
        // Queued: the paint may come before the event loop runs, and a quit then is lost.
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
    }

    // The processor time the process has used so far, all its threads.
    static std::chrono::microseconds ProcessorTime() {
        timespec used{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
        return std::chrono::seconds(used.tv_sec) +
               std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::nanoseconds(used.tv_nsec));
    }

    // The process's peak resident memory so far (Linux; 0 elsewhere).
    static long PeakKiB() {
        long kib = 0;
        if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, status))
                if (std::sscanf(line, "VmHWM: %ld", &kib) == 1)
                    break;
            std::fclose(status);
        }
        return kib;
    }

    std::function<QWidget*()> window_;
    std::chrono::steady_clock::time_point lastPaint_;
    std::chrono::microseconds cpuAtPaint_{0};
    bool queued_ = false;
    bool reported_ = false;
};

} // namespace app
