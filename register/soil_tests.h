#pragma once
// What the soil-test forms share: the analytes of a result (screen label, check label,
// column), the supply classes, the one query that lists the KET sampling places, a place's
// depth from its flags, the link of a result to its sampling place, and the box in which
// a place is chosen.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/ui/vcl.h"

#include <string>
#include <vector>

namespace reg {

struct Analyte {
    const char* caption; // on screen
    const char* label;   // in the number check's message
    const char* column;  // of Talajmintak.DB
};
// The 25 analytes and then the 8 totals, in the order they are checked.
const std::vector<Analyte>& SoilAnalytes();
inline constexpr std::size_t kSoilElements = 25;

// "igen gyenge", "gyenge", "közepes", "megfelelő", "jó", "sok".
const std::vector<std::string>& SupplyClasses();
// A supply-class box with its caption on the left: the classes offered, any text typed
// kept, empty at first.
ui::TComboBox* SupplyClassBox(QWidget* parent, int left, int top, const std::string& caption);

// Sets the query to the sampling place list: every place not deleted whose KET area and
// programme exist, by KET serial and mark. Its columns: Sorsz, Ter (the KET area's), Id
// (the place's), Jele, Ter_1 (the place's), ..., Id_1 (the KET area's).
void SetSamplingPlaceQuery(db::TQuery& query);

// The sampling depth in centimetres of the current row of a data set with the five flags
// 025, 020, 2040, 030, 3060 (the last true one wins); empty when none is set.
std::string SamplingDepth(db::TDataSet& place);

// Links the result to the sampling place: edits its mitak_helyek.db row, or inserts one.
void LinkResultToPlace(db::Session& session, const std::string& mintakod, int placeId);
// Removes the result's link row, if any.
void UnlinkResult(db::Session& session, const std::string& mintakod);

// The box "Mintaeredmény mintahelyének rögzítése": the places under "Meglévő mitahelyek:"
// and two buttons.
struct SamplingPlaceBox {
    SamplingPlaceBox(QWidget* parent, db::TDataSource* places, const std::string& okCaption);
    ui::TGroupBox* GroupBox;
    ui::TDBGrid* Grid;
    ui::TButton* OkButton;
    ui::TButton* CancelButton;
    void Show(int left, int top);
};

// The edits of the analytes laid out in columns on a parent, in SoilAnalytes() order.
std::vector<ui::TEdit*> MakeAnalyteEdits(QWidget* parent, int left, int top, int maxLength);

} // namespace reg
