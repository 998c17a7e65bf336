// The process-wide skin resource settings of CWindowManagerUI.
#include <cstring>
#include <vector>

#include "platform/Files.h"
#include "platform/Resources.h"
#include "skinui/SkinArchive.h"
#include "skinui/WindowManagerUI.h"

namespace SkinUI {

namespace {

// Written once at start-up and when windows are created, all on the UI thread.
struct ResourceSettings {
    win32::HINSTANCE instance = nullptr;
    win32::HINSTANCE resourceInstance = nullptr;
    std::wstring resourcePath;
    std::wstring archiveName;
    bool archiveCached = false;
    CSkinArchive* archive = nullptr;
    bool archiveIs7z = false;
    // The copy of the archive resource; only the latest is kept, since the open archive holds
    // its own copies of every file.
    std::vector<unsigned char> resourceBuffer;
};

ResourceSettings& Settings() {
    static ResourceSettings settings;
    return settings;
}

constexpr const wchar_t* kMemoryArchive = L"membuffer";

void CloseCachedArchive() {
    ResourceSettings& s = Settings();
    if (s.archiveCached && s.archive) {
        // Only the 7z reader exists; with the zip flag nothing was ever opened.
        CSkinArchive::Close(s.archive);
    }
    s.archive = nullptr;
}

}  // namespace

void CWindowManagerUI::SetInstance(win32::HINSTANCE instance) {
    Settings().instance = instance;
}

win32::HINSTANCE CWindowManagerUI::GetInstance() {
    return Settings().instance;
}

std::wstring CWindowManagerUI::GetInstancePath() {
    if (!Settings().instance) {
        return L"";
    }
    wchar_t path[win32::MAX_PATH + 1] = {};
    win32::DWORD length = win32::GetModuleFileNameW(nullptr, path, win32::MAX_PATH);
    std::wstring full(path, length);
    std::size_t slash = full.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"" : full.substr(0, slash + 1);
}

void CWindowManagerUI::SetResourceInstance(win32::HINSTANCE instance) {
    Settings().resourceInstance = instance;
}

win32::HINSTANCE CWindowManagerUI::GetResourceInstance() {
    return Settings().resourceInstance ? Settings().resourceInstance : Settings().instance;
}

void CWindowManagerUI::SetResourcePath(const std::wstring& path) {
    std::wstring& stored = Settings().resourcePath;
    stored = path;
    if (!stored.empty() && stored.back() != L'\\' && stored.back() != L'/') {
        stored += L'\\';
    }
}

const std::wstring& CWindowManagerUI::GetResourcePath() {
    return Settings().resourcePath;
}

void CWindowManagerUI::SetArchiveIs7z(bool is7z) {
    Settings().archiveIs7z = is7z;
}

bool CWindowManagerUI::IsArchive7z() {
    return Settings().archiveIs7z;
}

void CWindowManagerUI::SetResourceArchive(const void* bytes, std::size_t length) {
    ResourceSettings& s = Settings();
    if (s.archiveName == kMemoryArchive) {
        return;
    }
    CloseCachedArchive();
    s.archiveName = kMemoryArchive;
    s.archiveCached = true;
    s.archive = s.archiveIs7z ? CSkinArchive::OpenFromMemory(bytes, length) : nullptr;
}

void CWindowManagerUI::SetResourceArchive(const wchar_t* archiveName, bool cached) {
    ResourceSettings& s = Settings();
    std::wstring name = archiveName ? archiveName : L"";
    if (name == s.archiveName && cached == s.archiveCached) {
        return;
    }
    CloseCachedArchive();
    s.archiveName = name;
    s.archiveCached = cached;
    if (cached && s.archiveIs7z) {
        s.archive = CSkinArchive::OpenFromFile(s.resourcePath + name);
    }
}

const std::wstring& CWindowManagerUI::GetResourceArchiveName() {
    return Settings().archiveName;
}

bool CWindowManagerUI::IsResourceArchiveCached() {
    return Settings().archiveCached;
}

CSkinArchive* CWindowManagerUI::GetResourceArchive() {
    return Settings().archive;
}

bool CWindowManagerUI::SetResourceArchiveFromResource(int resourceId) {
    win32::HINSTANCE module = GetResourceInstance();
    win32::HRSRC resource =
        win32::FindResourceW(module, win32::MAKEINTRESOURCEW(resourceId), L"ZIPRES");
    if (!resource) {
        return false;
    }
    win32::HGLOBAL loaded = win32::LoadResource(module, resource);
    win32::DWORD size = win32::SizeofResource(module, resource);
    const void* bytes = loaded ? win32::LockResource(loaded) : nullptr;
    if (!bytes || size == 0) {
        return false;
    }
    std::vector<unsigned char>& buffer = Settings().resourceBuffer;
    buffer.assign(static_cast<const unsigned char*>(bytes),
                  static_cast<const unsigned char*>(bytes) + size);
    SetResourceArchive(buffer.data(), buffer.size());
    return true;
}

}  // namespace SkinUI
