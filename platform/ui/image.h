#pragma once
// Pictures: a JPEG decoder on libjpeg, and the image control that shows a picture,
// stretched or at its own size.

#include "control.h"

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <vector>

namespace ui {

class JpegError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decodes a JPEG picture (greyscale, RGB or CMYK) into an RGB image; a file that is no
// JPEG raises JpegError naming the problem.
QImage DecodeJpeg(std::span<const std::uint8_t> bytes);
QImage LoadJpeg(const std::filesystem::path& file);
// Encodes a picture as JPEG (for the program's own pictures and for tests).
std::vector<std::uint8_t> EncodeJpeg(const QImage& picture, int quality = 90);

class TImage : public QWidget, public TControl {
public:
    explicit TImage(QWidget* parent);
    const QImage& Picture() const { return picture_; }
    void SetPicture(const QImage& picture);
    // Loads a JPEG file (Picture->LoadFromFile of the original).
    void LoadFromFile(const std::filesystem::path& file);
    void SetStretch(bool stretch);
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    TNotifyEvent OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    bool stretch_ = false;
    bool transparent_ = false;
};

} // namespace ui
