#include "skinui/SkinFile.h"

#include <cstdint>
#include <cstdio>

#include "platform/Files.h"
#include "skinui/SkinArchive.h"
#include "skinui/WindowManagerUI.h"

namespace SkinUI {

namespace {

bool SizeAllowed(std::uint64_t size, SkinFileKind kind, std::wstring& error) {
    if (size == 0) {
        error = L"File is empty";
        return false;
    }
    if (kind == SkinFileKind::Layout && size > kMaxLayoutFileSize) {
        error = L"File too large";
        return false;
    }
    return true;
}

bool ReadDiskFile(const std::wstring& path, SkinFileKind kind, std::vector<unsigned char>& bytes,
                  std::wstring& error) {
    FILE* file = win32::_wfopen(path.c_str(), L"rb");
    if (!file) {
        error = L"Error opening file";
        return false;
    }
    long long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        size = std::ftell(file);
        std::fseek(file, 0, SEEK_SET);
    }
    bool ok = size >= 0 && SizeAllowed(static_cast<std::uint64_t>(size), kind, error);
    if (ok) {
        bytes.resize(static_cast<std::size_t>(size));
        if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            error = L"Could not read file";
            ok = false;
        }
    } else if (size < 0) {
        error = L"Could not read file";
    }
    std::fclose(file);
    if (!ok) {
        bytes.clear();
    }
    return ok;
}

bool ReadArchiveFile(const std::wstring& name, SkinFileKind kind, std::vector<unsigned char>& bytes,
                     std::wstring& error) {
    bool cached = CWindowManagerUI::IsResourceArchiveCached();
    CSkinArchive* archive = nullptr;
    if (CWindowManagerUI::IsArchive7z()) {
        archive = cached ? CWindowManagerUI::GetResourceArchive()
                         : CSkinArchive::OpenFromFile(CWindowManagerUI::GetResourcePath() +
                                                      CWindowManagerUI::GetResourceArchiveName());
    }
    if (!archive) {
        error = L"Error opening zip file";
        return false;
    }
    int index = 0;
    std::uint64_t size = 0;
    bool ok = false;
    if (archive->Find(name.c_str(), &index, &size) != 0) {
        error = L"Could not find ziped file";
    } else if (SizeAllowed(size, kind, error)) {
        bytes.resize(static_cast<std::uint32_t>(size));
        ok = archive->Extract(index, bytes.data()) == 0;
        if (!ok) {
            error = L"Could not unzip file";
            bytes.clear();
        }
    }
    if (!cached) {
        CSkinArchive::Close(archive);
    }
    return ok;
}

}  // namespace

bool LoadSkinFile(const std::wstring& name, SkinFileKind kind, std::vector<unsigned char>& bytes,
                  std::wstring& error) {
    bytes.clear();
    bool found = CWindowManagerUI::GetResourceArchiveName().empty()
                     ? ReadDiskFile(CWindowManagerUI::GetResourcePath() + name, kind, bytes, error)
                     : ReadArchiveFile(name, kind, bytes, error);
    if (!found && kind == SkinFileKind::Image) {
        std::wstring ignored;
        found = ReadDiskFile(name, kind, bytes, ignored);
    }
    return found;
}

bool ViewSkinFile(const std::wstring& name, SkinFileKind kind, SkinFileBytes& bytes,
                  std::wstring& error) {
    bytes = SkinFileBytes{};
    const CSkinArchive* archive = !CWindowManagerUI::GetResourceArchiveName().empty() &&
                                          CWindowManagerUI::IsArchive7z() &&
                                          CWindowManagerUI::IsResourceArchiveCached()
                                      ? CWindowManagerUI::GetResourceArchive()
                                      : nullptr;
    int index = 0;
    std::uint64_t size = 0;
    if (archive && archive->Find(name.c_str(), &index, &size) == 0 &&
        SizeAllowed(size, kind, error)) {
        if (const std::vector<unsigned char>* data = archive->Data(index)) {
            bytes.data = data->data();
            bytes.size = data->size();
            return true;
        }
    }
    // Every other source, and every failure with its own error text.
    if (!LoadSkinFile(name, kind, bytes.owned, error)) {
        return false;
    }
    bytes.data = bytes.owned.data();
    bytes.size = bytes.owned.size();
    return true;
}

}  // namespace SkinUI
