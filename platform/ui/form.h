#pragma once
// A form: a top-level window whose controls sit at given pixel positions in its client
// area, with the original's events (FormShow, FormActivate, FormClose, FormKeyPress,
// FormShortCut, FormPaint), modal showing with a modal result, and the keyboard habits
// of the program (Enter like Tab, Ctrl-letter tables, F1 for help).
//
// A form class derives from TForm, creates its controls as members in its constructor,
// hooks its handlers with Handler(&TX::Button1Click) and calls its FormCreate, if it has
// one, at the end of its constructor.

#include "types.h"

#include <QDialog>
#include <QImage>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QMenuBar;

namespace db {
class TDataSet;
}

namespace ui {

class TCanvas;
class TMainMenu;
class TPopupMenu;
class TControl;

enum TPosition { poDesigned, poScreenCenter, poDesktopCenter, poMainFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TBorderStyle { bsSizeable, bsDialog, bsSingle, bsToolWindow, bsSizeToolWin, bsNone };

// The screen the forms are placed on (Screen->Width, Screen->Height of the original).
struct Screen {
    static int Width();
    static int Height();
};

class TForm : public QDialog {
public:
    // The handler parameter types, visible by their short names in every form class.
    using TObject = ui::TObject;
    using TKey = ui::TKey;
    using TCloseAction = ui::TCloseAction;
    using TWMKey = ui::TWMKey;

    TForm();
    ~TForm() override;

    // --- window ---------------------------------------------------------------------
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetLeft(int left) { move(left, y()); }
    void SetTop(int top) { move(x(), top); }
    void SetWidth(int w) { resize(w, height()); }
    void SetHeight(int h) { resize(width(), h); }
    void SetBounds(int left, int top, int w, int h);
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientSize(int w, int h);
    void SetPosition(TPosition position) { position_ = position; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);
    void SetBorderStyle(TBorderStyle style);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int context) { helpContext_ = context; }
    void SetMenu(TMainMenu* menu);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

    // The widget controls are placed on (below the main menu).
    QWidget* Client() const { return client_; }

    // --- showing --------------------------------------------------------------------
    // Shows the form modally and returns its modal result once it closes. FormShow and
    // FormActivate run first; FormCloseQuery and FormClose when it closes.
    int ShowModal();
    void Show();
    void Hide();
    // Closes the form: a modal form ends with mrCancel unless a result is already set.
    void Close();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result);
    bool Modal() const { return modal_; }
    // Runs FormActivate (not while it already runs for this form).
    void Activate();
    // Closes the data set when the form closes, after OnClose, the last one registered
    // first (OpenOnFirstActivate).
    void CloseOnClose(db::TDataSet* dataSet);
    // The data sets closed with the form (CloseOnClose) that are browsing now, and the
    // cancel of the edits or inserts begun on them since: a handler the user ran that
    // failed part-way leaves no half-filled row for a later move or insert to post.
    std::vector<db::TDataSet*> BrowsingDataSets() const;
    void CancelEditsBegun(const std::vector<db::TDataSet*>& browsing) noexcept;

