// Draws the program's own pictures (the toolbar buttons, the moving strip of the main
// window and the logo) with QPainter and writes them as JPEG files into a folder:
//
//     build/tools/picturegen/picturegen core/pictures
//
// The files are committed; the build embeds them into the program (core/CMakeLists.txt).
// Run this again only to change a picture. The JPEGs are written with full colour
// resolution (no chroma subsampling), so that small drawings keep clean edges.

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <jpeglib.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// --- JPEG output ---------------------------------------------------------------------

bool WriteJpeg(const QImage& picture, const fs::path& file) {
    QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out)
        return false;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = rgb.scanLine(static_cast<int>(info.next_scanline));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(out) == 0;
}

// --- drawing helpers -------------------------------------------------------------------

// Every button picture is drawn on a 100 x 100 grid and rendered at 64 x 64 pixels; the
// toolbar scales it to its button size.
constexpr int kIconPixels = 64;

const QColor kInk(40, 44, 52);
const QColor kSoil(128, 86, 48);
const QColor kSoilLight(176, 128, 78);
const QColor kGreen(58, 140, 60);
const QColor kWheat(222, 176, 60);
const QColor kRed(200, 58, 44);
const QColor kBlue(44, 110, 190);
const QColor kPaper(252, 252, 246);

QPen Pen(const QColor& color, double width) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// The tile every button picture sits on: a light, slightly warm square with a thin edge.
void Tile(QPainter& p) {
    QLinearGradient shade(0, 0, 0, 100);
    shade.setColorAt(0, QColor(252, 250, 242));
    shade.setColorAt(1, QColor(230, 224, 204));
    p.setPen(Pen(QColor(176, 168, 140), 2));
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(2, 2, 96, 96), 12, 12);
}

QImage Icon(const std::function<void(QPainter&)>& draw) {
    QImage image(kIconPixels, kIconPixels, QImage::Format_RGB32);
    image.fill(QColor(239, 239, 239)); // the toolbar's own grey around the rounded tile
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kIconPixels / 100.0, kIconPixels / 100.0);
    Tile(p);
    QPainterPath inside;
    inside.addRoundedRect(QRectF(3, 3, 94, 94), 11, 11);
    p.setClipPath(inside);
    draw(p);
    return image;
}

void Wheel(QPainter& p, QPointF centre, double radius) {
    p.setPen(Pen(kInk, 3));
    p.setBrush(QColor(50, 50, 50));
    p.drawEllipse(centre, radius, radius);
    p.setBrush(QColor(190, 190, 190));
    p.drawEllipse(centre, radius * 0.45, radius * 0.45);
}

void Tractor(QPainter& p, double dx, double dy, double scale) {
    p.save();
    p.translate(dx, dy);
    p.scale(scale, scale);
    p.setPen(Pen(kInk, 3));
    p.setBrush(kRed);
    p.drawRect(QRectF(22, 44, 46, 20)); // body
    p.drawRect(QRectF(44, 22, 26, 24)); // cab
    p.setBrush(QColor(190, 225, 250));
    p.drawRect(QRectF(50, 27, 15, 14)); // window
    p.setPen(Pen(kInk, 4));
    p.drawLine(QPointF(28, 44), QPointF(28, 30)); // exhaust
    Wheel(p, QPointF(62, 68), 17);
    Wheel(p, QPointF(24, 72), 11);
    p.restore();
}

void Pencil(QPainter& p, QPointF tip, double length, double angleDegrees) {
    p.save();
    p.translate(tip);
    p.rotate(angleDegrees);
    p.setPen(Pen(kInk, 2.5));
    p.setBrush(kWheat);
    p.drawRect(QRectF(10, -6, length - 10, 12));
    p.setBrush(QColor(240, 150, 150));
    p.drawRect(QRectF(length, -6, 8, 12));
    QPolygonF point;
    point << QPointF(0, 0) << QPointF(10, -6) << QPointF(10, 6);
    p.setBrush(QColor(236, 212, 170));
    p.drawPolygon(point);
    p.restore();
}

void Plus(QPainter& p, QPointF centre) {
    p.setPen(Pen(QColor(20, 110, 30), 3));
    p.setBrush(QColor(90, 180, 80));
    p.drawEllipse(centre, 15, 15);
    p.setPen(Pen(Qt::white, 5));
    p.drawLine(centre + QPointF(-8, 0), centre + QPointF(8, 0));
    p.drawLine(centre + QPointF(0, -8), centre + QPointF(0, 8));
}

