#pragma once
// "Művelethez felhasznált anyagok módosítása": the material uses of one recorded operation
// (fertilisers, pesticides, seeds), each list with its delete, quantity change and add;
// the nutrient percentages, manure kind and incorporation date of fertiliser uses and the
// details of a pesticide use. Every action writes at once (recorded_uses.h); the stock
// lists are those of the operation's date as the operation modifier shows it.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/datetime.h"
#include "platform/ui/vcl.h"

#include <functional>
#include <optional>
#include <string>

class TFelhAnyMod : public ui::TForm {
public:
    // `operationDate` gives the operation date as the opener shows it, read when needed.
    TFelhAnyMod(db::Session& session, std::function<sys::DateTime()> operationDate);

private:
    db::Session& session_;
    std::function<sys::DateTime()> operationDate_;

public:
    std::string OperationCode; // Muvkod of the operation whose uses are edited
    bool StockKeeping = true;
    float MaterialStockOnDate = 0; // of the use whose quantity box is open

    db::TTable Table2{session_, "Table2"}; // felhanyag.db: the pesticide use in its item box
    db::TTable Table3{session_, "Table3"}; // ElvMuv.DB: the operation
    db::TTable Table6{session_, "Table6"}; // Magfajtak.DB: species of the seed box
    db::TTable Table7{session_, "Table7"}; // a material master (MaterialUnit)
    db::TQuery Query1{session_, "Query1"}; // seed uses
    db::TQuery Query2{session_, "Query2"}; // pesticide uses
    db::TQuery Query3{session_, "Query3"}; // fertiliser uses
    db::TQuery Query5{session_, "Query5"}; // fertiliser stock on the operation date
    db::TQuery Query6{session_, "Query6"}; // pesticide stock
    db::TQuery Query7{session_, "Query7"}; // seed stock
    db::TDataSource DataSource1{&Query1};
    db::TDataSource DataSource2{&Query2};
    db::TDataSource DataSource3{&Query3};
    db::TDataSource DataSource4{&Table2};
    db::TDataSource DataSource5{&Query5};
    db::TDataSource DataSource6{&Query6};
    db::TDataSource DataSource7{&Query7};
    db::TDataSource DataSource8{&Table6};

    ui::TLabel* Label1; // " Felhasznált anyagok módosítása "
    // the lists and their buttons
    ui::TDBGrid* DBGrid3; // fertilisers
    ui::TButton *Button1, *Button2, *Button18, *Button21, *Button3;
    ui::TDBGrid* DBGrid1; // pesticides
    ui::TButton *Button6, *Button7, *Button23, *Button8;
    ui::TDBGrid* DBGrid2; // seeds
    ui::TButton *Button9, *Button10, *Button11;
    ui::TButton* Button5; // "Rendben"
    ui::TPopupMenu *PopupMenu1, *PopupMenu2, *PopupMenu3;
    // the quantity box
    ui::TPanel* Panel1;
    ui::TEdit* Edit1;
    ui::TButton* Button4;
    // nutrient percentages and manure kind
    ui::TGroupBox* GroupBox1;
    ui::TEdit *Edit6, *Edit7, *Edit8;
    ui::TRadioButton *RadioButton3, *RadioButton4, *RadioButton5, *RadioButton6;
    ui::TButton *Button20, *Button19;
    // incorporation date
    ui::TGroupBox* GroupBox2;
    ui::TCheckBox* CheckBox1;
    ui::TDateTimePicker* DateTimePicker1;
    ui::TRadioButton *RadioButton1, *RadioButton2;
    ui::TButton *O, *Button22;
    // pesticide item
    ui::TGroupBox* GroupBox3;
    ui::TDBText *DBText1, *DBText5, *DBText6;
    ui::TDBEdit *DBEdit4, *DBEdit5, *DBEdit6;
    ui::TDateTimePicker* DateTimePicker3;
    ui::TButton *Button25, *Button24;
    // the add boxes
    ui::TPanel* Panel2; // fertiliser
    ui::TDBLookupComboBox* DBLookupComboBox1;
    ui::TEdit* Edit2;
    ui::TComboBox* ComboBox1;
    ui::TDBEdit* DBEdit2;
    ui::TDBText* DBText2;
    ui::TButton *Button12, *Button17;
    ui::TPanel* Panel3; // pesticide
    ui::TDBLookupComboBox* DBLookupComboBox2;
    ui::TEdit* Edit12;
    ui::TComboBox* ComboBox2;
    ui::TDBEdit* DBEdit1;
    ui::TDBText* DBText3;
    ui::TEdit* Edit4; // spray liquid
    ui::TDateTimePicker* DateTimePicker2;
    ui::TEdit* Edit3; // responsible person
    ui::TButton *Button13, *Button15;
    ui::TPanel* Panel4; // seed
    ui::TDBLookupComboBox* DBLookupComboBox4;
    ui::TDBLookupComboBox* DBLookupComboBox3;
    ui::TEdit* Edit11;
    ui::TComboBox* ComboBox3;
    ui::TDBEdit* DBEdit3;
    ui::TDBText* DBText4;
    ui::TEdit* Edit5; // germ count
    ui::TButton *Button14, *Button16;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void Query3CalcFields(db::TDataSet& DataSet);
    void Button1Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button9Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void Button10Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Edit1KeyPress(TObject* Sender, TKey& Key);
    void Button18Click(TObject* Sender);
    void Button20Click(TObject* Sender);
    void Button21Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void OClick(TObject* Sender);
    void Button23Click(TObject* Sender);
    void Button25Click(TObject* Sender);
    void Button24Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button11Click(TObject* Sender);
    void DBLookupComboBox4Click(TObject* Sender);
    void Button12Click(TObject* Sender);
    void Button13Click(TObject* Sender);
    void Button14Click(TObject* Sender);
    void Button5Click(TObject* Sender);

    // The unit (Mert) of a material in its master, found by the code's range; none for a
    // code outside the ranges or not in its master.
    std::optional<std::string> MaterialUnit(const std::string& code);
    // Writes Betido of the use: the incorporation box's date when ticked, else empty.
    void SetIncorporationDate(const std::string& felhkod, std::optional<sys::DateTime> day);

private:
    // One of the three use lists: its query, its grid and its stock list.
    struct UseList {
        db::TQuery* uses;
        ui::TDBGrid* grid;
        db::TQuery* stock;
        const char* codeField; // the master's code in the list: Kod or Magkod
        const char* dose;      // the use's dose: Menny_1 in the fertiliser list
        const char* unit;      // the use's unit: Mert_1 in the fertiliser list
        int boxTop;            // where the quantity box stands over its buttons
    };
    UseList lists_[3];
    UseList* changing_ = nullptr; // the list the quantity box works on

    void DeleteUse(UseList& list);
    bool CheckManureKind(const std::string& suffix);
    void OpenQuantityBox(UseList& list);
    void Reopen(db::TQuery& query);
    void ReopenStock();
    bool OperationFound();
    float Hectares();
    // Adds the use of an add box: the stock test, the rows, the lists reopened. False
    // when refused (the box stays open).
    struct AddedUse;
    bool AddUse(const AddedUse& added);
};
extern TFelhAnyMod* FelhAnyMod;

// Opens the material-use modifier over the operation modifier: the uses of operationCode,
// with operationDate giving the modifier's date as it stands (read whenever it is needed).
void OpenMaterialUseModifier(db::Session& session, const std::string& operationCode,
                             std::function<sys::DateTime()> operationDate);
