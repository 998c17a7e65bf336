// Opening the embedded skin archive, decoding its 59 images and parsing its six layouts,
// against `7zz t` of the same archive in the same run. Prints the median of each and the ratio.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Resources.h"
#include "skinui/ImageData.h"
#include "skinui/SkinArchive.h"
#include "skinui/WindowManagerUI.h"
#include "skinui/XmlMarkup.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool EndsWith(const std::wstring& text, const wchar_t* suffix) {
    std::wstring tail(suffix);
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

struct Pass {
    double open;     // archive opened and every file decompressed, in milliseconds
    double images;   // every image decoded and premultiplied
    double layouts;  // every layout parsed
    double Total() const { return open + images + layouts; }
};

double Since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One pass of what the first window of the installer does with the skin.
Pass OpenDecodeParse(const unsigned char* bytes, std::size_t size, int& images, int& layouts) {
    Pass pass{};
    Clock::time_point start = Clock::now();
    SkinUI::CSkinArchive* archive = SkinUI::CSkinArchive::OpenFromMemory(bytes, size);
    pass.open = Since(start);
    if (!archive) {
        std::fprintf(stderr, "the embedded archive cannot be read\n");
        std::exit(1);
    }
    images = 0;
    layouts = 0;
    start = Clock::now();
    for (const SkinUI::SkinEntry& entry : archive->Entries()) {
        if (EndsWith(entry.name, L".png")) {
            images += SkinUI::LoadImage(entry.name, L"", 0) != nullptr;
        }
    }
    pass.images = Since(start);
    start = Clock::now();
    for (const SkinUI::SkinEntry& entry : archive->Entries()) {
        if (EndsWith(entry.name, L".xml")) {
            SkinUI::CXmlMarkup markup;
            layouts += markup.LoadFromMem(entry.data.data(), entry.data.size());
        }
    }
    pass.layouts = Since(start);
    SkinUI::CSkinArchive::Close(archive);
    return pass;
}

double SevenZipTest(const std::string& path) {
    std::string command = std::string(SEVEN_ZIP) + " t -bso0 -bsp0 '" + path + "'";
    Clock::time_point start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "7zz t failed\n");
        std::exit(1);
    }
    return Since(start);
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    win32::HRSRC resource = win32::FindResourceW(nullptr, win32::MAKEINTRESOURCEW(147), L"ZIPRES");
    const auto* bytes = static_cast<const unsigned char*>(
        win32::LockResource(win32::LoadResource(nullptr, resource)));
    std::size_t size = win32::SizeofResource(nullptr, resource);
    if (!bytes || size == 0) {
        std::fprintf(stderr, "no ZIPRES 147 resource\n");
        return 1;
    }
    // The images are looked up through the process's archive, as the windows do.
    SkinUI::CWindowManagerUI::SetArchiveIs7z(true);
    SkinUI::CWindowManagerUI::SetResourceArchive(bytes, size);

    std::filesystem::path archive =
        std::filesystem::temp_directory_path() / "quillon-skin-bench.7z";
    std::ofstream(archive, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    std::vector<double> ours;
    std::vector<double> opens;
    std::vector<double> decodes;
    std::vector<double> parses;
    std::vector<double> peer;
    int images = 0;
    int layouts = 0;
    for (int i = 0; i < rounds; ++i) {
        Pass pass = OpenDecodeParse(bytes, size, images, layouts);
        ours.push_back(pass.Total());
        opens.push_back(pass.open);
        decodes.push_back(pass.images);
        parses.push_back(pass.layouts);
        peer.push_back(SevenZipTest(archive.string()));
    }
    std::filesystem::remove(archive);
    double ourMedian = Median(ours);
    double peerMedian = Median(peer);
    std::printf("archive bytes: %zu\n", size);
    std::printf("images decoded: %d, layouts parsed: %d\n", images, layouts);
    std::printf("open+decode+parse median: %.2f ms (open %.2f, images %.2f, layouts %.2f)\n",
                ourMedian, Median(opens), Median(decodes), Median(parses));
    std::printf("7zz t median: %.2f ms\n", peerMedian);
    std::printf("ratio (ours / 7zz t): %.2f\n", ourMedian / peerMedian);
    std::printf("ratio of the archive alone (open / 7zz t): %.2f\n", Median(opens) / peerMedian);
    return 0;
}
