#pragma once
// The program's own pictures: the toolbar buttons of the main window, its moving strip
// and the logo, decoded from the JPEG files embedded in the program.

#include <QImage>
#include <string_view>

namespace core {

// The picture of that name ("strip", "logo", "operations" ... as the files in
// core/pictures are named); an unknown name is a programming error (std::out_of_range).
QImage Picture(std::string_view name);

} // namespace core
