#include "skinui/RenderEngine.h"

#include "skinui/WindowManagerUI.h"

namespace SkinUI {

using win32::RECT;

namespace {

bool Meets(const RECT& a, const RECT& b) {
    RECT ignored;
    return win32::IntersectRect(&ignored, &a, &b) != 0;
}

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

// Draws one piece, stretched from its source rectangle, with the path's blit.
class PieceDrawer {
  public:
    PieceDrawer(win32::HDC dest, win32::HDC source, bool blend, win32::BYTE fade)
        : dest_(dest),
          source_(source),
          blend_(blend),
          function_{win32::AC_SRC_OVER, 0, fade, win32::AC_SRC_ALPHA} {}

    void Draw(const RECT& target, int sx, int sy, int sw, int sh) const {
        if (blend_) {
            win32::AlphaBlend(dest_, target.left, target.top, Width(target), Height(target),
                              source_, sx, sy, sw, sh, function_);
        } else {
            win32::StretchBlt(dest_, target.left, target.top, Width(target), Height(target),
                              source_, sx, sy, sw, sh, win32::SRCCOPY);
        }
    }

  private:
    win32::HDC dest_;
    win32::HDC source_;
    bool blend_;
    win32::BLENDFUNCTION function_;
};

// The centre, stretched or tiled. Copies of the source centre are laid from the target's
// top-left corner; the last row and column are cut to fit.
void DrawCentre(const PieceDrawer& drawer, const RECT& centre, const RECT& sourceCentre,
                bool xTiled, bool yTiled) {
    int sw = Width(sourceCentre);
    int sh = Height(sourceCentre);
    if (sw <= 0 || sh <= 0) {
        return;
    }
    if (!xTiled && !yTiled) {
        drawer.Draw(centre, sourceCentre.left, sourceCentre.top, sw, sh);
        return;
    }
    int stepX = xTiled ? sw : Width(centre);
    int stepY = yTiled ? sh : Height(centre);
    for (int y = centre.top; y < centre.bottom; y += stepY) {
        int pieceHeight = std::min(stepY, centre.bottom - y);
        int sourceHeight = yTiled ? pieceHeight : sh;
        for (int x = centre.left; x < centre.right; x += stepX) {
            int pieceWidth = std::min(stepX, centre.right - x);
            int sourceWidth = xTiled ? pieceWidth : sw;
            drawer.Draw({x, y, x + pieceWidth, y + pieceHeight}, sourceCentre.left,
                        sourceCentre.top, sourceWidth, sourceHeight);
        }
    }
}

}  // namespace

bool CRenderEngine::DrawImageInfo(win32::HDC dc, CWindowManagerUI* manager, const RECT& item,
                                  const RECT& paint, TDrawInfo& info) {
    if (!info.pImageInfo) {
        if (info.bLoaded || !manager) {
            return false;
        }
        info.bLoaded = true;
        info.Parse();
        info.pImageInfo =
            manager->GetImageEx(info.sImageName, info.sResType, info.dwMask, info.bHSL);
        if (!info.pImageInfo) {
            return false;
        }
        const RECT& s = info.rcSource;
        if (s.left == 0 && s.top == 0 && s.right == 0 && s.bottom == 0) {
            info.rcSource = {0, 0, info.pImageInfo->nX, info.pImageInfo->nY};
        }
    }
    info.rcSource.right = std::min<win32::LONG>(info.rcSource.right, info.pImageInfo->nX);
    info.rcSource.bottom = std::min<win32::LONG>(info.rcSource.bottom, info.pImageInfo->nY);
    if (!dc) {
        return true;
    }
    RECT target = item;
    const RECT& d = info.rcDest;
    if (d.left != 0 || d.top != 0 || d.right != 0 || d.bottom != 0) {
        target = {item.left + d.left, item.top + d.top,
                  std::min<win32::LONG>(item.right, item.left + d.right),
                  std::min<win32::LONG>(item.bottom, item.top + d.bottom)};
    }
    if (Meets(target, item) && Meets(target, paint)) {
        DrawImage(dc, info.pImageInfo->hBitmap, target, paint, info.rcSource, info.rcCorner,
                  info.pImageInfo->bAlpha, info.uFade, info.bHole, info.bTiledX, info.bTiledY);
    }
    return true;
}

void CRenderEngine::DrawImage(win32::HDC dc, win32::HBITMAP bitmap, const RECT& t,
                              const RECT& paint, const RECT& s, const RECT& m, bool alpha,
                              win32::BYTE fade, bool hole, bool xTiled, bool yTiled) {
    if (!dc || !bitmap) {
        return;
    }
    win32::HDC memory = win32::CreateCompatibleDC(dc);
    win32::HGDIOBJ old = win32::SelectObject(memory, bitmap);
    win32::SetStretchBltMode(dc, win32::COLORONCOLOR);
    bool blend = alpha || fade < 255;
    bool plainCopy = !blend && Width(t) == Width(s) && Height(t) == Height(s) && m.left == 0 &&
                     m.top == 0 && m.right == 0 && m.bottom == 0;
    if (plainCopy) {
        RECT part;
        if (win32::IntersectRect(&part, &paint, &t)) {
            win32::BitBlt(dc, part.left, part.top, Width(part), Height(part), memory,
                          s.left + part.left - t.left, s.top + part.top - t.top, win32::SRCCOPY);
        }
    } else {
        PieceDrawer drawer(dc, memory, blend, fade);
        RECT centre{t.left + m.left, t.top + m.top, t.right - m.right, t.bottom - m.bottom};
        RECT sourceCentre{s.left + m.left, s.top + m.top, s.right - m.right, s.bottom - m.bottom};
        if (!hole && Meets(centre, paint)) {
            DrawCentre(drawer, centre, sourceCentre, xTiled, yTiled);
        }
        struct Piece {
            bool present;
            RECT target;
            RECT source;
        };
        const Piece pieces[] = {
            {m.left > 0 && m.top > 0,
             {t.left, t.top, t.left + m.left, t.top + m.top},
             {s.left, s.top, s.left + m.left, s.top + m.top}},
            {m.top > 0,
             {t.left + m.left, t.top, t.right - m.right, t.top + m.top},
             {s.left + m.left, s.top, s.right - m.right, s.top + m.top}},
            {m.right > 0 && m.top > 0,
             {t.right - m.right, t.top, t.right, t.top + m.top},
             {s.right - m.right, s.top, s.right, s.top + m.top}},
            {m.left > 0,
             {t.left, t.top + m.top, t.left + m.left, t.bottom - m.bottom},
             {s.left, s.top + m.top, s.left + m.left, s.bottom - m.bottom}},
            {m.right > 0,
             {t.right - m.right, t.top + m.top, t.right, t.bottom - m.bottom},
             {s.right - m.right, s.top + m.top, s.right, s.bottom - m.bottom}},
            {m.left > 0 && m.bottom > 0,
             {t.left, t.bottom - m.bottom, t.left + m.left, t.bottom},
             {s.left, s.bottom - m.bottom, s.left + m.left, s.bottom}},
            {m.bottom > 0,
             {t.left + m.left, t.bottom - m.bottom, t.right - m.right, t.bottom},
             {s.left + m.left, s.bottom - m.bottom, s.right - m.right, s.bottom}},
            {m.right > 0 && m.bottom > 0,
             {t.right - m.right, t.bottom - m.bottom, t.right, t.bottom},
             {s.right - m.right, s.bottom - m.bottom, s.right, s.bottom}},
        };
        for (const Piece& piece : pieces) {
            if (piece.present && Meets(piece.target, paint)) {
                drawer.Draw(piece.target, piece.source.left, piece.source.top, Width(piece.source),
                            Height(piece.source));
            }
        }
    }
    win32::SelectObject(memory, old);
    win32::DeleteDC(memory);
}

void CRenderEngine::DrawColor(win32::HDC dc, const RECT& rect, win32::DWORD color) {
    win32::BYTE alpha = static_cast<win32::BYTE>(color >> 24);
    if (alpha == 0) {
        return;
    }
    if (alpha == 255) {
        win32::COLORREF previous = win32::SetBkColor(dc, ToColorRef(color));
        win32::ExtTextOutW(dc, 0, 0, win32::ETO_OPAQUE, &rect, L"", 0, nullptr);
        win32::SetBkColor(dc, previous);
        return;
    }
    win32::DWORD* bits = nullptr;
    win32::HBITMAP pixel = CreateArgbBitmap(1, 1, &bits);
    if (!pixel) {
        return;
    }
    *bits = color;
    DrawImage(dc, pixel, rect, rect, {0, 0, 1, 1}, {0, 0, 0, 0}, true, 255);
    win32::DeleteObject(pixel);
}

void CRenderEngine::DrawGradient(win32::HDC dc, const RECT& rect, win32::DWORD first,
                                 win32::DWORD second, bool vertical, int steps) {
    int length = vertical ? Height(rect) : Width(rect);
    if (steps <= 0 || length <= 0) {
        return;
    }
    steps = std::min(steps, length);
    auto mix = [&](int shift, int step) {
        int a = static_cast<int>((first >> shift) & 0xFF);
        int b = static_cast<int>((second >> shift) & 0xFF);
        int divisor = steps > 1 ? steps - 1 : 1;
        return static_cast<win32::DWORD>(a + (b - a) * step / divisor) << shift;
    };
    for (int step = 0; step < steps; ++step) {
        int from = length * step / steps;
        int to = length * (step + 1) / steps;
        RECT band = vertical ? RECT{rect.left, rect.top + from, rect.right, rect.top + to}
                             : RECT{rect.left + from, rect.top, rect.left + to, rect.bottom};
        DrawColor(dc, band, mix(24, step) | mix(16, step) | mix(8, step) | mix(0, step));
    }
}

void CRenderEngine::DrawLine(win32::HDC dc, const RECT& rect, int size, win32::DWORD color,
                             int style) {
    win32::HPEN pen = win32::CreatePen(style, size, ToColorRef(color));
    win32::HGDIOBJ old = win32::SelectObject(dc, pen);
    win32::POINT previous;
    win32::MoveToEx(dc, rect.left, rect.top, &previous);
    win32::LineTo(dc, rect.right, rect.bottom);
    win32::SelectObject(dc, old);
    win32::DeleteObject(pen);
}

void CRenderEngine::DrawRect(win32::HDC dc, const RECT& rect, int size, win32::DWORD color,
                             int style) {
    win32::HPEN pen = win32::CreatePen(style | win32::PS_INSIDEFRAME, size, ToColorRef(color));
    win32::HGDIOBJ oldPen = win32::SelectObject(dc, pen);
    win32::HGDIOBJ oldBrush = win32::SelectObject(dc, win32::GetStockObject(win32::HOLLOW_BRUSH));
    win32::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    win32::SelectObject(dc, oldBrush);
    win32::SelectObject(dc, oldPen);
    win32::DeleteObject(pen);
}

void CRenderEngine::DrawRoundRect(win32::HDC dc, const RECT& rect, int size, int ellipseWidth,
                                  int ellipseHeight, win32::DWORD color, int style) {
    win32::HPEN pen = win32::CreatePen(style | win32::PS_INSIDEFRAME, size, ToColorRef(color));
    win32::HGDIOBJ oldPen = win32::SelectObject(dc, pen);
    win32::HGDIOBJ oldBrush = win32::SelectObject(dc, win32::GetStockObject(win32::HOLLOW_BRUSH));
    win32::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, ellipseWidth, ellipseHeight);
    win32::SelectObject(dc, oldBrush);
    win32::SelectObject(dc, oldPen);
    win32::DeleteObject(pen);
}

void CRenderEngine::DrawText(win32::HDC dc, CWindowManagerUI* manager, RECT& rect,
                             const std::wstring& text, win32::DWORD color, int font,
                             win32::UINT style) {
    if (!dc || !manager) {
        return;
    }
    std::wstring shown = CWindowManagerUI::ProcessMultiLanguageTokens(text);
    win32::SetBkMode(dc, win32::TRANSPARENT);
    win32::SetTextColor(dc, ToColorRef(color));
    win32::HGDIOBJ old = win32::SelectObject(dc, manager->GetFont(font));
    win32::DrawTextW(dc, shown.c_str(), -1, &rect, style | win32::DT_NOPREFIX);
    if (old) {
        win32::SelectObject(dc, old);
    }
}

}  // namespace SkinUI
