#pragma once
// TAlapadatok: the farm's basic data (farmer, manager, contact person, plant-protection
// adviser, tax, client and bank-account numbers) on five pages. The data are the farm
// row of Alapadatok.db and the one row of Alapadat2.db; the data-aware editors write
// into them, "Rögzítés" posts both, "Vissza" drops what was typed.

#include "core/farm_row.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

class TAlapadatok : public ui::TForm {
public:
    explicit TAlapadatok(db::Session& session);

    db::TTable Table1; // Alapadatok.db, narrowed to the farm row
    db::TTable Table2; // Alapadat2.db
    db::TDataSource DataSource1{&Table1};
    db::TDataSource DataSource2{&Table2};

    ui::TLabel* Label1; // "Alapadatok felvitele, módosítása"
    ui::TPageControl* PageControl1;
    ui::TTabSheet* TabSheet1; // "Cégadatok"
    ui::TTabSheet* TabSheet2; // "Ügyvezető"
    ui::TTabSheet* TabSheet3; // "NVT kapcsolattartó"
    ui::TTabSheet* TabSheet4; // "Növényvédelmi Szakirányító / Szaktanácsdó"
    ui::TTabSheet* TabSheet5; // "Egyéb adatok"
    // Cégadatok
    ui::TDBEdit* DBEdit1; // Nev
    ui::TDBEdit* DBEdit2; // Cegf
    ui::TDBEdit* DBEdit3; // Cim (at most 35 characters)
    ui::TDBEdit* DBEdit4; // Alapadat2 Cegiranyito
    ui::TDBEdit* DBEdit5; // Alapadat2 Cegcim
    ui::TDBEdit* DBEdit6; // Telep
    ui::TDBEdit* DBEdit7; // Tel
    // Ügyvezető
    ui::TDBEdit* DBEdit8;  // Unev
    ui::TDBEdit* DBEdit9;  // Ucim
    ui::TDBEdit* DBEdit10; // Utel
    // NVT kapcsolattartó
    ui::TDBEdit* DBEdit11; // Knev
    ui::TDBEdit* DBEdit12; // Khely
    ui::TDBEdit* DBEdit13; // Kir
    ui::TDBEdit* DBEdit14; // Kutcah
    ui::TDBEdit* DBEdit15; // Ktel
    ui::TDBEdit* DBEdit16; // Ktel2
    ui::TDBEdit* DBEdit17; // Kfax
    ui::TDBEdit* DBEdit18; // Kfax2
    ui::TDBEdit* DBEdit19; // Kemail
    // Növényvédelmi Szakirányító / Szaktanácsdó
    ui::TDBEdit* DBEdit20; // Fnev
    ui::TDBEdit* DBEdit21; // Fcim
    ui::TDBEdit* DBEdit22; // Ftel
    ui::TDBEdit* DBEdit23; // Szakirregsz
    ui::TDBEdit* DBEdit24; // Szaktan
    ui::TDBEdit* DBEdit25; // Szaktancim
    ui::TDBEdit* DBEdit26; // Szaktaneng
    // Egyéb adatok
    ui::TMaskEdit* MaskEdit1; // Adosz
    ui::TDBEdit* DBEdit27;    // Ureg
    ui::TMaskEdit* MaskEdit2; // Szamlasz
    ui::TButton* Button1;     // "Rögzítés"
    ui::TButton* Button2;     // "Vissza"

    void FormActivate(TObject* Sender);
    void FormShortCut(TWMKey& Msg, bool& Handled);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Table1AfterPost(db::TDataSet& DataSet);
    void Table1AfterDelete(db::TDataSet& DataSet);

private:
    struct EditSpec;
    ui::TDBEdit* AddEdit(const EditSpec& spec);
    ui::TMaskEdit* AddMaskEdit(ui::TTabSheet* page, int row, const std::string& caption,
                               const std::string& mask);
    ui::TLabel* AddLabel(ui::TTabSheet* page, int left, int row, const std::string& caption);
};
extern TAlapadatok* Alapadatok;
