// The picture decoder of graphic blobs: the input is a picture file. Anything but a
// sound JPEG may only raise ui::JpegError; a decoded picture has the size it declares.

#include "fuzz/fuzz_support.h"
#include "fuzz/targets/targets.h"
#include "platform/ui/image.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace fuzz {

void runPicture(std::string_view input) {
    try {
        const QImage image = ui::DecodeJpeg(
            std::span(reinterpret_cast<const std::uint8_t*>(input.data()), input.size()));
        if (image.isNull() && image.width() * image.height() != 0)
            finding("a decoded picture has no pixels");
    } catch (const ui::JpegError&) {
    }
}

void seedPicture() {
    for (const auto& entry : fs::directory_iterator(sourceDir() / "core/pictures"))
        if (entry.path().extension() == ".jpg" && entry.file_size() <= 64 * 1024)
            writeSeed("picture-" + entry.path().filename().string(), readFile(entry.path()));
}

} // namespace fuzz
