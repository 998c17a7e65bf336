// Drawing: device contexts, bitmaps and DIB sections, regions, pens, brushes, fonts and text,
// over cairo and pango. A 32-bit DIB section is a premultiplied ARGB surface with the same
// pixel layout as on Windows (0xAARRGGBB words, rows top-down when the height is negative).
//
// Where Windows GDI would leave the alpha byte of a 32-bit target undefined (fills, pens, text),
// these functions write opaque pixels, or coverage for anti-aliased text, so that a surface
// painted by them can be composited as it is.
#pragma once

#include "platform/Types.h"

namespace win32 {

struct GdiObject;
struct DeviceContext;
using HGDIOBJ = GdiObject*;
using HBITMAP = GdiObject*;
using HRGN = GdiObject*;
using HFONT = GdiObject*;
using HPEN = GdiObject*;
using HBRUSH = GdiObject*;
using HDC = DeviceContext*;
using COLORREF = DWORD;

struct POINT {
    LONG x;
    LONG y;
};
struct SIZE {
    LONG cx;
    LONG cy;
};
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
           (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) {
    return static_cast<BYTE>(c);
}
constexpr BYTE GetGValue(COLORREF c) {
    return static_cast<BYTE>(c >> 8);
}
constexpr BYTE GetBValue(COLORREF c) {
    return static_cast<BYTE>(c >> 16);
}
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Rectangles (right and bottom exclusive).
BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);
BOOL SetRectEmpty(RECT* rect);
BOOL IsRectEmpty(const RECT* rect);
BOOL IntersectRect(RECT* out, const RECT* a, const RECT* b);
BOOL UnionRect(RECT* out, const RECT* a, const RECT* b);
BOOL OffsetRect(RECT* rect, int dx, int dy);
BOOL InflateRect(RECT* rect, int dx, int dy);
BOOL PtInRect(const RECT* rect, POINT point);
BOOL EqualRect(const RECT* a, const RECT* b);

// ---- Device contexts -------------------------------------------------------------------------

// A device context drawing into caller-owned 32-bit premultiplied ARGB pixels; the window core
// paints windows through it. Released with DeleteDC.
HDC CreateDCForPixels(DWORD* pixels, int width, int height, int strideBytes);
// A memory device context; draws nothing until a bitmap is selected into it.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);

int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int savedState);

constexpr int OBJ_PEN = 1;
constexpr int OBJ_BRUSH = 2;
constexpr int OBJ_FONT = 6;
constexpr int OBJ_BITMAP = 7;
constexpr int OBJ_REGION = 8;

// Selecting a region sets the clip (as SelectClipRgn) and returns the region type.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
// Deleting an object that is still selected into a device context is deferred until it is
// deselected, so that no device context is left pointing at freed memory.
BOOL DeleteObject(HGDIOBJ object);
DWORD GetObjectType(HGDIOBJ object);

constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int DEFAULT_GUI_FONT = 17;
HGDIOBJ GetStockObject(int which);

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);

constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);

// ---- Bitmaps ---------------------------------------------------------------------------------

constexpr DWORD BI_RGB = 0;
constexpr UINT DIB_RGB_COLORS = 0;

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;  // negative: rows top-down
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    void* bmBits;  // set for DIB sections and pixel-backed device contexts
};

// Only 32-bit BI_RGB sections are supported. Bottom-up sections (positive height) keep their
// rows in memory bottom-up, as on Windows.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
// A 32-bit top-down bitmap, all pixels 0.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);

// ---- Blits -----------------------------------------------------------------------------------

constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
// Samples the nearest source pixel whatever the stretch mode (COLORONCOLOR is what callers ask).
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, DWORD rop);

constexpr BYTE AC_SRC_OVER = 0x00;
constexpr BYTE AC_SRC_ALPHA = 0x01;
struct BLENDFUNCTION {
    BYTE BlendOp;
    BYTE BlendFlags;
    BYTE SourceConstantAlpha;
    BYTE AlphaFormat;
};
// Premultiplied source-over with a constant alpha, and the source's own alpha when AlphaFormat
// is AC_SRC_ALPHA. Fails, drawing nothing, for a negative size or a source rectangle outside
// the source bitmap.
BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, BLENDFUNCTION blend);

