#include "core/AboutH.h"

#include "core/pictures.h"

TAboutBox* AboutBox = nullptr;

// The program's own logo (core/pictures/logo.jpg): a field under the sky, 96 x 96.
QImage AboutLogo() {
    return core::Picture("logo");
}

TAboutBox::TAboutBox(db::Session&) {
    SetCaption("About");
    SetBorderStyle(ui::bsDialog);
    SetPosition(ui::poScreenCenter);
    SetClientSize(330, 210);
    Panel1 = new ui::TPanel(this);
    Panel1->SetBounds(8, 8, 314, 155);
    Panel1->SetBevelOuter(ui::bvLowered);
    ProgramIcon = new ui::TImage(Panel1);
    ProgramIcon->SetBounds(8, 8, 96, 96);
    ProgramIcon->SetPicture(AboutLogo());
    ProductName = new ui::TLabel(Panel1, "Dolvaren - Gazdálkodási Napló");
    ProductName->SetBounds(112, 16, 196, 18);
    ProductName->SetBold(true);
    Version = new ui::TLabel(Panel1, "Verzió : 3.05");
    Version->SetBounds(112, 44, 196, 18);
    Comments = new ui::TLabel(Panel1, "Linux változat");
    Comments->SetBounds(8, 116, 298, 32);
    Comments->SetWordWrap(true);
    OKButton = new ui::TButton(this, "OK");
    OKButton->SetBounds(127, 174, 75, 26);
    OKButton->SetDefault(true);
    OKButton->SetModalResult(ui::mrOk);
    SetKeyPreview(true);
    OnKeyPress = Handler(&TAboutBox::FormKeyPress);
}

void TAboutBox::FormKeyPress(TObject*, TKey& Key) {
    if (Key != ui::keyEnter)
        return;
    OKButton->Click();
    Key = ui::keyNone;
}
