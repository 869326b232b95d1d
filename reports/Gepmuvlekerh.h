#pragma once
// "Gépi művelet lekérdezés": the performed operations of one of the farm's own tractors
// and/or implements in a date range, optionally of one field and one sector; printed at
// once as "Gepileker.rav".

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/picker.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <optional>
#include <string>
#include <vector>

// The conditions of one machine query; an empty optional adds no condition.
struct MachineQueryChoices {
    sys::DateTime from = 0, to = 0;
    std::optional<std::string> tractor, implement, field, sector; // codes, sector name
};

// The lines of the query text; every code and the sector enter it as SQL literals.
std::vector<std::string> MachineQueryLines(const MachineQueryChoices& choices);

class TGepmuvleker : public ui::TForm {
public:
    explicit TGepmuvleker(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Erogepek.db, own tractors
    db::TTable Table2{session_, "Table2"}; // Munkagepek.db, own implements
    db::TTable Table3{session_, "Table3"}; // parcellak.db
    db::TDataSource DataSource1{&Table1}, DataSource2{&Table2}, DataSource3{&Table3};
    db::TQuery Query1{session_, "Query1"}; // the sectors
    db::TQuery Query2{session_, "Query2"}; // the operation dates
    db::TQuery Query3{session_, "Query3"}; // the rows of the report
    TRvProject RvProject1{this, "RvProject1", "Gepileker.rav"};
    TRvQueryConnection RvGepiQueryConnection1{this, "RvGepiQueryConnection1", &Query3};
    TRvCustomConnection RvGepiCustomConnection1{this, "RvGepiCustomConnection1"};
    reg::FarmRow FarmRow1{this, session_};

    ui::TDBGrid* DBGrid1;     // tractors
    ui::TDBGrid* DBGrid2;     // implements
    ui::TDBGrid* DBGrid3;     // fields
    ui::TCheckBox* CheckBox1; // "Erőgép"
    ui::TCheckBox* CheckBox2; // "Munkagép"
    ui::TCheckBox* CheckBox3; // "Tábla"
    ui::TCheckBox* CheckBox4; // "Aktív parcellák"
    ui::TComboBox* ComboBox1; // "Ágazat:"
    ui::TDateTimePicker* DateTimePicker1;
    ui::TDateTimePicker* DateTimePicker2;
    ui::TButton* Button1; // "Lekérdezés"
    ui::TButton* Button2; // "Bezárás"

    void FormShow(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void CheckBox4Click(TObject* Sender);
    void Query3CalcFields(db::TDataSet& DataSet);

    // The conditions the controls give now.
    MachineQueryChoices Choices();
};
extern TGepmuvleker* Gepmuvleker;
