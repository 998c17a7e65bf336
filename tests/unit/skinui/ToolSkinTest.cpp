#include <gtest/gtest.h>

#include <stb_image.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "SkinTestSupport.h"

namespace {

struct ToolRun {
    int status;
    std::string output;
};

ToolRun Tool(const std::string& args) {
    std::string command = std::string(QUILLON_BIN) + "/quillon-tool " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ToolRun run{-1, ""};
    if (!pipe) {
        return run;
    }
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, got);
    }
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    unsigned Alpha(int x, int y) const { return rgba[(y * width + x) * 4 + 3]; }
};

Picture Read(const std::string& path) {
    Picture p;
    int n = 0;
    unsigned char* data = stbi_load(path.c_str(), &p.width, &p.height, &n, 4);
    if (data) {
        p.rgba.assign(data, data + p.width * p.height * 4);
        stbi_image_free(data);
    }
    return p;
}

}  // namespace

TEST(ToolSkin, ListCatAndXml) {
    ToolRun list = Tool("skin list");
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.output.find(" res/mainWnd/installBtnAnimate/023.png\n"), std::string::npos);
    EXPECT_EQ(std::count(list.output.begin(), list.output.end(), '\n'), 65);
    ToolRun cat = Tool("skin cat 'RES\\mainWnd\\CB1.PNG'");
    EXPECT_EQ(cat.status, 0);
    EXPECT_EQ(cat.output.substr(1, 3), "PNG");
    EXPECT_EQ(Tool("skin cat res/mainWnd/Cb").status, 1);
    ToolRun xml = Tool("skin xml ExitTipWnd.xml");
    EXPECT_EQ(xml.status, 0);
    EXPECT_NE(xml.output.find("      Button name=\"okBtn\""), std::string::npos) << xml.output;
    ToolRun missing = Tool("skin xml nothing.xml");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.output, "error: Could not find ziped file\nlocation: \n");
}

TEST(ToolSkin, ImageDrawsTheTrackCornersAndTheCheckBoxAtItsDest) {
    SkinTest::TempFolder folder;
    std::string track = (folder.Path() / "track.png").string();
    ASSERT_EQ(Tool("skin image \"file='res\\mainWnd\\installPrg1.png' corner='2,2,2,2' "
                   "mask='#FF0000'\" " +
                   track + " 100 8")
                  .status,
              0);
    Picture t = Read(track);
    ASSERT_EQ(t.width, 100);
    ASSERT_EQ(t.height, 8);
    EXPECT_EQ(t.Alpha(50, 4), 255u);
    EXPECT_LT(t.Alpha(0, 0), 255u) << "rounded corner";
    EXPECT_EQ(t.Alpha(0, 0), t.Alpha(99, 7)) << "both ends keep the same corner";

    std::string box = (folder.Path() / "box.png").string();
    ASSERT_EQ(Tool("skin image \"file='res\\mainWnd\\Cb1.png' dest='0,3,15,17'\" " + box + " 68 18")
                  .status,
              0);
    Picture b = Read(box);
    ASSERT_EQ(b.width, 68);
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 68; ++x) {
            bool inside = x < 15 && y >= 3 && y < 17;
            if (!inside) {
                ASSERT_EQ(b.Alpha(x, y), 0u) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(b.Alpha(7, 10), 255u);
    EXPECT_EQ(Tool("skin image missing.png " + box + " 4 4").status, 1);
    EXPECT_EQ(Tool("skin image x.png " + box + " 0 4").status, 2);
}
