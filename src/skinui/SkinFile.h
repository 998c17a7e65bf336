// Reading a skin file's bytes from loose files or the skin archive.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace SkinUI {

enum class SkinFileKind {
    Layout,  // empty and larger than 4 MiB fail; no disk fallback
    Image,   // empty fails; as a last resort the name is read as a path on disk
};

constexpr std::size_t kMaxLayoutFileSize = 4 * 1024 * 1024;

// On failure error holds the reason ("File is empty", "Could not find ziped file", ...).
bool LoadSkinFile(const std::wstring& name, SkinFileKind kind, std::vector<unsigned char>& bytes,
                  std::wstring& error);

// A skin file's bytes, borrowed from the process's cached archive when it holds them (valid
// while that archive stays open, which is for the life of the process), else read into owned.
struct SkinFileBytes {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    std::vector<unsigned char> owned;
};

// LoadSkinFile without the copy out of a cached archive.
bool ViewSkinFile(const std::wstring& name, SkinFileKind kind, SkinFileBytes& bytes,
                  std::wstring& error);

}  // namespace SkinUI
