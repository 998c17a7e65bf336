// What the window core asks of a display: it mirrors the top-level windows, shows their
// pixels, waits for events and turns them into input (InputRouter.h).
#pragma once

#include <string>
#include <vector>

#include "platform/window/WindowCore.h"

namespace win32::core {

enum class CursorShape { Arrow, Hand, IBeam, Wait, SizeAll, SizeWE, SizeNS, SizeNWSE, SizeNESW };

class DisplayBackend {
  public:
    virtual ~DisplayBackend() = default;

    virtual std::string Name() const = 0;
    virtual RECT ScreenRect() = 0;
    virtual RECT WorkArea() = 0;
    virtual bool SupportsLayered() = 0;

    // Top-level windows only, on the thread that owns them.
    virtual void WindowCreated(Window& window) = 0;
    virtual void WindowDestroyed(Window& window) = 0;
    virtual void WindowShown(Window& window) = 0;   // visibility or minimised state changed
    virtual void WindowPlaced(Window& window) = 0;  // position or size changed
    virtual void StackingChanged() = 0;
    virtual void RegionChanged(Window& window) = 0;
    virtual void TitleChanged(Window& window) = 0;
    virtual void IconChanged(Window& window) = 0;
    virtual void Present(Window& window, const RECT& area) = 0;  // area in window coordinates
    virtual void Activated(Window& window) = 0;
    virtual void SetCursorShape(CursorShape shape) = 0;
    // The pointer stays with the program while a window holds the capture or a drag runs.
    virtual void GrabPointer(bool grab) = 0;

    virtual bool CaptureScreen(std::vector<DWORD>* pixels, int* width, int* height) = 0;
    virtual std::wstring ClipboardText() = 0;
    virtual void SetClipboardText(const std::wstring& text) = 0;

    // Turns display events that have arrived into input without waiting.
    virtual void Pump() = 0;
    // Waits until the queue is woken, display events arrive or the timeout (ms, -1 for none)
    // passes; then pumps.
    virtual void Wait(ThreadQueue& queue, int timeoutMs) = 0;
};

// The display chosen at first use (Display.h tells how).
DisplayBackend& Display();

}  // namespace win32::core
