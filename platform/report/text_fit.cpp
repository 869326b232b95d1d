#include "platform/report/text_fit.h"

#include "platform/db/key_table.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <map>
#include <memory>
#include <utility>

namespace report {

namespace {

constexpr double kMeasureDpi = 1200;
constexpr double kPointMm = 25.4 / 72.0;

// The device the widths are measured on: a fine resolution, so that rounding to its
// pixels stays far below what the eye sees.
QImage& measureDevice() {
    static QImage image = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = static_cast<int>(kMeasureDpi / 0.0254);
        i.setDotsPerMeterX(dotsPerMetre);
        i.setDotsPerMeterY(dotsPerMetre);
        return i;
    }();
    return image;
}

// A font's metrics and the widths measured with them. A report measures the same texts
// over and over (a date, a unit, a name on every row; every candidate line of a wrap), and
// shaping a text costs far more than looking its width up; the memo is emptied when it
// grows large, so that a long run keeps its memory bounded.
struct Measure {
    std::unique_ptr<QFontMetricsF> metrics;
    QHash<QString, double> widths;
    // The same by the page model's texts.
    db::KeyTable<double> byText;
};

constexpr qsizetype kMaxRememberedWidths = 100000;

Measure& measure(double points, bool bold) {
    static std::map<std::pair<long, bool>, Measure> cache;
    const std::pair<long, bool> key{std::lround(points * 100), bold};
    auto found = cache.find(key);
    if (found == cache.end())
        found = cache
                    .emplace(key, Measure{std::make_unique<QFontMetricsF>(ReportFont(points, bold),
                                                                          &measureDevice()),
                                          {},
                                          {}})
                    .first;
    return found->second;
}

double widthOf(const QString& text, double points, bool bold) {
    // Without a GUI application there is no font: an average letter width stands in.
    if (!QGuiApplication::instance())
        return text.size() * points * kPointMm * (bold ? 0.62 : 0.56);
    Measure& m = measure(points, bold);
    if (const auto known = m.widths.constFind(text); known != m.widths.cend())
        return *known;
    if (m.widths.size() >= kMaxRememberedWidths)
        m.widths.clear();
    const double width = m.metrics->horizontalAdvance(text) * 25.4 / kMeasureDpi;
    m.widths.insert(text, width);
    return width;
}

// The same for a UTF-8 text, looked up without converting it when it was measured before.
double widthOf(const std::string& text, double points, bool bold) {
    if (!QGuiApplication::instance())
        return widthOf(QString::fromStdString(text), points, bold);
    Measure& m = measure(points, bold);
    if (const auto* known = m.byText.find(text))
        return known->second;
    if (m.byText.size() >= static_cast<std::size_t>(kMaxRememberedWidths))
        m.byText = {};
    const double width = widthOf(QString::fromStdString(text), points, bold);
    m.byText.try_emplace(text, width);
    return width;
}

// The longest beginning of the text (in UTF-16 units, never splitting a pair) that,
// with `suffix` after it, fits the width.
qsizetype fittingLength(const QString& text, const QString& suffix, double width, double points,
                        bool bold) {
    qsizetype low = 0, high = text.size();
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (widthOf(text.left(middle) + suffix, points, bold) <= width)
            low = middle;
        else
            high = middle - 1;
    }
    if (low > 0 && low < text.size() && text[low - 1].isHighSurrogate())
        --low;
    return low;
}

// Breaks a word wider than the width: after its last fitting hyphen, else between letters
// (at least one letter a line).
void breakWord(QString word, double width, double points, bool bold, QStringList& lines,
               QString& rest) {
    while (widthOf(word, points, bold) > width) {
        qsizetype cut = fittingLength(word, QString(), width, points, bold);
        const qsizetype hyphen = word.left(cut).lastIndexOf('-');
        if (hyphen > 0)
            cut = hyphen + 1;
        if (cut == 0)
            cut = word.size() > 1 && word[0].isHighSurrogate() ? 2 : 1;
        lines.push_back(word.left(cut));
        word = word.mid(cut);
    }
    rest = word;
}

} // namespace

QFont ReportFont(double points, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

double TextWidth(std::string_view text, double points, bool bold) {
    return widthOf(std::string(text), points, bold);
}

std::string FitText(const std::string& text, double width, double points, bool bold) {
    if (widthOf(text, points, bold) <= width)
        return text;
    const QString full = QString::fromStdString(text);
    const QString mark = QString::fromStdString(kCutMark);
    const qsizetype length = fittingLength(full, mark, width, points, bold);
    if (length == 0)
        return widthOf(mark, points, bold) <= width ? kCutMark : std::string();
    return full.left(length).trimmed().toStdString() + kCutMark;
}

double FittingSize(const std::string& text, double width, double points, bool bold) {
    // The width grows with the size all but linearly: a few steps settle it.
    for (int step = 0; step < 8; ++step) {
        const double wide = widthOf(text, points, bold);
        if (wide <= width || wide <= 0)
            break;
        points *= width / wide * 0.999;
    }
    return points;
}

std::vector<std::string> WrapText(const std::string& text, double width, double points, bool bold) {
    // Most cells fit on one line as they are: no splitting into words.
    if (text.find('\n') == std::string::npos &&
        (text.empty() || (text.front() != ' ' && text.back() != ' ')) &&
        text.find("  ") == std::string::npos && widthOf(text, points, bold) <= width)
        return {text};
    const QString whole = QString::fromStdString(text);
    QStringList lines;
    const QStringList paragraphs = whole.split('\n');
    for (const QString& paragraph : paragraphs) {
        QString line;
        for (const QString& word : paragraph.split(' ', Qt::SkipEmptyParts)) {
            // A word breaks after its hyphens too: its parts follow each other without a
            // blank ("Nagy-" "Szentmiklóssy").
            QStringList parts;
            qsizetype from = 0;
            for (qsizetype at = word.indexOf('-', 1); at > 0 && at + 1 < word.size();
                 at = word.indexOf('-', at + 1)) {
                parts.push_back(word.mid(from, at + 1 - from));
                from = at + 1;
            }
            parts.push_back(word.mid(from));
            for (qsizetype i = 0; i < parts.size(); ++i) {
                const QString joint = line.isEmpty() || i > 0 ? QString() : QStringLiteral(" ");
                const QString candidate = line + joint + parts[i];
                if (widthOf(candidate, points, bold) <= width) {
                    line = candidate;
                    continue;
                }
                if (!line.isEmpty())
                    lines.push_back(line);
                breakWord(parts[i], width, points, bold, lines, line);
            }
        }
        lines.push_back(line);
    }
    std::vector<std::string> result;
    for (const QString& line : lines)
        result.push_back(line.toStdString());
    return result;
}

} // namespace report
