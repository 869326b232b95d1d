#pragma once
// The side data of a field that the create and the modify forms share: the window
// "Kiegészítő adatok" with its plantation rows (Parckiegadat.db with the variety rows of
// Ultkieg02.db), the grassland use and the grazing log (legnaplo.db), and the rules of
// the provisional rows a field form writes before its field has a code.
//
// Rows entered for a field not yet saved carry an empty code (plantation, variety,
// orchard and grazing rows) or "TEMP" (plan items and influencing factors); the save
// gives them the new code, and a form left without saving removes them.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

namespace reg {

// The grassland use of a field as the two combos hold it.
struct Grassland {
    int use = -1;      // Hasznmod 0-2, -1 none
    int type = -1;     // Gyeptip 0-5, 111 a typed type, -1 none
    std::string typed; // Egyebtip when type is 111
    bool Empty() const { return use < 0 && type < 0; }
};
// What the combos hold: a typed type that is none of the items is type 111.
Grassland ReadGrassland(ui::TComboBox& useBox, ui::TComboBox& typeBox);
// Replaces the field's gyepalap.db row by one holding the use (none when it is empty).
void WriteGrassland(db::Session& session, const std::string& parckod, const Grassland& grass);
// Shows the field's stored use in the combos (both emptied first).
void LoadGrassland(db::Session& session, const std::string& parckod, ui::TComboBox& useBox,
                   ui::TComboBox& typeBox);

// Gives the provisional rows of an unsaved field (empty codes and "TEMP") the new code.
void AdoptProvisionalRows(db::Session& session, const std::string& parckod);
// Removes the provisional rows of an unsaved field.
void DiscardProvisionalRows(db::Session& session);

// The "Kiegészítő adatok" window over a field form.
class SideData {
public:
    SideData(QWidget* form, db::Session& session, int left, int top);

    // The field whose rows are shown and written; "" while it is being created.
    void SetField(const std::string& parckod);
    void Open();
    void Close();
    void ShowWindow();
    void HideWindow();

    db::TQuery Query3;  // the plantation rows joined with their varieties
    db::TTable Table9;  // Parckiegadat.db
    db::TTable Table12; // Ultkieg02.DB
    db::TTable Table8;  // legnaplo.db, the field's grazing rows
    db::TDataSource DataSource3{&Query3};
    db::TDataSource DataSource8{&Table8};

    ui::TGroupBox* GroupBox5; // "Kiegészítő adatok"
    ui::TPageControl* PageControl1;
    ui::TTabSheet* TabSheet1;             // "Ültetvény"
    ui::TTabSheet* TabSheet2;             // "Gyep"
    ui::TDBGrid* DBGrid4;                 // plantation rows
    ui::TButton* Button15;                // "Új sor"
    ui::TButton* Button16;                // "Módosítás"
    ui::TButton* Button18;                // "Törlés"
    ui::TButton* Button19;                // "Bezárás"
    ui::TGroupBox* GroupBox6;             // "Kiegészítő adat"
    ui::TEdit* Edit5;                     // "Faj :"
    ui::TEdit* Edit10;                    // "Fajta :"
    ui::TEdit* Edit6;                     // "Alany :"
    ui::TEdit* Edit14;                    // "Művelési mód :"
    ui::TEdit* Edit19;                    // "Odúk száma :"
    ui::TEdit* Edit11;                    // "Részarány (%) :"
    ui::TEdit* Edit12;                    // "Sortáv (m) :"
    ui::TEdit* Edit13;                    // "Tőtáv (m) :"
    ui::TEdit* Edit15;                    // "Telepítés éve :"
    ui::TEdit* Edit7;                     // "Hozam (t/ha) :"
    ui::TEdit* Edit21;                    // "Rovarcspdák száma :"
    ui::TButton* Button17;                // "Mégsem"
    ui::TButton* Button14;                // "Rögzítés"
    ui::TComboBox* ComboBox1;             // "Hasznosítási mód :"
    ui::TComboBox* ComboBox3;             // "Gyeptípus :"
    ui::TDBGrid* DBGrid6;                 // grazing rows
    ui::TButton* Button28;                // "Új sor"
    ui::TButton* Button27;                // "Módosítás"
    ui::TButton* Button26;                // "Törlés"
    ui::TButton* Button25;                // "Bezárás"
    ui::TGroupBox* GroupBox8;             // "Legeltetés"
    ui::TDateTimePicker* DateTimePicker1; // "Kezdete :"
    ui::TDateTimePicker* DateTimePicker2; // "Vége :"
    ui::TEdit* Edit28;                    // "Terület (m²) :"
    ui::TEdit* Edit30;                    // "Állatfaj :"
    ui::TEdit* Edit31;                    // "Fajta :"
    ui::TEdit* Edit32;                    // "Korcsoport :"
    ui::TEdit* Edit33;                    // "Darab :"
    ui::TEdit* Edit29;                    // "Legeltetés módja :"
    ui::TButton* Button30;                // "Mégsem"
    ui::TButton* Button29;                // "Rögzítés"

    void PlantationNew();
    void PlantationModify();
    void PlantationSave();
    void PlantationDelete();
    void GrazingNew();
    void GrazingModify();
    void GrazingSave();
    void GrazingDelete();

private:
    void ReopenPlantations();
    bool PlantationNumbersValid();
    int CurrentKiegid();

    db::Session& session_;
    std::string field_;
    bool modify_ = false; // the open editor changes the selected row; else it adds one
    int kiegid_ = 0;      // the plantation row in the editor
};

} // namespace reg
