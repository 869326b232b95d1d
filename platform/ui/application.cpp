#include "application.h"

#include "control.h"
#include "form.h"
#include "platform/db/error_text.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFont>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTextBrowser>
#include <QTranslator>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>

namespace ui {

TApplication* Application = nullptr;

namespace {

// What a user's action began on the data sets of the form in front: an action that fails
// part-way is refused, and the rows it began there are dropped, so that a later insert or
// move does not post them half-filled. Rows begun before the action stay as they were.
class RefusedAction {
public:
    RefusedAction() : form_(Application ? Application->ActiveForm() : nullptr) {
        if (form_)
            browsing_ = form_->BrowsingDataSets();
    }
    void Refused() noexcept {
        if (form_)
            form_->CancelEditsBegun(browsing_);
    }

private:
    QPointer<TForm> form_;
    std::vector<db::TDataSet*> browsing_;
};

bool IsInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return false;
    }
}

// The Qt application: key events go to their form's key handling first, and no
// exception crosses Qt's event loop.
class GuardedQtApplication : public QApplication {
public:
    GuardedQtApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override {
        std::optional<RefusedAction> action;
        if (IsInput(event->type()))
            action.emplace();
        try {
            if (event->type() == QEvent::KeyPress && RouteKey(receiver, *event))
                return true;
            return QApplication::notify(receiver, event);
        } catch (...) {
            if (action)
                action->Refused();
            if (Application)
                Application->HandleException();
            return true;
        }
    }

private:
    static bool RouteKey(QObject* receiver, QEvent& event) {
        auto* widget = qobject_cast<QWidget*>(receiver);
        TForm* form = widget ? FormOf(widget) : nullptr;
        return Application && form && form->RouteKey(widget, static_cast<QKeyEvent&>(event));
    }
};

// The controls (innermost first) that hold a widget.
std::vector<TControl*> ControlChain(QWidget* widget) {
    std::vector<TControl*> chain;
    for (QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget())
        if (auto* control = dynamic_cast<TControl*>(w))
            chain.push_back(control);
    return chain;
}

bool Contains(const std::vector<TControl*>& chain, TControl* control) {
    return std::find(chain.begin(), chain.end(), control) != chain.end();
}

// OnExit of every control that the focus left (innermost first), then OnEnter of every
// control it entered (outermost first); a move into another window is no move.
void FocusMoved(QWidget* old, QWidget* now) {
    if (!old || !now || old->window() != now->window())
        return;
    auto left = ControlChain(old);
    auto entered = ControlChain(now);
    for (TControl* control : left)
        if (!Contains(entered, control))
            Fire(control->OnExit, &control->Widget());
    for (auto it = entered.rbegin(); it != entered.rend(); ++it)
        if (!Contains(left, *it))
            Fire((*it)->OnEnter, &(*it)->Widget());
}

std::string WithFullStop(std::string text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return text;
}

} // namespace

// --- help -----------------------------------------------------------------------------

std::string HelpNoticeText(const std::string& topic) {
    return "A program súgója ezen a rendszeren nem érhető el.\n(" + topic + ")";
}

void PageHelpService::ShowTopic(const std::string& helpFile, int context) {
    ShowPageOrNotice(std::to_string(context) + ".html",
                     helpFile + ", " + std::to_string(context) + ". témakör");
}

void PageHelpService::ShowContents(const std::string& helpFile) {
    ShowPageOrNotice("contents.html", helpFile + ", tartalom");
}

void PageHelpService::ShowPageOrNotice(const std::string& page, const std::string& topic) {
    std::filesystem::path file = std::filesystem::path(folder_) / page;
    if (!std::filesystem::exists(file)) {
        Application->Dialogs().Show(
            Message{MessageKind::Note, mtInformation, "Súgó", HelpNoticeText(topic), {mbOK}});
        return;
    }
    QDialog window;
    window.setWindowTitle("Súgó");
    window.resize(640, 480);
    auto* layout = new QVBoxLayout(&window);
    auto* browser = new QTextBrowser(&window);
    browser->setSource(QUrl::fromLocalFile(QString::fromStdString(file.string())));
    layout->addWidget(browser);
    window.exec();
}

// --- modal driver -------------------------------------------------------------------

