#pragma once
// The application object of the forms: title and help file, the forms it owns, the one
// dialog service, help and modal showing, and the error display that catches what escapes
// an event handler. One TApplication lives while the program (or a test) runs; the
// global pointer Application refers to it, as the forms expect.

#include "dialogs.h"
#include "types.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QApplication;
class QObject;

namespace ui {

class TForm;

// Where help requests go. The original's help file cannot be shown on Linux; the
// program's service shows a page of our own when one exists and a short notice
// otherwise, and keeps the context numbers so that a later help file can use them.
class HelpService {
public:
    virtual ~HelpService() = default;
    virtual void ShowTopic(const std::string& helpFile, int context) = 0;
    virtual void ShowContents(const std::string& helpFile) = 0;
};

// Help pages of our own are files "<context>.html" (and "contents.html") in a folder;
// without one the notice "A súgó nem érhető el ..." naming the topic goes through the
// dialog service.
class PageHelpService : public HelpService {
public:
    explicit PageHelpService(std::string folder) : folder_(std::move(folder)) {}
    void ShowTopic(const std::string& helpFile, int context) override;
    void ShowContents(const std::string& helpFile) override;

private:
    void ShowPageOrNotice(const std::string& page, const std::string& topic);
    std::string folder_;
};
// The notice shown when no help page exists for a topic.
std::string HelpNoticeText(const std::string& topic);

// Runs a modal form until its ModalResult is set. The program waits in Qt's event loop;
// a test instead plays what it registered for the form's class and returns at once.
class ModalDriver {
public:
    virtual ~ModalDriver() = default;
    virtual void Run(TForm& form) = 0;
};

class EventLoopModalDriver : public ModalDriver {
public:
    void Run(TForm& form) override;
};

// WinHelp commands the forms send.
inline constexpr int HELP_CONTEXT = 1;
inline constexpr int HELP_FINDER = 11;

class TApplication {
public:
    TApplication(DialogService& dialogs, HelpService& help, ModalDriver& modal);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }
    const std::string& HelpFile() const { return helpFile_; }
    void SetHelpFile(std::string file) { helpFile_ = std::move(file); }

    // Creates a form owned by the application, alive until the application ends, and
    // stores it in its global pointer. The first form created is the main form.
    template <class F, class... Args>
    void CreateForm(F*& global, Args&&... args) {
        auto form = std::make_unique<F>(std::forward<Args>(args)...);
        global = form.get();
        Adopt(std::move(form));
    }
    TForm* MainForm() const { return mainForm_; }

    // The application's message box; returns IDOK, IDYES ...
    int MessageBox(const std::string& text, const std::string& caption, int flags = MB_OK);
    // The error display: the error's text in a box with the title as caption.
    void ShowException(const std::exception& error);
    // Shows the exception being handled (call inside a catch block).
    void HandleException();

    void HelpContext(int context);
    void HelpCommand(int command, int data = 0);

    // Runs the message loop until Terminate (or the main form closes).
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    DialogService& Dialogs() { return *dialogs_; }
    HelpService& Help() { return *help_; }
    ModalDriver& Modal() { return *modal_; }
    // Replaces a service (tests install their scripted ones); returns the previous one.
    DialogService& SetDialogs(DialogService& dialogs);
    ModalDriver& SetModal(ModalDriver& modal);

    // Forms on screen, in the order they became active; the last is the active form.
    TForm* ActiveForm() const;
    bool IsShown(const TForm* form) const;
    void FormShown(TForm& form);
    void FormHidden(TForm& form);
    void FormDestroyed(TForm& form);

private:
    void Adopt(std::unique_ptr<TForm> form);

    DialogService* dialogs_;
    HelpService* help_;
    ModalDriver* modal_;
    std::string title_;
    std::string helpFile_;
    std::vector<std::unique_ptr<TForm>> owned_;
    std::vector<TForm*> active_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    std::unique_ptr<QObject> focusContext_; // keeps the focus-change connection
};

extern TApplication* Application;

// Runs a piece of user-interface work the way the message loop runs a handler: an
// exception that escapes it goes to the error display and the program goes on.
void Guarded(const std::function<void()>& work);
// Runs a handler the user's action triggered (a click, a key, a choice), guarded.
void UserEvent(const TNotifyEvent& event, TObject* sender);

// Something modal in front of the active form: a modal form, a message dialog, a
// report preview. When it ends, the form that was active becomes active again and its
// FormActivate runs: End() runs it (an error propagates to the caller); a scope left
// without End(), by an error, runs it guarded.
class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
    void End();

private:
    TForm* below_;
    bool ended_ = false;
};

// The Qt application of the program and of the tests: a font with every Hungarian
// letter, and no exception ever crosses Qt's event loop (it reaches the error display).
std::unique_ptr<QApplication> MakeQtApplication(int& argc, char** argv);

// Runs startUp (which creates the forms), then the message loop; an error during
// start-up is shown and ends the run. Returns the exit code (0).
int RunApplication(TApplication& app, const std::function<void(TApplication&)>& startUp);

// The program's entry point: makes the Qt application and the TApplication with the
// Qt dialogs, runs startUp (which creates the forms), then the message loop. An error
// during start-up is shown and ends the program. Returns the exit code.
int RunProgram(int argc, char** argv, const std::function<void(TApplication&)>& startUp,
               const std::string& helpFolder = "help");

} // namespace ui
