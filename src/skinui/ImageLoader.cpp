// Decoding skin images into premultiplied 32-bit DIB sections.
#include <stb_image.h>

#include <cstdint>
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

// channel * alpha / 255, rounded down, without a division. Every step fits in 16 bits, which
// lets vector code work on eight channels at a time.
inline std::uint16_t TimesAlpha(std::uint16_t channel, std::uint16_t alpha) {
    std::uint16_t t = static_cast<std::uint16_t>(channel * alpha);
    return static_cast<std::uint16_t>((t + (t >> 8) + 1) >> 8);
}

// What converted pixels showed: some alpha below 255, some pixel removed by the mask.
struct PixelFlags {
    bool notOpaque = false;
    bool masked = false;
};

// An RGBA pixel read as a little-endian word (alpha in the top byte, red in the lowest) to
// premultiplied 0xAARRGGBB. An alpha of 255 leaves the channels as they are and an alpha of 0
// clears them, both through TimesAlpha, so there is no branch to keep vector code from it.
inline win32::DWORD Premultiply(win32::DWORD rgba) {
    auto a = static_cast<std::uint16_t>(rgba >> 24);
    win32::DWORD red = TimesAlpha(rgba & 0xFF, a);
    win32::DWORD green = TimesAlpha(rgba >> 8 & 0xFF, a);
    win32::DWORD blue = TimesAlpha(rgba >> 16 & 0xFF, a);
    return win32::DWORD{a} << 24 | red << 16 | green << 8 | blue;
}

// The same for an opaque pixel: red and blue change places.
inline win32::DWORD SwapRedBlue(win32::DWORD rgba) {
    return (rgba & 0xFF00FF00u) | (rgba & 0xFF) << 16 | (rgba >> 16 & 0xFF);
}

// Most runs of pixels are all opaque (backgrounds) or all transparent (around a round shape):
// blocks of a fixed count let those skip the multiplications, and every loop over a block
// compiles to vector code.
constexpr std::size_t kPixelBlock = 16;

void ConvertBlock(const unsigned char* rgba, win32::DWORD* out, win32::DWORD mask,
                  PixelFlags& flags) {
    win32::DWORD in[kPixelBlock];
    std::memcpy(in, rgba, sizeof in);
    win32::DWORD all = 0xFFFFFFFFu;
    win32::DWORD any = 0;
    for (win32::DWORD word : in) {
        all &= word;
        any |= word;
    }
    win32::DWORD converted[kPixelBlock];
    if (all >> 24 == 0xFF) {
        for (std::size_t i = 0; i < kPixelBlock; ++i) {
            converted[i] = SwapRedBlue(in[i]);
        }
    } else if (any >> 24 == 0) {
        std::memset(converted, 0, sizeof converted);
        flags.notOpaque = true;
    } else {
        for (std::size_t i = 0; i < kPixelBlock; ++i) {
            converted[i] = Premultiply(in[i]);
        }
        flags.notOpaque = true;
    }
    win32::DWORD hits = 0;
    for (std::size_t i = 0; i < kPixelBlock; ++i) {
        win32::DWORD hit = converted[i] == mask;
        hits |= hit;
        converted[i] &= hit - 1;
    }
    flags.masked |= hits != 0;
    std::memcpy(out, converted, sizeof converted);
}

win32::DWORD ConvertPixel(const unsigned char* rgba, win32::DWORD mask, PixelFlags& flags) {
    win32::DWORD word;
    std::memcpy(&word, rgba, 4);
    win32::DWORD pixel = Premultiply(word);
    flags.notOpaque |= word >> 24 != 0xFF;
    if (pixel == mask) {
        flags.masked = true;
        return 0;
    }
    return pixel;
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
    PixelFlags flags;
    std::size_t i = 0;
    for (; i + kPixelBlock <= count; i += kPixelBlock) {
        ConvertBlock(rgba + i * 4, bits + i, mask, flags);
    }
    for (; i < count; ++i) {
        bits[i] = ConvertPixel(rgba + i * 4, mask, flags);
    }
    image->bAlpha = flags.notOpaque || flags.masked;
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
    SkinFileBytes bytes;
    if (!type.empty()) {
        if (!ReadResource(name, type, bytes.owned)) {
            return nullptr;
        }
        bytes.data = bytes.owned.data();
        bytes.size = bytes.owned.size();
    } else {
        std::wstring error;
        if (!ViewSkinFile(name, SkinFileKind::Image, bytes, error)) {
            return nullptr;
        }
    }
    if (bytes.size > 0x7FFFFFFF) {
        return nullptr;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* rgba = stbi_load_from_memory(bytes.data, static_cast<int>(bytes.size), &width,
                                                &height, &channels, 4);
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
