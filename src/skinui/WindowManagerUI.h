// The per-window manager of skinned windows. This part holds the process-wide skin resource
// settings, the window's image cache and font table and the language table; the message
// handling and the control tree come with the controls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Gdi.h"
#include "skinui/FontData.h"
#include "skinui/ImageData.h"

namespace SkinUI {

class CSkinArchive;

class CWindowManagerUI {
  public:
    CWindowManagerUI();
    ~CWindowManagerUI();
    CWindowManagerUI(const CWindowManagerUI&) = delete;
    CWindowManagerUI& operator=(const CWindowManagerUI&) = delete;

    // ---- Skin resources, process-wide; UI thread only ----
    static void SetInstance(win32::HINSTANCE instance);
    static win32::HINSTANCE GetInstance();
    // The module's folder, ending with "\\"; empty without an instance.
    static std::wstring GetInstancePath();
    static void SetResourceInstance(win32::HINSTANCE instance);
    static win32::HINSTANCE GetResourceInstance();
    static void SetResourcePath(const std::wstring& path);
    static const std::wstring& GetResourcePath();
    static void SetArchiveIs7z(bool is7z);
    static bool IsArchive7z();
    // The memory form: the first archive opened from memory stays for the whole process.
    static void SetResourceArchive(const void* bytes, std::size_t length);
    // The file form, under the resource path.
    static void SetResourceArchive(const wchar_t* name, bool cached);
    static const std::wstring& GetResourceArchiveName();
    static bool IsResourceArchiveCached();
    static CSkinArchive* GetResourceArchive();
    // Copies the archive resource (type "ZIPRES") of the resource instance and opens it from
    // memory; false when the resource is missing or empty.
    static bool SetResourceArchiveFromResource(int resourceId);

    // ---- Images ----
    const TImageData* GetImage(const std::wstring& name) const;
    const TImageData* GetImageEx(const std::wstring& name, const std::wstring& type,
                                 win32::DWORD mask, bool colorAdjust = false);
    const TImageData* AddImage(const std::wstring& name, const std::wstring& type,
                               win32::DWORD mask, bool colorAdjust, bool shared);
    void RemoveAllImages();

    // ---- Fonts ----
    // The device context fonts are measured with; null measures on a memory device context.
    void SetPaintDC(win32::HDC dc) { paintDC_ = dc; }
    win32::HDC GetPaintDC() const { return paintDC_; }
    win32::HFONT AddFont(int id, const std::wstring& face, int size, bool bold, bool underline,
                         bool italic, bool shared);
    void SetDefaultFont(const std::wstring& face, int size, bool bold, bool underline, bool italic,
                        bool shared);
    // Ids in neither the window's nor the shared table give the default font.
    win32::HFONT GetFont(int id) const;
    const TFontData* GetFontInfo(int id) const;
    const TFontData* GetDefaultFontInfo() const;
    void RemoveAllFonts();

    // ---- Language table, process-wide ----
    static void AddMultiLanguageString(int id, const std::wstring& text);
    static const std::wstring* GetMultiLanguageString(int id);
    // "%{n}" becomes entry n of the language table when that entry exists.
    static std::wstring ProcessMultiLanguageTokens(const std::wstring& text);

  private:
    win32::HDC paintDC_ = nullptr;
    CImageCache images_;
    FontTable fonts_;
    std::unique_ptr<TFontData> defaultFont_;  // null: the shared default
};

}  // namespace SkinUI
