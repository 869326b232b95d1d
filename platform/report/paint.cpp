// Painting the pages: the preview's pictures, the printer and PDF files, all in
// DejaVu Sans, which holds every Hungarian letter.

#include "platform/report/error.h"
#include "platform/report/output.h"
#include "platform/report/save_file.h"
#include "platform/report/text_fit.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <cmath>

namespace report {

namespace {

// What the painter can still show of a text the page model fitted to its box: the
// widths on another device differ from the measured ones by a hair, which the box's
// slack takes up; a text that is wider still is cut with the cut mark.
QString fitted(const QString& text, const QFontMetricsF& metrics, double width) {
    const double slack = width * 1.03 + 0.5;
    if (metrics.horizontalAdvance(text) <= slack)
        return text;
    const QString mark = QString::fromStdString(kCutMark);
    qsizetype low = 0, high = text.size();
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (metrics.horizontalAdvance(text.left(middle) + mark) <= slack)
            low = middle;
        else
            high = middle - 1;
    }
    if (low > 0 && text[low - 1].isHighSurrogate())
        --low;
    return text.left(low) + mark;
}

int alignment(Align align) {
    switch (align) {
    case Align::Center:
        return Qt::AlignHCenter;
    case Align::Right:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

QPageLayout pageLayout(const Document& document) {
    const QPageSize size(document.paper == "A3" ? QPageSize::A3 : QPageSize::A4);
    return QPageLayout(size, document.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

// Paints every page (or those from..to, 1-based); false when the reporter cancelled.
bool paintPages(QPainter& painter, const Document& document, double dotsPerMm,
                const std::function<bool()>& newPage, ProgressReporter* progress, int from = 1,
                int to = 0) {
    const int last = to > 0 ? std::min<int>(to, static_cast<int>(document.pages.size()))
                            : static_cast<int>(document.pages.size());
    for (int i = std::max(from, 1); i <= last; ++i) {
        if (i > std::max(from, 1) && !newPage())
            return false;
        PaintPage(painter, document.pages[static_cast<std::size_t>(i - 1)], dotsPerMm);
        if (progress && !progress->Step(i))
            return false;
    }
    return true;
}

} // namespace

void PaintPage(QPainter& painter, const Page& page, double dotsPerMm) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QPen pen(Qt::black);
    for (const LineItem& line : page.lines) {
        pen.setWidthF(std::max(line.width * dotsPerMm, 1.0));
        painter.setPen(pen);
        painter.drawLine(QPointF(line.x1 * dotsPerMm, line.y1 * dotsPerMm),
                         QPointF(line.x2 * dotsPerMm, line.y2 * dotsPerMm));
    }
    painter.setPen(Qt::black);
    double size = -1;
    bool bold = false;
    std::unique_ptr<QFontMetricsF> metrics;
    for (const TextItem& item : page.texts) {
        if (item.fontSize != size || item.bold != bold || !metrics) {
            size = item.fontSize;
            bold = item.bold;
            const QFont font = ReportFont(size, bold);
            painter.setFont(font);
            metrics = std::make_unique<QFontMetricsF>(font, painter.device());
        }
        const QRectF box(item.x * dotsPerMm, item.y * dotsPerMm, item.width * dotsPerMm,
                         item.height * dotsPerMm);
        const QString text = fitted(QString::fromStdString(item.text), *metrics, box.width());
        painter.drawText(
            box, alignment(item.align) | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
            text);
    }
    painter.restore();
}

QImage PageImage(const Document& document, int page, double dotsPerMm) {
    const int width = static_cast<int>(std::lround(document.width * dotsPerMm));
    const int height = static_cast<int>(std::lround(document.height * dotsPerMm));
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(dotsPerMm * 1000));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    if (page >= 0 && page < static_cast<int>(document.pages.size())) {
        QPainter painter(&image);
        PaintPage(painter, document.pages[static_cast<std::size_t>(page)], dotsPerMm);
    }
    return image;
}

bool WritePdf(const Document& document, const std::filesystem::path& file,
              ProgressReporter* progress) {
    // The pages go straight into a temporary file beside the target, which replaces the
    // file only once it is complete: a cancel leaves an earlier file of the name as it was.
    return SaveFileThrough(file, "A PDF fájl", [&](QIODevice& out) {
        QPdfWriter writer(&out);
        writer.setResolution(600);
        writer.setPageLayout(pageLayout(document));
        writer.setTitle(QString::fromStdString(document.name));
        writer.setCreator(QStringLiteral("Dolvaren"));
        QPainter painter;
        if (!painter.begin(&writer))
            throw ReportError("A PDF fájl nem írható:\n\"" + file.string() + "\"");
        const bool finished = paintPages(
            painter, document, writer.resolution() / 25.4, [&] { return writer.newPage(); },
            progress);
        painter.end();
        return finished;
    });
}

void PrintDocument(const Document& document, QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout(document));
    printer.setDocName(QString::fromStdString(document.name));
    const std::string name = printer.printerName().isEmpty()
                                 ? std::string()
                                 : " (" + printer.printerName().toStdString() + ")";
    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError("A nyomtató nem érhető el" + name +
                          ", a nyomtatás nem indult el.\nEllenőrizze, hogy a nyomtató be van-e "
                          "kapcsolva és csatlakoztatva.");
    const bool range = printer.printRange() == QPrinter::PageRange;
    const bool all = paintPages(
        painter, document, printer.resolution() / 25.4, [&] { return printer.newPage(); }, nullptr,
        range ? printer.fromPage() : 1, range ? printer.toPage() : 0);
    const bool ended = painter.end();
    if (!all || !ended || printer.printerState() == QPrinter::Error)
        throw ReportError("A nyomtatás nem sikerült" + name +
                          ": a nyomtató hibát jelzett, a jelentés nem, vagy nem teljesen "
                          "került a nyomtatóra.");
}

} // namespace report
