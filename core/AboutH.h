#pragma once
// TAboutBox: the program's logo, name, version and a line about this edition; OK (or
// Enter) closes it.

#include "platform/ui/vcl.h"

namespace db {
class Session;
}

class TAboutBox : public ui::TForm {
public:
    // The session is not used; every form of the program is made with it.
    explicit TAboutBox(db::Session& session);

    ui::TPanel* Panel1;
    ui::TImage* ProgramIcon;
    ui::TLabel* ProductName; // "Dolvaren - Gazdálkodási Napló"
    ui::TLabel* Version;     // "Verzió : 3.05"
    ui::TLabel* Comments;
    ui::TButton* OKButton;

    void FormKeyPress(TObject* Sender, TKey& Key);
};
extern TAboutBox* AboutBox;

// The program's logo as the about box shows it.
QImage AboutLogo();
