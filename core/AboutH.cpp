#include "core/AboutH.h"

#include "core/pictures.h"
#include "platform/ui/form_helpers.h"

TAboutBox* AboutBox = nullptr;

// The program's own logo (core/pictures/logo.jpg): a field under the sky, 96 x 96.
QImage AboutLogo() {
    return core::Picture("logo");
}

TAboutBox::TAboutBox(db::Session&) {
    SetCaption("About");
    SetBorderStyle(ui::bsDialog);
    SetPosition(ui::poScreenCenter);
    SetClientSize(400, 210);
    Panel1 = ui::Make<ui::TPanel>(this, {8, 8, 384, 155});
    Panel1->SetBevelOuter(ui::bvLowered);
    ProgramIcon = ui::Make<ui::TImage>(Panel1, {8, 8, 96, 96});
    ProgramIcon->SetPicture(AboutLogo());
    ProductName = ui::Make<ui::TLabel>(Panel1, {112, 16, 264, 18}, "Dolvaren - Gazdálkodási Napló");
    ProductName->SetBold(true);
    Version = ui::Make<ui::TLabel>(Panel1, {112, 44, 264, 18}, "Verzió : 3.05");
    Comments = ui::Make<ui::TLabel>(Panel1, {8, 116, 368, 32}, "Linux változat");
    Comments->SetWordWrap(true);
    OKButton = ui::Make<ui::TButton>(this, {162, 174, 75, 26}, "OK");
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
