#pragma once
// The small vocabulary every form speaks: senders, event types, modal results, key
// codes and the message-box constants, with the names the forms were written in.

#include <QObject>
#include <functional>
#include <string>

namespace ui {

using TObject = QObject;

// Modal results; the values are those of the original library (and of the Windows
// message-box answers IDOK ... IDNO), so either name can be compared with either.
enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};
inline constexpr int IDOK = mrOk;
inline constexpr int IDCANCEL = mrCancel;
inline constexpr int IDYES = mrYes;
inline constexpr int IDNO = mrNo;

// Application->MessageBox flags (button set in the low nibble, icon in the next).
inline constexpr int MB_OK = 0x00;
inline constexpr int MB_OKCANCEL = 0x01;
inline constexpr int MB_YESNOCANCEL = 0x03;
inline constexpr int MB_YESNO = 0x04;
inline constexpr int MB_ICONERROR = 0x10;
inline constexpr int MB_ICONSTOP = MB_ICONERROR;
inline constexpr int MB_ICONQUESTION = 0x20;
inline constexpr int MB_ICONWARNING = 0x30;
inline constexpr int MB_ICONEXCLAMATION = MB_ICONWARNING;
inline constexpr int MB_ICONINFORMATION = 0x40;

// A key as a key-press handler sees it. Ctrl+A ... Ctrl+Z arrive as 1 ... 26 and other
// characters as their Unicode code point. Enter, Tab and Backspace have codes of their
// own outside Unicode, so that Enter is never taken for Ctrl+M, Tab for Ctrl+I or
// Backspace for Ctrl+H. Setting the key to 0 in a handler swallows it.
using TKey = char32_t;
inline constexpr TKey keyNone = 0;
inline constexpr TKey keyEscape = 27;
inline constexpr TKey keyEnter = 0x11000D;
inline constexpr TKey keyTab = 0x110009;
inline constexpr TKey keyBackspace = 0x110008;
constexpr TKey ctrlKey(char letter) {
    return static_cast<TKey>(letter - 'A' + 1);
}

// Virtual key codes for short-cut handlers (the values of the original).
inline constexpr int VK_BACK = 0x08;
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_F1 = 0x70;

// Modifier flags of a short-cut message.
inline constexpr int ssShift = 1;
inline constexpr int ssCtrl = 2;
inline constexpr int ssAlt = 4;

// What a short-cut handler receives: the virtual key (letters and digits as their
// upper-case character) and the modifiers held.
struct TWMKey {
    int CharCode = 0;
    int Shift = 0;
};

enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TKeyPressEvent = std::function<void(TObject* Sender, TKey& Key)>;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = std::function<void(TWMKey& Msg, bool& Handled)>;

} // namespace ui
