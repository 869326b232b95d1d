#pragma once
// What every control shares: position and size in its parent, visibility, enabling,
// tab stop, hint, focus, the enter, exit and key-press events and a popup menu; and the
// string lists (TStrings) behind the items of lists, combo boxes, memos and groups.
//
// Properties are read with their name and written with a Set prefix:
// Edit1->Text(), Edit1->SetText("..."), Panel1->SetVisible(false).

#include "types.h"

#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace ui {

class TPopupMenu;

class TControl {
public:
    explicit TControl(QWidget& widget);
    virtual ~TControl();
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    QWidget& Widget() const { return *widget_; }

    int Left() const { return widget_->x(); }
    int Top() const { return widget_->y(); }
    int Width() const { return widget_->width(); }
    int Height() const { return widget_->height(); }
    void SetLeft(int left) { widget_->move(left, Top()); }
    void SetTop(int top) { widget_->move(Left(), top); }
    void SetWidth(int width) { widget_->resize(width, Height()); }
    void SetHeight(int height) { widget_->resize(Width(), height); }
    void SetBounds(int left, int top, int width, int height);

    // Visible as the form sets it (true even while the form itself is hidden).
    bool Visible() const { return !widget_->isHidden(); }
    void SetVisible(bool visible) { widget_->setVisible(visible); }
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return widget_->isEnabled(); }
    void SetEnabled(bool enabled) { widget_->setEnabled(enabled); }
    // A control out of the tab order is still reached by the mouse.
    bool TabStop() const;
    void SetTabStop(bool stop);
    std::string Hint() const;
    void SetHint(const std::string& hint);
    void SetFocus();
    bool Focused() const;
    void BringToFront() { widget_->raise(); }
    void SetPopupMenu(TPopupMenu* menu);
    TPopupMenu* PopupMenu() const { return popupMenu_; }

    int Tag = 0;
    int HelpContext = 0;

    // Focus enters or leaves the control (for a container: anything inside it).
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyPressEvent OnKeyPress;

private:
    QWidget* widget_;
    TPopupMenu* popupMenu_ = nullptr;
};

// Binds a member function of a form (or any object) as an event handler.
template <class F>
TNotifyEvent Bind(F* self, void (F::*method)(TObject*)) {
    return [self, method](TObject* sender) { (self->*method)(sender); };
}

// A list of strings as the forms use it: Add, Insert, Delete, Clear, Count, Strings,
// IndexOf, Text, LoadFromFile. Lists that belong to a control change the control.
class TStrings {
public:
    virtual ~TStrings() = default;
    virtual int Count() const = 0;
    virtual std::string Strings(int index) const = 0;
    virtual void SetStrings(int index, const std::string& text) = 0;
    virtual void Insert(int index, const std::string& text) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    int Add(const std::string& text);
    void AddStrings(const std::vector<std::string>& lines);
    int IndexOf(const std::string& text) const;
    std::string operator[](int index) const { return Strings(index); }
    // The lines joined, each ended by a line break.
    std::string Text() const;
    void SetText(const std::string& text);
    std::vector<std::string> ToVector() const;
    // Reads a text file: UTF-8 when it is valid UTF-8, else Windows-1250 (the original's
    // files); a missing file raises the framework's file-open error.
    void LoadFromFile(const std::filesystem::path& file);
};

// A free-standing list of strings.
class TStringList : public TStrings {
public:
    int Count() const override { return static_cast<int>(lines_.size()); }
    std::string Strings(int index) const override;
    void SetStrings(int index, const std::string& text) override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override { lines_.clear(); }

private:
    std::vector<std::string> lines_;
};

// A TStrings whose storage is a control's: every change goes through the given hooks.
class ControlStrings : public TStrings {
public:
    struct Hooks {
        std::function<int()> count;
        std::function<std::string(int)> get;
        std::function<void(int, const std::string&)> set;
        std::function<void(int, const std::string&)> insert;
        std::function<void(int)> erase;
        std::function<void()> clear;
    };
    explicit ControlStrings(Hooks hooks) : hooks_(std::move(hooks)) {}
    int Count() const override { return hooks_.count(); }
    std::string Strings(int index) const override;
    void SetStrings(int index, const std::string& text) override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override { hooks_.clear(); }

private:
    void Check(int index, int limit) const;
    Hooks hooks_;
};

// Qt and std strings.
QString Q(const std::string& text);
std::string S(const QString& text);

// Calls a handler if one is set. Handlers run unguarded: an error goes to whoever
// caused the event (the message loop's guard, or the handler that called Click()).
void Fire(const TNotifyEvent& event, TObject* sender);

} // namespace ui
