// A fresh folder under the temporary directory for one test, removed with it. The random part
// keeps parallel test runs (and the sanitizer build's) apart.
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace analytics_test {

class TestFolder {
  public:
    explicit TestFolder(const std::string& prefix)
        : path_(std::filesystem::temp_directory_path() /
                (prefix + "-" + std::to_string(std::random_device{}()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace analytics_test
