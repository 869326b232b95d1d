// A file written whole through a temporary name, and a rename that never replaces.

#include "platform/sys/file_copy.h"
#include "support/test_env.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

void Put(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(FileWrite, WritesTheWholeContentAndLeavesNoTemporary) {
    Put("a.imp", "old and longer content");
    Put("a.imp.part", "a file of the user's that only looks like a temporary");
    sys::writeFileSafely("a.imp", std::string("new\n\0bytes", 10));
    EXPECT_EQ(testenv::readFile("a.imp"), std::string("new\n\0bytes", 10));
    EXPECT_EQ(testenv::readFile("a.imp.part"),
              "a file of the user's that only looks like a temporary");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("."))
        ++files;
    EXPECT_EQ(files, 2);
}

TEST(FileWrite, AMissingFolderIsReportedInWordsAndTouchesNothing) {
    try {
        sys::writeFileSafely("nincs/a.imp", "x");
        FAIL() << "no error";
    } catch (const sys::FileCopyError& error) {
        EXPECT_EQ(error.problem(), "nincs ilyen mappa");
        EXPECT_EQ(error.file(), fs::path("nincs/a.imp"));
    }
}

TEST(FileWrite, ARenameNeverReplacesAnExistingFile) {
    Put("from.txt", "moved");
    Put("taken.txt", "kept");
    try {
        sys::renameWithoutReplacing("from.txt", "taken.txt");
        FAIL() << "no error";
    } catch (const sys::FileCopyError& error) {
        EXPECT_EQ(error.problem(), "már van ilyen nevű fájl");
    }
    EXPECT_EQ(testenv::readFile("from.txt"), "moved");
    EXPECT_EQ(testenv::readFile("taken.txt"), "kept");
    sys::renameWithoutReplacing("from.txt", "free.txt");
    EXPECT_FALSE(fs::exists("from.txt"));
    EXPECT_EQ(testenv::readFile("free.txt"), "moved");
}

} // namespace
