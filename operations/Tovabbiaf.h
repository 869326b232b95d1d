#pragma once
// "További anyagfelhasználás": after a posted material use, asks whether more follow.
// "Igen" closes with mrYes, "Nem" with mrNo.

#include "platform/ui/vcl.h"

class TTovabbia : public ui::TForm {
public:
    TTovabbia();

    ui::TLabel* Label1;
    ui::TButton* Button1; // "Igen"
    ui::TButton* Button2; // "Nem"

    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
};
extern TTovabbia* Tovabbia;
