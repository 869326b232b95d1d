// The report layout parser: the input is a layout file's text (seeds: the program's
// built-in layouts and the format's description). A bad layout may only raise
// report::LayoutError naming the file and the line.

#include "platform/report/layout.h"

#include "fuzz/fuzz_support.h"
#include "fuzz/targets/targets.h"
#include "operations/commands.h"
#include "platform/report/error.h"
#include "platform/report/layouts.h"
#include "register/layouts.h"
#include "reports/commands.h"
#include "resources/commands.h"

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
    // The program's own layouts, as start-up registers them.
    reg::RegisterLayouts();
    RegisterResourceLayouts();
    RegisterOperationLayouts();
    RegisterReportLayouts();
    for (const report::BuiltInLayout& layout : report::BuiltInLayouts())
        writeSeed("layout-" + layout.fileName, layout.text);
    writeSeed("layout-format", readFile(sourceDir() / "platform/report/FORMAT.md"));
}

} // namespace fuzz
