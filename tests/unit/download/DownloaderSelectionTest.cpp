#include <gtest/gtest.h>

#include <typeinfo>

#include "download/CurlDownloader.h"
#include "download/Downloader.h"
#include "download/MTCurlDownloader.h"
#include "download/WinDownloader.h"

namespace {

struct SelectionCase {
    int downloadType;
    const std::type_info& type;
};

TEST(CreateDownloader, ChoosesByDownloadType) {
    const SelectionCase cases[] = {
        {0, typeid(CCurlDownloader)},  {1, typeid(CCurlDownloader)}, {4, typeid(CCurlDownloader)},
        {-1, typeid(CCurlDownloader)}, {2, typeid(CWinDownloader)},  {3, typeid(CMTCurlDownloader)},
    };
    for (const SelectionCase& row : cases) {
        auto downloader = CreateDownloader(
            row.downloadType, [](int, double, const wchar_t*) {}, L"http://127.0.0.1:9/x/p.exe",
            L"/nonexistent/p.exe");
        ASSERT_NE(downloader, nullptr);
        EXPECT_EQ(typeid(*downloader), row.type) << "DownloadType " << row.downloadType;
    }
}

}  // namespace
