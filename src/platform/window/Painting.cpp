// Update regions and WM_PAINT, device contexts on window pixels, window regions and layered
// windows. Child windows draw into their top-level window's pixels; the display shows those.
#include "platform/window/Painting.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/window/DisplayBackend.h"
#include "platform/window/WindowInternals.h"

namespace win32 {

using core::Window;

namespace core::painting {

namespace {

// A device context the window core handed out, on this thread.
struct OpenDC {
    HWND window = nullptr;
    HWND top = nullptr;
    std::vector<DWORD> scratch;  // for an area that is not wholly inside the top-level pixels
    int x = 0;                   // the area's origin in the top-level pixels
    int y = 0;
    int width = 0;
    int height = 0;
};

// Never destroyed, so that windows going away as threads or the process end can still close
// theirs. Each entry belongs to the thread that opened it; the lock guards the map.
std::mutex dcsMutex;
std::map<HDC, OpenDC>& OpenDCs() {
    static auto* dcs = new std::map<HDC, OpenDC>;
    return *dcs;
}

RECT Intersect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.right <= r.left || r.bottom <= r.top) {
        return RECT{};
    }
    return r;
}

bool Empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

RECT Union(const RECT& a, const RECT& b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

// Copies between the top-level pixels and a scratch area at (x, y), where they overlap.
void CopyScratch(Window& top, OpenDC& dc, bool toScratch) {
    RECT area = Intersect(RECT{dc.x, dc.y, dc.x + dc.width, dc.y + dc.height},
                          RECT{0, 0, top.pixelWidth, top.pixelHeight});
    for (int row = area.top; row < area.bottom; ++row) {
        DWORD* screen = top.pixels.data() + row * top.pixelWidth + area.left;
        DWORD* scratch = dc.scratch.data() + (row - dc.y) * dc.width + (area.left - dc.x);
        std::size_t bytes = static_cast<std::size_t>(area.right - area.left) * sizeof(DWORD);
        if (toScratch) {
            std::memcpy(scratch, screen, bytes);
        } else {
            std::memcpy(screen, scratch, bytes);
        }
    }
}

HDC OpenWindowDC(Window* window, bool clientOnly) {
    Window* top = TopLevelOf(window);
    if (top == nullptr) {
        return nullptr;
    }
    POINT origin = OriginInTopLevel(window);
    RECT area = clientOnly ? window->client : ClientRectAtOrigin(*window);
    OpenDC entry{window->handle,
                 top->handle,
                 {},
                 origin.x + area.left,
                 origin.y + area.top,
                 std::max<int>(area.right - area.left, 1),
                 std::max<int>(area.bottom - area.top, 1)};
    bool inside = entry.x >= 0 && entry.y >= 0 && entry.x + entry.width <= top->pixelWidth &&
                  entry.y + entry.height <= top->pixelHeight;
    HDC dc;
    if (inside) {
        dc = CreateDCForPixels(top->pixels.data() + entry.y * top->pixelWidth + entry.x,
                               entry.width, entry.height, top->pixelWidth * 4);
    } else {
        entry.scratch.assign(static_cast<std::size_t>(entry.width) * entry.height, 0);
        CopyScratch(*top, entry, true);
        dc = CreateDCForPixels(entry.scratch.data(), entry.width, entry.height, entry.width * 4);
    }
    if (dc != nullptr) {
        std::lock_guard lock(dcsMutex);
        OpenDCs().emplace(dc, std::move(entry));
    }
    return dc;
}

bool CloseWindowDC(HDC dc, const RECT* changed) {
    OpenDC entry;
    {
        std::lock_guard lock(dcsMutex);
        auto it = OpenDCs().find(dc);
        if (it == OpenDCs().end()) {
            return false;
        }
        entry = std::move(it->second);
        OpenDCs().erase(it);
    }
    DeleteDC(dc);
    Window* top = Find(entry.top);
    if (top == nullptr) {
        return true;
    }
    if (!entry.scratch.empty()) {
        CopyScratch(*top, entry, false);
    }
    RECT area = changed != nullptr ? *changed : RECT{0, 0, entry.width, entry.height};
    area =
        RECT{area.left + entry.x, area.top + entry.y, area.right + entry.x, area.bottom + entry.y};
    area = Intersect(area, RECT{entry.x, entry.y, entry.x + entry.width, entry.y + entry.height});
    area = Intersect(area, RECT{0, 0, top->pixelWidth, top->pixelHeight});
    if (!Empty(area) && top->IsVisible()) {
        Display().Present(*top, area);
    }
    return true;
}

// The parent drew over its children: they paint again on top.
void InvalidateChildrenUnder(Window& window, const RECT& area) {
    for (HWND handle : window.children) {
        Window* child = Find(handle);
        if (child == nullptr || !child->IsVisible()) {
            continue;
        }
        RECT overlap = Intersect(area, child->rect);
        if (Empty(overlap)) {
            continue;
        }
        OffsetRect(&overlap, -child->rect.left - child->client.left,
                   -child->rect.top - child->client.top);
        InvalidateRect(handle, &overlap, FALSE);
    }
}

HBRUSH SystemColorBrush(HBRUSH brush, bool* temporary) {
    auto value = reinterpret_cast<std::uintptr_t>(brush);
    *temporary = false;
    if (value == 0 || value >= 0x10000) {
        return brush;
    }
    // (HBRUSH)(COLOR_xxx + 1): the window colour, white, or the face colour of buttons.
    *temporary = true;
    return CreateSolidBrush(value - 1 == 15 ? RGB(0xF0, 0xF0, 0xF0) : RGB(0xFF, 0xFF, 0xFF));
}

}  // namespace

bool TakePaint(MSG* out, HWND filter) {
    for (HWND handle : WindowsOfCurrentThread()) {
        Window* window = Find(handle);
        if (window == nullptr || !window->hasUpdate || !IsShownOnScreen(window)) {
            continue;
        }
        Window* top = TopLevelOf(window);
        if (top == nullptr || top->layeredContent) {
            continue;
        }
        if (filter != nullptr && filter != handle && !IsChild(filter, handle)) {
            continue;
        }
        *out = MSG{handle, WM_PAINT, 0, 0, TickCount(), {}, 0};
        return true;
    }
    return false;
}

void FitPixels(Window& window) {
    int width = std::max(window.Width(), 0);
    int height = std::max(window.Height(), 0);
    if (width == window.pixelWidth && height == window.pixelHeight) {
        return;
    }
    std::vector<DWORD> pixels(static_cast<std::size_t>(width) * height, 0);
    int rows = std::min(height, window.pixelHeight);
    int columns = std::min(width, window.pixelWidth);
    for (int row = 0; row < rows; ++row) {
        std::memcpy(pixels.data() + row * width, window.pixels.data() + row * window.pixelWidth,
                    static_cast<std::size_t>(columns) * sizeof(DWORD));
    }
    window.pixels = std::move(pixels);
    window.pixelWidth = width;
    window.pixelHeight = height;
}

void ReleaseWindowResources(Window& window) {
    if (window.region != nullptr) {
        DeleteObject(window.region);
        window.region = nullptr;
    }
    window.pixels.clear();
}

bool RegionContains(const Window& window, int x, int y) {
    return window.region == nullptr || PtInRegion(window.region, x, y) != FALSE;
}

bool OpaqueAt(const Window& window, int x, int y) {
    if (!window.layeredContent || x < 0 || y < 0 || x >= window.pixelWidth ||
        y >= window.pixelHeight) {
        return true;
    }
    return (window.pixels[y * window.pixelWidth + x] >> 24) != 0;
}

std::vector<RECT> VisibleRects(const Window& window) {
    RECT whole{0, 0, window.Width(), window.Height()};
    if (window.region == nullptr) {
        return {whole};
    }
    DWORD size = GetRegionData(window.region, 0, nullptr);
    std::vector<char> buffer(std::max<DWORD>(size, sizeof(RGNDATA)));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (size == 0 || GetRegionData(window.region, size, data) == 0) {
        return {};
    }
    std::vector<RECT> rects(data->rdh.nCount);
    std::memcpy(rects.data(), data->Buffer, rects.size() * sizeof(RECT));
    for (RECT& rect : rects) {
        rect = Intersect(rect, whole);
    }
    std::erase_if(rects, [](const RECT& r) { return Empty(r); });
    return rects;
}

bool EraseWithClassBrush(Window& window, HDC dc) {
    if (window.windowClass->background == nullptr || dc == nullptr) {
        return false;
    }
    bool temporary;
    HBRUSH brush = SystemColorBrush(window.windowClass->background, &temporary);
    RECT client{0, 0, window.client.right - window.client.left,
                window.client.bottom - window.client.top};
    FillRect(dc, &client, brush);
    if (temporary) {
        DeleteObject(brush);
    }
    return true;
}

}  // namespace core::painting