// A land parcel seen from above: an irregular plot with a boundary stone at each corner.
void Plot(QPainter& p) {
    QPolygonF plot;
    plot << QPointF(14, 30) << QPointF(70, 16) << QPointF(86, 62) << QPointF(30, 84);
    p.setPen(Pen(kSoil, 3));
    p.setBrush(QColor(196, 222, 140));
    p.drawPolygon(plot);
    p.setPen(Pen(QColor(120, 160, 70), 2));
    p.drawLine(QPointF(22, 52), QPointF(78, 38));
    p.setBrush(Qt::white);
    p.setPen(Pen(kInk, 2));
    for (const QPointF& corner : plot)
        p.drawEllipse(corner, 4, 4);
}

// A field with crop rows in perspective.
void Field(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 215, 240));
    p.drawRect(QRectF(8, 10, 84, 30));
    p.setBrush(kSoilLight);
    QPolygonF ground;
    ground << QPointF(8, 40) << QPointF(92, 40) << QPointF(92, 90) << QPointF(8, 90);
    p.drawPolygon(ground);
    p.setPen(Pen(kGreen, 4));
    for (int i = 0; i < 6; ++i) {
        double bottom = 2 + i * 19.0;
        double top = 40 + i * 5.0;
        p.drawLine(QPointF(top + 3, 42), QPointF(bottom, 90));
    }
}

void Sheet(QPainter& p, QRectF page) {
    p.setPen(Pen(kInk, 2.5));
    p.setBrush(kPaper);
    p.drawRect(page);
}

void Lines(QPainter& p, QRectF page, int count, bool ticks) {
    double step = (page.height() - 16) / count;
    for (int i = 0; i < count; ++i) {
        double y = page.top() + 12 + i * step;
        double left = page.left() + (ticks ? 20 : 8);
        if (ticks) {
            p.setPen(Pen(kGreen, 3));
            p.drawLine(QPointF(page.left() + 6, y), QPointF(page.left() + 10, y + 4));
            p.drawLine(QPointF(page.left() + 10, y + 4), QPointF(page.left() + 16, y - 4));
        }
        p.setPen(Pen(QColor(90, 96, 110), 3));
        p.drawLine(QPointF(left, y), QPointF(page.right() - 8, y));
    }
}

void Ear(QPainter& p, double x, double base, double height) {
    p.setPen(Pen(kGreen, 3));
    p.drawLine(QPointF(x, base), QPointF(x, base - height));
    p.setPen(Pen(QColor(160, 110, 20), 1.5));
    p.setBrush(kWheat);
    for (int i = 0; i < 4; ++i) {
        double y = base - height + 6 + i * 9;
        p.drawEllipse(QPointF(x - 5, y), 4.5, 7);
        p.drawEllipse(QPointF(x + 5, y), 4.5, 7);
    }
    p.drawEllipse(QPointF(x, base - height + 1), 4, 7);
}

void Sack(QPainter& p, QRectF box, const QColor& colour) {
    QPainterPath sack;
    sack.moveTo(box.left() + box.width() * 0.3, box.top());
    sack.lineTo(box.right() - box.width() * 0.3, box.top());
    sack.quadTo(box.right() + 4, box.center().y(), box.right() - 2, box.bottom());
    sack.lineTo(box.left() + 2, box.bottom());
    sack.quadTo(box.left() - 4, box.center().y(), box.left() + box.width() * 0.3, box.top());
    p.setPen(Pen(kInk, 2.5));
    p.setBrush(colour);
    p.drawPath(sack);
    p.setPen(Pen(kInk, 2.5));
    p.drawLine(QPointF(box.left() + box.width() * 0.3, box.top() + 6),
               QPointF(box.right() - box.width() * 0.3, box.top() + 6));
}

void Gear(QPainter& p, QPointF centre, double radius, int teeth) {
    QPainterPath path;
    for (int i = 0; i < teeth * 2; ++i) {
        double angle = i * 3.14159265 / teeth;
        double r = (i % 2 == 0) ? radius : radius * 0.78;
        QPointF a = centre + QPointF(r * std::cos(angle - 0.22), r * std::sin(angle - 0.22));
        QPointF b = centre + QPointF(r * std::cos(angle + 0.22), r * std::sin(angle + 0.22));
        if (i == 0)
            path.moveTo(a);
        else
            path.lineTo(a);
        path.lineTo(b);
    }
    path.closeSubpath();
    path.addEllipse(centre, radius * 0.3, radius * 0.3);
    p.setPen(Pen(kInk, 2.5));
    p.setBrush(QColor(150, 158, 170));
    p.drawPath(path);
}

// --- the button pictures -----------------------------------------------------------------

struct Picture {
    const char* file;
    std::function<QImage()> draw;
};

