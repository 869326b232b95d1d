#pragma once
// Menus and the toolbar: the main menu and popup menus built of menu items that can be
// checked, hidden and disabled and run OnClick; a toolbar of picture buttons with hints.

#include "control.h"

#include <QImage>
#include <QToolBar>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QToolButton;

namespace ui {

class TButton;
class TForm;

class TMenuItem {
public:
    TMenuItem(QAction* action, QWidget* menuParent);
    ~TMenuItem();
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    // Adds an item under this one (which becomes a submenu); "-" adds a separator.
    TMenuItem* Add(const std::string& caption);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)).get(); }

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    bool Checked() const;
    void SetChecked(bool checked);
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    // Runs OnClick (errors propagate to the caller); a disabled item does nothing.
    void Click();
    QAction& Action() const { return *action_; }
    QMenu* Submenu() const { return submenu_; }

    TNotifyEvent OnClick;

private:
    QAction* action_;
    QWidget* menuParent_;
    QMenu* submenu_ = nullptr;
    std::vector<std::unique_ptr<TMenuItem>> items_;
};

// A popup menu shown on a right click over the control or form it is attached to.
class TPopupMenu {
public:
    explicit TPopupMenu(QWidget* owner);
    ~TPopupMenu();
    TPopupMenu(const TPopupMenu&) = delete;
    TPopupMenu& operator=(const TPopupMenu&) = delete;
    TMenuItem* Add(const std::string& caption);
    // An item that repeats a button: it clicks the button, and it is enabled exactly while
    // the button is (a button greyed, or on a greyed box, greys its item).
    TMenuItem* Add(const std::string& caption, TButton* button);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)).get(); }
    QMenu& Menu() const { return *menu_; }
    void Popup(int x, int y);

private:
    QMenu* menu_;
    std::vector<std::unique_ptr<TMenuItem>> items_;
};

// The main menu of a form (a menu bar above its client area).
class TMainMenu {
public:
    explicit TMainMenu(TForm* form);
    ~TMainMenu();
    TMainMenu(const TMainMenu&) = delete;
    TMainMenu& operator=(const TMainMenu&) = delete;
    // A top-level menu; an item with OnClick and no subitems is a command of the bar.
    TMenuItem* Add(const std::string& caption);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)).get(); }
    QMenuBar& Bar() const { return *bar_; }

private:
    QMenuBar* bar_;
    std::vector<std::unique_ptr<TMenuItem>> items_;
};

class TToolButton {
public:
    explicit TToolButton(QAction* action) : action_(action) {}
    std::string Hint() const;
    void SetHint(const std::string& hint);
    void SetPicture(const QImage& picture);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    void Click();
    QAction& Action() const { return *action_; }
    TNotifyEvent OnClick;

private:
    QAction* action_;
};

// A toolbar across the top of its parent; buttons show pictures and hints, no captions.
class TToolBar : public QToolBar, public TControl {
public:
    explicit TToolBar(QWidget* parent);
    ~TToolBar() override;
    TToolButton* AddButton(const std::string& hint, const QImage& picture = {});
    void AddSeparator() { addSeparator(); }
    void SetButtonSize(int width, int height);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TToolButton* Buttons(int index) const {
        return buttons_.at(static_cast<std::size_t>(index)).get();
    }
    // The tool button widget showing a button (for tests and screenshots).
    QToolButton* ButtonWidget(const TToolButton* button) const;

private:
    std::vector<std::unique_ptr<TToolButton>> buttons_;
};

} // namespace ui
