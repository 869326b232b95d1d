#include "Grafikonh.h"

#include "chart_data.h"
#include "platform/db/query.h"
#include "platform/ui/canvas.h"
#include "platform/ui/form_helpers.h"

#include <QFontMetrics>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

Tgrafikon* grafikon = nullptr;

namespace {

constexpr int kWidth = 729, kHeight = 481; // the drawing's own size, scaled to the window

// A text broken into the lines of a width, at blanks where it can, anywhere where a word
// is longer than the width.
QStringList WrappedLines(const QString& text, const QFont& font, int width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(width, 1));
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    if (lines.isEmpty())
        lines << QString();
    return lines;
}

struct ChartQuery {
    std::vector<std::string> lines;
    const char* labelField;
    const char* title;
};

ChartQuery QueryOf(AreaChart chart) {
    switch (chart) {
    case AreaChart::Owners:
        return {{"SELECT SUM(Ter) tter, tulaj.Tulnev", "FROM Tablak", "INNER JOIN tulaj",
                 "  ON  (Tablak.Tulkod = tulaj.Tulkod)", "WHERE Aktiv = 1", "GROUP BY tulaj.Tulnev",
                 "ORDER BY tulaj.Tulnev"},
                "Tulnev",
                "Mezőgazdasági területek tulajdonosok szerinti megoszlása (nyilvántartott hrsz-ek "
                "és tulajdonosaik)"};
    case AreaChart::Settlements:
        return {{"SELECT SUM(Ter) tter, telepules", "FROM Tablak", "WHERE Aktiv = 1",
                 "GROUP BY telepules", "ORDER BY telepules"},
                "telepules",
                "Mezőgazdasági területek település szerinti megoszlása (nyilvántartott hrsz-ek és "
                "települések)"};
    case AreaChart::LandUses:
        break;
    }
    return {{"SELECT SUM(Ter) tter, Muvag", "FROM Tablak", "WHERE Aktiv = 1", "GROUP BY Muvag",
             "ORDER BY Muvag"},
            "Muvag",
            "Mezőgazdasági területek hasznosítási irány szerinti megoszlása (nyilvántartott "
            "hrsz-ek és hasznosításuk)"};
}

} // namespace

Tgrafikon::Tgrafikon(db::Session&) {
    SetCaption("grafikon");
    SetClientSize(kWidth, kHeight);
    SetPosition(ui::poScreenCenter);
    InitColors();
    OnActivate = Handler(&Tgrafikon::FormActivate);
    OnPaint = Handler(&Tgrafikon::FormPaint);
    OnResize = Handler(&Tgrafikon::FormResize);
    ui::CloseOnEscape(this);
}

void Tgrafikon::SetData(const std::vector<charts::ChartSlice>& slices, int count,
                        const std::string& title) {
    Slices.assign(slices.begin(), slices.begin() + count);
    Count = count;
    Title = title;
}

void Tgrafikon::InitColors() {
    for (int i = 0; i < 50; ++i)
        Colors[i] = charts::SliceColour(i);
}

void Tgrafikon::FormActivate(TObject*) {
    InitColors();
    Repaint();
}

void Tgrafikon::FormPaint(TObject*) {
    DrawPie(Slices, Count, Title);
}

void Tgrafikon::FormResize(TObject*) {
    Repaint();
}

// Slice k in colour k, clockwise from 3 o'clock in the order of the data; the last slice
// takes what remains of the circle. The legend lists each slice's share and label.
void Tgrafikon::DrawPie(const std::vector<charts::ChartSlice>& slices, int count,
                        const std::string& title) {
    ui::TCanvas& canvas = Canvas();
    const QColor face = palette().color(QPalette::Window);
    canvas.Clear(face);
    SetCaption(title.empty() ? "grafikon" : title);
    const charts::Scale s{
        std::min(ClientWidth() / double(kWidth), ClientHeight() / double(kHeight))};
    canvas.Font().setPixelSize(std::max(6, s(12)));
    canvas.SetPenColor(Qt::black);
    if (count == 0) {
        canvas.SetBrushColor(face);
        canvas.Ellipse(s(50), s(50), s(450), s(450));
        canvas.TextOut(s(60), s(240),
                       "Nincs megjeleníthető terület: az aktív területek összesen 0 m².");
        return;
    }
    canvas.SetBrushColor(Colors[0]);
    canvas.Ellipse(s(50), s(50), s(450), s(450));
    double taken = 0;
    for (int i = 0; i + 1 < count; ++i) {
        taken += slices[static_cast<std::size_t>(i)].Percent * 3.6;
        const double a = 360 - taken; // what is left, counter-clockwise from 3 o'clock
        if (a <= 1e-9)
            continue;
        canvas.SetBrushColor(Colors[i + 1]);
        if (a >= 360 - 1e-9) {
            canvas.Ellipse(s(50), s(50), s(450), s(450));
            continue;
        }
        const double radians = a / 57.2958;
        const int x = s(250 + 200 * std::cos(radians)), y = s(250 - 200 * std::sin(radians));
        canvas.Pie(s(50), s(50), s(450), s(450), s(450), s(250), x, y);
    }
    // Legend rows 25 apart; a label too long for its line goes on in further lines. When
    // the rows would then pass the bottom, they come closer and each label is cut to one
    // line instead.
    const QFontMetrics metrics(canvas.Font());
    const int width = ClientWidth() - s(522);
    const double lineHeight = metrics.height() / s.factor;
    std::vector<QStringList> labels;
    double extra = 0;
    for (int i = 0; i < count; ++i) {
        const QString text =
            QString::fromStdString(charts::LegendText(slices[static_cast<std::size_t>(i)]));
        labels.push_back(WrappedLines(text, canvas.Font(), width));
        extra += (labels.back().size() - 1) * lineHeight;
    }
    const bool wrap = 50 + 25.0 * (count - 1) + extra + lineHeight <= kHeight - 8;
    const double step = wrap || count < 2 ? 25.0 : std::min(25.0, (kHeight - 66.0) / (count - 1));
    double y = 50;
    for (int i = 0; i < count; ++i) {
        canvas.SetBrushColor(Colors[i]);
        canvas.FillRect(s(500), s(y), s(510), s(y + 10));
        canvas.SetBrushColor(face);
        const QStringList& lines = labels[static_cast<std::size_t>(i)];
        if (!wrap) {
            const QString whole = lines.join(' ');
            canvas.TextOut(s(520), s(y),
                           metrics.elidedText(whole, Qt::ElideRight, width).toStdString());
            y += step;
            continue;
        }
        for (int line = 0; line < lines.size(); ++line)
            canvas.TextOut(s(520), s(y + line * lineHeight), lines[line].toStdString());
        y += step + (lines.size() - 1) * lineHeight;
    }
}

void ShowAreaChart(db::Session& session, AreaChart chart) {
    const ChartQuery q = QueryOf(chart);
    db::TQuery query(session, "Query2");
    for (const std::string& line : q.lines)
        query.SQL().Add(line);
    query.Open();
    if (query.IsEmpty())
        return;
    std::vector<charts::AreaGroup> groups;
    for (query.First(); !query.Eof(); query.Next())
        groups.push_back(
            {query.FieldByName(q.labelField).AsString(), query.FieldByName("tter").AsFloat()});
    query.Close();
    const std::vector<charts::ChartSlice> slices = charts::PieSlices(groups);
    ui::OwnedForm<Tgrafikon> window(grafikon, session);
    window->SetData(slices, static_cast<int>(slices.size()), q.title);
    window->ShowModal();
}
