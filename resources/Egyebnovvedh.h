#pragma once
// "Egyéb növényvédőszer bevitele": adds one pesticide to Novenyvedok.DB, its type,
// toxicity and fire-hazard lists taken from the pesticides already recorded. Opened by
// the stock movements form, which refreshes its list after.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

class TEgyebNovVed : public ui::TForm {
public:
    explicit TEgyebNovVed(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Novenyvedok.DB
    db::TQuery Query1{session_, "Query1"}; // the types recorded
    db::TQuery Query3{session_, "Query3"}; // the fire-hazard classes recorded
    db::TQuery Query4{session_, "Query4"}; // the toxicity classes recorded

    ui::TLabel* Label1;               // "Egyéb növényvédőszer bevitele"
    ui::TEdit* Edit1;                 // "Megnevezés :"
    ui::TComboBox* ComboBox4;         // "Szertíus :", a new type may be typed
    ui::TComboBox* DBLookupComboBox1; // "Méregjelzés :", recorded values or typed
    ui::TEdit* Edit4;                 // "Hatóanyag :"
    ui::TComboBox* DBLookupComboBox4; // "Tűzveszélyesség :", recorded values or typed
    ui::TComboBox* ComboBox5;         // "Forgalamzási kategória :"
    ui::TComboBox* ComboBox2;         // "Várakozási idő :", days or "nk"
    ui::TComboBox* ComboBox3;         // "Mértékegység :"
    ui::TButton* Button2;             // "Rögzít"
    ui::TButton* Button1;             // "Mégsem"

    std::string CreatedCode;

    void FormActivate(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
};
extern TEgyebNovVed* EgyebNovVed;
