#include "Parckiosztgraphh.h"

#include "chart_data.h"
#include "core/Isnuminth.h"
#include "platform/db/sql/sql.h"
#include "platform/ui/canvas.h"
#include "platform/ui/form_helpers.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

TParcKiosztGraph* ParcKiosztGraph = nullptr;

namespace charts {

std::vector<SectorGroup> ColumnGroups(const std::vector<SectorGroup>& groups) {
    constexpr std::size_t kColours = 17;
    if (groups.size() <= kColours)
        return groups;
    std::vector<SectorGroup> kept(groups.begin(), groups.begin() + (kColours - 1));
    SectorGroup rest{"egyéb", 0, false};
    for (std::size_t i = kColours - 1; i < groups.size(); ++i)
        rest.area += groups[i].area;
    kept.push_back(rest);
    return kept;
}

double AreaHaTruncated(double squareMetres) {
    return std::floor(squareMetres * 0.01) * 0.01;
}

} // namespace charts

namespace {

constexpr int kWidth = 657, kHeight = 457;

} // namespace

TParcKiosztGraph::TParcKiosztGraph(db::Session& session) : session_(session) {
    SetCaption("Ágazat területarányok");
    SetClientSize(kWidth, kHeight);
    SetPosition(ui::poScreenCenter);
    ui::Make<ui::TLabel>(this, {8, 8, 90, 16}, "gazdasági év:");
    ComboBox1 = ui::Make<ui::TComboBox>(this, {8, 26, 88, 22});
    ui::YearBox(ComboBox1);
    Button1 = ui::Make<ui::TButton>(this, {8, 56, 88, 27}, "lekérdezés");
    Button2 = ui::Make<ui::TButton>(this, {8, 90, 88, 27}, "bezárás");
    Button2->SetCancel(true); // Esc closes the chart
    auto* side =
        ui::Make<ui::TLabel>(this, {8, 130, 90, 60}, "Táblák felosztottsága ágazatok szerint");
    side->setWordWrap(true);
    for (int i = 0; i < 50; ++i)
        Colors[i] = i >= 1 && i <= 17 ? charts::SliceColour(i) : QColor(Qt::black);
    OnActivate = Handler(&TParcKiosztGraph::FormActivate);
    OnPaint = Handler(&TParcKiosztGraph::FormPaint);
    OnResize = Handler(&TParcKiosztGraph::FormResize);
    Button1->OnClick = Handler(&TParcKiosztGraph::Button1Click);
    Button2->OnClick = Handler(&TParcKiosztGraph::Button2Click);
}

void TParcKiosztGraph::FormActivate(TObject*) {
    Query1.Close();
    Query1.SQL().Clear();
    for (const char* line : {"SELECT Evj", "FROM parcellak", "GROUP BY Evj", "ORDER BY Evj DESC"})
        Query1.SQL().Add(line);
    Query1.Open();
    ComboBox1->Items().Clear();
    ComboBox1->SetText(Query1.IsEmpty() ? "" : Query1.FieldByName("Evj").AsString());
    for (Query1.First(); !Query1.Eof(); Query1.Next())
        ComboBox1->Items().Add(Query1.FieldByName("Evj").AsString());
    Query1.Close();
}

// The year enters the query as a checked whole number.
void TParcKiosztGraph::Button1Click(TObject*) {
    const std::string year = ComboBox1->Text();
    if (!NumericInt->IsValidInteger(year, "gazdasági év") ||
        !NumericInt->IsYearChosen(year, ComboBox1->Items().Count() > 0, "gazdasági év"))
        return;
    Query1.SQL().Clear();
    for (const char* line : {"SELECT SUM(Ter) as Ster", "FROM Tablak", "WHERE Aktiv = 1"})
        Query1.SQL().Add(line);
    Query1.Open();
    LandParcelArea = Query1.FieldByName("Ster").AsFloat();
    Query1.Close();
    Query1.SQL().Clear();
    Query1.SQL().Add("SELECT SUM( Ter ) as Ster, Agazat, Evj, Masod");
    Query1.SQL().Add("FROM parcellak");
    Query1.SQL().Add("WHERE evj = " + db::sql::sqlInteger(year));
    Query1.SQL().Add("GROUP BY Evj, Agazat, Masod");
    Query1.SQL().Add("ORDER BY Ster DESC");
    Query1.Open();
    std::vector<charts::SectorGroup> groups;
    for (Query1.First(); !Query1.Eof(); Query1.Next())
        groups.push_back({Query1.FieldByName("Agazat").AsString(),
                          Query1.FieldByName("Ster").AsFloat(),
                          Query1.FieldByName("Masod").AsString() == "IGEN"});
    Query1.Close();
    Groups = charts::ColumnGroups(groups);
    Drawn = true;
    Repaint();
}

