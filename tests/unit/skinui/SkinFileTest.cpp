#include <gtest/gtest.h>

#include "SkinTestSupport.h"
#include "skinui/SkinFile.h"
#include "skinui/XmlMarkup.h"

using SkinUI::LoadSkinFile;
using SkinUI::SkinFileKind;

TEST(SkinFile, LooseLayoutSizeRulesAndErrors) {
    SkinTest::TempFolder folder;
    std::string exact(SkinUI::kMaxLayoutFileSize, ' ');
    exact.replace(0, 4, "<a/>");
    folder.Write("exact.xml", exact);
    folder.Write("over.xml", exact + " ");
    folder.Write("empty.xml", "");
    folder.Write("sub/ok.xml", "<Window/>");
    SkinTest::UseLooseFiles(folder.Path().wstring());
    struct Case {
        const wchar_t* name;
        bool loads;
        const wchar_t* error;
    };
    const Case cases[] = {
        {L"exact.xml", true, L""},
        {L"over.xml", false, L"File too large"},
        {L"empty.xml", false, L"File is empty"},
        {L"missing.xml", false, L"Error opening file"},
        {L"sub\\ok.xml", true, L""},
    };
    for (const Case& c : cases) {
        SkinUI::CXmlMarkup markup;
        EXPECT_EQ(markup.LoadFromFile(c.name), c.loads) << c.error;
        EXPECT_EQ(markup.GetLastErrorMessage(), c.error);
        EXPECT_EQ(markup.GetLastErrorLocation(), L"");
    }
}

TEST(SkinFile, ArchiveLookupsAndTheImageFallbackToDisk) {
    SkinTest::TempFolder folder;
    folder.Write("loose.png", "bytes");
    SkinTest::UseEmbeddedSkin();
    std::vector<unsigned char> bytes;
    std::wstring error;
    EXPECT_TRUE(LoadSkinFile(L"MainWnd.xml", SkinFileKind::Layout, bytes, error));
    EXPECT_GT(bytes.size(), 1000u);
    EXPECT_FALSE(LoadSkinFile(L"nothing.xml", SkinFileKind::Layout, bytes, error));
    EXPECT_EQ(error, L"Could not find ziped file");
    // A layout has no last resort on disk; an image does.
    std::wstring onDisk = folder.Path().wstring() + L"/loose.png";
    EXPECT_FALSE(LoadSkinFile(onDisk, SkinFileKind::Layout, bytes, error));
    EXPECT_TRUE(LoadSkinFile(onDisk, SkinFileKind::Image, bytes, error));
    EXPECT_EQ(bytes.size(), 5u);

    // The borrowing form finds the same bytes, and the same last resort.
    SkinUI::SkinFileBytes view;
    ASSERT_TRUE(LoadSkinFile(L"res\\mainWnd\\Cb2.png", SkinFileKind::Image, bytes, error));
    ASSERT_TRUE(SkinUI::ViewSkinFile(L"RES/mainWnd/cb2.png", SkinFileKind::Image, view, error));
    EXPECT_EQ(std::vector<unsigned char>(view.data, view.data + view.size), bytes);
    EXPECT_TRUE(view.owned.empty()) << "copied out of the cached archive";
    ASSERT_TRUE(SkinUI::ViewSkinFile(onDisk, SkinFileKind::Image, view, error));
    EXPECT_EQ(std::string(view.data, view.data + view.size), "bytes");
    EXPECT_FALSE(SkinUI::ViewSkinFile(L"res/mainWnd/bg", SkinFileKind::Image, view, error));

    SkinUI::CXmlMarkup markup;
    EXPECT_FALSE(markup.LoadFromFile(L"nothing.xml"));
    EXPECT_EQ(markup.GetLastErrorMessage(), L"Could not find ziped file");
}

TEST(SkinFile, WithoutAnArchiveHandleTheArchiveCannotBeOpened) {
    SkinUI::CWindowManagerUI::SetArchiveIs7z(true);
    SkinUI::CWindowManagerUI::SetResourcePath(L"/nonexistent");
    SkinUI::CWindowManagerUI::SetResourceArchive(L"skin.7z", true);
    SkinUI::CXmlMarkup markup;
    EXPECT_FALSE(markup.LoadFromFile(L"mainWnd.xml"));
    EXPECT_EQ(markup.GetLastErrorMessage(), L"Error opening zip file");
    SkinUI::CWindowManagerUI::SetResourceArchive(L"", false);
}

TEST(SkinFile, EveryShippedLayoutParses) {
    SkinTest::UseEmbeddedSkin();
    for (const wchar_t* name :
         {L"mainWnd.xml", L"MessageBox1Wnd.xml", L"MessageBox2Wnd.xml", L"exitTipWnd.xml",
          L"NetworkTipWnd.xml", L"InstalledPathTipWnd.xml"}) {
        SkinUI::CXmlMarkup markup;
        ASSERT_TRUE(markup.LoadFromFile(name)) << markup.GetLastErrorMessage().size();
        SkinUI::CXmlNode root = markup.GetRoot();
        EXPECT_STREQ(root.GetName(), L"Window");
        EXPECT_TRUE(root.HasChildren());
    }
}
