#pragma once
// Drawing on a form: brush and pen colours, font, text, lines, rectangles, ellipses and
// pies, in pixel coordinates of the form's client area, as the original's canvas draws.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <string>

namespace ui {

enum TBrushStyle { bsSolid, bsClear };

class TCanvas {
public:
    explicit TCanvas(QImage& target) : target_(&target) {}

    QColor BrushColor() const { return brush_; }
    void SetBrushColor(const QColor& color) { brush_ = color; }
    void SetBrushStyle(TBrushStyle style) { brushStyle_ = style; }
    QColor PenColor() const { return pen_; }
    void SetPenColor(const QColor& color) { pen_ = color; }
    void SetPenWidth(int width) { penWidth_ = width; }
    QFont& Font() { return font_; }
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color) { fontColor_ = color; }

    void TextOut(int x, int y, const std::string& text);
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // The rectangle from (x1, y1) to (x2, y2), right and bottom edges excluded.
    void Rectangle(int x1, int y1, int x2, int y2);
    void FillRect(int x1, int y1, int x2, int y2);
    void Ellipse(int x1, int y1, int x2, int y2);
    // The pie of the ellipse bounded by (x1, y1)-(x2, y2), counter-clockwise from the
    // ray through (x3, y3) to the ray through (x4, y4).
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    // Clears to the given colour.
    void Clear(const QColor& color = Qt::transparent);

private:
    void Prepare(QPainter& painter, bool fill) const;
    QImage* target_;
    QColor brush_ = Qt::white;
    TBrushStyle brushStyle_ = bsSolid;
    QColor pen_ = Qt::black;
    int penWidth_ = 1;
    QFont font_;
    QColor fontColor_ = Qt::black;
    QPoint penPosition_;
};

} // namespace ui
