// A font of a window's font table.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/Gdi.h"

namespace SkinUI {

struct TFontData {
    win32::HFONT hFont = nullptr;
    std::wstring sFontName;
    int iSize = 0;  // pixels; the font's character height is -iSize
    bool bBold = false;
    bool bUnderline = false;
    bool bItalic = false;
    win32::TEXTMETRICW tm{};

    TFontData() = default;
    ~TFontData();
    TFontData(const TFontData&) = delete;
    TFontData& operator=(const TFontData&) = delete;
};

// Builds the font from the default GUI font with the face (at most 31 characters kept), the
// size as character height, bold adding 700 to the weight, and measures it on dc (a memory
// device context when dc is null).
std::unique_ptr<TFontData> CreateFontData(const std::wstring& face, int size, bool bold,
                                          bool underline, bool italic, win32::HDC dc);

using FontTable = std::map<int, std::unique_ptr<TFontData>>;

}  // namespace SkinUI
