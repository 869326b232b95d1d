// Copies that replace a file only with a complete new one.

#include "platform/sys/file_copy.h"
#include "support/test_env.h"

#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using testenv::readFile;

namespace {

void Write(const fs::path& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

TEST(FileCopy, ReplacesTheTargetAndLeavesNoTemporary) {
    fs::create_directory("to");
    std::string big(300000, 'a');
    big[123456] = '\0';
    Write("big", big);
    Write("to/big", "old");
    sys::copyFileSafely("big", "to/big");
    EXPECT_EQ(readFile("to/big"), big);
    EXPECT_FALSE(fs::exists(sys::temporaryCopyName("to/big")));
    EXPECT_EQ(sys::temporaryCopyName("to/big"), fs::path("to/big.part"));
}

TEST(FileCopy, FailureLeavesTheTargetAndNamesTheFile) {
    Write("target", "old");
    try {
        sys::copyFileSafely("missing", "target");
        FAIL() << "no error";
    } catch (const sys::FileCopyError& error) {
        EXPECT_EQ(error.file(), fs::path("missing"));
    }
    EXPECT_EQ(readFile("target"), "old");

    Write("source", "new");
    fs::create_directory(sys::temporaryCopyName("target"));
    EXPECT_THROW(sys::copyFileSafely("source", "target"), sys::FileCopyError);
    EXPECT_EQ(readFile("target"), "old");
    EXPECT_TRUE(fs::is_directory(sys::temporaryCopyName("target"))); // not ours to remove
}

TEST(FileCopy, SetIsReplacedWholeOrNotAtAll) {
    fs::create_directory("to");
    std::vector<sys::FileCopy> files;
    for (int i = 0; i < 5; ++i) {
        const std::string name = "f" + std::to_string(i);
        Write(name, "new " + name);
        Write("to/" + name, "old " + name);
        files.push_back({name, "to/" + name});
    }
    Write("to/f3.part", "stale"); // left by an interrupted copy: overwritten

    fs::remove("f4");
    std::vector<std::size_t> steps;
    const auto failure =
        sys::copyFileSet(files, [&](std::size_t done, std::size_t) { steps.push_back(done); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->index, 4u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(readFile("to/f" + std::to_string(i)), "old f" + std::to_string(i));
    for (const auto& entry : fs::directory_iterator("to"))
        EXPECT_NE(entry.path().extension(), ".part") << entry.path();

    Write("f4", "new f4");
    steps.clear();
    EXPECT_FALSE(sys::copyFileSet(
        files, [&](std::size_t done, std::size_t total) { steps.push_back(done * 10 + total); }));
    EXPECT_EQ(steps, (std::vector<std::size_t>{15, 25, 35, 45, 55}));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(readFile("to/f" + std::to_string(i)), "new f" + std::to_string(i));
}

} // namespace