std::vector<Picture> ButtonPictures() {
    return {
        {"operations.jpg", [] { return Icon([](QPainter& p) { Tractor(p, 0, 2, 1.0); }); }},
        {"modify.jpg",
         [] {
             return Icon([](QPainter& p) {
                 Tractor(p, -4, -6, 0.85);
                 Pencil(p, QPointF(48, 88), 42, -40);
             });
         }},
        {"newparcel.jpg",
         [] {
             return Icon([](QPainter& p) {
                 Plot(p);
                 Plus(p, QPointF(74, 76));
             });
         }},
        {"parcels.jpg",
         [] {
             return Icon([](QPainter& p) {
                 Plot(p);
                 Pencil(p, QPointF(50, 86), 40, -40);
             });
         }},
        {"list.jpg",
         [] {
             return Icon([](QPainter& p) {
                 QRectF page(22, 12, 56, 76);
                 Sheet(p, page);
                 Lines(p, page, 6, false);
             });
         }},
        {"soiltest.jpg",
         [] {
             return Icon([](QPainter& p) {
                 p.setPen(Qt::NoPen);
                 p.setBrush(kSoilLight);
                 p.drawRect(QRectF(10, 62, 80, 12));
                 p.setBrush(kSoil);
                 p.drawRect(QRectF(10, 74, 80, 16));
                 p.setPen(Pen(kInk, 3));
                 p.setBrush(QColor(225, 240, 250));
                 QPainterPath flask;
                 flask.moveTo(40, 12);
                 flask.lineTo(60, 12);
                 flask.lineTo(60, 34);
                 flask.lineTo(76, 62);
                 flask.lineTo(24, 62);
                 flask.lineTo(40, 34);
                 flask.closeSubpath();
                 p.drawPath(flask);
                 p.setBrush(kSoilLight);
                 p.setPen(Qt::NoPen);
                 QPolygonF sample;
                 sample << QPointF(32, 48) << QPointF(68, 48) << QPointF(74, 59) << QPointF(26, 59);
                 p.drawPolygon(sample);
             });
         }},
        {"newfield.jpg",
         [] {
             return Icon([](QPainter& p) {
                 Field(p);
                 Plus(p, QPointF(76, 24));
             });
         }},
        {"sectors.jpg",
         [] {
             return Icon([](QPainter& p) {
                 p.setPen(Qt::NoPen);
                 p.setBrush(kSoil);
                 p.drawRect(QRectF(10, 80, 80, 10));
                 Ear(p, 28, 80, 56);
                 Ear(p, 50, 80, 66);
                 Ear(p, 72, 80, 52);
             });
         }},
        {"oplist.jpg",
         [] {
             return Icon([](QPainter& p) {
                 QRectF page(20, 14, 60, 76);
                 Sheet(p, page);
                 p.setPen(Pen(kInk, 2.5));
                 p.setBrush(QColor(150, 158, 170));
                 p.drawRoundedRect(QRectF(38, 8, 24, 12), 3, 3); // the clip
                 Lines(p, page.adjusted(0, 8, 0, 0), 5, true);
             });
         }},
        {"spraydiary.jpg",
         [] {
             return Icon([](QPainter& p) {
                 QRectF book(10, 40, 44, 50);
                 Sheet(p, book);
                 Lines(p, book, 4, false);
                 p.setPen(Pen(kInk, 3));
                 p.setBrush(kBlue);
                 p.drawRoundedRect(QRectF(56, 30, 24, 40), 5, 5); // the sprayer's tank
                 p.drawLine(QPointF(68, 30), QPointF(68, 20));
                 p.drawLine(QPointF(68, 20), QPointF(50, 20));
                 p.setBrush(QColor(120, 190, 240));
                 p.setPen(Pen(QColor(30, 90, 160), 1.5));
                 p.drawEllipse(QPointF(38, 14), 4, 5);
                 p.drawEllipse(QPointF(28, 24), 4, 5);
                 p.drawEllipse(QPointF(40, 30), 4, 5);
             });
         }},
        {"gndiary.jpg",
         [] {
             return Icon([](QPainter& p) {
                 p.setPen(Pen(kInk, 3));
                 p.setBrush(kGreen);
                 p.drawRoundedRect(QRectF(18, 10, 64, 80), 4, 4);
                 p.setBrush(kPaper);
                 p.drawRect(QRectF(26, 18, 48, 22));
                 p.setPen(Pen(kInk, 3));
                 p.drawLine(QPointF(32, 29), QPointF(68, 29));
                 Ear(p, 50, 84, 36);
             });
         }},
        {"stock.jpg",
         [] {
             return Icon([](QPainter& p) {
                 Sack(p, QRectF(12, 46, 36, 44), QColor(236, 222, 190));
                 Sack(p, QRectF(52, 46, 36, 44), QColor(236, 222, 190));
                 Sack(p, QRectF(32, 10, 36, 40), QColor(246, 236, 206));
             });
         }},
        {"machines.jpg",
         [] {
             return Icon([](QPainter& p) {
                 Gear(p, QPointF(40, 42), 28, 9);
                 Gear(p, QPointF(70, 72), 18, 7);
             });
         }},
        {"basicdata.jpg",
         [] {
             return Icon([](QPainter& p) {
                 p.setPen(Pen(kInk, 3));
                 p.setBrush(QColor(246, 238, 214));
                 p.drawRect(QRectF(22, 46, 56, 42)); // the farmhouse
                 QPolygonF roof;
                 roof << QPointF(14, 48) << QPointF(50, 14) << QPointF(86, 48);
                 p.setBrush(kRed);
                 p.drawPolygon(roof);
                 p.setBrush(kSoil);
                 p.drawRect(QRectF(42, 62, 16, 26));
                 p.setBrush(QColor(190, 225, 250));
                 p.drawRect(QRectF(28, 54, 10, 10));
                 p.drawRect(QRectF(62, 54, 10, 10));
             });
         }},
        {"exit.jpg",
         [] {
             return Icon([](QPainter& p) {
                 p.setPen(Pen(kInk, 3));
                 p.setBrush(kSoilLight);
                 p.drawRect(QRectF(16, 12, 40, 78)); // the door
                 p.setBrush(kInk);
                 p.drawEllipse(QPointF(48, 52), 3, 3);
                 p.setPen(Pen(kRed, 8));
                 p.drawLine(QPointF(46, 50), QPointF(80, 50));
                 p.setPen(Pen(kRed, 7));
                 p.drawLine(QPointF(80, 50), QPointF(68, 38));
                 p.drawLine(QPointF(80, 50), QPointF(68, 62));
             });
         }},
    };
}

