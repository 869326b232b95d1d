#include "ui_test.h"

#include <QKeyEvent>
#include <QTest>
#include <cctype>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>

namespace testui {

namespace {

class QtEnvironment final : public ::testing::Environment {
public:
    QApplication& App() {
        if (!app_) {
            ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
            app_ = ui::MakeQtApplication(argc_, argv_);
        }
        return *app_;
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "farm_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

} // namespace

QApplication& Qt() {
    static auto* environment =
        static_cast<QtEnvironment*>(::testing::AddGlobalTestEnvironment(new QtEnvironment));
    return environment->App();
}

void ProcessEvents() {
    QCoreApplication::processEvents();
}

std::string ClassName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
    return status == 0 && name ? name.get() : type.name();
}

// --- dialogs -----------------------------------------------------------------------------

ScriptedDialogs& ScriptedDialogs::Expect(std::string text, int answer) {
    expected_.push_back({std::move(text), true, answer});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectContaining(std::string part, int answer) {
    expected_.push_back({std::move(part), false, answer});
    return *this;
}

namespace {

int DefaultAnswer(const ui::Message& message) {
    for (ui::TMsgDlgBtn button : {ui::mbCancel, ui::mbNo})
        for (ui::TMsgDlgBtn shown : message.buttons)
            if (shown == button)
                return ui::ButtonResult(button);
    return message.buttons.empty() ? ui::mrOk : ui::ButtonResult(message.buttons.front());
}

bool Offers(const ui::Message& message, int answer) {
    for (ui::TMsgDlgBtn button : message.buttons)
        if (ui::ButtonResult(button) == answer)
            return true;
    return false;
}

} // namespace

int ScriptedDialogs::Show(const ui::Message& message) {
    shown_.push_back(message);
    if (expected_.empty()) {
        ADD_FAILURE() << "unexpected message: " << ui::Describe(message);
        return DefaultAnswer(message);
    }
    Expected next = expected_.front();
    expected_.pop_front();
    bool matches =
        next.exact ? message.text == next.text : message.text.find(next.text) != std::string::npos;
    if (!matches)
        ADD_FAILURE() << "expected a message " << (next.exact ? "\"" : "containing \"") << next.text
                      << "\", got: " << ui::Describe(message);
    if (!Offers(message, next.answer)) {
        ADD_FAILURE() << "answer " << next.answer << " is no button of: " << ui::Describe(message);
        return DefaultAnswer(message);
    }
    return next.answer;
}

const ui::Message& ScriptedDialogs::Last() const {
    static const ui::Message none;
    if (shown_.empty()) {
        ADD_FAILURE() << "no message was shown";
        return none;
    }
    return shown_.back();
}

ScriptedDialogs& ScriptedDialogs::ExpectSaveFile(std::optional<std::string> answer) {
    saveAnswers_.push_back(std::move(answer));
    return *this;
}

std::optional<std::string> ScriptedDialogs::AskSaveFileName(const ui::SaveFileRequest& request) {
    saveDialogs_.push_back(request);
    if (saveAnswers_.empty()) {
        ADD_FAILURE() << "unexpected save dialog: " << request.title;
        return std::nullopt;
    }
    std::optional<std::string> answer = saveAnswers_.front();
    saveAnswers_.pop_front();
    return answer;
}

void ScriptedDialogs::VerifyDone() {
    for (const Expected& missing : expected_)
        ADD_FAILURE() << "expected message did not come: \"" << missing.text << "\"";
    expected_.clear();
    if (!saveAnswers_.empty())
        ADD_FAILURE() << saveAnswers_.size() << " expected save dialog(s) did not come";
    saveAnswers_.clear();
}

// --- forms -----------------------------------------------------------------------------

void ScriptedForms::Run(ui::TForm& form) {
    std::string name = ClassName(typeid(form));
    shown_.push_back(name);
    auto& queue = plays_[std::type_index(typeid(form))];
    if (queue.empty()) {
        ADD_FAILURE() << "unexpected modal form " << name << " (\"" << form.Caption() << "\")";
        form.SetModalResult(ui::mrCancel);
        return;
    }
    auto play = std::move(queue.front());
    queue.pop_front();
    play(form);
    if (form.ModalResult() == ui::mrNone) {
        ADD_FAILURE() << "the script left " << name << " open";
        form.SetModalResult(ui::mrCancel);
    }
}

void ScriptedForms::VerifyDone() {
    for (auto& [type, queue] : plays_)
        if (!queue.empty())
            ADD_FAILURE() << queue.size() << " expected showing(s) of " << type.name()
                          << " did not come";
    plays_.clear();
}

// --- help --------------------------------------------------------------------------------

void RecordingHelp::ShowTopic(const std::string& file, int context) {
    topics.emplace_back(file, context);
}
void RecordingHelp::ShowContents(const std::string& file) {
    topics.emplace_back(file, -1);
}

// --- fixture -----------------------------------------------------------------------------

UiTest::UiTest() {
    Qt();
    app = std::make_unique<ui::TApplication>(dialogs, help, forms);
    app->SetTitle("Dolvaren 3.0");
}

UiTest::~UiTest() {
    app.reset();
    ProcessEvents();
    dialogs.VerifyDone();
    forms.VerifyDone();
}

void UiTest::Key(QWidget* widget, int key, ::Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(widget, static_cast<::Qt::Key>(key), modifiers);
}

void UiTest::Type(QWidget* widget, const std::string& text) {
    for (char32_t c : QString::fromStdString(text).toUcs4()) {
        int key =
            c < 128 && std::isalnum(static_cast<int>(c)) ? std::toupper(static_cast<int>(c)) : 0;
        QString typed = QString::fromUcs4(&c, 1);
        QKeyEvent press(QEvent::KeyPress, key, ::Qt::NoModifier, typed);
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, ::Qt::NoModifier, typed);
        QCoreApplication::sendEvent(widget, &release);
    }
}

void UiTest::ShowActive(ui::TForm& form) {
    form.Show();
    form.activateWindow();
    QApplication::setActiveWindow(&form);
    ProcessEvents();
}

} // namespace testui
