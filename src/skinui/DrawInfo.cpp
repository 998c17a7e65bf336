#include "skinui/DrawInfo.h"

#include <cstdlib>

namespace SkinUI {

namespace {

bool IsBlank(wchar_t c) {
    return c > 0 && c <= L' ';
}

// Four numbers, each followed by one separator character.
win32::RECT ParseRect(const std::wstring& value) {
    win32::RECT r{};
    win32::LONG* fields[] = {&r.left, &r.top, &r.right, &r.bottom};
    const wchar_t* p = value.c_str();
    for (win32::LONG* field : fields) {
        wchar_t* end = nullptr;
        *field = static_cast<win32::LONG>(std::wcstol(p, &end, 10));
        p = end;
        if (*p == L'\0') {
            break;
        }
        ++p;
    }
    return r;
}

win32::DWORD ParseHex(const std::wstring& value) {
    const wchar_t* p = value.c_str();
    if (*p == L'#') {
        ++p;
    }
    return static_cast<win32::DWORD>(std::wcstoul(p, nullptr, 16));
}

}  // namespace

void TDrawInfo::Clear() {
    *this = TDrawInfo();
}

void TDrawInfo::Parse() {
    sImageName = sDrawString;
    sResType.clear();
    // The resource type only counts for "res"; "color" makes it a solid colour.
    std::wstring declaredType;
    enum { kFile, kResource, kColor } source = kFile;
    const std::wstring& s = sDrawString;
    std::size_t i = 0;
    auto at = [&](std::size_t k) { return k < s.size() ? s[k] : L'\0'; };
    while (at(i) != L'\0') {
        while (IsBlank(at(i))) {
            ++i;
        }
        std::wstring key;
        while (at(i) != L'\0' && at(i) != L'=' && !IsBlank(at(i)) && at(i) > L' ') {
            key += at(i++);
        }
        while (IsBlank(at(i))) {
            ++i;
        }
        if (at(i) != L'=') {
            break;
        }
        ++i;
        while (IsBlank(at(i))) {
            ++i;
        }
        if (at(i) != L'\'') {
            break;
        }
        ++i;
        std::wstring value;
        while (at(i) != L'\0' && at(i) != L'\'') {
            value += at(i++);
        }
        if (at(i) != L'\'') {
            break;
        }
        ++i;
        if (!value.empty()) {
            if (key == L"file") {
                sImageName = value;
                source = kFile;
            } else if (key == L"res") {
                sImageName = value;
                source = kResource;
            } else if (key == L"restype") {
                declaredType = value;
            } else if (key == L"color") {
                sImageName = value;
                source = kColor;
            } else if (key == L"dest") {
                rcDest = ParseRect(value);
            } else if (key == L"source") {
                rcSource = ParseRect(value);
            } else if (key == L"corner" || key == L"scale9") {
                rcCorner = ParseRect(value);
            } else if (key == L"mask") {
                dwMask = ParseHex(value);
            } else if (key == L"fade") {
                uFade = static_cast<win32::BYTE>(std::wcstol(value.c_str(), nullptr, 10));
            } else if (key == L"hole") {
                bHole = value == L"true";
            } else if (key == L"xtiled") {
                bTiledX = value == L"true";
            } else if (key == L"ytiled") {
                bTiledY = value == L"true";
            } else if (key == L"hsl") {
                bHSL = value == L"true";
            }
        }
        if (at(i) != L' ') {
            break;
        }
        ++i;
    }
    if (source == kResource) {
        sResType = declaredType;
    } else if (source == kColor) {
        sResType = L"*COLOR*";
    }
}

}  // namespace SkinUI
