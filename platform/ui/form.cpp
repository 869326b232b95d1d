#include "form.h"

#include "application.h"
#include "canvas.h"
#include "control.h"
#include "controls.h"
#include "menus.h"
#include "platform/db/dataset.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <algorithm>
#include <stdexcept>

namespace ui {

// The client area: controls sit on it, and it shows what was drawn on the canvas.
class FormClient : public QWidget {
public:
    FormClient(TForm& form) : QWidget(&form), form_(form) {}

protected:
    void paintEvent(QPaintEvent*) override { form_.PaintClient(*this); }

private:
    TForm& form_;
};

namespace {

int VirtualKey(const QKeyEvent& event) {
    int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key; // the same codes as the original's
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return VK_F1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return 0x25;
    case Qt::Key_Up:
        return 0x26;
    case Qt::Key_Right:
        return 0x27;
    case Qt::Key_Down:
        return 0x28;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return 0x2E;
    default:
        return 0;
    }
}

int ShiftState(const QKeyEvent& event) {
    int shift = 0;
    if (event.modifiers() & Qt::ShiftModifier)
        shift |= ssShift;
    if (event.modifiers() & Qt::ControlModifier)
        shift |= ssCtrl;
    if (event.modifiers() & Qt::AltModifier)
        shift |= ssAlt;
    return shift;
}

bool IsEnter(const QKeyEvent& event) {
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

// The character a key-press handler sees for a key, 0 for none.
TKey CharOf(const QKeyEvent& event) {
    bool ctrl = (event.modifiers() & Qt::ControlModifier) && !(event.modifiers() & Qt::AltModifier);
    if (ctrl && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return static_cast<TKey>(event.key() - Qt::Key_A + 1);
    if (IsEnter(event))
        return ctrl ? 10 : keyEnter;
    switch (event.key()) {
    case Qt::Key_Backspace:
        return keyBackspace;
    case Qt::Key_Escape:
        return keyEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return keyNone; // Tab moves the focus; no handler sees it
    default:
        break;
    }
    auto text = event.text().toUcs4();
    if (text.isEmpty() || text.front() < 0x20 || text.front() == 0x7F)
        return keyNone;
    return static_cast<TKey>(text.front());
}

bool TakesEnter(QWidget* widget) {
    return dynamic_cast<QPlainTextEdit*>(widget) || dynamic_cast<QTextEdit*>(widget);
}

// The visible, enabled button of the form with the given flag set.
template <class Pick>
TButton* FindButton(QWidget& client, Pick pick) {
    for (TButton* button : client.findChildren<TButton*>())
        if (pick(*button) && button->isVisibleTo(&client) && button->isEnabled())
            return button;
    return nullptr;
}

} // namespace

int Screen::Width() {
    return QGuiApplication::primaryScreen()->geometry().width();
}
int Screen::Height() {
    return QGuiApplication::primaryScreen()->geometry().height();
}

TForm::TForm() : QDialog(nullptr), client_(new FormClient(*this)) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    resize(400, 300);
}

TForm::~TForm() {
    if (Application)
        Application->FormDestroyed(*this);
}

std::string TForm::Caption() const {
    return S(windowTitle());
}
void TForm::SetCaption(const std::string& caption) {
    setWindowTitle(Q(caption));
}

void TForm::SetBounds(int left, int top, int w, int h) {
    move(left, top);
    resize(w, h);
}

// A fixed height, so that a client size set before the items are added stays right.
int TForm::MenuHeight() const {
    return menuBar_ ? std::max(menuBar_->sizeHint().height(), menuBar_->fontMetrics().height() + 10)
                    : 0;
}
int TForm::ClientWidth() const {
    return width();
}
int TForm::ClientHeight() const {
    return height() - MenuHeight();
}
void TForm::SetClientSize(int w, int h) {
    clientSize_ = QSize(w, h);
    resize(w, h + MenuHeight());
}

void TForm::SetWindowState(TWindowState state) {
    windowState_ = state;
    if (isVisible())
        setWindowState(state == wsMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
}

void TForm::SetBorderStyle(TBorderStyle style) {
    if (style == bsToolWindow || style == bsSizeToolWin)
        setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    else if (style == bsDialog || style == bsSingle)
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}

void TForm::SetMenu(TMainMenu* menu) {
    menuBar_ = menu ? &menu->Bar() : nullptr;
    if (clientSize_.isValid())
        SetClientSize(clientSize_.width(), clientSize_.height());
    LayOut();
}

void TForm::LayOut() {
    int top = MenuHeight();
    if (menuBar_)
        menuBar_->setGeometry(0, 0, width(), top);
    client_->setGeometry(0, top, width(), height() - top);
    QSize size = client_->size().expandedTo(picture_.size());
    if (size != picture_.size()) {
        QImage grown(size, QImage::Format_ARGB32_Premultiplied);
        grown.fill(Qt::transparent);
        QPainter(&grown).drawImage(0, 0, picture_);
        picture_ = grown;
    }
}

void TForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOut();
    Fire(OnResize, this);
}

void TForm::PlaceOnScreen() {
    QRect screen = QGuiApplication::primaryScreen()->geometry();
    QWidget* main = Application ? Application->MainForm() : nullptr;
    if (position_ == poScreenCenter || position_ == poDesktopCenter ||
        (position_ == poMainFormCenter && (!main || main == this)))
        move(screen.center() - rect().center());
    else if (position_ == poMainFormCenter)
        move(main->geometry().center() - rect().center());
}

// --- showing ----------------------------------------------------------------------

void TForm::Show() {
    if (clientSize_.isValid() && ClientHeight() != clientSize_.height())
        resize(clientSize_.width(), clientSize_.height() + MenuHeight());
    PlaceOnScreen();
    setWindowState(windowState_ == wsMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
    QDialog::setVisible(true);
    activateWindow();
    if (Application)
        Application->FormShown(*this);
    Fire(OnShow, this);
    Activate();
}

void TForm::Hide() {
    QDialog::setVisible(false);
    if (Application)
        Application->FormHidden(*this);
    Fire(OnHide, this);
}

int TForm::ShowModal() {
    if (modal_ || isVisible())
        throw std::logic_error("Látható ablak nem tehető modálissá: " + Caption());
    ModalScope scope;
    modal_ = true;
    modalResult_ = mrNone;
    struct Reset {
        TForm& form;
        ~Reset() {
            form.modal_ = false;
            if (form.isVisible())
                form.Hide();
        }
    } reset{*this};
    setWindowModality(Qt::ApplicationModal);
    Show();
    RunUntilClosed();
    Hide();
    scope.End();
    return modalResult_;
}

void TForm::RunUntilClosed() {
    for (;;) {
        if (modalResult_ == mrNone)
            Application->Modal().Run(*this);
        if (modalResult_ == mrNone)
            modalResult_ = mrCancel; // the application ends
        if (CloseNow())
            return;
        modalResult_ = mrNone;
    }
}

void TForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseNow())
        return;
    Hide();
    if (Application && Application->MainForm() == this)
        Application->Terminate();
}