// --- the strip and the logo ----------------------------------------------------------

// The strip that runs to and fro under the toolbar: 137 x 9 pixels, the farm's colours
// from soil through green crops to ripe wheat and back, with a row of small ears.
QImage Strip() {
    QImage image(137, 9, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient band(0, 0, 137, 0);
    band.setColorAt(0.0, QColor(128, 86, 48));
    band.setColorAt(0.25, QColor(70, 150, 60));
    band.setColorAt(0.5, QColor(222, 190, 70));
    band.setColorAt(0.75, QColor(70, 150, 60));
    band.setColorAt(1.0, QColor(128, 86, 48));
    p.fillRect(image.rect(), band);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Pen(QColor(255, 255, 255, 150), 1));
    for (int x = 4; x < 137; x += 8)
        p.drawLine(QPointF(x, 7), QPointF(x + 3, 2));
    return image;
}

// The logo of the about box, 96 x 96: a sun over a field with crop rows running to the
// horizon, and a ripe ear in front.
QImage Logo() {
    QImage image(96, 96, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 50);
    sky.setColorAt(0, QColor(90, 150, 220));
    sky.setColorAt(1, QColor(200, 226, 246));
    p.fillRect(QRectF(0, 0, 96, 50), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 204, 60));
    p.drawEllipse(QPointF(72, 20), 11, 11);
    QLinearGradient ground(0, 50, 0, 96);
    ground.setColorAt(0, QColor(110, 170, 70));
    ground.setColorAt(1, QColor(60, 130, 45));
    p.fillRect(QRectF(0, 50, 96, 46), ground);
    p.setPen(Pen(QColor(215, 190, 90), 2.5));
    for (int x = -120; x <= 216; x += 24)
        p.drawLine(QPointF(48, 50), QPointF(x, 96));
    p.save();
    p.scale(0.96, 0.96);
    Ear(p, 20, 98, 58);
    p.restore();
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: picturegen OUTPUT_FOLDER\n");
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    fs::path folder = argv[1];
    fs::create_directories(folder);
    std::vector<Picture> pictures = ButtonPictures();
    pictures.push_back({"strip.jpg", Strip});
    pictures.push_back({"logo.jpg", Logo});
    for (const Picture& picture : pictures) {
        fs::path file = folder / picture.file;
        if (!WriteJpeg(picture.draw(), file)) {
            std::fprintf(stderr, "picturegen: cannot write %s\n", file.c_str());
            return 1;
        }
        std::printf("%s\n", file.c_str());
    }
    return 0;
}
