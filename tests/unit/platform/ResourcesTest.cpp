#include <gtest/gtest.h>

#include <cstring>

#include "platform/Resources.h"
#include "support/TempFolder.h"

namespace {

TEST(Resources, FindsWhatTheBuildCompiledIn) {
    const std::string expected = TestSupport::ReadFile(QUILLON_FIXTURES "/platform/sample.bin");
    win32::HRSRC found = win32::FindResourceW(nullptr, win32::MAKEINTRESOURCEW(147), L"SAMPLE");
    ASSERT_NE(found, nullptr);
    ASSERT_EQ(win32::SizeofResource(nullptr, found), expected.size());
    const void* bytes = win32::LockResource(win32::LoadResource(nullptr, found));
    EXPECT_EQ(std::memcmp(bytes, expected.data(), expected.size()), 0);

    EXPECT_NE(win32::FindResourceW(nullptr, win32::MAKEINTRESOURCEW(145), L"OTHER"), nullptr);
    EXPECT_EQ(win32::FindResourceW(nullptr, win32::MAKEINTRESOURCEW(145), L"SAMPLE"), nullptr);
    EXPECT_EQ(win32::FindResourceW(nullptr, win32::MAKEINTRESOURCEW(148), L"SAMPLE"), nullptr);
    EXPECT_EQ(win32::SizeofResource(nullptr, nullptr), 0u);
}

}  // namespace
