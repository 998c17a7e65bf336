// Device contexts and the lifetime of the objects selected into them.
#include <memory>

#include "platform/gdi/GdiObjects.h"

namespace win32 {

namespace {

void Select(GdiObject*& slot, GdiObject* object) {
    if (slot == object) {
        return;
    }
    RetainSelection(object);
    ReleaseSelection(slot);
    slot = object;
}

DeviceContext* NewDeviceContext() {
    auto* dc = new DeviceContext;
    Select(dc->pen, StockObject(BLACK_PEN));
    Select(dc->brush, StockObject(WHITE_BRUSH));
    Select(dc->font, StockObject(DEFAULT_GUI_FONT));
    return dc;
}

}  // namespace

void RetainSelection(GdiObject* object) {
    if (object) {
        ++object->selections;
    }
}

void ReleaseSelection(GdiObject* object) {
    if (object && --object->selections == 0 && object->deletePending) {
        delete object;
    }
}

HDC CreateDCForPixels(DWORD* pixels, int width, int height, int strideBytes) {
    if (!pixels || width <= 0 || height <= 0 || strideBytes < width * 4) {
        return nullptr;
    }
    DeviceContext* dc = NewDeviceContext();
    auto* target = new GdiObject;
    target->type = OBJ_BITMAP;
    target->surface = {pixels, width, height, strideBytes};
    dc->ownBitmap = target;
    Select(dc->bitmap, target);
    return dc;
}

HDC CreateCompatibleDC(HDC) {
    return NewDeviceContext();
}

BOOL DeleteDC(HDC dc) {
    if (!dc) {
        return FALSE;
    }
    for (DeviceContext::State& state : dc->saved) {
        ReleaseSelection(state.pen);
        ReleaseSelection(state.brush);
        ReleaseSelection(state.font);
        ReleaseSelection(state.bitmap);
    }
    ReleaseSelection(dc->pen);
    ReleaseSelection(dc->brush);
    ReleaseSelection(dc->font);
    ReleaseSelection(dc->bitmap);
    if (dc->ownBitmap) {
        DeleteObject(dc->ownBitmap);
    }
    delete dc;
    return TRUE;
}

int SaveDC(HDC dc) {
    if (!dc) {
        return 0;
    }
    DeviceContext::State state{dc->pen,         dc->brush,   dc->font,    dc->bitmap,
                               dc->clip,        dc->bkMode,  dc->bkColor, dc->textColor,
                               dc->stretchMode, dc->position};
    RetainSelection(state.pen);
    RetainSelection(state.brush);
    RetainSelection(state.font);
    RetainSelection(state.bitmap);
    dc->saved.push_back(std::move(state));
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC dc, int savedState) {
    if (!dc) {
        return FALSE;
    }
    int count = static_cast<int>(dc->saved.size());
    int index = savedState < 0 ? count + savedState : savedState - 1;
    if (index < 0 || index >= count) {
        return FALSE;
    }
    DeviceContext::State state = std::move(dc->saved[index]);
    for (int i = count - 1; i > index; --i) {
        DeviceContext::State& dropped = dc->saved[i];
        ReleaseSelection(dropped.pen);
        ReleaseSelection(dropped.brush);
        ReleaseSelection(dropped.font);
        ReleaseSelection(dropped.bitmap);
    }
    dc->saved.resize(index);
    Select(dc->pen, state.pen);
    Select(dc->brush, state.brush);
    Select(dc->font, state.font);
    Select(dc->bitmap, state.bitmap);
    ReleaseSelection(state.pen);
    ReleaseSelection(state.brush);
    ReleaseSelection(state.font);
    ReleaseSelection(state.bitmap);
    dc->clip = std::move(state.clip);
    dc->bkMode = state.bkMode;
    dc->bkColor = state.bkColor;
    dc->textColor = state.textColor;
    dc->stretchMode = state.stretchMode;
    dc->position = state.position;
    return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    if (!dc || !object || object->deletePending) {
        return nullptr;
    }
    GdiObject** slot = nullptr;
    switch (object->type) {
        case OBJ_PEN:
            slot = &dc->pen;
            break;
        case OBJ_BRUSH:
            slot = &dc->brush;
            break;
        case OBJ_FONT:
            slot = &dc->font;
            break;
        case OBJ_BITMAP:
            slot = &dc->bitmap;
            break;
        case OBJ_REGION:
            return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(SelectClipRgn(dc, object)));
        default:
            return nullptr;
    }
    GdiObject* previous = *slot;
    bool previousGoes = previous && previous->deletePending && previous->selections == 1;
    Select(*slot, object);
    return previousGoes ? nullptr : previous;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
    if (!dc) {
        return nullptr;
    }
    switch (type) {
        case OBJ_PEN:
            return dc->pen;
        case OBJ_BRUSH:
            return dc->brush;
        case OBJ_FONT:
            return dc->font;
        case OBJ_BITMAP:
            return dc->bitmap;
        default:
            return nullptr;
    }
}

BOOL DeleteObject(HGDIOBJ object) {
    if (!object || object->stock || object->deletePending) {
        return object && object->stock;
    }
    if (object->selections > 0) {
        object->deletePending = true;
        return TRUE;
    }
    delete object;
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ object) {
    return object ? object->type : 0;
}

int SetBkMode(HDC dc, int mode) {
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) {
        return 0;
    }
    int previous = dc->bkMode;
    dc->bkMode = mode;
    return previous;
}

int GetBkMode(HDC dc) {
    return dc ? dc->bkMode : 0;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
    if (!dc) {
        return CLR_INVALID;
    }
    COLORREF previous = dc->bkColor;
    dc->bkColor = color & 0xFFFFFF;
    return previous;
}

COLORREF GetBkColor(HDC dc) {
    return dc ? dc->bkColor : CLR_INVALID;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    if (!dc) {
        return CLR_INVALID;
    }
    COLORREF previous = dc->textColor;
    dc->textColor = color & 0xFFFFFF;
    return previous;
}

COLORREF GetTextColor(HDC dc) {
    return dc ? dc->textColor : CLR_INVALID;
}

int SetStretchBltMode(HDC dc, int mode) {
    if (!dc || mode < BLACKONWHITE || mode > HALFTONE) {
        return 0;
    }
    int previous = dc->stretchMode;
    dc->stretchMode = mode;
    return previous;
}

int GetStretchBltMode(HDC dc) {
    return dc ? dc->stretchMode : 0;
}

}  // namespace win32
