// A clip that lasts as long as the object: its destruction selects the saved clip again.
#pragma once

#include "platform/Gdi.h"

namespace SkinUI {

class CRenderClip {
  public:
    CRenderClip() = default;
    ~CRenderClip();
    CRenderClip(const CRenderClip&) = delete;
    CRenderClip& operator=(const CRenderClip&) = delete;

    // Intersects dc's clip with rect.
    static void GenerateClip(win32::HDC dc, const win32::RECT& rect, CRenderClip& clip);
    // Intersects dc's clip with rect and a rounded rectangle over round (inclusive edges).
    static void GenerateRoundClip(win32::HDC dc, const win32::RECT& rect, const win32::RECT& round,
                                  int ellipseWidth, int ellipseHeight, CRenderClip& clip);

  private:
    void Restore();

    win32::HDC dc_ = nullptr;
    win32::HRGN savedRegion_ = nullptr;
    win32::HRGN region_ = nullptr;
};

}  // namespace SkinUI
