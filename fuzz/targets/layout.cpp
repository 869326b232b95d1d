// The report layout parser: the input is a layout file's text. A bad layout may only
// raise report::LayoutError naming the file and the line.

#include "platform/report/layout.h"

#include "fuzz/fuzz_support.h"
#include "fuzz/targets/targets.h"
#include "platform/report/error.h"
#include "register/layouts.h"

namespace fuzz {

void runLayout(std::string_view input) {
    try {
        const report::Layout layout = report::ParseLayout(input, "FUZZ.rav");
        if (layout.file != "FUZZ.rav")
            finding("the layout lost its file name");
    } catch (const report::LayoutError& e) {
        if (std::string(e.what()).find("FUZZ.rav") == std::string::npos)
            finding("a layout error does not name the file");
    }
}

void seedLayout() {
    writeSeed("layout-owners", reg::OwnersLayout());
    writeSeed("layout-parcels", reg::LandParcelsLayout());
    writeSeed("layout-format", readFile(sourceDir() / "platform/report/FORMAT.md"));
}

} // namespace fuzz