bool TForm::CloseNow() {
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    if (!canClose)
        return false;
    TCloseAction action = caHide;
    if (OnClose)
        OnClose(this, action);
    if (action == caNone)
        return false;
    // Last opened, first closed: a detail closes before its master.
    for (auto dataSet = closeOnClose_.rbegin(); dataSet != closeOnClose_.rend(); ++dataSet)
        (*dataSet)->Close();
    closeOnClose_.clear();
    return true;
}

void TForm::CloseOnClose(db::TDataSet* dataSet) {
    if (std::find(closeOnClose_.begin(), closeOnClose_.end(), dataSet) == closeOnClose_.end())
        closeOnClose_.push_back(dataSet);
}

std::vector<db::TDataSet*> TForm::BrowsingDataSets() const {
    std::vector<db::TDataSet*> browsing;
    for (db::TDataSet* dataSet : closeOnClose_)
        if (dataSet->State() == db::DataSetState::Browse)
            browsing.push_back(dataSet);
    return browsing;
}

void TForm::CancelEditsBegun(const std::vector<db::TDataSet*>& browsing) noexcept {
    for (db::TDataSet* dataSet : browsing) {
        // Only a data set still registered: the handler may have closed it.
        if (std::find(closeOnClose_.begin(), closeOnClose_.end(), dataSet) == closeOnClose_.end())
            continue;
        const db::DataSetState state = dataSet->State();
        if (state != db::DataSetState::Edit && state != db::DataSetState::Insert)
            continue;
        try {
            dataSet->Cancel();
        } catch (...) {
            // The first error is the one the user is told of.
        }
    }
}

void TForm::SetModalResult(int result) {
    modalResult_ = result;
}

void TForm::Activate() {
    if (activating_)
        return;
    activating_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{activating_};
    Fire(OnActivate, this);
}

void TForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (modal_)
        modalResult_ = mrCancel;
    else
        Guarded([this] { Close(); });
}

