// Test main: every test runs in a fresh temporary working directory, removed after it.

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace fs = std::filesystem;

namespace {

class FreshWorkingDirectory : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        original_ = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "farm-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        dir_ = pattern;
        fs::current_path(dir_);
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        fs::current_path(original_);
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    fs::path original_;
    fs::path dir_;
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshWorkingDirectory);
    return RUN_ALL_TESTS();
}
