#include "dialogs.h"

#include "application.h"
#include "control.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

namespace ui {

namespace {

constexpr TMsgDlgBtn kButtonOrder[] = {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore};

const char* KindName(MessageKind kind) {
    switch (kind) {
    case MessageKind::Dialog:
        return "MessageDlg";
    case MessageKind::Box:
        return "MessageBox";
    case MessageKind::Error:
        return "Error";
    case MessageKind::Note:
        return "Note";
    }
    return "?";
}

QMessageBox::Icon IconOf(TMsgDlgType type) {
    switch (type) {
    case mtWarning:
        return QMessageBox::Warning;
    case mtError:
        return QMessageBox::Critical;
    case mtInformation:
        return QMessageBox::Information;
    case mtConfirmation:
        return QMessageBox::Question;
    case mtCustom:
        return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

std::vector<TMsgDlgBtn> BoxButtons(int flags) {
    switch (flags & 0x0F) {
    case MB_OKCANCEL:
        return {mbOK, mbCancel};
    case MB_YESNOCANCEL:
        return {mbYes, mbNo, mbCancel};
    case MB_YESNO:
        return {mbYes, mbNo};
    default:
        return {mbOK};
    }
}

TMsgDlgType BoxType(int flags) {
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        return mtError;
    case MB_ICONQUESTION:
        return mtConfirmation;
    case MB_ICONWARNING:
        return mtWarning;
    case MB_ICONINFORMATION:
        return mtInformation;
    default:
        return mtCustom;
    }
}

} // namespace

TMsgDlgButtons::TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
    for (TMsgDlgBtn button : buttons)
        *this << button;
}

TMsgDlgButtons& TMsgDlgButtons::operator<<(TMsgDlgBtn button) {
    bits_ |= 1u << button;
    return *this;
}

std::vector<TMsgDlgBtn> TMsgDlgButtons::List() const {
    std::vector<TMsgDlgBtn> list;
    for (TMsgDlgBtn button : kButtonOrder)
        if (Contains(button))
            list.push_back(button);
    return list;
}

std::string Describe(const Message& message) {
    std::string text = std::string(KindName(message.kind)) + " [" + message.caption + "] \"" +
                       message.text + "\" buttons:";
    for (TMsgDlgBtn button : message.buttons)
        text += " " + ButtonCaption(button);
    return text;
}

std::string TypeCaption(TMsgDlgType type) {
    switch (type) {
    case mtWarning:
        return "Figyelmeztetés";
    case mtError:
        return "Hiba";
    case mtInformation:
        return "Információ";
    case mtConfirmation:
        return "Megerősítés";
    case mtCustom:
        break;
    }
    return Application ? Application->Title() : std::string();
}

std::string ButtonCaption(TMsgDlgBtn button) {
    switch (button) {
    case mbYes:
        return "Igen";
    case mbNo:
        return "Nem";
    case mbOK:
        return "OK";
    case mbCancel:
        return "Mégse";
    case mbAbort:
        return "Megszakítás";
    case mbRetry:
        return "Ismét";
    case mbIgnore:
        return "Kihagyás";
    }
    return "?";
}

int ButtonResult(TMsgDlgBtn button) {
    switch (button) {
    case mbYes:
        return mrYes;
    case mbNo:
        return mrNo;
    case mbOK:
        return mrOk;
    case mbCancel:
        return mrCancel;
    case mbAbort:
        return mrAbort;
    case mbRetry:
        return mrRetry;
    case mbIgnore:
        return mrIgnore;
    }
    return mrNone;
}

Message BoxMessage(const std::string& text, const std::string& caption, int flags) {
    return Message{MessageKind::Box, BoxType(flags), caption, text, BoxButtons(flags)};
}

int QtDialogService::Show(const Message& message) {
    QMessageBox box(IconOf(message.type), Q(message.caption), Q(message.text));
    std::vector<std::pair<QAbstractButton*, int>> results;
    for (TMsgDlgBtn button : message.buttons) {
        auto role = button == mbCancel || button == mbNo ? QMessageBox::RejectRole
                                                         : QMessageBox::AcceptRole;
        QPushButton* shown = box.addButton(Q(ButtonCaption(button)), role);
        results.emplace_back(shown, ButtonResult(button));
        if (results.size() == 1)
            box.setDefaultButton(shown);
    }
    box.exec();
    for (const auto& [shown, result] : results)
        if (box.clickedButton() == shown)
            return result;
    return message.buttons.size() == 1 ? ButtonResult(message.buttons.front()) : mrCancel;
}

std::optional<std::string> DialogService::AskSaveFileName(const SaveFileRequest&) {
    return std::nullopt;
}

std::optional<std::string> QtDialogService::AskSaveFileName(const SaveFileRequest& request) {
    QString start = Q(request.fileName);
    if (!request.initialDir.empty())
        start = QDir(Q(request.initialDir)).filePath(start);
    const QString chosen = QFileDialog::getSaveFileName(QApplication::activeWindow(),
                                                        Q(request.title), start, Q(request.filter));
    if (chosen.isEmpty())
        return std::nullopt;
    return S(chosen);
}

bool TSaveDialog::Execute() {
    ModalScope scope;
    std::optional<std::string> chosen =
        Application->Dialogs().AskSaveFileName({Title, FileName, InitialDir, Filter});
    scope.End();
    if (!chosen)
        return false;
    FileName = *chosen;
    if (!DefaultExt.empty() && std::filesystem::path(FileName).extension().empty())
        FileName += "." + DefaultExt;
    return true;
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int) {
    ModalScope scope;
    Message message{MessageKind::Dialog, type, TypeCaption(type), text, buttons.List()};
    int result = Application->Dialogs().Show(message);
    scope.End();
    return result;
}

void ShowMessage(const std::string& text) {
    ModalScope scope;
    Application->Dialogs().Show(
        Message{MessageKind::Box, mtCustom, Application->Title(), text, {mbOK}});
    scope.End();
}

} // namespace ui
