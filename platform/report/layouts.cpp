#include "platform/report/layouts.h"

#include "platform/report/error.h"
#include "platform/sys/text.h"

#include <fstream>

namespace report {

namespace fs = std::filesystem;

namespace {

std::vector<BuiltInLayout>& registry() {
    static std::vector<BuiltInLayout> layouts;
    return layouts;
}

bool presentInAnyCase(const fs::path& directory, const std::string& fileName) {
    std::error_code error;
    if (fs::exists(directory / fileName, error))
        return true;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory, error))
        if (sys::equalsNoCase(entry.path().filename().string(), fileName))
            return true;
    return false;
}

[[noreturn]] void cannotWrite(const fs::path& file) {
    throw ReportError("A jelentésfájl nem írható:\n\"" + file.string() + "\"");
}

} // namespace

void RegisterLayout(const std::string& fileName, const std::string& text) {
    for (BuiltInLayout& layout : registry())
        if (sys::equalsNoCase(layout.fileName, fileName)) {
            layout.text = text;
            return;
        }
    registry().push_back({fileName, text});
}

const std::vector<BuiltInLayout>& BuiltInLayouts() {
    return registry();
}

bool WriteLayoutIfMissing(const fs::path& directory, const std::string& fileName,
                          const std::string& text) {
    if (presentInAnyCase(directory, fileName))
        return false;
    const fs::path target = directory / fileName;
    const fs::path temporary = directory / (fileName + ".tmp");
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            cannotWrite(target);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(temporary, ignored);
            cannotWrite(target);
        }
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        cannotWrite(target);
    }
    return true;
}

std::vector<std::string> WriteBuiltInLayouts(const fs::path& directory) {
    std::vector<std::string> written;
    for (const BuiltInLayout& layout : registry())
        if (WriteLayoutIfMissing(directory, layout.fileName, layout.text))
            written.push_back(layout.fileName);
    return written;
}

} // namespace report
