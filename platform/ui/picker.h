#pragma once
// A date picker: a date, or a date and a time, with an optional check box in front
// (unticked means "no date") and a calendar to pick from. Values are the program's day
// numbers (sys::DateTime); day 0 (30 December 1899, the empty date) shows as a blank box.
//
// What the user types is kept as typed: a text that is a date becomes the value at once,
// one that is not (an impossible day, a half-typed or an emptied box) is never replaced
// by another date. Reading the value then raises a ConversionError that names the box by
// its label ("A(z) 'Dátum' értéke ('2011. 02. 30.') nem érvényes dátum !"), which the
// message loop shows; so read the pickers of a save before writing anything.

#include "control.h"
#include "platform/db/domain.h"
#include "platform/sys/datetime.h"

#include <QWidget>
#include <optional>
#include <string>

class QCheckBox;
class QLineEdit;
class QToolButton;

namespace ui {

enum TDateTimeKind { dtkDate, dtkTime, dtkDateTime };

class TDateTimePicker : public QWidget, public TControl {
public:
    explicit TDateTimePicker(QWidget* parent, TDateTimeKind kind = dtkDate);

    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind kind);
    // The whole value: the date and the time of day it holds. A typed text that is no
    // date raises ConversionError (see above); a disabled or unticked picker gives the
    // value it held before.
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

    // The name the messages give the box: the caption of the label in front of it (or
    // above it), without its colon; "Dátum" when it has none.
    std::string BoxName() const;

    // What day may be entered: the domain of the date field it is written into, which
    // FitToFields gives and TypedValuesValid checks (form_helpers.h).
    const db::Domain& Domain() const { return domain_; }
    void SetDomain(db::Domain domain) { domain_ = std::move(domain); }

    QLineEdit& Editor() const { return *editor_; }
    TNotifyEvent OnChange;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Layout();
    void ShowValue();
    std::optional<sys::DateTime> Parse(const QString& text) const;
    void TextEdited(const QString& text);
    void ChangeByUser(sys::DateTime value);
    void OpenCalendar();
    bool Reading() const;

    TDateTimeKind kind_;
    QCheckBox* check_ = nullptr;
    QLineEdit* editor_;
    QToolButton* dropDown_;
    sys::DateTime value_ = 0;
    bool typedNoDate_ = false; // the box holds a typed text that is no date
    bool quiet_ = false;
    db::Domain domain_;
};

} // namespace ui
