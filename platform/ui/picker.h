#pragma once
// A date picker: a date, or a date and a time, with an optional check box in front
// (unticked means "no date"). Values are the program's day numbers (sys::DateTime); day 0
// (30 December 1899, the empty date) is the earliest and shows as a blank field.

#include "control.h"
#include "platform/sys/datetime.h"

#include <QWidget>

class QCheckBox;
class QDateTimeEdit;

namespace ui {

enum TDateTimeKind { dtkDate, dtkTime, dtkDateTime };

class TDateTimePicker : public QWidget, public TControl {
public:
    explicit TDateTimePicker(QWidget* parent, TDateTimeKind kind = dtkDate);

    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind kind);
    // The whole value: the date and the time of day it holds.
    sys::DateTime DateTime() const;
    void SetDateTime(sys::DateTime value);
    // The day (midnight) / the time of day (0 <= t < 1).
    sys::DateTime Date() const;
    void SetDate(sys::DateTime date);
    sys::DateTime Time() const;
    void SetTime(sys::DateTime time);

    bool ShowCheckbox() const { return check_ != nullptr; }
    void SetShowCheckbox(bool show);
    bool Checked() const;
    void SetChecked(bool checked);

    QDateTimeEdit& Editor() const { return *editor_; }
    TNotifyEvent OnChange;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Layout();
    void ApplyFormat();
    TDateTimeKind kind_;
    QCheckBox* check_ = nullptr;
    QDateTimeEdit* editor_;
    bool quiet_ = false;
};

} // namespace ui