    // --- focus and keys -------------------------------------------------------------
    QWidget* ActiveControl() const;
    void SetActiveControl(QWidget* control);
    // Moves the focus to the next (or previous) control in the tab order.
    void SelectNext(bool forward = true);
    // The tab order of controls, first to last.
    void SetTabOrder(std::initializer_list<QWidget*> controls);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool preview) { keyPreview_ = preview; }
    // Enter moves on like Tab, except on a button (which Enter clicks) and on the
    // controls named here.
    void SetEnterMovesLikeTab(bool on, std::vector<QWidget*> except = {});
    // Routes one key event of a control of this form; true when it was consumed.
    bool RouteKey(QWidget* target, const class QKeyEvent& event);

    // --- drawing --------------------------------------------------------------------
    // The form's canvas; what is drawn stays until the canvas is cleared. OnPaint runs
    // whenever the form is repainted (Repaint asks for it).
    TCanvas& Canvas();
    void Repaint();
    const QImage& Picture() const { return picture_; }

    // --- events ---------------------------------------------------------------------
    TNotifyEvent OnShow;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnHide;
    TNotifyEvent OnPaint;
    TNotifyEvent OnResize;
    TNotifyEvent OnDestroy;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TKeyPressEvent OnKeyPress;
    TShortCutEvent OnShortCut;

    // Binds a member function of the derived form as an event handler.
    template <class F>
    TNotifyEvent Handler(void (F::*method)(TObject*)) {
        F* self = static_cast<F*>(this);
        return [self, method](TObject* sender) { (self->*method)(sender); };
    }
    template <class F>
    TKeyPressEvent Handler(void (F::*method)(TObject*, TKey&)) {
        F* self = static_cast<F*>(this);
        return [self, method](TObject* sender, TKey& key) { (self->*method)(sender, key); };
    }
    template <class F>
    TCloseEvent Handler(void (F::*method)(TObject*, TCloseAction&)) {
        F* self = static_cast<F*>(this);
        return [self, method](TObject* sender, TCloseAction& action) {
            (self->*method)(sender, action);
        };
    }
    template <class F>
    TCloseQueryEvent Handler(void (F::*method)(TObject*, bool&)) {
        F* self = static_cast<F*>(this);
        return
            [self, method](TObject* sender, bool& canClose) { (self->*method)(sender, canClose); };
    }
    template <class F>
    TShortCutEvent Handler(void (F::*method)(TWMKey&, bool&)) {
        F* self = static_cast<F*>(this);
        return [self, method](TWMKey& msg, bool& handled) { (self->*method)(msg, handled); };
    }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A right click on the form, or on a control without a menu of its own, opens the
    // form's popup menu.
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void reject() override;
    void accept() override;
    void done(int result) override;

private:
    friend class FormClient;
    void PlaceOnScreen();
    void RunUntilClosed();
    bool CloseNow(); // FormCloseQuery and FormClose; false when the form stays
    int MenuHeight() const;
    void LayOut();
    void ShowHelp(QWidget* target);
    void PaintClient(QWidget& client);
    bool EnterKey(QWidget* target);
    bool EscapeKey();
    bool DeliverKeyPress(QWidget* target, TKey& key);

    QWidget* client_;
    QMenuBar* menuBar_ = nullptr;
    TPopupMenu* popupMenu_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
    QImage picture_;
    QSize clientSize_; // as the form set it; kept when a menu comes or goes
    TPosition position_ = poDesigned;
    TWindowState windowState_ = wsNormal;
    int helpContext_ = 0;
    int modalResult_ = mrNone;
    bool modal_ = false;
    bool activating_ = false;
    bool painting_ = false;
    bool keyPreview_ = false;
    bool enterLikeTab_ = false;
    std::vector<QWidget*> enterExcept_;
    std::vector<db::TDataSet*> closeOnClose_;
};

// The control that a widget belongs to (a combo box for its inner editor), or null.
TControl* ControlOf(QWidget* widget);
// The form a widget sits on, or null.
TForm* FormOf(QWidget* widget);
// Where a control created with this parent goes: a form's client area, or the parent.
QWidget* Host(QWidget* parent);

// A form created on demand: it is created with the application as owner, stored in
// its global pointer while it lives, and freed when the scope ends; the global pointer
// then refers again to what it referred to before (the start-up instance, or null).
//
//     OwnedForm<TMuvadat> form(Muvadat);
//     form->PlanMode = "terv";
//     form->ShowModal();
template <class F>
class OwnedForm {
public:
    template <class... Args>
    explicit OwnedForm(F*& global, Args&&... args) : global_(global), previous_(global) {
        form_ = std::make_unique<F>(std::forward<Args>(args)...);
        global_ = form_.get();
    }
    ~OwnedForm() {
        form_.reset();
        global_ = previous_;
    }
    OwnedForm(const OwnedForm&) = delete;
    OwnedForm& operator=(const OwnedForm&) = delete;
    F* operator->() const { return form_.get(); }
    F& operator*() const { return *form_; }
    F* get() const { return form_.get(); }

private:
    F*& global_;
    F* previous_;
    std::unique_ptr<F> form_;
};

// Creates a form on demand, shows it modally, frees it; returns its modal result.
template <class F, class... Args>
int ShowModalForm(F*& global, Args&&... args) {
    OwnedForm<F> form(global, std::forward<Args>(args)...);
    return form->ShowModal();
}

} // namespace ui
