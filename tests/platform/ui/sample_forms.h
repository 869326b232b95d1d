#pragma once
// Small forms written the way the program's forms are: a list that opens an editing
// dialog, asks whether to go on, and has a Ctrl-letter key table; the dialog itself; and a
// grid of parcels whose current row a second form edits.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>
#include <vector>

using ui::TObject;

class TMintaSzerk : public ui::TForm {
public:
    TMintaSzerk();
    ui::TLabel* Label1;
    ui::TEdit* Edit1;
    ui::TLabel* Label2;
    ui::TMaskEdit* MaskEdit1;
    ui::TButton* Button1; // "Rögzítés"
    ui::TButton* Button2; // "Mégsem"

    std::string Mode;  // set by the opener before showing
    std::string Saved; // read by the opener after closing

    void FormShow(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
};
extern TMintaSzerk* MintaSzerk;

class TMintaLista : public ui::TForm {
public:
    TMintaLista();
    ui::TListBox* ListBox1;
    ui::TButton* Button1; // "Új"
    ui::TButton* Button2; // "Törlés"
    ui::TButton* Button3; // "Bezárás"
    ui::TButton* Button4; // "Hiba" (raises a database error)

    int Activations = 0;
    std::vector<std::string> Events;

    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, ui::TCloseAction& Action);
    void FormKeyPress(TObject* Sender, ui::TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
};
extern TMintaLista* MintaLista;

// Edits the current row of the data source the opener gives.
class TParcellaSzerk : public ui::TForm {
public:
    TParcellaSzerk();
    ui::TDBText* DBText1; // Kod
    ui::TDBEdit* DBEdit1; // Agazat
    ui::TDBEdit* DBEdit2; // Evj
    ui::TButton* Button1; // "Rögzítés"
    ui::TButton* Button2; // "Mégsem"

    db::TDataSource* Source = nullptr; // set by the opener before showing

    void FormShow(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
};
extern TParcellaSzerk* ParcellaSzerk;

// The parcels ("parcellak" in the working directory) in a grid; "Módosítás" edits the
// current row in TParcellaSzerk.
class TParcellaLista : public ui::TForm {
public:
    TParcellaLista();
    db::Session Session1;
    db::TTable Table1{Session1, "Table1"};
    db::TDataSource DataSource1{&Table1};
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1; // "Módosítás"

    void Button1Click(TObject* Sender);
};
extern TParcellaLista* ParcellaLista;
