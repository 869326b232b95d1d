#pragma once
// "Tápanyag-gazdálkodási terv": the nutrient-management plan of one field, each item a
// fertiliser with its quantity per hectare and the active-ingredient amounts that follow
// from the percentages typed (only the amounts are stored).

#include "field_chooser.h"
#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <array>
#include <optional>
#include <string>

namespace reg {
// The amount per hectare of a percentage of a quantity: percent × (quantity × 0.01);
// none when either text is empty or no number.
std::optional<double> NutrientAmount(const std::string& percent, const std::string& quantity);
// The percentage an amount was computed from, as text; empty when there is no amount or
// the quantity is empty or 0 (the amount tells nothing of the percentage then).
std::string RecoveredPercent(const db::TField& amount, const db::TField& quantity);
} // namespace reg

class TTapterv : public ui::TForm {
public:
    explicit TTapterv(db::Session& session);

private:
    db::Session& session_;

public:
    // The field whose plan is shown: "TEMP" while a field is being created, "" from the
    // menu (the chooser is shown), else the field's Parckod.
    std::string FieldCode;

    reg::FieldChooser Chooser; // Table1 (active fields), the chooser panel and the header
    db::TQuery Query1{session_, "Query1"}; // the plan list
    db::TTable Table2{session_, "Table2"}; // Tapterv.db, written
    db::TTable Table3{session_, "Table3"}; // Tapanyagok.db, the material list
    db::TDataSource DataSource2{&Query1};
    db::TDataSource DataSource3{&Table3};

    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1;                     // "Új tétel"
    ui::TButton* Button2;                     // "Módosítás"
    ui::TButton* Button3;                     // "Törlés"
    ui::TButton* Button4;                     // "Másik parcella"
    ui::TButton* Button5;                     // "Bezárás"
    ui::TGroupBox* GroupBox1;                 // the item editor
    ui::TDBLookupComboBox* DBLookupComboBox1; // "Termésnövelő megnevezése:"
    ui::TEdit* Edit1;                         // quantity per hectare
    ui::TComboBox* ComboBox1;                 // unit
    // Percentages and amounts per hectare: Nitrogén, Foszfor, Kálium, Egyéb1, Egyéb2.
    std::array<ui::TEdit*, 5> Percents;
    std::array<ui::TEdit*, 5> Amounts;
    ui::TEdit* Edit7;     // name of Egyéb1
    ui::TEdit* Edit8;     // name of Egyéb2
    ui::TButton* Button7; // "Rögzítés"
    ui::TButton* Button8; // "Mégsem"

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender); // "Új tétel"
    void Button2Click(TObject* Sender); // "Módosítás"
    void Button3Click(TObject* Sender); // "Törlés"
    void Button4Click(TObject* Sender); // "Másik parcella"
    void Button5Click(TObject* Sender); // "Bezárás"
    void Button6Click(TObject* Sender); // "Kiválasztás"
    void Button7Click(TObject* Sender); // "Rögzítés"
    void Button8Click(TObject* Sender); // "Mégsem"
    void DBLookupComboBox1Click(TObject* Sender);
    void QuantityChange(TObject* Sender);

private:
    void ShowPlan(const std::string& code);
    void ShowEditor(const std::string& caption);
    void HideEditor();
    void Recompute(std::size_t which);
    std::optional<int> edited_; // Tap_id of the item in the editor; none: a new item
};
extern TTapterv* Tapterv;
