#pragma once
// The main window: a thin bar at the top of the screen with the main menu and the toolbar
// whose commands open the program's forms, a decorative strip moving under the toolbar,
// the start-up checks of the database on its first show, and the exit with the offer of
// an automatic backup.
//
// Each command opens the form it names. The forms of the other subsystems are opened
// through openers that their subsystems install with SetFormOpener; a menu item or
// toolbar button whose command has no opener yet is disabled. The core's own forms
// (basic data, settings, about box) are opened by the main window itself.

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/image.h"
#include "platform/ui/menus.h"
#include "platform/ui/timer.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace db {
class Session;
}

class TFolap1 : public ui::TForm {
public:
    explicit TFolap1(db::Session& session);
    ~TFolap1() override;

    ui::TMainMenu* MainMenu1;
    ui::TToolBar* ToolBar1;
    ui::TBevel* Bevel1;
    ui::TImage* Image1;   // the strip, 137 x 9
    ui::TTimer* Timer1;   // moves the strip every 50 ms
    ui::TButton* Button3; // "Adatbázi frissítés", never shown: runs the schema upgrade

    // Menu items with handlers of their own (the others run their command).
    ui::TMenuItem* Elvgzettmveletekfelvitele1 = nullptr; // "Elvégzett műveletek felvitele"
    ui::TMenuItem* Mveletektervezse1 = nullptr;          // "Műveletek tervezése", hidden
    ui::TMenuItem* Sg1 = nullptr;                        // "Súgó            F1"
    ui::TMenuItem* Kilps1 = nullptr;                     // "Kilépés"

    // Toolbar buttons, left to right.
    ui::TToolButton* ToolButton1 = nullptr;  // "Elvégzett műveletek"
    ui::TToolButton* ToolButton2 = nullptr;  // "Műveletek módosítása"
    ui::TToolButton* ToolButton3 = nullptr;  // "Új tábla felvitele"
    ui::TToolButton* ToolButton4 = nullptr;  // "Táblák módosítása"
    ui::TToolButton* ToolButton5 = nullptr;  // "Táblák listája"
    ui::TToolButton* ToolButton14 = nullptr; // "Talajvizsgálatok rögzítése"
    ui::TToolButton* ToolButton6 = nullptr;  // "Új parcella kialakítása"
    ui::TToolButton* ToolButton20 = nullptr; // "Ágazatok"
    ui::TToolButton* ToolButton7 = nullptr;  // "Lista az elvégzett műveletekről"
    ui::TToolButton* ToolButton10 = nullptr; // "Permetezési napló"
    ui::TToolButton* ToolButton11 = nullptr; // "Gazdálkodási Napló UMVP"
    ui::TToolButton* ToolButton12 = nullptr; // "Készletkezelés"
    ui::TToolButton* ToolButton13 = nullptr; // "Gépek"
    ui::TToolButton* ToolButton22 = nullptr; // "Alapadatok"
    ui::TToolButton* ToolButton25 = nullptr; // "Kilép"

    // The Parckod of the field an operation was recorded on last; "xxxxxx" for none.
    const std::string& LastFieldCode() const { return lastFieldCode_; }
    void SetLastFieldCode(std::string code) { lastFieldCode_ = std::move(code); }

    // Installs what a command opens: `command` is the opened form's class name
    // ("TUjtabla") or, where the main window sets a member of the form first, the class
    // with the member's value ("TMuvadat:terv", "TParcListSzuk:1", "TGepjavitas:false",
    // "grafikon:2"). The opener creates the form, sets that member, shows it modally and
    // frees it. Enables the command's menu items and buttons (an empty opener disables
    // them). An unknown command is a programming error (std::invalid_argument).
    void SetFormOpener(const std::string& command, std::function<void()> opener);
    bool HasFormOpener(const std::string& command) const;
    // Opens what the command opens, as its menu item does; nothing without an opener.
    void RunCommand(const std::string& command);
    // Every command of the menu and the toolbar, in menu order.
    std::vector<std::string> Commands() const;
    // The menu item reached by its captions from the menu bar down, or null.
    ui::TMenuItem* FindMenuItem(const std::vector<std::string>& captions) const;

    // Ends the process at once with an exit code (Ctrl+X); tests put a recorder here.
    std::function<void(int)> ExitProcess;

    // The strip: its left edge and its direction (1 moving left, 0 moving right).
    int StripPosition() const { return stripPosition_; }
    int StripDirection() const { return stripDirection_; }

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Timer1Timer(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Elvgzettmveletekfelvitele1Click(TObject* Sender);
    void ToolButton1Click(TObject* Sender);
    void Kilps1Click(TObject* Sender);
    void ToolButton25Click(TObject* Sender);
    void Sg1Click(TObject* Sender);

private:
    struct Command {
        std::function<void()> opener;
        std::vector<ui::TMenuItem*> items;
        std::vector<ui::TToolButton*> buttons;
    };

    void BuildMenu();
    void BuildToolBar();
    void BuildStrip();
    void AddToCommand(const std::string& command, ui::TMenuItem* item, ui::TToolButton* button);
    void InstallCoreOpeners();
    bool OpenOperationForm();

    db::Session& session_;
    std::string lastFieldCode_ = "xxxxxx";
    int stripPosition_ = 2;
    int stripDirection_ = 1;
    bool shown_ = false;
    std::map<std::string, Command> commands_;
    std::vector<std::string> commandOrder_;
};

extern TFolap1* Folap1;
