#pragma once
// "Táblák csoportos módosítása": writes the same chosen properties into several active
// fields at once. The fields are marked on the first page; the second page ticks the
// properties to change and holds one value for each. Every value is checked before any
// field changes, and all the fields change in one save.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <array>
#include <optional>
#include <string>

class TCsoportosTablamod : public ui::TForm {
public:
    explicit TCsoportosTablamod(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"}; // the active fields
    db::TQuery Query2{session_, "Query2"}; // the KET areas
    db::TTable Table2{session_, "Table2"}; // Magfajtak.db, the crop list
    db::TTable Table1{session_, "Table1"}; // parcellak.DB, written
    db::TDataSource DataSource1{&Query1};
    db::TDataSource DataSource2{&Query2};
    db::TDataSource DataSource3{&Table2};

    ui::TGroupBox* GroupBox1; // "Módidsítani kívánt táblák kijelölése"
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1;     // "mégsem"
    ui::TButton* Button2;     // "tovább"
    ui::TGroupBox* GroupBox2; // "Változtatni kívánt tulajdonságok megadása"
    // The thirteen tick boxes, CheckBox1 ... CheckBox13 in the order of the properties.
    std::array<ui::TCheckBox*, 13> Ticks;
    ui::TEdit* Edit1;                         // area, hectares
    ui::TDBLookupComboBox* DBLookupComboBox1; // crop
    ui::TEdit* Edit2;                         // farming year
    ui::TCheckBox* CheckBox14;                // closing "igen/nem"
    ui::TEdit* Edit3;                         // house name
    ui::TCheckBox* CheckBox15;                // second crop "igen/nem"
    ui::TEdit* Edit4;                         // usage code
    ui::TDBGrid* DBGrid2;                     // KET areas
    ui::TComboBox* ComboBox1;                 // propagation material
    ui::TCheckBox* CheckBox16;                // nutrient plan fulfilled "igen/nem"
    ui::TEdit* Edit5;                         // planned yield
    ui::TCheckBox* CheckBox17;                // by-product ploughed in "igen/nem"
    ui::TEdit* Edit6;                         // remark
    ui::TButton* Button3;                     // "mégsem"
    ui::TButton* Button4;                     // "rögzítés"
    ui::TButton* Button5;                     // "vissza a táblák kiválasztásához"

    void FormShow(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    // Writes the ticked properties into the field with that Parc_id.
    void ApplyToField(const std::string& parcId);

private:
    struct Changes {
        std::optional<std::string> ter, agazat, evj, aktiv, hazmeg, masod, hasznkod, szaporitotip,
            tervhozam, megjegyzes;
        std::optional<int> ketid;
        std::optional<bool> tapanytelj, talajbaszantas;
    };
    std::optional<Changes> ReadChanges(const std::vector<std::string>& parcIds,
                                       const std::vector<std::string>& fieldCodes);
    bool YearLeavesSerialsUnique(const std::vector<std::string>& parcIds, int evj);
    Changes changes_;
};
extern TCsoportosTablamod* CsoportosTablamod;

namespace reg {
// Square metres of an area typed in hectares ("1,5" -> "15000"); none for no number.
std::optional<std::string> HectaresToSquareMetres(const std::string& hectares);
} // namespace reg
