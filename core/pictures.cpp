#include "pictures.h"

#include "embedded_pictures.h"
#include "platform/ui/image.h"

#include <span>
#include <stdexcept>
#include <string>

namespace core {

QImage Picture(std::string_view name) {
    for (const EmbeddedPicture& picture : EmbeddedPictures())
        if (picture.name == name)
            return ui::DecodeJpeg(std::span(picture.data, picture.size));
    throw std::out_of_range("No picture named " + std::string(name));
}

} // namespace core
