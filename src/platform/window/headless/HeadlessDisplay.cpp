#include "platform/window/headless/HeadlessDisplay.h"

#include <poll.h>

#include <mutex>

namespace win32::core {

namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 800;
// A panel along the bottom edge, so that the work area differs from the screen as on a desktop.
constexpr int kPanelHeight = 40;
constexpr DWORD kDesktopColor = 0xFF3A6EA5;

class HeadlessDisplay final : public DisplayBackend {
  public:
    std::string Name() const override { return "headless"; }
    RECT ScreenRect() override { return RECT{0, 0, kScreenWidth, kScreenHeight}; }
    RECT WorkArea() override { return RECT{0, 0, kScreenWidth, kScreenHeight - kPanelHeight}; }
    bool SupportsLayered() override { return true; }

    void WindowCreated(Window&) override {}
    void WindowDestroyed(Window&) override {}
    void WindowShown(Window&) override {}
    void WindowPlaced(Window&) override {}
    void StackingChanged() override {}
    void RegionChanged(Window&) override {}
    void TitleChanged(Window&) override {}
    void IconChanged(Window&) override {}
    void Present(Window&, const RECT&) override {}
    void Activated(Window&) override {}
    void SetCursorShape(CursorShape) override {}
    void GrabPointer(bool) override {}

    bool CaptureScreen(std::vector<DWORD>* pixels, int* width, int* height) override {
        CompositeWindows(pixels, kScreenWidth, kScreenHeight, kDesktopColor);
        *width = kScreenWidth;
        *height = kScreenHeight;
        return true;
    }

    std::wstring ClipboardText() override {
        std::lock_guard lock(clipboardMutex_);
        return clipboard_;
    }
    void SetClipboardText(const std::wstring& text) override {
        std::lock_guard lock(clipboardMutex_);
        clipboard_ = text;
    }

    void Pump() override {}
    void Wait(ThreadQueue& queue, int timeoutMs) override {
        pollfd wake{queue.WakeDescriptor(), POLLIN, 0};
        poll(&wake, 1, timeoutMs);
    }

  private:
    std::mutex clipboardMutex_;
    std::wstring clipboard_;  // guarded by clipboardMutex_
};

}  // namespace

std::unique_ptr<DisplayBackend> CreateHeadlessDisplay() {
    return std::make_unique<HeadlessDisplay>();
}

}  // namespace win32::core
