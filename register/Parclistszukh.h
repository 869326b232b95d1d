#pragma once
// "Táblák listájának szűkítése": the conditions of the field list (mode 0) or of the
// operations-by-land-parcel report (mode 1). "Rendben" turns the marked land parcels and
// house names, the year, the crop and the active-only box into the filter texts below,
// which the list and the report read through the global pointer while this dialog is open.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

// The texts one "Rendben" builds from the dialog's choices.
struct FieldListConditions {
    std::string FieldWhereTail;
    std::string YearText;
    std::string CropText;
    std::string LandParcelFilter;
    std::string FieldFilter;
    std::string HouseNameFilter;
};

struct FieldListChoices {
    std::vector<int> landParcels;        // Tableid, in mark order
    std::vector<std::string> houseNames; // mode 1 only
    std::string year;                    // checked as a whole number before
    std::string crop;
    bool activeOnly = false;
};

// Builds the texts; every typed value enters them quoted.
FieldListConditions BuildFieldListConditions(const FieldListChoices& choices);

class TParcListSzuk : public ui::TForm {
public:
    explicit TParcListSzuk(db::Session& session);

private:
    db::Session& session_;

public:
    int FieldListMode = 0; // 0 the field list, 1 operations by land parcel
    std::string FieldWhereTail;
    std::string YearText;
    std::string CropText;
    std::string LandParcelFilter;
    std::string FieldFilter;
    std::string HouseNameFilter;

    db::TTable Table1{session_, "Table1"}; // tablak.DB, active land parcels
    db::TDataSource DataSource1{&Table1};
    db::TTable Table2{session_, "Table2"}; // Szhelyrajzi.db
    db::TQuery Query1{session_, "Query1"}; // the farming years
    db::TQuery Query2{session_, "Query2"}; // the crops
    db::TQuery Query3{session_, "Query3"}; // the house names
    db::TDataSource DataSource3{&Query3};

    ui::TLabel* Label1; // the heading
    ui::TLabel* Label2; // "CTRL-al több tábla is kijelölhető."
    ui::TDBGrid* DBGrid1;
    ui::TDBGrid* DBGrid2;
    ui::TComboBox* ComboBox1; // "Gazdasági év :"
    ui::TComboBox* ComboBox2; // "Ágazat :"
    ui::TCheckBox* CheckBox1; // "Csak az aktív táblák :"
    ui::TButton* Button1;     // "Összes feltétel törlése"
    ui::TButton* Button2;     // "Bezárás"
    ui::TButton* Button3;     // "Rendben"
    ui::TPopupMenu* PopupMenu1;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);

private:
    std::vector<int> MarkedLandParcels();
    std::vector<std::string> MarkedHouseNames();
    bool activated_ = false;
};
extern TParcListSzuk* ParcListSzuk;

// The main window's opener: the dialog in the mode given, shown modally and freed.
void OpenFieldListFilter(db::Session& session, int mode);
