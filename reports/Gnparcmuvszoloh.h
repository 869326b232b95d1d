#pragma once
// "Listázandó táblák szűkítése": the conditions of the per-field operations sheets of
// the 2004-2009 diary in three kinds (0 plantation data, 1 orchard data, 2 grazing
// log). The user picks one field; its performed operations with their tractor,
// implement and operation type are selected and printed with the field's data of the
// sheet's kind.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/menus.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <cstdint>
#include <string>
#include <vector>

// The data a sheet kind prints beside the operations: its table, the column naming the
// field, the columns printed and at most how many rows.
struct ParcelSideData {
    const char* table;
    const char* fieldColumn;
    std::vector<const char*> columns;
    std::size_t maxRows;
    const char* layoutFile;
};
// Kind 0, 1 or 2 (any other value is taken as 0).
const ParcelSideData& SideDataOfKind(int kind);

class TGNParcMuvSzolo : public ui::TForm {
public:
    explicit TGNParcMuvSzolo(db::Session& session);

private:
    db::Session& session_;

public:
    std::uint8_t SheetKind = 0; // set by the opener
    std::string ConditionTail;  // the WHERE continuation of the last run

    db::TTable Table1{session_, "Table1"}; // parcellak.DB, the grid's fields
    db::TDataSource DataSource1{&Table1};
    db::TQuery Query1{session_, "Query1"}; // the chosen field's operations
    db::TTable Table2{session_, "Table2"}; // the side data of the sheet's kind
    TRvProject RvProject1{this, "RvProject1", "GNUltetvenyMuv.rav"};
    TRvQueryConnection RvQueryGNParcMuvConnection1{this, "RvQueryGNParcMuvConnection1", &Query1};
    TRvCustomConnection RvCustomGNParcKiegConnection1{this, "RvCustomGNParcKiegConnection1"};
    reg::FarmRow FarmRow1{this, session_};

    ui::TCheckBox* CheckBox1; // "Aklív táblák"
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1; // "Nyomtatási kép"
    ui::TButton* Button4; // "Nyomtatás"
    ui::TButton* Button3; // "Mégsem"
    ui::TPopupMenu* PopupMenu1;
    ui::TMenuItem* Aktivparcellak1;

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void Aktivparcellak1Click(TObject* Sender);

    // The side rows of the field for the sheet's kind, as texts in column order.
    std::vector<std::vector<std::string>> SideRows(const std::string& parckod);

private:
    std::vector<std::vector<std::string>> side_; // what the side connection delivers
};
extern TGNParcMuvSzolo* GNParcMuvSzolo;

// The conditions form of the kind shown modally and freed.
void OpenParcelOperationsConditions(db::Session& session, std::uint8_t kind);
