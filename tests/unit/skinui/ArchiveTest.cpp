#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "SkinTestSupport.h"
#include "platform/Resources.h"
#include "skinui/SkinArchive.h"

using SkinUI::CSkinArchive;
using SkinUI::CWindowManagerUI;

namespace {

std::string EmbeddedArchive() {
    win32::HRSRC resource = win32::FindResourceW(nullptr, win32::MAKEINTRESOURCEW(147), L"ZIPRES");
    const char* bytes =
        static_cast<const char*>(win32::LockResource(win32::LoadResource(nullptr, resource)));
    return bytes ? std::string(bytes, win32::SizeofResource(nullptr, resource)) : std::string();
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

int Pack(const SkinTest::TempFolder& folder, const std::string& archive, const std::string& options,
         const std::string& files) {
    std::string command = "cd '" + folder.Path().string() + "' && " SEVEN_ZIP " a -bso0 -bsp0 " +
                          options + " " + archive + " " + files;
    return std::system(command.c_str());
}

}  // namespace

TEST(SkinArchive, TheEmbeddedSkinHoldsTheLayoutsAndImages) {
    std::string bytes = EmbeddedArchive();
    ASSERT_FALSE(bytes.empty());
    CSkinArchive* archive = CSkinArchive::OpenFromMemory(bytes.data(), bytes.size());
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(archive->Entries().size(), 65u);
    int pngs = 0;
    for (const SkinUI::SkinEntry& entry : archive->Entries()) {
        EXPECT_EQ(entry.data.size(), entry.size)
            << std::string(entry.name.begin(), entry.name.end());
        pngs += entry.name.size() > 4 && entry.name.substr(entry.name.size() - 4) == L".png";
    }
    EXPECT_EQ(pngs, 59);
    CSkinArchive::Close(archive);
}

TEST(SkinArchive, LookupRules) {
    std::string bytes = EmbeddedArchive();
    CSkinArchive* archive = CSkinArchive::OpenFromMemory(bytes.data(), bytes.size());
    ASSERT_NE(archive, nullptr);
    struct Case {
        const wchar_t* name;
        bool found;
        const wchar_t* stored;
    };
    const Case cases[] = {
        {L"mainWnd.xml", true, L"mainWnd.xml"},
        {L"MainWnd.xml", true, L"mainWnd.xml"},
        {L"ExitTipWnd.xml", true, L"exitTipWnd.xml"},
        {L"res\\mainWnd\\bg1.png", true, L"res/mainWnd/bg1.png"},
        {L"res/mainWnd/bg1.png", true, L"res/mainWnd/bg1.png"},
        {L"RES\\MAINWND\\INSTALLBTNANIMATE\\023.PNG", true,
         L"res/mainWnd/installBtnAnimate/023.png"},
        {L"res/mainWnd/bg", false, nullptr},
        {L"res/mainWnd/bg1.png ", false, nullptr},
        {L"res/mainWnd/chDirBtn2.png", false, nullptr},
        {L"res\\mainWnd\\installPrg3.png", false, nullptr},
        {L"", false, nullptr},
    };
    for (const Case& c : cases) {
        int index = -1;
        std::uint64_t size = 0;
        int result = archive->Find(c.name, &index, &size);
        EXPECT_EQ(result == 0, c.found) << std::string(c.name, c.name + std::wcslen(c.name));
        if (c.found && result == 0) {
            std::vector<unsigned char> data(size);
            ASSERT_EQ(archive->Extract(index, data.data()), 0);
            for (const SkinUI::SkinEntry& entry : archive->Entries()) {
                if (entry.index == index) {
                    EXPECT_EQ(entry.name, c.stored);
                    EXPECT_EQ(entry.data, data);
                }
            }
        }
    }
    EXPECT_NE(archive->Extract(100000, nullptr), 0);
    CSkinArchive::Close(archive);
}

TEST(SkinArchive, ChineseNamesSurviveTheCLocale) {
    SkinTest::TempFolder folder;
    folder.Write("中文.xml", "<a/>");
    ASSERT_EQ(Pack(folder, "t.7z", "-t7z -m0=lzma2 -ms=on", "中文.xml"), 0);
    std::string bytes = ReadFile(folder.Path() / "t.7z");
    CSkinArchive* archive = CSkinArchive::OpenFromMemory(bytes.data(), bytes.size());
    ASSERT_NE(archive, nullptr);
    ASSERT_EQ(archive->Entries().size(), 1u);
    EXPECT_EQ(archive->Entries()[0].name, L"中文.xml");
    CSkinArchive::Close(archive);
}

TEST(SkinArchive, ExtractionThatStopsPartWayKeepsTheEarlierEntries) {
    SkinTest::TempFolder folder;
    std::string a(3000, 'a'), b(3000, 'b'), c(3000, 'c');
    b.replace(100, 10, "MARKERBYTE");
    folder.Write("a.txt", a);
    folder.Write("b.txt", b);
    folder.Write("c.txt", c);
    // Stored without compression and not solid, so that b's bytes can be damaged in place.
    ASSERT_EQ(Pack(folder, "t.7z", "-t7z -m0=copy -ms=off", "a.txt b.txt c.txt"), 0);
    std::string bytes = ReadFile(folder.Path() / "t.7z");
    std::size_t marker = bytes.find("MARKERBYTE");
    ASSERT_NE(marker, std::string::npos);
    bytes[marker] = 'X';
    CSkinArchive* archive = CSkinArchive::OpenFromMemory(bytes.data(), bytes.size());
    ASSERT_NE(archive, nullptr);
    ASSERT_EQ(archive->Entries().size(), 1u);
    EXPECT_EQ(archive->Find(L"a.txt", nullptr, nullptr), 0);
    EXPECT_NE(archive->Find(L"b.txt", nullptr, nullptr), 0);
    EXPECT_NE(archive->Find(L"c.txt", nullptr, nullptr), 0);
    CSkinArchive::Close(archive);
}

TEST(SkinArchive, DataThatIsNoArchiveGivesNoHandle) {
    const std::string cases[] = {"", "7z", std::string("7z\xBC\xAF\x27\x1C\0\4", 8) + "junk",
                                 std::string(64, '\0')};
    for (const std::string& bytes : cases) {
        EXPECT_EQ(CSkinArchive::OpenFromMemory(bytes.data(), bytes.size()), nullptr)
            << bytes.size();
    }
    EXPECT_EQ(CSkinArchive::OpenFromFile(L"/nonexistent/skin.7z"), nullptr);
}

TEST(SkinArchive, TheFirstArchiveFromMemoryStaysForTheWholeProcess) {
    SkinTest::UseEmbeddedSkin();
    CSkinArchive* first = CWindowManagerUI::GetResourceArchive();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(CWindowManagerUI::GetResourceArchiveName(), L"membuffer");
    EXPECT_TRUE(CWindowManagerUI::IsResourceArchiveCached());
    const char other[] = "not an archive";
    CWindowManagerUI::SetResourceArchive(other, sizeof other);
    EXPECT_EQ(CWindowManagerUI::GetResourceArchive(), first);
    EXPECT_TRUE(CWindowManagerUI::SetResourceArchiveFromResource(147));
    EXPECT_EQ(CWindowManagerUI::GetResourceArchive(), first);
    EXPECT_FALSE(CWindowManagerUI::SetResourceArchiveFromResource(148));
}

TEST(SkinArchive, TheFileFormOpensUnderTheResourcePath) {
    SkinTest::TempFolder folder;
    std::string bytes = EmbeddedArchive();
    folder.Write("skin.7z", bytes);
    CWindowManagerUI::SetArchiveIs7z(true);
    CWindowManagerUI::SetResourcePath(folder.Path().wstring());
    EXPECT_EQ(CWindowManagerUI::GetResourcePath(), folder.Path().wstring() + L"\\");
    CWindowManagerUI::SetResourceArchive(L"skin.7z", true);
    ASSERT_NE(CWindowManagerUI::GetResourceArchive(), nullptr);
    EXPECT_EQ(CWindowManagerUI::GetResourceArchive()->Entries().size(), 65u);
    CWindowManagerUI::SetResourceArchive(L"skin.7z", false);
    EXPECT_EQ(CWindowManagerUI::GetResourceArchive(), nullptr);
    CWindowManagerUI::SetResourceArchive(L"", false);
}
