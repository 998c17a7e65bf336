#include "skinui/RenderClip.h"

namespace SkinUI {

CRenderClip::~CRenderClip() {
    Restore();
}

void CRenderClip::Restore() {
    if (dc_) {
        win32::SelectClipRgn(dc_, savedRegion_);
        win32::DeleteObject(savedRegion_);
        win32::DeleteObject(region_);
    }
    dc_ = nullptr;
    savedRegion_ = nullptr;
    region_ = nullptr;
}

void CRenderClip::GenerateClip(win32::HDC dc, const win32::RECT& rect, CRenderClip& clip) {
    clip.Restore();
    win32::RECT box{};
    win32::GetClipBox(dc, &box);
    clip.savedRegion_ = win32::CreateRectRgnIndirect(&box);
    clip.region_ = win32::CreateRectRgnIndirect(&rect);
    win32::ExtSelectClipRgn(dc, clip.region_, win32::RGN_AND);
    clip.dc_ = dc;
}

void CRenderClip::GenerateRoundClip(win32::HDC dc, const win32::RECT& rect,
                                    const win32::RECT& round, int ellipseWidth, int ellipseHeight,
                                    CRenderClip& clip) {
    clip.Restore();
    win32::RECT box{};
    win32::GetClipBox(dc, &box);
    clip.savedRegion_ = win32::CreateRectRgnIndirect(&box);
    clip.region_ = win32::CreateRectRgnIndirect(&rect);
    win32::HRGN rounded = win32::CreateRoundRectRgn(round.left, round.top, round.right + 1,
                                                    round.bottom + 1, ellipseWidth, ellipseHeight);
    win32::CombineRgn(clip.region_, clip.region_, rounded, win32::RGN_AND);
    win32::ExtSelectClipRgn(dc, clip.region_, win32::RGN_AND);
    win32::DeleteObject(rounded);
    clip.dc_ = dc;
}

}  // namespace SkinUI
