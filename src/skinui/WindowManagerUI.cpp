// The window's image cache, font table and the process-wide shared tables.
#include "skinui/WindowManagerUI.h"

#include <map>

namespace SkinUI {

namespace {

// Process-wide tables shared by every window; UI thread only.
struct SharedResources {
    CImageCache images;
    FontTable fonts;
    std::unique_ptr<TFontData> defaultFont;
    std::map<int, std::wstring> languages;
};

SharedResources& Shared() {
    static SharedResources shared;
    return shared;
}

const TFontData* SharedDefaultFont() {
    std::unique_ptr<TFontData>& font = Shared().defaultFont;
    if (!font) {
        win32::LOGFONTW lf{};
        win32::GetObjectW(win32::GetStockObject(win32::DEFAULT_GUI_FONT), sizeof lf, &lf);
        font = CreateFontData(lf.lfFaceName, -lf.lfHeight, false, false, false, nullptr);
    }
    return font.get();
}

const TFontData* FindFont(const FontTable& table, int id) {
    auto it = table.find(id);
    return it == table.end() ? nullptr : it->second.get();
}

}  // namespace

CWindowManagerUI::CWindowManagerUI() {
    SharedDefaultFont();
}

CWindowManagerUI::~CWindowManagerUI() = default;

const TImageData* CWindowManagerUI::GetImage(const std::wstring& name) const {
    const TImageData* image = images_.Find(name);
    return image ? image : Shared().images.Find(name);
}

const TImageData* CWindowManagerUI::GetImageEx(const std::wstring& name, const std::wstring& type,
                                               win32::DWORD mask, bool colorAdjust) {
    const TImageData* image = GetImage(name);
    return image ? image : AddImage(name, type, mask, colorAdjust, false);
}

const TImageData* CWindowManagerUI::AddImage(const std::wstring& name, const std::wstring& type,
                                             win32::DWORD mask, bool colorAdjust, bool shared) {
    if (name.empty()) {
        return nullptr;
    }
    std::unique_ptr<TImageData> image = LoadImage(name, type, mask);
    if (!image) {
        return nullptr;
    }
    image->bUseHSL = colorAdjust;
    return (shared ? Shared().images : images_).Insert(name, std::move(image));
}

void CWindowManagerUI::RemoveAllImages() {
    images_.Clear();
}

win32::HFONT CWindowManagerUI::AddFont(int id, const std::wstring& face, int size, bool bold,
                                       bool underline, bool italic, bool shared) {
    std::unique_ptr<TFontData> font = CreateFontData(face, size, bold, underline, italic, paintDC_);
    if (!font) {
        return nullptr;
    }
    win32::HFONT handle = font->hFont;
    (shared ? Shared().fonts : fonts_)[id] = std::move(font);
    return handle;
}

void CWindowManagerUI::SetDefaultFont(const std::wstring& face, int size, bool bold, bool underline,
                                      bool italic, bool shared) {
    std::unique_ptr<TFontData> font = CreateFontData(face, size, bold, underline, italic, paintDC_);
    if (!font) {
        return;
    }
    (shared ? Shared().defaultFont : defaultFont_) = std::move(font);
}

const TFontData* CWindowManagerUI::GetDefaultFontInfo() const {
    return defaultFont_ ? defaultFont_.get() : SharedDefaultFont();
}

const TFontData* CWindowManagerUI::GetFontInfo(int id) const {
    const TFontData* font = FindFont(fonts_, id);
    if (!font) {
        font = FindFont(Shared().fonts, id);
    }
    return font ? font : GetDefaultFontInfo();
}

win32::HFONT CWindowManagerUI::GetFont(int id) const {
    const TFontData* font = GetFontInfo(id);
    return font ? font->hFont : nullptr;
}

void CWindowManagerUI::RemoveAllFonts() {
    fonts_.clear();
}

void CWindowManagerUI::AddMultiLanguageString(int id, const std::wstring& text) {
    Shared().languages[id] = text;
}

const std::wstring* CWindowManagerUI::GetMultiLanguageString(int id) {
    auto it = Shared().languages.find(id);
    return it == Shared().languages.end() ? nullptr : &it->second;
}

std::wstring CWindowManagerUI::ProcessMultiLanguageTokens(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 2 < text.size() && text[i + 1] == L'{') {
            std::size_t close = text.find(L'}', i + 2);
            std::wstring digits =
                close == std::wstring::npos ? L"" : text.substr(i + 2, close - i - 2);
            bool numeric = !digits.empty() && digits.size() < 9 &&
                           digits.find_first_not_of(L"0123456789") == std::wstring::npos;
            const std::wstring* entry =
                numeric ? GetMultiLanguageString(std::stoi(digits)) : nullptr;
            if (entry) {
                out += *entry;
                i = close;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace SkinUI
