#include "picker.h"

#include "application.h"
#include "form.h"
#include "form_helpers.h"
#include "platform/sys/conversion_error.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>
#include <cmath>

namespace ui {

namespace {

QDate ToQDate(sys::DateTime value) {
    const sys::CalendarDate d = sys::decodeDate(value);
    return QDate(d.year, d.month, d.day);
}

const char* FormatOf(TDateTimeKind kind) {
    switch (kind) {
    case dtkTime:
        return "hh:nn:ss";
    case dtkDateTime:
        return "yyyy. mm. dd. hh:nn";
    case dtkDate:
        break;
    }
    return "yyyy. mm. dd.";
}

} // namespace

TDateTimePicker::TDateTimePicker(QWidget* parent, TDateTimeKind kind)
    : QWidget(Host(parent)), TControl(static_cast<QWidget&>(*this)), kind_(kind),
      editor_(new QLineEdit(this)), dropDown_(new QToolButton(this)) {
    setFocusProxy(editor_);
    setFocusPolicy(Qt::StrongFocus);
    editor_->installEventFilter(this);
    dropDown_->setArrowType(Qt::DownArrow);
    dropDown_->setFocusPolicy(Qt::NoFocus);
    connect(dropDown_, &QToolButton::clicked, this, [this] { OpenCalendar(); });
    connect(editor_, &QLineEdit::textEdited, this,
            [this](const QString& text) { TextEdited(text); });
    // Leaving the box shows a date it took in the usual form; a text that is no date stays.
    connect(editor_, &QLineEdit::editingFinished, this, [this] {
        if (!typedNoDate_)
            ShowValue();
    });
    SetDateTime(sys::now());
    resize(186, 21);
}

void TDateTimePicker::SetKind(TDateTimeKind kind) {
    kind_ = kind;
    ShowValue();
}

void TDateTimePicker::ShowValue() {
    typedNoDate_ = false;
    const bool empty = kind_ != dtkTime && value_ < 1 && value_ >= 0;
    editor_->setText(empty ? QString() : Q(sys::formatDateTime(FormatOf(kind_), value_)));
}

std::optional<sys::DateTime> TDateTimePicker::Parse(const QString& text) const {
    const std::string typed = S(text);
    switch (kind_) {
    case dtkTime:
        if (const auto time = sys::tryParseTime(typed))
            return sys::datePart(value_) + *time;
        return std::nullopt;
    case dtkDateTime:
        return sys::tryParseDateTime(typed);
    case dtkDate:
        break;
    }
    if (const auto day = sys::tryParseDate(typed))
        return *day + sys::timePart(value_);
    return std::nullopt;
}

void TDateTimePicker::TextEdited(const QString& text) {
    const std::optional<sys::DateTime> value = Parse(text);
    typedNoDate_ = !value;
    if (value && *value != value_)
        ChangeByUser(*value);
}

void TDateTimePicker::ChangeByUser(sys::DateTime value) {
    value_ = value;
    if (!quiet_ && OnChange)
        Guarded([this] { OnChange(this); });
}

bool TDateTimePicker::Reading() const {
    return isEnabled() && Checked();
}

sys::DateTime TDateTimePicker::DateTime() const {
    if (typedNoDate_ && Reading()) {
        const std::string typed = S(editor_->text().trimmed());
        const std::string what = kind_ == dtkTime ? "időpont" : "dátum";
        if (typed.empty())
            throw sys::ConversionError("A(z) '" + BoxName() + "' értéke üres: kérem adjon meg " +
                                       (kind_ == dtkTime ? "egy időpontot !" : "egy dátumot !"));
        throw sys::ConversionError("A(z) '" + BoxName() + "' értéke ('" + typed +
                                   "') nem érvényes " + what + " !");
    }
    return value_;
}

void TDateTimePicker::SetDateTime(sys::DateTime value) {
    value_ = value;
    ShowValue();
}

sys::DateTime TDateTimePicker::Date() const {
    return sys::datePart(DateTime());
}
void TDateTimePicker::SetDate(sys::DateTime date) {
    SetDateTime(sys::datePart(date) + sys::timePart(value_));
}
sys::DateTime TDateTimePicker::Time() const {
    return sys::timePart(DateTime());
}
void TDateTimePicker::SetTime(sys::DateTime time) {
    SetDateTime(sys::datePart(value_) + sys::timePart(time));
}

std::string TDateTimePicker::BoxName() const {
    const std::string caption = CaptionBeside(*this);
    return caption.empty() ? "Dátum" : caption;
}

void TDateTimePicker::OpenCalendar() {
    if (!editor_->isEnabled())
        return;
    auto* calendar = new QCalendarWidget(this);
    calendar->setWindowFlags(Qt::Popup);
    calendar->setAttribute(Qt::WA_DeleteOnClose);
    calendar->setGridVisible(true);
    calendar->setLocale(QLocale(QLocale::Hungarian, QLocale::Hungary));
    calendar->setFirstDayOfWeek(Qt::Monday);
    if (value_ >= 1)
        calendar->setSelectedDate(ToQDate(value_));
    connect(calendar, &QCalendarWidget::clicked, this, [this, calendar](const QDate& d) {
        const sys::DateTime day = sys::encodeDate(d.year(), d.month(), d.day());
        const sys::DateTime value = day + sys::timePart(value_);
        calendar->close();
        const bool changed = value != value_ || typedNoDate_;
        value_ = value;
        ShowValue();
        if (changed)
            ChangeByUser(value);
        editor_->setFocus();
    });
    calendar->move(mapToGlobal(QPoint(0, height())));
    calendar->show();
    calendar->setFocus();
}

// Up and Down step the day of a date in the box; Alt+Down opens the calendar.
bool TDateTimePicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier)) {
            OpenCalendar();
            return true;
        }
        if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) && kind_ != dtkTime &&
            !typedNoDate_ && value_ >= 1) {
            const double step = key->key() == Qt::Key_Up ? 1 : -1;
            const sys::DateTime value = value_ + step;
            if (value >= 1 && value <= sys::lastValidDay) {
                value_ = value;
                ShowValue();
                ChangeByUser(value);
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TDateTimePicker::SetShowCheckbox(bool show) {
    if (show == ShowCheckbox())
        return;
    if (show) {
        check_ = new QCheckBox(this);
        check_->setChecked(true);
        connect(check_, &QCheckBox::toggled, this, [this](bool on) {
            editor_->setEnabled(on);
            dropDown_->setEnabled(on);
            if (!quiet_ && OnChange)
                Guarded([this] { OnChange(this); });
        });
        check_->show();
    } else {
        delete check_;
        check_ = nullptr;
        editor_->setEnabled(true);
        dropDown_->setEnabled(true);
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
    dropDown_->setEnabled(checked);
    quiet_ = false;
}

void TDateTimePicker::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
}

void TDateTimePicker::Layout() {
    const int boxWidth = check_ ? 20 : 0;
    const int buttonWidth = 16;
    if (check_)
        check_->setGeometry(2, 0, boxWidth, height());
    editor_->setGeometry(boxWidth, 0, width() - boxWidth - buttonWidth, height());
    dropDown_->setGeometry(width() - buttonWidth, 0, buttonWidth, height());
}

} // namespace ui
