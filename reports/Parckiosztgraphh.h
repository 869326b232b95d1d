#pragma once
// "Ágazat területarányok": for one farming year, one stacked column standing for the area
// of the active land parcels, a segment per sector and second-crop flag (largest at the
// bottom), and a legend with each group's hectares. Drawn whenever the form repaints,
// scaled to its size.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/ui/vcl.h"

#include <string>
#include <vector>

namespace charts {

struct SectorGroup {
    std::string name;
    double area = 0; // m²
    bool second = false;
    bool operator==(const SectorGroup&) const = default;
};

// At most 17 groups, one per colour: beyond the 16 largest (the groups come largest
// first) the rest become one last group "egyéb".
std::vector<SectorGroup> ColumnGroups(const std::vector<SectorGroup>& groups);

// floor(m² × 0.01) × 0.01: hectares truncated to whole ares.
double AreaHaTruncated(double squareMetres);

} // namespace charts

class TParcKiosztGraph : public ui::TForm {
public:
    explicit TParcKiosztGraph(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"};
    ui::TComboBox* ComboBox1; // "gazdasági év:"
    ui::TButton* Button1;     // "lekérdezés"
    ui::TButton* Button2;     // "bezárás"
    QColor Colors[50];

    // What the column shows: the land parcels' area (m²) and the groups of the year.
    double LandParcelArea = 0;
    std::vector<charts::SectorGroup> Groups;
    bool Drawn = false;

    void FormActivate(TObject* Sender);
    void FormPaint(TObject* Sender);
    void FormResize(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
};
extern TParcKiosztGraph* ParcKiosztGraph;