void TForm::contextMenuEvent(QContextMenuEvent* event) {
    if (!popupMenu_) {
        QDialog::contextMenuEvent(event);
        return;
    }
    popupMenu_->Menu().popup(event->globalPos());
    event->accept();
}

void TForm::keyPressEvent(QKeyEvent* event) {
    QWidget::keyPressEvent(event);
}
void TForm::reject() {}
void TForm::accept() {}
void TForm::done(int) {}

// --- focus and keys ---------------------------------------------------------------

QWidget* TForm::ActiveControl() const {
    return client_->focusWidget();
}

void TForm::SetActiveControl(QWidget* control) {
    if (control)
        control->setFocus(Qt::OtherFocusReason);
}

void TForm::SelectNext(bool forward) {
    focusNextPrevChild(forward);
}

void TForm::SetTabOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

void TForm::SetEnterMovesLikeTab(bool on, std::vector<QWidget*> except) {
    enterLikeTab_ = on;
    enterExcept_ = std::move(except);
}

bool TForm::RouteKey(QWidget* target, const QKeyEvent& event) {
    TWMKey msg{VirtualKey(event), ShiftState(event)};
    if (msg.CharCode != 0 && OnShortCut) {
        bool handled = false;
        OnShortCut(msg, handled);
        if (handled)
            return true;
    }
    if (msg.CharCode == VK_F1) {
        ShowHelp(target);
        return true;
    }
    if (IsEnter(event) && !(event.modifiers() & Qt::ControlModifier) && EnterKey(target))
        return true;
    if (event.key() == Qt::Key_Escape && EscapeKey())
        return true;
    TKey key = CharOf(event);
    return key != keyNone && DeliverKeyPress(target, key);
}

void TForm::ShowHelp(QWidget* target) {
    int context = helpContext_;
    for (QWidget* w = target; w && w != this; w = w->parentWidget())
        if (auto* control = dynamic_cast<TControl*>(w); control && control->HelpContext != 0) {
            context = control->HelpContext;
            break;
        }
    if (context != 0)
        Application->HelpContext(context);
    else
        Application->HelpCommand(HELP_FINDER);
}

bool TForm::EnterKey(QWidget* target) {
    // A button inside a box that was hidden while it held the focus is not there to press.
    if (auto* button = dynamic_cast<TButton*>(target)) {
        if (button->isVisibleTo(button->window()))
            button->click();
        return true;
    }
    bool excepted =
        std::find(enterExcept_.begin(), enterExcept_.end(), target) != enterExcept_.end();
    if (enterLikeTab_ && !excepted && !dynamic_cast<QAbstractButton*>(target)) {
        SelectNext(true);
        return true;
    }
    if (enterLikeTab_ || TakesEnter(target))
        return false;
    if (TButton* button = FindButton(*client_, [](TButton& b) { return b.Default(); })) {
        button->click();
        return true;
    }
    return false;
}

bool TForm::EscapeKey() {
    if (TButton* button = FindButton(*client_, [](TButton& b) { return b.Cancel(); })) {
        button->click();
        return true;
    }
    return false;
}

bool TForm::DeliverKeyPress(QWidget* target, TKey& key) {
    if (keyPreview_ && OnKeyPress) {
        OnKeyPress(this, key);
        if (key == keyNone)
            return true;
    }
    TControl* control = ControlOf(target);
    if (control && control->OnKeyPress) {
        control->OnKeyPress(&control->Widget(), key);
        if (key == keyNone)
            return true;
    }
    if (!keyPreview_ && !control && OnKeyPress) {
        OnKeyPress(this, key);
        return key == keyNone;
    }
    return false;
}

// --- drawing ----------------------------------------------------------------------

TCanvas& TForm::Canvas() {
    LayOut();
    if (!canvas_)
        canvas_ = std::make_unique<TCanvas>(picture_);
    if (!painting_)
        client_->update();
    return *canvas_;
}

void TForm::Repaint() {
    client_->update();
}

void TForm::PaintClient(QWidget& client) {
    painting_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{painting_};
    Fire(OnPaint, this);
    QPainter painter(&client);
    painter.drawImage(0, 0, picture_);
}

// --- helpers ----------------------------------------------------------------------

TControl* ControlOf(QWidget* widget) {
    for (QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget())
        if (auto* control = dynamic_cast<TControl*>(w))
            return control;
    return nullptr;
}

TForm* FormOf(QWidget* widget) {
    return widget ? dynamic_cast<TForm*>(widget->window()) : nullptr;
}

QWidget* Host(QWidget* parent) {
    if (auto* form = dynamic_cast<TForm*>(parent))
        return form->Client();
    return parent;
}

} // namespace ui
