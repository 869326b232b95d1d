#pragma once
// The diesel invoice items of the excise-duty refund claim: entered, modified, deleted
// and emptied here, and written as the import file of the tax authority's form-filling
// program ("Import Fájl Készítése Abev Programhoz J04 bevalláshoz").

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"
#include "resources/J04ImportFile.h"

#include <string>
#include <vector>

class TJ05 : public ui::TForm {
public:
    explicit TJ05(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // szlatet.db, by date of performance
    db::TDataSource DataSource1{&Table1};
    db::TQuery Query1{session_, "Query1"}; // the suggestion lists
    ui::TSaveDialog SaveDialog1;

    ui::TDBGrid* DBGrid1;
    ui::TButton* Button4; // "új számla"
    ui::TButton* Button2; // "módisítás"
    ui::TButton* Button3; // "törlés"
    ui::TButton* Button8; // "szervíz"
    ui::TButton* Button6; // the import file

    ui::TGroupBox* GroupBox1;             // the entry panel
    ui::TComboBox* ComboBox3;             // "Kibocsájtó adószáma:"
    ui::TComboBox* ComboBox1;             // "Számla típusa:"
    ui::TComboBox* ComboBox2;             // "Fajta kód:"
    ui::TComboBox* ComboBox4;             // "Számla sorszáma:"
    ui::TDateTimePicker* DateTimePicker1; // "Teljesítés kelte:"
    ui::TDBEdit* DBEdit1;                 // "Gázolaj mennyisége:", Gmenny
    ui::TDBEdit* DBEdit2;                 // "Számla végösszege:", Vegossz
    ui::TButton* Button5;                 // "rögzítés"
    ui::TButton* Button1;                 // "mégsem"
    ui::TMemo* Memo1;
    ui::TMemo* Memo2;
    ui::TMemo* Memo3;
    ui::TMemo* Memo4;
    ui::TMemo* Memo5;
    ui::TMemo* Memo6;
    ui::TMemo* Memo7;

    ui::TGroupBox* GroupBox2; // "Szervíz"
    ui::TButton* Button7;     // "tábla ürítése"
    ui::TButton* Button9;     // "szervíz bezárása"
    ui::TButton* Button10;    // "használati leírás"
    ui::TMemo* Memo8;         // the warning before emptying
    ui::TMemo* Memo9;         // the usage text

    void FillTaxNumberList();
    void FillInvoiceNumberList();
    // The quantity line as the import file writes it.
    std::string FormatQuantity(const std::string& line);

    void FormShow(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button9Click(TObject* Sender);

private:
    void FillList(const std::string& field, ui::TComboBox* box);
    void ShowEntryPanel(const std::string& caption);
    // The items in the order the list shows them; leaves the table on its last item.
    std::vector<res::DieselInvoiceItem> ReadItems();
};
extern TJ05* J05;
