#pragma once
// The program's own pictures as the build embeds them (JPEG bytes of core/pictures/*.jpg,
// named after the file without its extension). pictures.h decodes them.

#include <cstddef>
#include <string_view>
#include <vector>

namespace core {

struct EmbeddedPicture {
    std::string_view name;
    const unsigned char* data;
    std::size_t size;
};

const std::vector<EmbeddedPicture>& EmbeddedPictures();

} // namespace core
