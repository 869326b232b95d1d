#include "menus.h"

#include "application.h"
#include "controls.h"
#include "form.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QToolButton>

namespace ui {

namespace {

QAction* NewAction(const std::string& caption, QObject* parent) {
    auto* action = new QAction(Q(caption), parent);
    action->setSeparator(caption == "-");
    return action;
}

// Keeps the action enabled exactly while the widget is, through its own state and its
// boxes' (Qt tells a widget of every change, its parents' included).
class EnabledFollower : public QObject {
public:
    EnabledFollower(QAction& action, QWidget& widget) : QObject(&action), widget_(&widget) {
        action.setEnabled(widget.isEnabled());
        widget.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget_ && event->type() == QEvent::EnabledChange)
            static_cast<QAction*>(parent())->setEnabled(widget_->isEnabled());
        return false;
    }

private:
    QPointer<QWidget> widget_;
};

void FollowEnabled(QAction& action, QWidget& widget) {
    new EnabledFollower(action, widget);
}

} // namespace

// --- menu items -------------------------------------------------------------------------

TMenuItem::TMenuItem(QAction* action, QWidget* menuParent)
    : action_(action), menuParent_(menuParent) {
    QObject::connect(action_, &QAction::triggered, action_, [this] {
        if (OnClick)
            Guarded([this] { OnClick(action_); });
    });
}

TMenuItem::~TMenuItem() = default;

TMenuItem* TMenuItem::Add(const std::string& caption) {
    if (!submenu_) {
        submenu_ = new QMenu(menuParent_);
        action_->setMenu(submenu_);
    }
    QAction* action = NewAction(caption, submenu_);
    submenu_->addAction(action);
    items_.push_back(std::make_unique<TMenuItem>(action, submenu_));
    return items_.back().get();
}

std::string TMenuItem::Caption() const {
    return S(action_->text());
}
void TMenuItem::SetCaption(const std::string& caption) {
    action_->setText(Q(caption));
}

bool TMenuItem::Checked() const {
    return action_->isChecked();
}

void TMenuItem::SetChecked(bool checked) {
    action_->setCheckable(true);
    action_->setChecked(checked);
}

bool TMenuItem::Visible() const {
    return action_->isVisible();
}
void TMenuItem::SetVisible(bool visible) {
    action_->setVisible(visible);
}
bool TMenuItem::Enabled() const {
    return action_->isEnabled();
}
void TMenuItem::SetEnabled(bool enabled) {
    action_->setEnabled(enabled);
}

void TMenuItem::Click() {
    if (!action_->isEnabled())
        return;
    Fire(OnClick, action_);
}

// --- popup and main menu -----------------------------------------------------------------

TPopupMenu::TPopupMenu(QWidget* owner) : menu_(new QMenu(owner)) {}
TPopupMenu::~TPopupMenu() = default;

TMenuItem* TPopupMenu::Add(const std::string& caption) {
    QAction* action = NewAction(caption, menu_);
    menu_->addAction(action);
    items_.push_back(std::make_unique<TMenuItem>(action, menu_));
    return items_.back().get();
}

TMenuItem* TPopupMenu::Add(const std::string& caption, TButton* button) {
    TMenuItem* item = Add(caption);
    item->OnClick = [button](TObject*) { button->Click(); };
    FollowEnabled(item->Action(), *button);
    return item;
}

void TPopupMenu::Popup(int x, int y) {
    menu_->popup(QPoint(x, y));
}

TMainMenu::TMainMenu(TForm* form) : bar_(new QMenuBar(form)) {
    form->SetMenu(this);
}
TMainMenu::~TMainMenu() = default;

TMenuItem* TMainMenu::Add(const std::string& caption) {
    QAction* action = NewAction(caption, bar_);
    bar_->addAction(action);
    items_.push_back(std::make_unique<TMenuItem>(action, bar_));
    return items_.back().get();
}

// --- toolbar ------------------------------------------------------------------------------

std::string TToolButton::Hint() const {
    return S(action_->toolTip());
}
void TToolButton::SetHint(const std::string& hint) {
    action_->setToolTip(Q(hint));
}

void TToolButton::SetPicture(const QImage& picture) {
    action_->setIcon(QIcon(QPixmap::fromImage(picture)));
}

bool TToolButton::Enabled() const {
    return action_->isEnabled();
}
void TToolButton::SetEnabled(bool enabled) {
    action_->setEnabled(enabled);
}
bool TToolButton::Visible() const {
    return action_->isVisible();
}
void TToolButton::SetVisible(bool visible) {
    action_->setVisible(visible);
}
void TToolButton::Click() {
    if (!action_->isEnabled())
        return;
    Fire(OnClick, action_);
}

TToolBar::TToolBar(QWidget* parent)
    : QToolBar(Host(parent)), TControl(static_cast<QToolBar&>(*this)) {
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setMovable(false);
    setFloatable(false);
    SetButtonSize(39, 38);
    if (QWidget* host = parentWidget())
        setGeometry(0, 0, host->width(), 42);
}

TToolBar::~TToolBar() = default;

TToolButton* TToolBar::AddButton(const std::string& hint, const QImage& picture) {
    auto* action = new QAction(this);
    addAction(action);
    auto button = std::make_unique<TToolButton>(action);
    button->SetHint(hint);
    if (!picture.isNull())
        button->SetPicture(picture);
    TToolButton* added = button.get();
    QObject::connect(action, &QAction::triggered, action, [added] {
        if (added->OnClick)
            Guarded([added] { added->OnClick(&added->Action()); });
    });
    buttons_.push_back(std::move(button));
    return added;
}

void TToolBar::SetButtonSize(int width, int height) {
    setIconSize(QSize(width - 8, height - 8));
}

QToolButton* TToolBar::ButtonWidget(const TToolButton* button) const {
    return dynamic_cast<QToolButton*>(widgetForAction(&button->Action()));
}

} // namespace ui
