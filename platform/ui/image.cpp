#include "image.h"

#include "application.h"
#include "form.h"

#include <QMouseEvent>
#include <QPainter>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <jpeglib.h>
#include <vector>

namespace ui {

namespace {

// Far beyond any picture the program shows (a 100-megapixel photo).
constexpr std::uint64_t kMaxPixels = 100'000'000;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void ErrorExit(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

extern "C" void NoOutput(j_common_ptr) {}

struct Decoded {
    int width = 0;
    int height = 0;
    int components = 0;
    std::vector<std::uint8_t> pixels;
};

// libjpeg leaves by longjmp on an error: only C objects live in this frame, and the
// buffer it fills belongs to the caller.
bool DecodeInto(const std::uint8_t* data, std::size_t size, Decoded& out, ErrorManager& errors) {
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    errors.base.output_message = NoOutput;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    // The pixels are held three times over (decoded, converted, shown): a header that
    // declares a huge picture is refused before anything is allocated.
    if (static_cast<std::uint64_t>(info.image_width) * info.image_height > kMaxPixels) {
        std::snprintf(errors.message, sizeof errors.message, "túl nagy kép (%u × %u képpont)",
                      static_cast<unsigned>(info.image_width),
                      static_cast<unsigned>(info.image_height));
        jpeg_destroy_decompress(&info);
        return false;
    }
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        info.out_color_space = JCS_CMYK;
    else if (info.jpeg_color_space != JCS_GRAYSCALE)
        info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.components = info.output_components;
    std::size_t stride = info.output_width * static_cast<std::size_t>(info.output_components);
    out.pixels.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.pixels.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

QRgb PixelAt(const Decoded& picture, std::size_t offset) {
    const std::uint8_t* p = picture.pixels.data() + offset;
    switch (picture.components) {
    case 1:
        return qRgb(p[0], p[0], p[0]);
    case 3:
        return qRgb(p[0], p[1], p[2]);
    default: // Adobe's inverted CMYK
        return qRgb(p[0] * p[3] / 255, p[1] * p[3] / 255, p[2] * p[3] / 255);
    }
}

} // namespace

QImage DecodeJpeg(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        throw JpegError("A kép nem JPEG formátumú");
    Decoded decoded;
    ErrorManager errors{};
    if (!DecodeInto(bytes.data(), bytes.size(), decoded, errors))
        throw JpegError(std::string("Hibás JPEG kép: ") + errors.message);
    QImage image(decoded.width, decoded.height, QImage::Format_RGB32);
    std::size_t offset = 0;
    for (int y = 0; y < decoded.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < decoded.width;
             ++x, offset += static_cast<std::size_t>(decoded.components))
            line[x] = PixelAt(decoded, offset);
    }
    return image;
}

QImage LoadJpeg(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw JpegError("A kép nem nyitható meg: " + file.string());
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    try {
        return DecodeJpeg(bytes);
    } catch (const JpegError& error) {
        throw JpegError(file.filename().string() + ": " + error.what());
    }
}

std::vector<std::uint8_t> EncodeJpeg(const QImage& picture, int quality) {
    QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = rgb.scanLine(static_cast<int>(info.next_scanline));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

TImage::TImage(QWidget* parent) : QWidget(Host(parent)), TControl(static_cast<QWidget&>(*this)) {}

void TImage::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void TImage::LoadFromFile(const std::filesystem::path& file) {
    SetPicture(LoadJpeg(file));
}

void TImage::SetStretch(bool stretch) {
    stretch_ = stretch;
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (stretch_)
        painter.drawImage(rect(), picture_);
    else
        painter.drawImage(0, 0, picture_);
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (OnClick)
        Guarded([this] { OnClick(this); });
}

} // namespace ui