using namespace core::painting;

BOOL InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    if (handle == nullptr) {
        for (HWND window : core::WindowsOfCurrentThread()) {
            InvalidateRect(window, nullptr, erase);
        }
        return TRUE;
    }
    Window* window = core::Find(handle);
    if (window == nullptr) {
        return FALSE;
    }
    RECT client{0, 0, window->client.right - window->client.left,
                window->client.bottom - window->client.top};
    RECT area = rect != nullptr ? Intersect(*rect, client) : client;
    if (Empty(area)) {
        return TRUE;
    }
    window->update = window->hasUpdate ? Union(window->update, area) : area;
    window->hasUpdate = true;
    window->eraseNeeded = window->eraseNeeded || erase != FALSE;
    if (window->threadId != core::CurrentThreadId()) {
        std::lock_guard lock(core::Core::Get().mutex);
        auto it = core::Core::Get().queues.find(window->threadId);
        if (it != core::Core::Get().queues.end()) {
            it->second->Wake();
        }
    }
    return TRUE;
}

BOOL ValidateRect(HWND handle, const RECT* rect) {
    Window* window = core::Find(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if (rect == nullptr ||
        (rect->left <= window->update.left && rect->top <= window->update.top &&
         rect->right >= window->update.right && rect->bottom >= window->update.bottom)) {
        window->hasUpdate = false;
        window->update = RECT{};
        window->eraseNeeded = false;
    }
    return TRUE;
}

BOOL GetUpdateRect(HWND handle, RECT* rect, BOOL) {
    Window* window = core::Find(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if (rect != nullptr) {
        *rect = window->hasUpdate ? window->update : RECT{};
    }
    return window->hasUpdate ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND handle) {
    Window* window = core::FindOwn(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if (window->hasUpdate && core::IsShownOnScreen(window)) {
        core::Deliver(handle, WM_PAINT, 0, 0);
    }
    return TRUE;
}

BOOL RedrawWindow(HWND handle, const RECT* rect, HRGN region, UINT flags) {
    Window* window = core::FindOwn(handle);
    if (window == nullptr) {
        return FALSE;
    }
    RECT box;
    if (region != nullptr && GetRgnBox(region, &box) != ERROR) {
        rect = &box;
    }
    if ((flags & RDW_FRAME) != 0) {
        window->ncPaintNeeded = true;
    }
    if ((flags & RDW_INVALIDATE) != 0) {
        InvalidateRect(handle, rect, (flags & RDW_ERASE) != 0 ? TRUE : FALSE);
    }
    if ((flags & RDW_UPDATENOW) != 0) {
        UpdateWindow(handle);
        if ((flags & RDW_ALLCHILDREN) != 0) {
            std::vector<HWND> children = window->children;
            for (HWND child : children) {
                UpdateWindow(child);
            }
        }
    }
    return TRUE;
}

HDC BeginPaint(HWND handle, PAINTSTRUCT* paint) {
    Window* window = core::FindOwn(handle);
    if (window == nullptr || paint == nullptr) {
        return nullptr;
    }
    if (window->ncPaintNeeded) {
        window->ncPaintNeeded = false;
        core::Deliver(handle, WM_NCPAINT, 1, 0);
        window = core::Find(handle);
        if (window == nullptr) {
            return nullptr;
        }
    }
    RECT area = window->hasUpdate ? window->update : RECT{};
    bool erase = window->eraseNeeded;
    window->hasUpdate = false;
    window->update = RECT{};
    window->eraseNeeded = false;
    HDC dc = OpenWindowDC(window, true);
    if (dc == nullptr) {
        return nullptr;
    }
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    *paint = PAINTSTRUCT{dc, FALSE, area, FALSE, FALSE, {}};
    if (erase) {
        paint->fErase = core::Deliver(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0
                            ? TRUE
                            : FALSE;
    }
    return dc;
}

BOOL EndPaint(HWND handle, const PAINTSTRUCT* paint) {
    if (paint == nullptr || paint->hdc == nullptr) {
        return FALSE;
    }
    CloseWindowDC(paint->hdc, &paint->rcPaint);
    if (Window* window = core::Find(handle)) {
        InvalidateChildrenUnder(*window, paint->rcPaint);
    }
    return TRUE;
}

HDC GetDC(HWND handle) {
    Window* window = core::FindOwn(handle);
    return window != nullptr ? OpenWindowDC(window, true) : nullptr;
}

HDC GetWindowDC(HWND handle) {
    Window* window = core::FindOwn(handle);
    return window != nullptr ? OpenWindowDC(window, false) : nullptr;
}

int ReleaseDC(HWND, HDC dc) {
    return CloseWindowDC(dc, nullptr) ? 1 : 0;
}

int SetWindowRgn(HWND handle, HRGN region, BOOL redraw) {
    Window* window = core::FindOwn(handle);
    if (window == nullptr) {
        return 0;
    }
    if (window->region != nullptr && window->region != region) {
        DeleteObject(window->region);
    }
    window->region = region;
    if (window->IsTopLevel()) {
        core::Display().RegionChanged(*window);
        if (redraw) {
            RECT whole = ClientRectAtOrigin(*window);
            core::Display().Present(*window, whole);
        }
    } else if (redraw) {
        InvalidateRect(window->parent, &window->rect, TRUE);
    }
    return 1;
}

int GetWindowRgn(HWND handle, HRGN region) {
    Window* window = core::Find(handle);
    if (window == nullptr || window->region == nullptr || region == nullptr) {
        return ERROR;
    }
    return CombineRgn(region, window->region, nullptr, RGN_COPY);
}

BOOL LayeredWindowsAvailable() {
    return core::Display().SupportsLayered() ? TRUE : FALSE;
}

BOOL UpdateLayeredWindow(HWND handle, HDC, const POINT* destination, const SIZE* size, HDC sourceDC,
                         const POINT* sourcePoint, COLORREF, const BLENDFUNCTION* blend,
                         DWORD flags) {
    Window* window = core::FindOwn(handle);
    if (window == nullptr || !window->IsTopLevel() || (window->exStyle & WS_EX_LAYERED) == 0) {
        core::SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!core::Display().SupportsLayered()) {
        core::SetLastErrorCode(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    UINT placement = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
    int x = destination != nullptr ? destination->x : 0;
    int y = destination != nullptr ? destination->y : 0;
    int width = size != nullptr ? size->cx : 0;
    int height = size != nullptr ? size->cy : 0;
    placement |= destination == nullptr ? SWP_NOMOVE : 0;
    placement |= size == nullptr ? SWP_NOSIZE : 0;
    SetWindowPos(handle, nullptr, x, y, width, height, placement);
    window = core::Find(handle);
    if (window == nullptr) {
        return FALSE;
    }
    window->layeredContent = true;
    window->hasUpdate = false;
    window->constantAlpha = blend != nullptr ? blend->SourceConstantAlpha : 255;
    window->hasConstantAlpha = true;
    if (sourceDC != nullptr && window->pixelWidth > 0 && window->pixelHeight > 0) {
        std::fill(window->pixels.begin(), window->pixels.end(), 0);
        HDC target = CreateDCForPixels(window->pixels.data(), window->pixelWidth,
                                       window->pixelHeight, window->pixelWidth * 4);
        POINT from = sourcePoint != nullptr ? *sourcePoint : POINT{0, 0};
        BitBlt(target, 0, 0, window->pixelWidth, window->pixelHeight, sourceDC, from.x, from.y,
               SRCCOPY);
        DeleteDC(target);
        if ((flags & ULW_OPAQUE) != 0) {
            for (DWORD& pixel : window->pixels) {
                pixel |= 0xFF000000;
            }
        }
    }
    if (window->IsVisible()) {
        core::Display().Present(*window, ClientRectAtOrigin(*window));
    }
    return TRUE;
}

BOOL SetLayeredWindowAttributes(HWND handle, COLORREF, BYTE alpha, DWORD flags) {
    Window* window = core::FindOwn(handle);
    if (window == nullptr || (window->exStyle & WS_EX_LAYERED) == 0) {
        return FALSE;
    }
    if ((flags & LWA_ALPHA) != 0) {
        window->constantAlpha = alpha;
        window->hasConstantAlpha = true;
        if (window->IsVisible()) {
            core::Display().Present(*window, ClientRectAtOrigin(*window));
        }
    }
    return TRUE;
}

}  // namespace win32
