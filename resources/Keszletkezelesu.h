#pragma once
// "Raktármozgások kezelése": books a purchase or a sale of one material as a row of the
// stock ledger, a sale checked against the stock on the chosen day; shows the stock of
// the chosen material and opens the dialogs that add fertilisers, pesticides, seed
// varieties and species.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"
#include "resources/stock.h"

#include <string>

class Tkeszletkezeles : public ui::TForm {
public:
    explicit Tkeszletkezeles(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Tapanyagok.DB by TapanyID
    db::TDataSource DataSource1{&Table1};
    db::TTable Table2{session_, "Table2"}; // Novenyvedok.DB by NovvedokID
    db::TDataSource DataSource2{&Table2};
    db::TTable Table3{session_, "Table3"}; // Vetomagok.DB by VetMagNevInd, of one species
    db::TDataSource DataSource3{&Table3};
    db::TTable Table4{session_, "Table4"}; // Magfajtak.db by MagfajtakFIdx
    db::TDataSource DataSource4{&Table4};

    ui::TLabel* Label1; // "Készletkezelés"
    ui::TPageControl* PageControl1;
    ui::TTabSheet* TabSheet1; // "Termésnövelő"
    ui::TDBLookupComboBox* DBLookupComboBox1;
    ui::TDBText* DBText1;           // Nit
    ui::TDBText* DBText2;           // Kal (P)
    ui::TDBText* DBText3;           // Fos (K)
    ui::TRadioButton* RadioButton1; // "Szilárd, granulált"
    ui::TRadioButton* RadioButton2; // "Folyékony"
    ui::TEdit* Edit10;
    ui::TComboBox* ComboBox3;
    ui::TLabel* StockText1;   // the stock of the fertiliser and its unit
    ui::TButton* Button3;     // "Egyéb termésnövelő anyag"
    ui::TTabSheet* TabSheet2; // "Növényvédő"
    ui::TDBLookupComboBox* DBLookupComboBox2;
    ui::TDBText* DBText4; // Szertip
    ui::TDBText* DBText5; // Hata
    ui::TEdit* Edit12;
    ui::TComboBox* ComboBox1;
    ui::TLabel* StockText2;
    ui::TButton* Button4;                     // "Egyéb növényvédőszer"
    ui::TTabSheet* TabSheet3;                 // "Vetőmag"
    ui::TDBLookupComboBox* DBLookupComboBox4; // species
    ui::TDBLookupComboBox* DBLookupComboBox3; // varieties
    ui::TEdit* Edit13;
    ui::TComboBox* ComboBox2;
    ui::TLabel* StockText3;
    ui::TButton* Button6; // "Egyéb növényfaj"
    ui::TButton* Button5; // "Egyéb fajta"
    ui::TDateTimePicker* DateTimePicker4;
    ui::TButton* Button1; // "Változás rögzítése "
    ui::TButton* Button2; // "Mégsem"

    // The day the shown and compared stock is taken on: the current day after
    // activation, the picker's date once the picker has been left.
    sys::DateTime StockDay() const { return stockDay_; }
    // The stock of the active tab's current material on StockDay, in its own unit (0
    // when the tab's list is empty).
    double ShownMaterialStock() const { return stock_; }

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void Table1AfterScroll(db::TDataSet& DataSet);
    void Table2AfterScroll(db::TDataSet& DataSet);
    void Table3AfterScroll(db::TDataSet& DataSet);
    void PageControl1Change(TObject* Sender);
    void DateTimePicker4Exit(TObject* Sender);
    void DBLookupComboBox1Click(TObject* Sender);
    void DBLookupComboBox4Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);

private:
    // The controls and the material of one tab.
    struct Tab {
        res::MaterialKind kind;
        db::TTable* table;
        ui::TEdit* quantity;
        ui::TComboBox* units;
        ui::TLabel* stock;
    };
    Tab ActiveTab();
    void BuildFertiliserTab();
    void BuildPesticideTab();
    void BuildSeedTab();
    // Points the stock line at the active tab's current material.
    // The name boxes, the fertiliser's state and the stock show the current row of each
    // tab's table: the material a booking goes to.
    void ShowCurrent();
    void ShowStock();
    void ShowState();
    void Table3FilterRecord(db::TDataSet& DataSet, bool& Accept);

    sys::DateTime stockDay_ = 0;
    double stock_ = 0;
    std::string speciesCode_; // the species the variety list is narrowed to
};
extern Tkeszletkezeles* keszletkezeles;

// After a stock change or a new material: asks "További készletmódosítás ?"; true for
// Yes.
bool AskForFurtherStockChange();
// After a new material: the same question; No also closes the stock movements form when
// it is open, so that both windows end.
void OfferFurtherStockChange();
