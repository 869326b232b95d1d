#include "canvas.h"

#include "control.h"

#include <QFontMetrics>
#include <cmath>
#include <numbers>

namespace ui {

namespace {

// The angle of the ray from the centre of a box through a point, in Qt's sixteenths of
// a degree (counter-clockwise from three o'clock, y up).
int RayAngle(const QRectF& box, int x, int y) {
    double dx = x - box.center().x();
    double dy = box.center().y() - y;
    double degrees = std::atan2(dy, dx) * 180.0 / std::numbers::pi;
    return static_cast<int>(std::lround(degrees * 16.0));
}

} // namespace

void TCanvas::Prepare(QPainter& painter, bool fill) const {
    painter.setRenderHint(QPainter::Antialiasing, false); // the original draws aliased
    painter.setPen(QPen(pen_, penWidth_));
    painter.setBrush(fill && brushStyle_ == bsSolid ? QBrush(brush_) : Qt::NoBrush);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    QPainter painter(target_);
    painter.setFont(font_);
    QFontMetrics metrics(font_);
    if (brushStyle_ == bsSolid)
        painter.fillRect(QRect(x, y, metrics.horizontalAdvance(Q(text)), metrics.height()), brush_);
    painter.setPen(fontColor_);
    painter.drawText(x, y + metrics.ascent(), Q(text));
}

int TCanvas::TextWidth(const std::string& text) const {
    return QFontMetrics(font_).horizontalAdvance(Q(text));
}

int TCanvas::TextHeight(const std::string&) const {
    return QFontMetrics(font_).height();
}

void TCanvas::MoveTo(int x, int y) {
    penPosition_ = QPoint(x, y);
}

void TCanvas::LineTo(int x, int y) {
    QPainter painter(target_);
    Prepare(painter, false);
    painter.drawLine(penPosition_, QPoint(x, y));
    penPosition_ = QPoint(x, y);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    QPainter painter(target_);
    Prepare(painter, true);
    painter.drawRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
}

void TCanvas::FillRect(int x1, int y1, int x2, int y2) {
    QPainter painter(target_);
    painter.fillRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), brush_);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    QPainter painter(target_);
    Prepare(painter, true);
    painter.drawEllipse(QRectF(QPointF(x1, y1), QPointF(x2 - 1, y2 - 1)));
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    QRectF box(QPointF(x1, y1), QPointF(x2 - 1, y2 - 1));
    int start = RayAngle(box, x3, y3);
    int span = RayAngle(box, x4, y4) - start;
    if (span <= 0)
        span += 360 * 16;
    QPainter painter(target_);
    Prepare(painter, true);
    painter.drawPie(box, start, span);
}

void TCanvas::Clear(const QColor& color) {
    target_->fill(color);
}

} // namespace ui
