#pragma once
// "Gazdálkodási Napló Címlap": the cover page of the farming diary for a farming year
// chosen from those in use, with the farm's, the contact person's and the advisers' data.
// The 2004-2009 diary prints "GN01Cim.rav" (Button2), the 2009-2014 diary
// "09GN01Cim.rav" (Button1); both read RvCustomGNCimConnection1.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/menus.h"
#include "platform/ui/vcl.h"

#include <array>
#include <string>
#include <vector>

// The year of the cover from a pair "2007-2008": "2007/08"; "..../...." for a text that
// is not two years one after the other ("2025-2024", "2007-20x8"); empty for an empty text.
std::string CoverFarmingYear(const std::string& yearPair);

// "2007-2008" for the farming year 2008.
std::string YearPair(int evj);

// The cover's columns, in the order the layouts read them.
extern const std::array<const char*, 23> kCoverColumns;

class TGNcim : public ui::TForm {
public:
    explicit TGNcim(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Alapadatok.DB, the farm's row
    db::TTable Table2{session_, "Table2"}; // Alapadat2.db, the company address
    db::TQuery Query1{session_, "Query1"}; // the farming years in use
    TRvProject RvProject1{this, "RvProject1", "GN01Cim.rav"};
    TRvProject RvProject2{this, "RvProject2", "09GN01Cim.rav"};
    TRvCustomConnection RvCustomGNCimConnection1{this, "RvCustomGNCimConnection1"};

    ui::TGroupBox* GroupBox1; // "Gazdasági év"
    ui::TComboBox* ComboBox1;
    ui::TButton* Button2; // "Nyomtatás": the 2004-2009 cover
    ui::TButton* Button1; // "Nyomtatás": the 2009-2014 cover, hidden as created
    ui::TButton* Button3; // "Mégsem"
    ui::TPopupMenu* PopupMenu1;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    // "Nyomtatási kép": the cover of the print button shown.
    void Nyomtatasikep1Click(TObject* Sender);

    // The cover row: the farming year, then the farm's data.
    std::vector<std::string> CoverRow();

private:
    // A year text the cover cannot print as a farming year is named, and nothing prints.
    bool YearPrintable();

    bool listed_ = false; // the year list is filled once per showing
};
extern TGNcim* GNcim;

// Opens the cover form modally. With only2009 its 2004-2009 print button is hidden, so
// only the 2009-2014 cover ("09GN01Cim.rav") is offered; otherwise it shows as created.
void OpenDiaryCover(db::Session& session, bool only2009);