void EventLoopModalDriver::Run(TForm& form) {
    while (form.ModalResult() == mrNone && !Application->Terminated())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// --- application ----------------------------------------------------------------------

TApplication::TApplication(DialogService& dialogs, HelpService& help, ModalDriver& modal)
    : dialogs_(&dialogs), help_(&help), modal_(&modal) {
    Application = this;
    focusContext_ = std::make_unique<QObject>();
    QObject::connect(qApp, &QApplication::focusChanged, focusContext_.get(),
                     [](QWidget* old, QWidget* now) { Guarded([&] { FocusMoved(old, now); }); });
}

TApplication::~TApplication() {
    while (!owned_.empty())
        owned_.pop_back();
    focusContext_.reset();
    if (Application == this)
        Application = nullptr;
}

void TApplication::Adopt(std::unique_ptr<TForm> form) {
    if (!mainForm_)
        mainForm_ = form.get();
    owned_.push_back(std::move(form));
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, int flags) {
    return dialogs_->Show(BoxMessage(text, caption, flags));
}

// An error of the table files is said in Hungarian with the file it concerns.
void TApplication::ShowException(const std::exception& error) {
    const std::string text = db::hungarianTextOf(error).value_or(WithFullStop(error.what()));
    dialogs_->Show(Message{MessageKind::Error, mtError, title_, text, {mbOK}});
}

void TApplication::HandleException() {
    try {
        throw;
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowException(std::runtime_error("Ismeretlen hiba"));
    }
}

void TApplication::HelpContext(int context) {
    help_->ShowTopic(helpFile_, context);
}

void TApplication::HelpCommand(int command, int data) {
    if (command == HELP_FINDER)
        help_->ShowContents(helpFile_);
    else
        help_->ShowTopic(helpFile_, data);
}

void TApplication::Run() {
    if (!terminated_)
        QCoreApplication::exec();
}

// The message loop ends at once, wherever it is called from (a modal form's handler
// too): quit would first ask every window to close, and a form on screen refuses.
void TApplication::Terminate() {
    terminated_ = true;
    QCoreApplication::exit(0);
}

DialogService& TApplication::SetDialogs(DialogService& dialogs) {
    return *std::exchange(dialogs_, &dialogs);
}

ModalDriver& TApplication::SetModal(ModalDriver& modal) {
    return *std::exchange(modal_, &modal);
}

TForm* TApplication::ActiveForm() const {
    return active_.empty() ? nullptr : active_.back();
}

bool TApplication::IsShown(const TForm* form) const {
    return std::find(active_.begin(), active_.end(), form) != active_.end();
}

void TApplication::FormShown(TForm& form) {
    FormHidden(form);
    active_.push_back(&form);
}

void TApplication::FormHidden(TForm& form) {
    std::erase(active_, &form);
}

void TApplication::FormDestroyed(TForm& form) {
    FormHidden(form);
    if (mainForm_ == &form)
        mainForm_ = nullptr;
}

// --- guards and scopes ---------------------------------------------------------------

void Guarded(const std::function<void()>& work) {
    RefusedAction action;
    try {
        work();
    } catch (...) {
        action.Refused();
        if (Application)
            Application->HandleException();
        else
            std::cerr << "an error escaped with no application to show it\n";
    }
}

void UserEvent(const TNotifyEvent& event, TObject* sender) {
    if (event)
        Guarded([&] { event(sender); });
}

ModalScope::ModalScope() : below_(Application ? Application->ActiveForm() : nullptr) {}

ModalScope::~ModalScope() {
    if (!ended_)
        Guarded([this] { End(); });
}

void ModalScope::End() {
    ended_ = true;
    if (below_ && Application && Application->IsShown(below_))
        below_->Activate();
}

// --- start-up -------------------------------------------------------------------------

std::unique_ptr<QApplication> MakeQtApplication(int& argc, char** argv) {
    auto app = std::make_unique<GuardedQtApplication>(argc, argv);
    QFont font("DejaVu Sans");
    font.setPixelSize(12);
    QApplication::setFont(font);
    // Qt's own dialogs and buttons (the file dialog, "Save", "Cancel") speak Hungarian.
    auto* translator = new QTranslator(app.get());
    if (translator->load(QLocale(QLocale::Hungarian), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    return app;
}

int RunProgram(int argc, char** argv, const std::function<void(TApplication&)>& startUp,
               const std::string& helpFolder) {
    auto qt = MakeQtApplication(argc, argv);
    QtDialogService dialogs;
    PageHelpService help(helpFolder);
    EventLoopModalDriver modal;
    TApplication app(dialogs, help, modal);
    return RunApplication(app, startUp);
}

int RunApplication(TApplication& app, const std::function<void(TApplication&)>& startUp) {
    try {
        startUp(app);
        app.Run();
    } catch (...) {
        app.HandleException();
    }
    return 0;
}

} // namespace ui
