// Choosing the display, and looking at what it shows.
#include "platform/Display.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/SystemInfo.h"
#include "platform/window/DisplayBackend.h"
#include "platform/window/DisplayMetrics.h"
#include "platform/window/PngFile.h"
#include "platform/window/headless/HeadlessDisplay.h"
#include "platform/window/x11/X11Display.h"

namespace win32 {

namespace core {

namespace {

std::unique_ptr<DisplayBackend> ChooseDisplay() {
    const char* forced = std::getenv("QUILLON_DISPLAY");
    if (forced != nullptr && std::strcmp(forced, "headless") == 0) {
        return CreateHeadlessDisplay();
    }
    bool wantX11 = (forced != nullptr && std::strcmp(forced, "x11") == 0) ||
                   (std::getenv("DISPLAY") != nullptr && std::getenv("DISPLAY")[0] != '\0');
    if (wantX11) {
        if (auto x11 = CreateX11Display()) {
            return x11;
        }
        std::fprintf(stderr, "quillon: no X server could be reached; using the virtual screen\n");
    }
    return CreateHeadlessDisplay();
}

// Every program that uses windows links this file, so GetSystemMetrics learns the display's
// metrics before main; the display itself is still chosen at the first question.
[[maybe_unused]] const bool metricsProvided = [] {
    SetSystemMetricsProvider(DisplayMetric);
    return true;
}();

}  // namespace

DisplayBackend& Display() {
    // Never destroyed: windows of other threads may still be going away at exit.
    static DisplayBackend* display = ChooseDisplay().release();
    return *display;
}

}  // namespace core

namespace display {

std::string BackendName() {
    return core::Display().Name();
}

bool CaptureScreen(std::vector<DWORD>* pixels, int* width, int* height) {
    return core::Display().CaptureScreen(pixels, width, height);
}

bool SaveScreenPng(const std::string& path) {
    std::vector<DWORD> pixels;
    int width = 0;
    int height = 0;
    return CaptureScreen(&pixels, &width, &height) && core::WritePng(path, pixels, width, height);
}

bool SaveWindowPng(HWND handle, const std::string& path) {
    core::Window* window = core::Find(handle);
    if (window == nullptr || !window->IsTopLevel()) {
        return false;
    }
    return core::WritePng(path, window->pixels, window->pixelWidth, window->pixelHeight);
}

}  // namespace display

}  // namespace win32
