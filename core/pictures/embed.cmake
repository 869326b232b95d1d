# Writes a C++ source holding every JPEG of PICTURE_DIR as a byte array, named after the
# file without its extension. Run by the build whenever a picture changes.
file(GLOB files "${PICTURE_DIR}/*.jpg")
list(SORT files)
set(arrays "")
set(entries "")
set(index 0)
foreach(file IN LISTS files)
    get_filename_component(name "${file}" NAME_WE)
    file(READ "${file}" hex HEX)
    string(LENGTH "${hex}" length)
    math(EXPR size "${length} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
    string(APPEND arrays "const unsigned char picture${index}[${size}] = {\n${bytes}};\n")
    string(APPEND entries "    {\"${name}\", picture${index}, ${size}},\n")
    math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from core/pictures/*.jpg by core/pictures/embed.cmake.
#include \"core/embedded_pictures.h\"

namespace core {
namespace {
${arrays}
} // namespace

const std::vector<EmbeddedPicture>& EmbeddedPictures() {
    static const std::vector<EmbeddedPicture> pictures{
${entries}    };
    return pictures;
}

} // namespace core
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
