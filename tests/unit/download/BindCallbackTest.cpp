#include <gtest/gtest.h>

#include <vector>

#include "download/DownloadStatus.h"
#include "download/WinDownloader.h"

namespace {

struct Progress {
    int code;
    double value;
};

TEST(BindCallback, TurnsProgressIntoRatiosUntilAborted) {
    std::vector<Progress> reports;
    CWinDownloader::CBindCallback callback;
    callback.SetCallback([&](int code, double value, const wchar_t*) {
        reports.push_back({code, value});
    });

    EXPECT_EQ(callback.OnProgress(10, 0, win32::BINDSTATUS_DOWNLOADINGDATA, L""), win32::S_OK);
    EXPECT_EQ(callback.OnProgress(1, 4, win32::BINDSTATUS_DOWNLOADINGDATA, L""), win32::S_OK);
    // The service's numbers are unsigned 32-bit.
    EXPECT_EQ(callback.OnProgress(0xFFFFFFFFu, 0xFFFFFFFFu, win32::BINDSTATUS_ENDDOWNLOADDATA, L""),
              win32::S_OK);
    callback.Abort();
    EXPECT_EQ(callback.OnProgress(2, 4, win32::BINDSTATUS_DOWNLOADINGDATA, L""), win32::E_ABORT);

    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].code, DL_CODE_PROGRESS);
    EXPECT_EQ(reports[0].value, 0.25);
    EXPECT_EQ(reports[1].value, 1.0);
}

TEST(BindCallback, AsksForUtf8Addresses) {
    CWinDownloader::CBindCallback callback;
    win32::BINDINFO info{};
    win32::DWORD flags = 0;
    callback.GetBindInfo(&flags, &info);
    EXPECT_EQ(info.dwCodePage, 65001u);
    EXPECT_EQ(callback.GetBindInfo(&flags, nullptr), win32::E_NOTIMPL);
}

}  // namespace
