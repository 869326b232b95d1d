#include "control.h"

#include "menus.h"
#include "platform/db/error.h"
#include "platform/sys/codepage.h"

#include <QMenu>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ui {

namespace {

bool IsValidUtf8(const std::string& bytes) {
    QByteArray data = QByteArray::fromStdString(bytes);
    QString decoded = QString::fromUtf8(data);
    return decoded.toUtf8() == data;
}

} // namespace

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
std::string S(const QString& text) {
    return text.toStdString();
}

void Fire(const TNotifyEvent& event, TObject* sender) {
    if (event)
        event(sender);
}

// --- control -------------------------------------------------------------------------

TControl::TControl(QWidget& widget) : widget_(&widget) {
    widget_->setFocusPolicy(widget_->focusPolicy());
}

TControl::~TControl() = default;

void TControl::SetBounds(int left, int top, int width, int height) {
    widget_->setGeometry(left, top, width, height);
}

bool TControl::TabStop() const {
    return (widget_->focusPolicy() & Qt::TabFocus) != 0;
}

void TControl::SetTabStop(bool stop) {
    widget_->setFocusPolicy(stop ? Qt::StrongFocus : Qt::ClickFocus);
}

std::string TControl::Hint() const {
    return S(widget_->toolTip());
}
void TControl::SetHint(const std::string& hint) {
    widget_->setToolTip(Q(hint));
}

void TControl::SetFocus() {
    widget_->setFocus(Qt::OtherFocusReason);
}

bool TControl::Focused() const {
    return widget_->hasFocus();
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    popupMenu_ = menu;
    widget_->setContextMenuPolicy(menu ? Qt::CustomContextMenu : Qt::DefaultContextMenu);
    QObject::disconnect(widget_, &QWidget::customContextMenuRequested, nullptr, nullptr);
    if (menu)
        QObject::connect(widget_, &QWidget::customContextMenuRequested, widget_,
                         [this](const QPoint& at) {
                             if (popupMenu_)
                                 popupMenu_->Menu().popup(widget_->mapToGlobal(at));
                         });
}

// --- string lists -----------------------------------------------------------------------

int TStrings::Add(const std::string& text) {
    Insert(Count(), text);
    return Count() - 1;
}

void TStrings::AddStrings(const std::vector<std::string>& lines) {
    for (const auto& line : lines)
        Add(line);
}

int TStrings::IndexOf(const std::string& text) const {
    for (int i = 0; i < Count(); ++i)
        if (Strings(i) == text)
            return i;
    return -1;
}

std::string TStrings::Text() const {
    std::string text;
    for (int i = 0; i < Count(); ++i)
        text += Strings(i) + "\n";
    return text;
}

void TStrings::SetText(const std::string& text) {
    Clear();
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        Add(line);
    }
}

std::vector<std::string> TStrings::ToVector() const {
    std::vector<std::string> lines;
    for (int i = 0; i < Count(); ++i)
        lines.push_back(Strings(i));
    return lines;
}

void TStrings::LoadFromFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw db::DbError(file, "a fájl nem nyitható meg");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SetText(IsValidUtf8(bytes) ? bytes : sys::toUtf8(bytes, 1250));
}

std::string TStringList::Strings(int index) const {
    return lines_.at(static_cast<std::size_t>(index));
}

void TStringList::SetStrings(int index, const std::string& text) {
    lines_.at(static_cast<std::size_t>(index)) = text;
}

void TStringList::Insert(int index, const std::string& text) {
    if (index < 0 || index > Count())
        throw std::out_of_range("Listaindex a határokon kívül (" + std::to_string(index) + ")");
    lines_.insert(lines_.begin() + index, text);
}

void TStringList::Delete(int index) {
    Strings(index);
    lines_.erase(lines_.begin() + index);
}

void ControlStrings::Check(int index, int limit) const {
    if (index < 0 || index >= limit)
        throw std::out_of_range("Listaindex a határokon kívül (" + std::to_string(index) + ")");
}

std::string ControlStrings::Strings(int index) const {
    Check(index, Count());
    return hooks_.get(index);
}

void ControlStrings::SetStrings(int index, const std::string& text) {
    Check(index, Count());
    hooks_.set(index, text);
}

void ControlStrings::Insert(int index, const std::string& text) {
    Check(index, Count() + 1);
    hooks_.insert(index, text);
}

void ControlStrings::Delete(int index) {
    Check(index, Count());
    hooks_.erase(index);
}

} // namespace ui
