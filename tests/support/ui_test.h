#pragma once
// Headless form tests: the Qt application (offscreen, made once for the test binary and
// only by the tests that need it; every UI test, forms and data-aware controls alike, uses
// this one), a dialog service that records every message and
// answers from a queue, a modal driver that plays what a test registered for a form's
// class instead of waiting, and a fixture that puts them behind a TApplication.
//
//     TEST_F(UiTest, AskAgain) {
//         forms.On<TMuvadat>([](TMuvadat& f) { f.Button1->click(); });
//         dialogs.Expect("Kéri további művelet felvitelét?", ui::mrNo);
//         Folap1->N2->Click();
//     }

#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form.h"

#include <QApplication>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <typeindex>
#include <vector>

namespace testui {

// The Qt application of the test binary, made on first use (offscreen unless
// QT_QPA_PLATFORM says otherwise) as the program makes it, and destroyed when the tests
// end (before the exit handlers, which would destroy it after Qt's own statics).
QApplication& Qt();

// Runs the Qt events that are waiting (deferred paints, timers due).
void ProcessEvents();

class ScriptedDialogs : public ui::DialogService {
public:
    // The next message must have exactly this text; it is answered with `answer`.
    ScriptedDialogs& Expect(std::string text, int answer = ui::mrOk);
    // The next message must contain this text.
    ScriptedDialogs& ExpectContaining(std::string part, int answer = ui::mrOk);

    // The next save-file dialog is answered with this name (nullopt: cancelled).
    ScriptedDialogs& ExpectSaveFile(std::optional<std::string> answer);

    int Show(const ui::Message& message) override;
    std::optional<std::string> AskSaveFileName(const ui::SaveFileRequest& request) override;
    // The save-file dialogs shown, in order.
    const std::vector<ui::SaveFileRequest>& SaveDialogs() const { return saveDialogs_; }

    const std::vector<ui::Message>& Shown() const { return shown_; }
    const ui::Message& Last() const;
    std::size_t Pending() const { return expected_.size(); }
    // Fails the test for every expected message that did not come.
    void VerifyDone();

private:
    struct Expected {
        std::string text;
        bool exact;
        int answer;
    };
    std::deque<Expected> expected_;
    std::vector<ui::Message> shown_;
    std::deque<std::optional<std::string>> saveAnswers_;
    std::vector<ui::SaveFileRequest> saveDialogs_;
};

class ScriptedForms : public ui::ModalDriver {
public:
    // The next time a form of class F is shown modally, `play` runs on it; it must close
    // the form (a button that closes it, Close(), SetModalResult).
    template <class F>
    ScriptedForms& On(std::function<void(F&)> play) {
        plays_[std::type_index(typeid(F))].push_back(
            [play](ui::TForm& form) { play(dynamic_cast<F&>(form)); });
        return *this;
    }
    // The next time a form of class F is shown, it closes with this result.
    template <class F>
    ScriptedForms& CloseWith(int result) {
        return On<F>([result](F& form) { form.SetModalResult(result); });
    }

    void Run(ui::TForm& form) override;

    // The classes of the forms shown modally, in order.
    const std::vector<std::string>& Shown() const { return shown_; }
    void VerifyDone();

private:
    std::map<std::type_index, std::deque<std::function<void(ui::TForm&)>>> plays_;
    std::vector<std::string> shown_;
};

class RecordingHelp : public ui::HelpService {
public:
    void ShowTopic(const std::string& file, int context) override;
    void ShowContents(const std::string& file) override;
    std::vector<std::pair<std::string, int>> topics; // file and context; -1 for contents
};

// The class name of an object, readable.
std::string ClassName(const std::type_info& type);

class UiTest : public ::testing::Test {
protected:
    UiTest();
    ~UiTest() override;

    // Presses a key on a widget as the user would (through the form's key handling).
    static void Key(QWidget* widget, int key, ::Qt::KeyboardModifiers modifiers = ::Qt::NoModifier);
    // Types text into a widget, character by character.
    static void Type(QWidget* widget, const std::string& text);
    // Shows a form without a modal loop and makes it the active window.
    static void ShowActive(ui::TForm& form);

    ScriptedDialogs dialogs;
    ScriptedForms forms;
    RecordingHelp help;
    std::unique_ptr<ui::TApplication> app;
};

} // namespace testui
