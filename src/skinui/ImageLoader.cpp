// Decoding skin images into premultiplied 32-bit DIB sections.
#include <stb_image.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "platform/Resources.h"
#include "skinui/ImageData.h"
#include "skinui/SkinFile.h"
#include "skinui/WindowManagerUI.h"

namespace SkinUI {

namespace {

win32::DWORD ParseHexColor(const std::wstring& text) {
    const wchar_t* p = text.c_str();
    if (*p == L'#') {
        ++p;
    }
    return static_cast<win32::DWORD>(std::wcstoul(p, nullptr, 16));
}

// channel * alpha / 255, rounded down, without a division.
inline win32::DWORD TimesAlpha(win32::DWORD channel, win32::DWORD alpha) {
    win32::DWORD t = channel * alpha;
    return (t + (t >> 8) + 1) >> 8;
}

bool ReadResource(const std::wstring& name, const std::wstring& type,
                  std::vector<unsigned char>& bytes) {
    wchar_t* end = nullptr;
    long id = std::wcstol(name.c_str(), &end, 10);
    if (name.empty() || *end != L'\0' || id <= 0 || id > 0xFFFF) {
        return false;
    }
    win32::HINSTANCE module = CWindowManagerUI::GetResourceInstance();
    win32::HRSRC resource =
        win32::FindResourceW(module, win32::MAKEINTRESOURCEW(static_cast<int>(id)), type.c_str());
    win32::HGLOBAL loaded = resource ? win32::LoadResource(module, resource) : nullptr;
    const auto* data =
        static_cast<const unsigned char*>(loaded ? win32::LockResource(loaded) : nullptr);
    win32::DWORD size = resource ? win32::SizeofResource(module, resource) : 0;
    if (!data || size == 0) {
        return false;
    }
    bytes.assign(data, data + size);
    return true;
}

}  // namespace

TImageData::~TImageData() {
    if (hBitmap) {
        win32::DeleteObject(hBitmap);
    }
}

win32::HBITMAP CreateArgbBitmap(int width, int height, win32::DWORD** bits) {
    win32::BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(win32::BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = win32::BI_RGB;
    void* pixels = nullptr;
    win32::HBITMAP bitmap =
        win32::CreateDIBSection(nullptr, &info, win32::DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<win32::DWORD*>(pixels);
    return bitmap;
}

std::unique_ptr<TImageData> ImageFromRgba(const unsigned char* rgba, int width, int height,
                                          win32::DWORD mask) {
    win32::DWORD* bits = nullptr;
    win32::HBITMAP bitmap = CreateArgbBitmap(width, height, &bits);
    if (!bitmap) {
        return nullptr;
    }
    auto image = std::make_unique<TImageData>();
    image->hBitmap = bitmap;
    image->pBits = bits;
    image->nX = width;
    image->nY = height;
    image->dwMask = mask;
    std::size_t count = static_cast<std::size_t>(width) * height;
    bool alpha = false;
    for (std::size_t i = 0; i < count; ++i) {
        win32::DWORD rgbaWord;  // little-endian: alpha, blue, green, red from the top byte
        std::memcpy(&rgbaWord, rgba + i * 4, 4);
        win32::DWORD a = rgbaWord >> 24;
        win32::DWORD pixel;
        if (a == 255) {
            pixel = (rgbaWord & 0xFF00FF00u) | (rgbaWord & 0xFF) << 16 | (rgbaWord >> 16 & 0xFF);
        } else {
            // Fully transparent pixels come out as 0, since every channel is multiplied by 0.
            pixel = a == 0 ? 0
                           : a << 24 | TimesAlpha(rgbaWord & 0xFF, a) << 16 |
                                 TimesAlpha(rgbaWord >> 8 & 0xFF, a) << 8 |
                                 TimesAlpha(rgbaWord >> 16 & 0xFF, a);
            alpha = true;
        }
        if (pixel == mask) {
            pixel = 0;
            alpha = true;
        }
        image->pBits[i] = pixel;
    }
    image->bAlpha = alpha;
    return image;
}

std::unique_ptr<TImageData> LoadImage(const std::wstring& name, const std::wstring& type,
                                      win32::DWORD mask) {
    if (type == L"*COLOR*") {
        win32::DWORD color = ParseHexColor(name);
        const unsigned char rgba[4] = {
            static_cast<unsigned char>(color >> 16), static_cast<unsigned char>(color >> 8),
            static_cast<unsigned char>(color), static_cast<unsigned char>(color >> 24)};
        std::unique_ptr<TImageData> image = ImageFromRgba(rgba, 1, 1, mask);
        if (image) {
            image->sResType = type;
        }
        return image;
    }
    std::vector<unsigned char> bytes;
    if (!type.empty()) {
        if (!ReadResource(name, type, bytes)) {
            return nullptr;
        }
    } else {
        std::wstring error;
        if (!LoadSkinFile(name, SkinFileKind::Image, bytes, error)) {
            return nullptr;
        }
    }
    if (bytes.size() > 0x7FFFFFFF) {
        return nullptr;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* rgba = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()),
                                                &width, &height, &channels, 4);
    if (!rgba) {
        return nullptr;
    }
    std::unique_ptr<TImageData> image = ImageFromRgba(rgba, width, height, mask);
    stbi_image_free(rgba);
    if (image) {
        image->sResType = type;
    }
    return image;
}

const TImageData* CImageCache::Find(const std::wstring& name) const {
    auto it = images_.find(name);
    return it == images_.end() ? nullptr : it->second.get();
}

const TImageData* CImageCache::Insert(const std::wstring& name, std::unique_ptr<TImageData> image) {
    std::unique_ptr<TImageData>& slot = images_[name];
    slot = std::move(image);
    return slot.get();
}

bool CImageCache::Remove(const std::wstring& name) {
    return images_.erase(name) > 0;
}

}  // namespace SkinUI
