#pragma once
// For the start-up benchmark only: with FARM_BENCH_PAINTED set in the environment, the
// first paint of the watched window is written to standard output as
// "painted <steady clock in ns> <width> <height>" and the program quits. The benchmark
// times a process from its spawn to that line; the program and the bare Qt window it is
// compared with report the same way.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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
        if (event->type() != QEvent::Paint || done_)
            return false;
        QWidget* window = window_();
        if (!window || watched != window)
            return false;
        done_ = true;
        QCoreApplication::instance()->removeEventFilter(this);
        // The rest of this paint pass (the window's children) ends before the report.
        QTimer::singleShot(0, this, [this] { Report(); });
        return false;
    }

private:
    void Report() {
        const QWidget* window = window_();
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("painted %lld %d %d\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                    window ? window->width() : 0, window ? window->height() : 0);
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    std::function<QWidget*()> window_;
    bool done_ = false;
};

} // namespace app
