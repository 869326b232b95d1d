#pragma once
// "Elvégzett műveletek listázása": the conditions of the performed-operations list. The
// marked fields, the harvest year, the sector and the date range become the condition
// tail and the date range that the list reads through the global pointer while this
// form stays open under it.

#include "condition_controls.h"
#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/ui/picker.h"
#include "platform/ui/vcl.h"

#include <string>

class Telvmuvlist : public ui::TForm {
public:
    explicit Telvmuvlist(db::Session& session);

private:
    db::Session& session_;

public:
    std::string ConditionTail;
    std::string DateRangeFilter;
    std::string DateRangeTail;

    db::TQuery Query1{session_, "Query1"}; // the operation dates
    db::TQuery Query2{session_, "Query2"}; // the farming years
    db::TQuery Query3{session_, "Query3"}; // the sectors
    db::TQuery Query4{session_, "Query4"}; // the fields
    db::TDataSource DataSource1{&Query4};

    ui::TDBGrid* DBGrid1;
    ui::TCheckBox* CheckBox1;             // "Aklív táblák"
    ui::TComboBox* ComboBox1;             // "Ágazat :"
    ui::TComboBox* ComboBox2;             // "Betakarítás éve :"
    ui::TDateTimePicker* DateTimePicker1; // "Legkorábbi művelet dátuma :"
    ui::TDateTimePicker* DateTimePicker2; // "Legkésőbbi művelet dátuma :"
    ui::TButton* Button1;                 // "Feltételek törlése"
    ui::TButton* Button2;                 // "Tovább >>"
    ui::TButton* Button3;                 // "<< Vissza"
    ui::TPopupMenu* PopupMenu1;
    ui::TMenuItem* Aktvparcellk1;

    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void Aktvparcellk1Click(TObject* Sender);

private:
    lists::ConditionControls Controls();
};
extern Telvmuvlist* elvmuvlist;