void TParcKiosztGraph::Button2Click(TObject*) {
    Close();
}

void TParcKiosztGraph::FormResize(TObject*) {
    Repaint();
}

// The column from y 440 up, 400 pixels for the land parcels' area; the legend with group
// 1 lowest; a bar and the sum of the groups under it.
void TParcKiosztGraph::FormPaint(TObject*) {
    ui::TCanvas& canvas = Canvas();
    const QColor face = palette().color(QPalette::Window);
    canvas.Clear(face);
    const charts::Scale s{
        std::min(ClientWidth() / double(kWidth), ClientHeight() / double(kHeight))};
    canvas.Font().setPixelSize(std::max(6, s(11)));
    canvas.SetPenColor(Qt::black);
    canvas.SetBrushColor(Qt::white);
    canvas.Rectangle(s(104), s(8), s(104 + 545), s(8 + 441));
    if (!Drawn)
        return;
    canvas.SetBrushColor(face);
    canvas.Rectangle(s(140), s(40), s(330), s(440));
    canvas.SetBrushColor(Qt::white);
    canvas.TextOut(s(145), s(25),
                   "összes tábla területe: " +
                       charts::ShortNumber(charts::AreaHaTruncated(LandParcelArea)));
    if (LandParcelArea <= 0) {
        canvas.TextOut(s(145), s(200), "Nincs aktív terület (0 m²):");
        canvas.TextOut(s(145), s(216), "az arányok nem számolhatók.");
    }
    const int n = static_cast<int>(Groups.size());
    double sum = 0;
    int y = 440;
    for (int k = 1; k <= n; ++k) {
        const charts::SectorGroup& g = Groups[static_cast<std::size_t>(k - 1)];
        sum += g.area;
        if (LandParcelArea <= 0)
            continue;
        const int h = static_cast<int>(std::floor(g.area * 400 / LandParcelArea));
        canvas.SetBrushColor(Colors[k]);
        canvas.FillRect(s(140), s(y - h - 1), s(330), s(y));
        y -= h;
    }
    const QFontMetrics metrics(canvas.Font());
    for (int j = 1; j <= n; ++j) {
        const charts::SectorGroup& g = Groups[static_cast<std::size_t>(j - 1)];
        const int row = 16 * (n + 1 - j) + 40;
        canvas.SetBrushColor(Qt::white);
        canvas.TextOut(s(405), s(row),
                       metrics.elidedText(QString::fromStdString(g.name), Qt::ElideRight, s(112))
                           .toStdString());
        canvas.TextOut(s(520), s(row), charts::ShortNumber(charts::AreaHaTruncated(g.area)));
        canvas.SetBrushColor(Colors[j]);
        canvas.FillRect(s(390), s(row), s(400), s(row + 10));
        if (g.second) {
            canvas.SetBrushColor(Qt::black);
            canvas.Ellipse(s(564), s(row + 2), s(570), s(row + 8));
        }
    }
    // A rule under the legend (black: a white one would not show on the white area).
    canvas.SetBrushColor(Qt::black);
    canvas.FillRect(s(390), s(16 * (n + 1) + 45), s(570), s(16 * (n + 1) + 47));
    canvas.SetBrushColor(Qt::white);
    canvas.TextOut(s(520), s(16 * (n + 1) + 48), charts::ShortNumber(charts::AreaHaTruncated(sum)));
}
