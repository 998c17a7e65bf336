// Temporary folders, PNG files and archive switching shared by the framework's tests.
#pragma once

#include <stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "skinui/WindowManagerUI.h"

namespace SkinTest {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "skinui-test-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& Path() const { return path_; }
    std::wstring Wide() const { return path_.wstring() + L"/"; }

    void Write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories((path_ / name).parent_path());
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }
    // A PNG of straight RGBA pixels (0xAARRGGBB words).
    void WritePng(const std::string& name, int width, int height,
                  const std::vector<unsigned>& argb) const {
        std::vector<unsigned char> rgba;
        for (unsigned p : argb) {
            rgba.insert(rgba.end(),
                        {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                         static_cast<unsigned char>(p), static_cast<unsigned char>(p >> 24)});
        }
        std::filesystem::create_directories((path_ / name).parent_path());
        stbi_write_png((path_ / name).string().c_str(), width, height, 4, rgba.data(), width * 4);
    }

  private:
    std::filesystem::path path_;
};

// Loose skin files under folder, no archive.
inline void UseLooseFiles(const std::wstring& folder) {
    SkinUI::CWindowManagerUI::SetResourcePath(folder);
    SkinUI::CWindowManagerUI::SetResourceArchive(L"", false);
}

// The skin compiled into this executable, as the windows open it.
inline void UseEmbeddedSkin() {
    SkinUI::CWindowManagerUI::SetArchiveIs7z(true);
    SkinUI::CWindowManagerUI::SetResourcePath(L"");
    SkinUI::CWindowManagerUI::SetResourceArchiveFromResource(147);
}

}  // namespace SkinTest
