// One image attribute of a control: its description and what drawing it needs.
#pragma once

#include <string>

#include "platform/Gdi.h"
#include "skinui/ImageData.h"

namespace SkinUI {

struct TDrawInfo {
    std::wstring sDrawString;  // the description as written
    std::wstring sImageName;
    std::wstring sResType;  // "*COLOR*" for "color", the "restype" for "res", else empty
    bool bLoaded = false;   // a load was attempted
    const TImageData* pImageInfo = nullptr;
    win32::RECT rcDest{};
    win32::RECT rcSource{};
    win32::RECT rcCorner{};
    win32::DWORD dwMask = 0;
    win32::BYTE uFade = 255;
    bool bHole = false;
    bool bTiledX = false;
    bool bTiledY = false;
    bool bHSL = false;

    TDrawInfo() = default;
    explicit TDrawInfo(const std::wstring& description) { sDrawString = description; }
    void Clear();
    // Reads the description: a bare file name, or key='value' pairs separated by a space.
    void Parse();
};

}  // namespace SkinUI
