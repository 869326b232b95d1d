// Zip archives of a folder, read back with libzip.

#include "platform/sys/archive.h"
#include "platform/sys/file_copy.h"
#include "support/test_env.h"

#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

TEST(Archive, HoldsTheFolderEntryAndItsFilesInNameOrder) {
    fs::create_directories("BackUp/sub");
    Write("BackUp/b.db", std::string(100000, 'b'));
    Write("BackUp/A.px", "index");
    Write("BackUp/sub/skipped", "not at the top");
    std::vector<double> progress;
    sys::zipFolder("res.zip", "BackUp", "BackUp", [&](double done) { progress.push_back(done); });
    EXPECT_EQ(sys::zipEntries("res.zip"),
              (std::vector<std::string>{"BackUp/", "BackUp/A.px", "BackUp/b.db"}));
    EXPECT_EQ(sys::zipEntryContents("res.zip", "BackUp/b.db"), std::string(100000, 'b'));
    EXPECT_EQ(sys::zipEntryContents("res.zip", "BackUp/A.px"), "index");
    ASSERT_FALSE(progress.empty());
    EXPECT_DOUBLE_EQ(progress.back(), 1.0);
    EXPECT_LT(fs::file_size("res.zip"), 100000u); // compressed
}

TEST(Archive, EmptyFolderGivesTheFolderEntryAlone) {
    fs::create_directory("BackUp");
    sys::zipFolder("res.zip", "BackUp", "BackUp");
    EXPECT_EQ(sys::zipEntries("res.zip"), (std::vector<std::string>{"BackUp/"}));
}

TEST(Archive, FailureNamesTheArchiveAndKeepsAnOldOne) {
    Write("res.zip", "an older archive");
    try {
        sys::zipFolder("res.zip", "BackUp", "BackUp");
        FAIL() << "no error";
    } catch (const sys::ArchiveError& error) {
        EXPECT_EQ(error.archive(), fs::path("res.zip"));
        EXPECT_EQ(std::string(error.what()).rfind("res.zip: ", 0), 0u);
    }
    EXPECT_EQ(testenv::readFile("res.zip"), "an older archive");
    EXPECT_FALSE(fs::exists(sys::temporaryCopyName("res.zip")));
    EXPECT_THROW(sys::zipEntries("res.zip"), sys::ArchiveError);
}

} // namespace
