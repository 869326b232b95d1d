#pragma once
// "Felhasznált anyagok": the materials of the operation being entered in TMuvadat, one
// tab per kind, listing the materials in stock on the operation's date. "Rendben >>"
// posts one use per chosen field with its withdrawal, all pending until the entry form
// saves (material_posting.h).

#include "material_posting.h"
#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <array>
#include <string>
#include <vector>

namespace ops {
// The stock query of a kind for the operation date: the materials whose ledger sum up to
// that day is above 0.0000001, the date as month/day/year ('3/5/2010').
std::vector<std::string> StockQuerySql(res::MaterialKind kind, sys::DateTime day);
} // namespace ops

class TAnyagfel : public ui::TForm {
public:
    explicit TAnyagfel(db::Session& session);

private:
    db::Session& session_;

public:
    std::string PlanMode;
    bool MaterialsPosted = false;

    db::TTable Table1{session_, "Table1"}; // Alapadatok.db, the farm row
    db::TTable Magfajtak{session_, "Magfajtak"};
    db::TQuery Query1{session_, "Query1"}; // fertilisers in stock
    db::TQuery Query2{session_, "Query2"}; // pesticides in stock
    db::TQuery Query3{session_, "Query3"}; // seeds in stock
    db::TDataSource DataSource1{&Query1};
    db::TDataSource DataSource2{&Query2};
    db::TDataSource DataSource3{&Query3};
    db::TDataSource DataSourceM{&Magfajtak};

    ui::TLabel* Label24;
    ui::TPageControl* PageControl1;
    // fertilisers
    ui::TDBLookupComboBox* DBLookupComboBox1;
    ui::TEdit* Edit10;
    ui::TComboBox* ComboBox1;
    ui::TDBEdit* DBEdit2;
    ui::TDBText* DBText1;
    ui::TButton* Button4;
    ui::TCheckBox* CheckBox1;
    ui::TEdit *Edit8, *Edit9, *Edit13;
    ui::TRadioButton *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4;
    ui::TCheckBox* CheckBox2;
    ui::TDateTimePicker* DateTimePicker1;
    // pesticides
    ui::TDBLookupComboBox* DBLookupComboBox2;
    ui::TDBEdit* DBEdit1;
    ui::TDBText* DBText2;
    ui::TEdit* Edit12;
    ui::TComboBox* ComboBox2;
    ui::TButton* Button5;
    ui::TDBEdit* DBEdit6;
    ui::TEdit* Edit14; // spray serial
    ui::TEdit* Edit7;  // waiting days
    ui::TEdit* Edit2;  // spray liquid
    ui::TDateTimePicker* DateTimePicker2;
    ui::TEdit* Edit3; // responsible person
    // seeds
    ui::TDBLookupComboBox* DBLookupComboBox4;
    ui::TDBLookupComboBox* DBLookupComboBox3;
    ui::TEdit* Edit11;
    ui::TComboBox* ComboBox3;
    ui::TButton* Button6;
    ui::TDBEdit* DBEdit3;
    ui::TDBText* DBText3;
    ui::TEdit* Edit4; // germ count
    // the total groups
    ui::TGroupBox *GroupBox1, *GroupBox2, *GroupBox3;
    ui::TEdit *Edit1, *Edit5, *Edit6;
    ui::TComboBox *ComboBox4, *ComboBox5, *ComboBox6;
    ui::TButton *Button7, *Button8, *Button9, *Button10, *Button11, *Button12;
    ui::TButton* Button1; // "<< Vissza"
    ui::TButton* Button2; // "Rendben >>"
    ui::TButton* Button3; // "Készletkezelés"

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void DBLookupComboBox1Click(TObject* Sender);
    void DBLookupComboBox2Click(TObject* Sender);
    void DBLookupComboBox4Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void CheckBox2Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);

    bool Planned() const { return PlanMode == "terv"; }

private:
    // The controls of one tab and its total group.
    struct Tab {
        res::MaterialKind kind;
        db::TQuery* query;
        ui::TEdit* dose;
        ui::TComboBox* doseUnit;
        ui::TGroupBox* group;
        ui::TEdit* total;
        ui::TComboBox* totalUnit;
        std::string computedDose;
    };
    std::array<Tab, 3> tabs_;
    bool stockKeeping_ = true;

    Tab& ActiveTab();
    void OpenTotal(Tab& tab);
    void TakeMax(Tab& tab);
    void ApplyTotal(Tab& tab);
    void RebuildStockQueries();
    // The use of the active tab, or none when a check refused it (messages shown).
    std::optional<ops::MaterialUse> ReadUse(Tab& tab, double area);
    std::optional<double> TotalBase(Tab& tab);
    std::vector<ops::UseField> Fields() const;
    double OperationArea() const;
};
extern TAnyagfel* Anyagfel;
