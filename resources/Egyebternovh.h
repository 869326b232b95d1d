#pragma once
// "Egyéb termésnövelő anyag bevitele": adds one fertiliser or yield-enhancing material
// to Tapanyagok.DB. Opened by the stock movements form, which refreshes its list after.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

class TEgyebTerNov : public ui::TForm {
public:
    explicit TEgyebTerNov(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Tapanyagok.DB

    ui::TLabel* Label1;             // "Egyéb termésnövelő anyag bevitele"
    ui::TEdit* Edit1;               // "Megnevezése :", at most 30 characters
    ui::TEdit* Edit2;               // N %
    ui::TEdit* Edit3;               // P %, stored in Kal
    ui::TEdit* Edit4;               // K %, stored in Fos
    ui::TRadioButton* RadioButton1; // "Szilárd, granulált"
    ui::TRadioButton* RadioButton2; // "Folyékony"
    ui::TComboBox* ComboBox3;       // "Mértékegység :"
    ui::TButton* Button2;           // "Rögzít"
    ui::TButton* Button1;           // "Mégsem"

    // The code of the fertiliser stored by "Rögzít"; empty when none was.
    std::string CreatedCode;

    void FormActivate(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
};
extern TEgyebTerNov* EgyebTerNov;
