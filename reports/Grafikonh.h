#pragma once
// The pie chart window: how the area of the active land parcels divides among owners,
// settlements or land uses, with a legend of each slice's share. It is drawn on the
// window whenever the window repaints (shown, activated, resized), scaled to its size.

#include "chart_data.h"
#include "platform/db/session.h"
#include "platform/ui/vcl.h"

#include <string>
#include <vector>

class Tgrafikon : public ui::TForm {
public:
    explicit Tgrafikon(db::Session& session);

    std::vector<charts::ChartSlice> Slices;
    int Count = 0;
    std::string Title;
    QColor Colors[50];

    void SetData(const std::vector<charts::ChartSlice>& slices, int count,
                 const std::string& title);
    void InitColors();
    void DrawPie(const std::vector<charts::ChartSlice>& slices, int count,
                 const std::string& title);

    void FormActivate(TObject* Sender);
    void FormPaint(TObject* Sender);
    void FormResize(TObject* Sender);
};
extern Tgrafikon* grafikon;

// The three area charts of the main window's "Diagrammok" menu.
enum class AreaChart { Owners = 1, LandUses = 2, Settlements = 3 };

// Queries the active land parcels' areas by the chart's groups and shows them in a new
// chart window (modal, freed when it closes); nothing happens when there is no group.
void ShowAreaChart(db::Session& session, AreaChart chart);
