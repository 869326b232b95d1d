// The preview's other renderers (plain text, editable document) and the safe writing of
// every file a report is saved to.

#include "platform/report/error.h"
#include "platform/report/output.h"
#include "platform/report/save_file.h"

#include <QBuffer>
#include <QSaveFile>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <algorithm>
#include <cctype>
#include <cmath>

namespace report {

namespace {

// The texts of a page row by row (tops closer than a hundredth of a millimetre are one
// row), each row left to right.
std::vector<std::vector<const TextItem*>> rowsOf(const Page& page) {
    std::vector<const TextItem*> items;
    for (const TextItem& item : page.texts)
        if (!item.text.empty())
            items.push_back(&item);
    auto rowOf = [](const TextItem* item) { return std::lround(item->y * 100); };
    std::stable_sort(items.begin(), items.end(), [&](const TextItem* a, const TextItem* b) {
        return rowOf(a) != rowOf(b) ? rowOf(a) < rowOf(b) : a->x < b->x;
    });
    std::vector<std::vector<const TextItem*>> rows;
    for (const TextItem* item : items) {
        if (rows.empty() || rowOf(rows.back().front()) != rowOf(item))
            rows.emplace_back();
        rows.back().push_back(item);
    }
    return rows;
}

// The left edge of the leftmost text of the document.
double leftmost(const Document& document) {
    double left = document.width;
    for (const Page& page : document.pages)
        for (const TextItem& item : page.texts)
            left = std::min(left, item.x);
    return left;
}

// Millimetres of one character of the plain text (the width of a letter of 9 points).
constexpr double kCharMm = 1.9;

int column(double mm) {
    return static_cast<int>(std::lround(std::max(0.0, mm) / kCharMm));
}

QString rowText(const std::vector<const TextItem*>& row, double left) {
    QString line;
    for (const TextItem* item : row) {
        const QString text = QString::fromStdString(item->text);
        const int length = static_cast<int>(text.size());
        int at = item->align == Align::Right ? column(item->x + item->width - left) - length
                 : item->align == Align::Center
                     ? column(item->x + item->width / 2 - left) - length / 2
                     : column(item->x - left);
        const int after = line.isEmpty() ? 0 : static_cast<int>(line.size()) + 1;
        at = std::max(at, after);
        line += QString(at - line.size(), ' ') + text;
    }
    return line;
}

} // namespace

bool SaveFileThrough(const std::filesystem::path& file, const std::string& what,
                     const std::function<bool(QIODevice& out)>& write) {
    QSaveFile out(QString::fromStdString(file.string()));
    auto failed = [&] {
        out.cancelWriting();
        throw ReportError(what + " nem írható:\n\"" + file.string() +
                          "\"\nLehet, hogy megtelt a lemez, vagy a mappába nem lehet írni. A "
                          "korábbi fájl, ha volt, változatlan maradt.");
    };
    if (!out.open(QIODevice::WriteOnly))
        failed();
    if (!write(out)) {
        out.cancelWriting();
        return false;
    }
    // A write that failed on the way (a full disk) makes the commit fail.
    if (!out.commit())
        failed();
    return true;
}

void SaveFileContents(const std::filesystem::path& file, const std::string& bytes,
                      const std::string& what) {
    SaveFileThrough(file, what, [&](QIODevice& out) {
        out.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return true;
    });
}

std::string DocumentText(const Document& document) {
    const double left = leftmost(document);
    QString text;
    for (std::size_t p = 0; p < document.pages.size(); ++p) {
        if (p > 0)
            text += '\f';
        double lastBottom = -1;
        const Page page = document.pages[p];
        for (const auto& row : rowsOf(page)) {
            // A gap of more than half a line between rows is kept as an empty line.
            const TextItem& first = *row.front();
            if (lastBottom >= 0 && first.y - lastBottom > first.height * 0.5)
                text += '\n';
            text += rowText(row, left) + '\n';
            lastBottom = first.y + first.height;
        }
    }
    return text.toStdString();
}

void WriteTextFile(const Document& document, const std::filesystem::path& file) {
    SaveFileContents(file, DocumentText(document), "A szövegfájl");
}

void WriteOdf(const Document& document, const std::filesystem::path& file) {
    // The document's units are pixels of 96 per inch (the ODF writer turns them into
    // points at that rate).
    constexpr double pixelsPerMm = 96.0 / 25.4;
    const double left = leftmost(document);
    QTextDocument text;
    QTextCursor cursor(&text);
    bool firstBlock = true;
    for (std::size_t p = 0; p < document.pages.size(); ++p) {
        bool firstOfPage = true;
        const Page page = document.pages[p];
        for (const auto& row : rowsOf(page)) {
            QTextBlockFormat block;
            QList<QTextOption::Tab> tabs;
            std::vector<bool> tabbed;
            double reached = -1;
            for (const TextItem* item : row) {
                const double at = item->align == Align::Right    ? item->x + item->width
                                  : item->align == Align::Center ? item->x + item->width / 2
                                                                 : item->x;
                const bool tab = at - left > 0.5 && at > reached + 0.5;
                tabbed.push_back(tab);
                if (tab) {
                    const QTextOption::TabType type =
                        item->align == Align::Right    ? QTextOption::RightTab
                        : item->align == Align::Center ? QTextOption::CenterTab
                                                       : QTextOption::LeftTab;
                    tabs.push_back(QTextOption::Tab((at - left) * pixelsPerMm, type));
                    reached = at;
                }
            }
            block.setTabPositions(tabs);
            if (firstOfPage && p > 0)
                block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            if (firstBlock)
                cursor.setBlockFormat(block);
            else
                cursor.insertBlock(block);
            firstBlock = false;
            firstOfPage = false;
            for (std::size_t i = 0; i < row.size(); ++i) {
                const TextItem& item = *row[i];
                QTextCharFormat format;
                format.setFontFamilies({QStringLiteral("DejaVu Sans")});
                format.setFontPointSize(item.fontSize);
                format.setFontWeight(item.bold ? QFont::Bold : QFont::Normal);
                if (tabbed[i])
                    cursor.insertText(QStringLiteral("\t"), format);
                else if (i > 0)
                    cursor.insertText(QStringLiteral(" "), format);
                cursor.insertText(QString::fromStdString(item.text), format);
            }
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&buffer, "ODF");
    if (!writer.write(&text))
        throw ReportError("A szerkeszthető dokumentum nem készíthető el:\n\"" + file.string() +
                          "\"");
    SaveFileContents(file, bytes.toStdString(), "A dokumentum");
}

void SaveDocumentAs(const Document& document, const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".txt")
        WriteTextFile(document, file);
    else if (extension == ".odt")
        WriteOdf(document, file);
    else
        WritePdf(document, file);
}

} // namespace report
