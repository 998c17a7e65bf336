#include "skinui/FontData.h"

#include <cwchar>

namespace SkinUI {

TFontData::~TFontData() {
    if (hFont) {
        win32::DeleteObject(hFont);
    }
}

std::unique_ptr<TFontData> CreateFontData(const std::wstring& face, int size, bool bold,
                                          bool underline, bool italic, win32::HDC dc) {
    win32::LOGFONTW lf{};
    win32::GetObjectW(win32::GetStockObject(win32::DEFAULT_GUI_FONT), sizeof lf, &lf);
    std::wcsncpy(lf.lfFaceName, face.c_str(), win32::LF_FACESIZE - 1);
    lf.lfFaceName[win32::LF_FACESIZE - 1] = L'\0';
    lf.lfCharSet = win32::DEFAULT_CHARSET;
    lf.lfHeight = -size;
    if (bold) {
        lf.lfWeight += win32::FW_BOLD;
    }
    lf.lfUnderline = underline ? 1 : 0;
    lf.lfItalic = italic ? 1 : 0;
    win32::HFONT font = win32::CreateFontIndirectW(&lf);
    if (!font) {
        return nullptr;
    }
    auto data = std::make_unique<TFontData>();
    data->hFont = font;
    data->sFontName = lf.lfFaceName;
    data->iSize = size;
    data->bBold = bold;
    data->bUnderline = underline;
    data->bItalic = italic;
    win32::HDC measure = dc ? dc : win32::CreateCompatibleDC(nullptr);
    win32::HGDIOBJ old = win32::SelectObject(measure, font);
    win32::GetTextMetricsW(measure, &data->tm);
    win32::SelectObject(measure, old);
    if (!dc) {
        win32::DeleteDC(measure);
    }
    return data;
}

}  // namespace SkinUI
