// quillon-tool skin: the embedded skin archive, its layouts and its image descriptions.
#include <stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "skinui/DrawInfo.h"
#include "skinui/RenderEngine.h"
#include "skinui/SkinArchive.h"
#include "skinui/WindowManagerUI.h"
#include "skinui/XmlMarkup.h"
#include "tool/ToolCommand.h"
#include "tool/Utf8Args.h"

namespace {

using SkinUI::CWindowManagerUI;

constexpr int kSkinResourceId = 147;

// Opens the archive compiled into the tool, as the installer's windows do.
SkinUI::CSkinArchive* OpenEmbeddedSkin() {
    CWindowManagerUI::SetArchiveIs7z(true);
    if (!CWindowManagerUI::SetResourceArchiveFromResource(kSkinResourceId)) {
        std::fprintf(stderr, "skin: no ZIPRES %d resource\n", kSkinResourceId);
        return nullptr;
    }
    SkinUI::CSkinArchive* archive = CWindowManagerUI::GetResourceArchive();
    if (!archive) {
        std::fprintf(stderr, "skin: the embedded archive cannot be read\n");
    }
    return archive;
}

int List(SkinUI::CSkinArchive& archive) {
    for (const SkinUI::SkinEntry& entry : archive.Entries()) {
        std::printf("%llu %s\n", static_cast<unsigned long long>(entry.size),
                    Utils::ToUtf8(entry.name).c_str());
    }
    return 0;
}

int Cat(SkinUI::CSkinArchive& archive, const std::string& name) {
    int index = 0;
    std::uint64_t size = 0;
    if (archive.Find(Tool::Wide(name).c_str(), &index, &size) != 0) {
        std::fprintf(stderr, "skin: %s: not found\n", name.c_str());
        return 1;
    }
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    if (archive.Extract(index, bytes.data()) != 0) {
        std::fprintf(stderr, "skin: %s: cannot be extracted\n", name.c_str());
        return 1;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return 0;
}

// One line per element: control characters, quotes and backslashes are written as escapes.
std::wstring Quoted(const wchar_t* text) {
    std::wstring out = L"\"";
    for (const wchar_t* p = text; *p; ++p) {
        switch (*p) {
            case L'\n':
                out += L"\\n";
                break;
            case L'\r':
                out += L"\\r";
                break;
            case L'\t':
                out += L"\\t";
                break;
            case L'"':
            case L'\\':
                out += L'\\';
                out += *p;
                break;
            default:
                out += *p;
        }
    }
    return out + L"\"";
}

bool IsBlank(const wchar_t* text) {
    for (const wchar_t* p = text; *p; ++p) {
        if (*p > L' ') {
            return false;
        }
    }
    return true;
}

void PrintElement(const SkinUI::CXmlNode& node, int depth) {
    std::wstring line(static_cast<std::size_t>(depth) * 2, L' ');
    line += node.GetName();
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        line += std::wstring(L" ") + node.GetAttributeName(i) + L"=" +
                Quoted(node.GetAttributeValue(i));
    }
    if (!IsBlank(node.GetValue())) {
        line += L" #text=" + Quoted(node.GetValue());
    }
    Tool::PrintLine(line);
    for (SkinUI::CXmlNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
        PrintElement(child, depth + 1);
    }
}

int Xml(const std::string& name) {
    SkinUI::CXmlMarkup markup;
    if (!markup.LoadFromFile(Tool::Wide(name).c_str())) {
        Tool::PrintLine(L"error: " + markup.GetLastErrorMessage());
        Tool::PrintLine(L"location: " + markup.GetLastErrorLocation());
        return 1;
    }
    for (SkinUI::CXmlNode node = markup.GetRoot(); node.IsValid(); node = node.GetSibling()) {
        PrintElement(node, 0);
    }
    return 0;
}

bool WritePng(const std::string& path, const std::vector<win32::DWORD>& pixels, int width,
              int height) {
    std::vector<unsigned char> rgba;
    rgba.reserve(pixels.size() * 4);
    for (win32::DWORD p : pixels) {
        unsigned a = p >> 24;
        auto straight = [a](unsigned channel) {
            return static_cast<unsigned char>(a == 0 ? 0 : std::min(255u, channel * 255 / a));
        };
        rgba.insert(rgba.end(), {straight(p >> 16 & 0xFF), straight(p >> 8 & 0xFF),
                                 straight(p & 0xFF), static_cast<unsigned char>(a)});
    }
    return stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4) != 0;
}

int Image(const std::string& description, const std::string& out, const std::string& widthText,
          const std::string& heightText) {
    char* end = nullptr;
    long width = std::strtol(widthText.c_str(), &end, 10);
    bool widthOk = *end == '\0';
    long height = std::strtol(heightText.c_str(), &end, 10);
    if (!widthOk || *end != '\0' || width <= 0 || height <= 0 || width > 8192 || height > 8192) {
        std::fprintf(stderr, "skin: WIDTH and HEIGHT must be numbers from 1 to 8192\n");
        return 2;
    }
    std::vector<win32::DWORD> pixels(static_cast<std::size_t>(width * height), 0);
    win32::HDC dc = win32::CreateDCForPixels(pixels.data(), static_cast<int>(width),
                                             static_cast<int>(height), static_cast<int>(width * 4));
    CWindowManagerUI manager;
    SkinUI::TDrawInfo info(Tool::Wide(description));
    win32::RECT all{0, 0, static_cast<win32::LONG>(width), static_cast<win32::LONG>(height)};
    bool drawn = SkinUI::CRenderEngine::DrawImageInfo(dc, &manager, all, all, info);
    win32::DeleteDC(dc);
    if (!drawn) {
        std::fprintf(stderr, "skin: no image for '%s'\n", description.c_str());
        return 1;
    }
    if (!WritePng(out, pixels, static_cast<int>(width), static_cast<int>(height))) {
        std::fprintf(stderr, "skin: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

int RunSkin(const std::vector<std::string>& args) {
    if (args.empty()) {
        return Tool::UsageError("skin");
    }
    const std::string& action = args[0];
    bool known = (action == "list" && args.size() == 1) || (action == "cat" && args.size() == 2) ||
                 (action == "xml" && args.size() == 2) || (action == "image" && args.size() == 5);
    if (!known) {
        return Tool::UsageError("skin");
    }
    SkinUI::CSkinArchive* archive = OpenEmbeddedSkin();
    if (!archive) {
        return 1;
    }
    if (action == "list") {
        return List(*archive);
    }
    if (action == "cat") {
        return Cat(*archive, args[1]);
    }
    if (action == "xml") {
        return Xml(args[1]);
    }
    return Image(args[1], args[2], args[3], args[4]);
}

}  // namespace

QUILLON_TOOL_COMMAND("skin",
                     "  skin list\n  skin cat NAME\n  skin xml NAME\n"
                     "  skin image DESCRIPTION OUT.png WIDTH HEIGHT\n",
                     RunSkin);
