#include "Tovabbiaf.h"

#include "platform/ui/form_helpers.h"

TTovabbia* Tovabbia = nullptr;

TTovabbia::TTovabbia() {
    SetCaption("További anyagfelhasználás");
    SetClientSize(260, 100);
    SetPosition(ui::poScreenCenter);
    Label1 = ui::Make<ui::TLabel>(this, {20, 16, 220, 20}, "További anyagfelhasználás ?");
    Button1 = ui::Make<ui::TButton>(this, {30, 56, 90, 28}, "Igen");
    Button2 = ui::Make<ui::TButton>(this, {140, 56, 90, 28}, "Nem");
    Button1->OnClick = Handler(&TTovabbia::Button1Click);
    Button2->OnClick = Handler(&TTovabbia::Button2Click);
}

void TTovabbia::Button1Click(TObject*) {
    SetModalResult(ui::mrYes);
}

void TTovabbia::Button2Click(TObject*) {
    SetModalResult(ui::mrNo);
}
