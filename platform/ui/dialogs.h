#pragma once
// Message dialogs. Every message of the program (MessageDlg, the application's message
// box, the error display, ShowMessage) becomes one Message handed to one DialogService:
// Qt dialogs in the program, a scripted service in the tests.

#include "types.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace ui {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore };

// A set of dialog buttons, built as the forms build it: TMsgDlgButtons() << mbYes << mbNo.
class TMsgDlgButtons {
public:
    TMsgDlgButtons() = default;
    TMsgDlgButtons(TMsgDlgBtn button) { *this << button; } // NOLINT: a lone button reads as a set
    TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons);
    TMsgDlgButtons& operator<<(TMsgDlgBtn button);
    bool Contains(TMsgDlgBtn button) const { return (bits_ & (1u << button)) != 0; }
    // The buttons in the order a dialog shows them.
    std::vector<TMsgDlgBtn> List() const;
    bool operator==(const TMsgDlgButtons&) const = default;

private:
    unsigned bits_ = 0;
};
inline const TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};

enum class MessageKind {
    Dialog, // MessageDlg
    Box,    // Application->MessageBox, ShowMessage
    Error,  // the application's error display
    Note,   // a notice of the platform itself (help not available)
};

struct Message {
    MessageKind kind = MessageKind::Dialog;
    TMsgDlgType type = mtCustom;
    std::string caption;
    std::string text;
    std::vector<TMsgDlgBtn> buttons;
};
// One line for test failures and logs: kind, type, caption, text and buttons.
std::string Describe(const Message& message);

// What a save-file dialog asks: its caption, the proposed name, the folder it starts in
// and its filter ("Import fájlok (*.imp)").
struct SaveFileRequest {
    std::string title;
    std::string fileName;
    std::string initialDir;
    std::string filter;
};

// Shows a message and returns the modal result of the button pressed (mrYes, mrOk ...).
class DialogService {
public:
    virtual ~DialogService() = default;
    virtual int Show(const Message& message) = 0;
    // Asks for the name of a file to save; nullopt when the user cancels. A service that
    // offers no file dialog cancels.
    virtual std::optional<std::string> AskSaveFileName(const SaveFileRequest& request);
};

// The program's dialogs: a Qt message box with the Hungarian captions of the original,
// and Qt's save-file dialog.
class QtDialogService : public DialogService {
public:
    int Show(const Message& message) override;
    std::optional<std::string> AskSaveFileName(const SaveFileRequest& request) override;
};

// The caption a dialog type gives on a Hungarian system ("Megerősítés" ...).
std::string TypeCaption(TMsgDlgType type);
// A button's caption on a Hungarian system ("Igen", "Nem", "OK", "Mégse" ...).
std::string ButtonCaption(TMsgDlgBtn button);
int ButtonResult(TMsgDlgBtn button);

// The message of MessageBox(text, caption, flags): its type from the icon flag, its
// buttons from the button flag.
Message BoxMessage(const std::string& text, const std::string& caption, int flags);

// MessageDlg(text, type, buttons, help context): shows the message through the
// application's dialog service and returns the button pressed. Like the original's
// dialog, which is a form of its own, it makes the form that was active before it
// active again when it closes (that form's FormActivate runs).
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
               int helpContext = 0);
// ShowMessage(text): an OK box with the application's title as caption.
void ShowMessage(const std::string& text);

// The save dialog of a form (SaveDialog1): Execute asks through the application's dialog
// service and, unless the user cancels, leaves the chosen name in FileName. A name
// without an extension gets DefaultExt, when one is set.
class TSaveDialog {
public:
    std::string Title;
    std::string FileName;
    std::string InitialDir;
    std::string Filter;
    std::string DefaultExt; // without the point: "imp"
    bool Execute();
};

} // namespace ui
