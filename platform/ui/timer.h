#pragma once
// A timer that runs OnTimer every Interval milliseconds while enabled.

#include "types.h"

#include <QObject>
#include <QTimer>

namespace ui {

class TTimer : public QObject {
public:
    explicit TTimer(QObject* owner, int interval = 1000, bool enabled = true);
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    TNotifyEvent OnTimer;

private:
    void Apply();
    QTimer timer_;
    int interval_;
    bool enabled_;
};

} // namespace ui