// ---- Regions and clipping --------------------------------------------------------------------

constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

// A region holds the pixels (left <= x < right, top <= y < bottom).
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
// As on Windows, the rounded rectangle's region leaves out its right column and bottom row.
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth,
                        int ellipseHeight);
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
int OffsetRgn(HRGN region, int dx, int dy);
int GetRgnBox(HRGN region, RECT* box);
BOOL PtInRegion(HRGN region, int x, int y);
BOOL EqualRgn(HRGN a, HRGN b);

struct RGNDATAHEADER {
    DWORD dwSize;
    DWORD iType;
    DWORD nCount;
    DWORD nRgnSize;
    RECT rcBound;
};
struct RGNDATA {
    RGNDATAHEADER rdh;
    char Buffer[1];  // nCount RECTs, in bands from top to bottom, left to right in a band
};
// With data null or too small, returns the size needed; otherwise fills data and returns it.
DWORD GetRegionData(HRGN region, DWORD size, RGNDATA* data);

// The clip is a copy of the region; a null region removes the clip.
int SelectClipRgn(HDC dc, HRGN region);
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
// 1 with the clip copied into region, 0 when the device context has no clip, -1 on error.
int GetClipRgn(HDC dc, HRGN region);
int GetClipBox(HDC dc, RECT* box);

// ---- Pens, brushes and shapes ----------------------------------------------------------------

constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;
constexpr int PS_STYLE_MASK = 0x0000000F;

// Dashed styles are drawn solid.
HPEN CreatePen(int style, int width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);

int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
// Outline with the selected pen (kept inside the rectangle), interior with the selected brush.
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth,
               int ellipseHeight);
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
// Draws from the current position up to, not including, the end point.
BOOL LineTo(HDC dc, int x, int y);

// ---- Fonts and text --------------------------------------------------------------------------

constexpr int LF_FACESIZE = 32;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;
constexpr BYTE DEFAULT_CHARSET = 1;

struct LOGFONTW {
    LONG lfHeight;  // negative: character height in pixels; positive: cell height
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    wchar_t lfFaceName[LF_FACESIZE];
};

struct TEXTMETRICW {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    wchar_t tmFirstChar;
    wchar_t tmLastChar;
    wchar_t tmDefaultChar;
    wchar_t tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};

// Faces are resolved through fontconfig with the project's alias file, so "微软雅黑" (and
// "Microsoft YaHei") reach the installed CJK face.
HFONT CreateFontIndirectW(const LOGFONTW* font);
// Fills a BITMAP for bitmaps and a LOGFONTW for fonts; returns the bytes written, 0 on error.
int GetObjectW(HGDIOBJ object, int size, void* out);
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);
BOOL GetTextExtentPoint32W(HDC dc, const wchar_t* text, int length, SIZE* size);

// The face that draws the selected font's text once fontconfig has resolved it (for
// "微软雅黑", the installed CJK face). Returns the characters copied, without the terminator.
int GetTextFaceW(HDC dc, int count, wchar_t* face);
constexpr DWORD GGI_MARK_NONEXISTING_GLYPHS = 0x0001;
// With GGI_MARK_NONEXISTING_GLYPHS, a character the selected face lacks gets 0xFFFF.
DWORD GetGlyphIndicesW(HDC dc, const wchar_t* text, int count, WORD* glyphs, DWORD flags);

constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;

// length -1: the text is zero-terminated. Returns the height of the text; with DT_CALCRECT,
// draws nothing and sets rect's right and bottom to the text's extent.
int DrawTextW(HDC dc, const wchar_t* text, int length, RECT* rect, UINT format);

constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;
// With ETO_OPAQUE the rectangle is filled with the background colour first.
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, const wchar_t* text,
                 UINT length, const int* dx);

}  // namespace win32
