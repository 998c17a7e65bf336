// A decoded skin image and the per-window cache of them.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Gdi.h"

namespace SkinUI {

struct TImageData {
    win32::HBITMAP hBitmap = nullptr;  // 32-bit top-down DIB section, premultiplied
    win32::DWORD* pBits = nullptr;     // its pixels, 0xAARRGGBB
    std::vector<win32::BYTE> srcBits;  // kept only for colour adjustment
    int nX = 0;
    int nY = 0;
    bool bAlpha = false;  // some pixel is not opaque, or was removed by the mask
    bool bUseHSL = false;
    std::wstring sResType;
    win32::DWORD dwMask = 0;

    TImageData() = default;
    ~TImageData();
    TImageData(const TImageData&) = delete;
    TImageData& operator=(const TImageData&) = delete;
};

// Images by the name written in the image description (so "a\\b.png" and "a/b.png" are two
// entries holding the same picture).
class CImageCache {
  public:
    const TImageData* Find(const std::wstring& name) const;
    // Replaces an entry of the same name.
    const TImageData* Insert(const std::wstring& name, std::unique_ptr<TImageData> image);
    bool Remove(const std::wstring& name);
    void Clear() { images_.clear(); }
    std::size_t Size() const { return images_.size(); }

  private:
    std::map<std::wstring, std::unique_ptr<TImageData>> images_;
};

// A 32-bit top-down DIB section, all pixels 0; null when it cannot be made.
win32::HBITMAP CreateArgbBitmap(int width, int height, win32::DWORD** bits);

// Decodes an image: a colour for the type "*COLOR*", a Win32 resource for another non-empty
// type, else a skin file (loose, archive, or as a last resort a path on disk). Pixels whose
// premultiplied 0xAARRGGBB value equals mask become transparent. Null when nothing decodes.
std::unique_ptr<TImageData> LoadImage(const std::wstring& name, const std::wstring& type,
                                      win32::DWORD mask);

// The same conversion from decoded RGBA bytes; exposed for the loader's own callers.
std::unique_ptr<TImageData> ImageFromRgba(const unsigned char* rgba, int width, int height,
                                          win32::DWORD mask);

}  // namespace SkinUI
