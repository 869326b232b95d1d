#include "timer.h"

#include "application.h"

namespace ui {

TTimer::TTimer(QObject* owner, int interval, bool enabled)
    : QObject(owner), interval_(interval), enabled_(enabled) {
    QObject::connect(&timer_, &QTimer::timeout, this, [this] {
        if (OnTimer)
            Guarded([this] { OnTimer(this); });
    });
    Apply();
}

void TTimer::SetInterval(int milliseconds) {
    interval_ = milliseconds;
    Apply();
}

void TTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}

// The original runs no timer with interval 0.
void TTimer::Apply() {
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

} // namespace ui
