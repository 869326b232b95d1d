#include "picker.h"

#include "application.h"
#include "form.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <cmath>

namespace ui {

namespace {

QDateTime ToQt(sys::DateTime value) {
    sys::DateTimeParts parts = sys::decodeDateTime(value);
    return QDateTime(
        QDate(parts.date.year, parts.date.month, parts.date.day),
        QTime(parts.time.hour, parts.time.minute, parts.time.second, parts.time.millisecond));
}

sys::DateTime FromQt(const QDateTime& value) {
    QDate d = value.date();
    QTime t = value.time();
    return sys::encodeDate(d.year(), d.month(), d.day()) +
           sys::encodeTime(t.hour(), t.minute(), t.second(), t.msec());
}

} // namespace

TDateTimePicker::TDateTimePicker(QWidget* parent, TDateTimeKind kind)
    : QWidget(Host(parent)), TControl(static_cast<QWidget&>(*this)), kind_(kind),
      editor_(new QDateTimeEdit(this)) {
    setFocusProxy(editor_);
    setFocusPolicy(Qt::StrongFocus);
    editor_->setCalendarPopup(true);
    // Day 0, the program's empty date (a land parcel's "no expiry"), shows as a blank
    // field rather than as a date of its own.
    editor_->setMinimumDate(QDate(1899, 12, 30));
    editor_->setSpecialValueText(" ");
    SetDateTime(sys::now());
    ApplyFormat();
    connect(editor_, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (!quiet_ && OnChange)
            Guarded([this] { OnChange(this); });
    });
    resize(186, 21);
}

void TDateTimePicker::SetKind(TDateTimeKind kind) {
    kind_ = kind;
    ApplyFormat();
}

void TDateTimePicker::ApplyFormat() {
    switch (kind_) {
    case dtkDate:
        editor_->setDisplayFormat("yyyy. MM. dd.");
        break;
    case dtkTime:
        editor_->setDisplayFormat("HH:mm:ss");
        break;
    case dtkDateTime:
        editor_->setDisplayFormat("yyyy. MM. dd. HH:mm");
        break;
    }
}

sys::DateTime TDateTimePicker::DateTime() const {
    return FromQt(editor_->dateTime());
}

void TDateTimePicker::SetDateTime(sys::DateTime value) {
    quiet_ = true;
    editor_->setDateTime(ToQt(value));
    quiet_ = false;
}

sys::DateTime TDateTimePicker::Date() const {
    return sys::datePart(DateTime());
}
void TDateTimePicker::SetDate(sys::DateTime date) {
    SetDateTime(sys::datePart(date) + Time());
}
sys::DateTime TDateTimePicker::Time() const {
    return sys::timePart(DateTime());
}
void TDateTimePicker::SetTime(sys::DateTime time) {
    SetDateTime(Date() + sys::timePart(time));
}

void TDateTimePicker::SetShowCheckbox(bool show) {
    if (show == ShowCheckbox())
        return;
    if (show) {
        check_ = new QCheckBox(this);
        check_->setChecked(true);
        connect(check_, &QCheckBox::toggled, this, [this](bool on) {
            editor_->setEnabled(on);
            if (!quiet_ && OnChange)
                Guarded([this] { OnChange(this); });
        });
        check_->show();
    } else {
        delete check_;
        check_ = nullptr;
        editor_->setEnabled(true);
    }
    Layout();
}

bool TDateTimePicker::Checked() const {
    return !check_ || check_->isChecked();
}

void TDateTimePicker::SetChecked(bool checked) {
    if (!check_)
        return;
    quiet_ = true;
    check_->setChecked(checked);
    editor_->setEnabled(checked);
    quiet_ = false;
}

void TDateTimePicker::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
}

void TDateTimePicker::Layout() {
    int boxWidth = check_ ? 20 : 0;
    if (check_)
        check_->setGeometry(2, 0, boxWidth, height());
    editor_->setGeometry(boxWidth, 0, width() - boxWidth, height());
}

} // namespace ui
