#pragma once
// "Egyéb vetőmagfajta bevitele": adds one seed variety of a species to Vetomagok.DB.
// Opened by the stock movements form, which refreshes its list after.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

class TEgyebVetMag : public ui::TForm {
public:
    explicit TEgyebVetMag(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Vetomagok.DB
    db::TTable Table4{session_, "Table4"}; // Magfajtak.db by MagfajtakFIdx
    db::TDataSource DataSource4{&Table4};

    ui::TLabel* Label1;                       // "Egyéb vetőmagfajta bevitele"
    ui::TDBLookupComboBox* DBLookupComboBox1; // "Növényfaj :"
    ui::TEdit* Edit1;                         // "Fajta :"
    ui::TComboBox* ComboBox2;                 // "Mértékegység :"
    ui::TButton* Button2;                     // "Rögzítés"
    ui::TButton* Button1;                     // "Mégsem"

    std::string CreatedCode;

    void FormActivate(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
};
extern TEgyebVetMag* EgyebVetMag;
