#include "platform/report/layouts.h"

#include "platform/report/error.h"
#include "platform/report/output.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace report {

namespace fs = std::filesystem;

namespace {

std::vector<BuiltInLayout>& registry() {
    static std::vector<BuiltInLayout> layouts;
    return layouts;
}

// The file of that name in the directory, in any letter case; empty when there is none.
fs::path findInAnyCase(const fs::path& directory, const std::string& fileName) {
    std::error_code error;
    if (fs::exists(directory / fileName, error))
        return directory / fileName;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory, error))
        if (sys::equalsNoCase(entry.path().filename().string(), fileName))
            return entry.path();
    return {};
}

bool presentInAnyCase(const fs::path& directory, const std::string& fileName) {
    return !findInAnyCase(directory, fileName).empty();
}

std::optional<std::string> readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return bytes.str();
}

[[noreturn]] void cannotWrite(const fs::path& file) {
    throw ReportError("A jelentésfájl nem írható:\n\"" + file.string() + "\"");
}

} // namespace

void RegisterLayout(const std::string& fileName, const std::string& text,
                    std::vector<std::string> earlierChecksums) {
    for (BuiltInLayout& layout : registry())
        if (sys::equalsNoCase(layout.fileName, fileName)) {
            layout.text = text;
            layout.earlier = std::move(earlierChecksums);
            return;
        }
    registry().push_back({fileName, text, std::move(earlierChecksums)});
}

void RegisterShippedLayouts(std::string_view folder,
                            const std::map<std::string, std::vector<std::string>>& earlier) {
    const QString root = ":/layouts/" + QString::fromUtf8(folder.data(), qsizetype(folder.size()));
    const QStringList names = QDir(root).entryList({"*.rav"}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        const std::string fileName = name.toStdString();
        const auto versions = earlier.find(fileName);
        RegisterLayout(fileName, ShippedLayout(std::string(folder) + "/" + fileName),
                       versions == earlier.end() ? std::vector<std::string>{} : versions->second);
    }
    // Checksums under a name the folder lacks would never be consulted.
    for (const auto& [fileName, checksums] : earlier)
        if (!names.contains(QString::fromStdString(fileName)))
            throw std::logic_error("no shipped layout " + std::string(folder) + "/" + fileName);
}

std::string ShippedLayout(std::string_view path) {
    QFile file(":/layouts/" + QString::fromUtf8(path.data(), qsizetype(path.size())));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

std::string LayoutChecksum(std::string_view text) {
    return QCryptographicHash::hash(
               QByteArrayView(text.data(), static_cast<qsizetype>(text.size())),
               QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

int LayoutVersion(std::string_view text) {
    // The first line that is not blank or a comment: "farmreport 1 version=N".
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = sys::trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t at = line.find("version=");
        if (at == std::string_view::npos)
            return 0;
        return sys::tryParseInt(line.substr(at + 8)).value_or(0);
    }
    return 0;
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

LayoutUpdates UpdateBuiltInLayouts(const fs::path& directory) {
    LayoutUpdates updates;
    for (const BuiltInLayout& layout : registry()) {
        const fs::path existing = findInAnyCase(directory, layout.fileName);
        if (existing.empty()) {
            WriteLayoutIfMissing(directory, layout.fileName, layout.text);
            updates.written.push_back(layout.fileName);
            continue;
        }
        const std::optional<std::string> bytes = readBytes(existing);
        if (!bytes || *bytes == layout.text)
            continue; // unreadable: left as it is, and named when it is run
        const std::string checksum = LayoutChecksum(*bytes);
        if (std::find(layout.earlier.begin(), layout.earlier.end(), checksum) ==
            layout.earlier.end()) {
            updates.kept.push_back(layout.fileName);
            continue;
        }
        SaveFileContents(existing, layout.text, "A jelentésfájl");
        updates.replaced.push_back(layout.fileName);
    }
    return updates;
}

std::vector<std::string> WriteBuiltInLayouts(const fs::path& directory) {
    std::vector<std::string> written;
    for (const BuiltInLayout& layout : registry())
        if (WriteLayoutIfMissing(directory, layout.fileName, layout.text))
            written.push_back(layout.fileName);
    return written;
}

} // namespace report
