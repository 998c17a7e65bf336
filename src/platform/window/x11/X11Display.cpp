// Real windows on an X server. Each top-level window is a frameless X window mirroring the
// core's record; its pixels go to the server with XPutImage, its region becomes its shape, and
// the server's events become input through the same router the virtual screen uses.
#include "platform/window/x11/X11Display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>
#include <poll.h>

// X.h names a constant like the core's cursor shapes.
#undef CursorShape

#include <clocale>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/Input.h"
#include "platform/window/Icons.h"
#include "platform/window/InputRouter.h"
#include "platform/window/Painting.h"
#include "platform/window/WindowInternals.h"

namespace win32::core {

namespace {

struct NativeWindow {
    ::Window id = 0;
    GC gc = nullptr;
    XIC inputContext = nullptr;
    Visual* visual = nullptr;
    int depth = 24;
    bool mapped = false;
};

NativeWindow* NativeOf(Window& window) {
    return static_cast<NativeWindow*>(window.native);
}

// Errors such as focusing a window the server has not mapped yet are not fatal here.
int IgnoreErrors(::Display*, XErrorEvent*) {
    return 0;
}

int VirtualKeyOf(KeySym symbol) {
    if (symbol >= XK_a && symbol <= XK_z) {
        return static_cast<int>(symbol - XK_a + 'A');
    }
    if (symbol >= XK_A && symbol <= XK_Z) {
        return static_cast<int>(symbol);
    }
    if (symbol >= XK_0 && symbol <= XK_9) {
        return static_cast<int>(symbol);
    }
    if (symbol >= XK_F1 && symbol <= XK_F12) {
        return static_cast<int>(VK_F1 + (symbol - XK_F1));
    }
    switch (symbol) {
        case XK_BackSpace:
            return VK_BACK;
        case XK_Tab:
        case XK_ISO_Left_Tab:
            return VK_TAB;
        case XK_Return:
        case XK_KP_Enter:
            return VK_RETURN;
        case XK_Escape:
            return VK_ESCAPE;
        case XK_space:
            return VK_SPACE;
        case XK_Shift_L:
        case XK_Shift_R:
            return VK_SHIFT;
        case XK_Control_L:
        case XK_Control_R:
            return VK_CONTROL;
        case XK_Alt_L:
        case XK_Alt_R:
        case XK_Meta_L:
            return VK_MENU;
        case XK_Home:
            return VK_HOME;
        case XK_End:
            return VK_END;
        case XK_Left:
            return VK_LEFT;
        case XK_Right:
            return VK_RIGHT;
        case XK_Up:
            return VK_UP;
        case XK_Down:
            return VK_DOWN;
        case XK_Prior:
            return VK_PRIOR;
        case XK_Next:
            return VK_NEXT;
        case XK_Insert:
            return VK_INSERT;
        case XK_Delete:
            return VK_DELETE;
        default:
            return 0;
    }
}

// UTF-8 to wide characters; the input method speaks UTF-8.
std::wstring FromUtf8(const char* text, int length) {
    std::wstring result;
    int i = 0;
    while (i < length) {
        auto lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        if (i + extra >= length && extra > 0) {
            break;  // a sequence cut short
        }
        auto code = static_cast<std::uint32_t>(extra == 0 ? lead : lead & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        result.push_back(static_cast<wchar_t>(code));
        i += extra + 1;
    }
    return result;
}

std::string ToUtf8(const std::wstring& text) {
    std::string result;
    for (wchar_t wide : text) {
        auto c = static_cast<std::uint32_t>(wide);
        if (c < 0x80) {
            result.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            result.push_back(static_cast<char>(0xC0 | (c >> 6)));
            result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            result.push_back(static_cast<char>(0xE0 | (c >> 12)));
            result.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            result.push_back(static_cast<char>(0xF0 | (c >> 18)));
            result.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return result;
}

class X11Display final : public DisplayBackend {
  public:
    explicit X11Display(::Display* display) : display_(display) {
        screen_ = DefaultScreen(display_);
        root_ = RootWindow(display_, screen_);
        displayThread_ = CurrentThreadId();
        XSetErrorHandler(IgnoreErrors);
        int eventBase;
        int errorBase;
        hasShape_ = XShapeQueryExtension(display_, &eventBase, &errorBase) != 0;
        XVisualInfo info;
        if (XMatchVisualInfo(display_, screen_, 32, TrueColor, &info) != 0) {
            argbVisual_ = info.visual;
            argbColormap_ = XCreateColormap(display_, root_, argbVisual_, AllocNone);
        }
        if (std::setlocale(LC_CTYPE, nullptr) != nullptr && XSupportsLocale()) {
            XSetLocaleModifiers("");
            inputMethod_ = XOpenIM(display_, nullptr, nullptr, nullptr);
        }
        clipboardWindow_ = XCreateSimpleWindow(display_, root_, -10, -10, 1, 1, 0, 0, 0);
        XSelectInput(display_, clipboardWindow_, PropertyChangeMask);
    }

    std::string Name() const override { return "x11"; }

    RECT ScreenRect() override {
        return RECT{0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)};
    }

    RECT WorkArea() override {
        RECT work = ScreenRect();
        ::Atom type;
        int format;
        unsigned long count;
        unsigned long after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, root_, Intern("_NET_WORKAREA"), 0, 4, False, XA_CARDINAL,
                               &type, &format, &count, &after, &data) == Success &&
            data != nullptr && count >= 4 && format == 32) {
            auto* values = reinterpret_cast<long*>(data);
            work = RECT{static_cast<LONG>(values[0]), static_cast<LONG>(values[1]),
                        static_cast<LONG>(values[0] + values[2]),
                        static_cast<LONG>(values[1] + values[3])};
        }
        if (data != nullptr) {
            XFree(data);
        }
        return work;
    }

    // Per-pixel alpha shows only while a compositing manager runs, which may start later.
    bool SupportsLayered() override {
        std::string compositor = "_NET_WM_CM_S" + std::to_string(screen_);
        return argbVisual_ != nullptr &&
               XGetSelectionOwner(display_, Intern(compositor.c_str())) != None;
    }

    void WindowCreated(Window& window) override {
        auto native = std::make_unique<NativeWindow>();
        bool argb = (window.exStyle & WS_EX_LAYERED) != 0 && SupportsLayered();
        native->visual = argb ? argbVisual_ : DefaultVisual(display_, screen_);
        native->depth = argb ? 32 : DefaultDepth(display_, screen_);
        XSetWindowAttributes attributes{};
        attributes.background_pixel = 0;
        attributes.border_pixel = 0;
        attributes.colormap = argb ? argbColormap_ : DefaultColormap(display_, screen_);
        attributes.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                                ButtonReleaseMask | PointerMotionMask | LeaveWindowMask |
                                StructureNotifyMask | FocusChangeMask;
        native->id = XCreateWindow(
            display_, root_, window.rect.left, window.rect.top,
            static_cast<unsigned>(std::max(window.Width(), 1)),
            static_cast<unsigned>(std::max(window.Height(), 1)), 0, native->depth, InputOutput,
            native->visual, CWBackPixel | CWBorderPixel | CWColormap | CWEventMask, &attributes);
        native->gc = XCreateGC(display_, native->id, 0, nullptr);
        // No frame from the window manager: the window draws all of itself.
        long hints[5] = {2, 0, 0, 0, 0};
        XChangeProperty(display_, native->id, Intern("_MOTIF_WM_HINTS"), Intern("_MOTIF_WM_HINTS"),
                        32, PropModeReplace, reinterpret_cast<unsigned char*>(hints), 5);
        ::Atom deleteWindow = Intern("WM_DELETE_WINDOW");
        XSetWMProtocols(display_, native->id, &deleteWindow, 1);
        XSizeHints size{};
        size.flags = PPosition | USPosition;
        size.x = window.rect.left;
        size.y = window.rect.top;
        XSetWMNormalHints(display_, native->id, &size);
        XClassHint classHint{const_cast<char*>("quillon"), const_cast<char*>("Quillon")};
        XSetClassHint(display_, native->id, &classHint);
        if (Window* owner = Find(window.owner)) {
            if (NativeWindow* ownerNative = NativeOf(*owner)) {
                XSetTransientForHint(display_, native->id, ownerNative->id);
            }
        }
        if ((window.exStyle & (WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW)) != 0) {
            ::Atom type = Intern("_NET_WM_WINDOW_TYPE_UTILITY");
            XChangeProperty(display_, native->id, Intern("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32,
                            PropModeReplace, reinterpret_cast<unsigned char*>(&type), 1);
        }
        if ((window.exStyle & WS_EX_TRANSPARENT) != 0 && hasShape_) {
            // Click-through: an empty input shape.
            XShapeCombineRectangles(display_, native->id, ShapeInput, 0, 0, nullptr, 0, ShapeSet,
                                    YXBanded);
        }
        if (inputMethod_ != nullptr) {
            native->inputContext =
                XCreateIC(inputMethod_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
                          XNClientWindow, native->id, XNFocusWindow, native->id, nullptr);
        }
        windows_[native->id] = window.handle;
        window.native = native.release();
        TitleChanged(window);
        XFlush(display_);
    }

    void WindowDestroyed(Window& window) override {
        NativeWindow* native = NativeOf(window);
        if (native == nullptr) {
            return;
        }
        if (native->inputContext != nullptr) {
            XDestroyIC(native->inputContext);
        }
        XFreeGC(display_, native->gc);
        XDestroyWindow(display_, native->id);
        windows_.erase(native->id);
        delete native;
        window.native = nullptr;
        XFlush(display_);
    }

    void WindowShown(Window& window) override {
        NativeWindow* native = NativeOf(window);
        if (native == nullptr) {
            return;
        }
        if (!window.IsVisible()) {
            XUnmapWindow(display_, native->id);
            native->mapped = false;
        } else if ((window.style & WS_MINIMIZE) != 0) {
            XIconifyWindow(display_, native->id, screen_);
        } else {
            XMapRaised(display_, native->id);
            XMoveWindow(display_, native->id, window.rect.left, window.rect.top);
        }
        XFlush(display_);
    }

    void WindowPlaced(Window& window) override {
        NativeWindow* native = NativeOf(window);
        if (native == nullptr) {
            return;
        }
        XMoveResizeWindow(display_, native->id, window.rect.left, window.rect.top,
                          static_cast<unsigned>(std::max(window.Width(), 1)),
                          static_cast<unsigned>(std::max(window.Height(), 1)));
        XFlush(display_);
    }

    void StackingChanged() override {
        std::vector<HWND> stacking;
        {
            std::lock_guard lock(Core::Get().mutex);
            stacking = Core::Get().stacking;
        }
        std::vector<::Window> order;
        for (HWND handle : stacking) {
            Window* window = Find(handle);
            if (window != nullptr && NativeOf(*window) != nullptr && window->IsVisible()) {
                order.push_back(NativeOf(*window)->id);
            }
        }
        if (!order.empty()) {
            XRaiseWindow(display_, order.front());
            XRestackWindows(display_, order.data(), static_cast<int>(order.size()));
            XFlush(display_);
        }
    }

    void RegionChanged(Window& window) override {
        NativeWindow* native = NativeOf(window);
        if (native == nullptr || !hasShape_) {
            return;
        }
        if (window.region == nullptr) {
            XShapeCombineMask(display_, native->id, ShapeBounding, 0, 0, None, ShapeSet);
        } else {
            std::vector<XRectangle> rects;
            for (const RECT& r : painting::VisibleRects(window)) {
                rects.push_back(XRectangle{static_cast<short>(r.left), static_cast<short>(r.top),
                                           static_cast<unsigned short>(r.right - r.left),
                                           static_cast<unsigned short>(r.bottom - r.top)});
            }
            XShapeCombineRectangles(display_, native->id, ShapeBounding, 0, 0, rects.data(),
                                    static_cast<int>(rects.size()), ShapeSet, Unsorted);
        }
        XFlush(display_);
    }

    void TitleChanged(Window& window) override {
        NativeWindow* native = NativeOf(window);
        if (native == nullptr) {
            return;
        }
        std::string title = ToUtf8(window.text);
        XChangeProperty(display_, native->id, Intern("_NET_WM_NAME"), Intern("UTF8_STRING"), 8,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()),
                        static_cast<int>(title.size()));
        XStoreName(display_, native->id, title.c_str());
        XFlush(display_);
    }

    void IconChanged(Window& window) override {
        NativeWindow* native = NativeOf(window);
        if (native == nullptr) {
            return;
        }
        // _NET_WM_ICON: width, height, then straight (not premultiplied) ARGB, one per long.
        std::vector<long> data;
        for (HICON icon : {window.bigIcon, window.smallIcon}) {
            if (icon == nullptr || IsSystemCursor(icon)) {
                continue;
            }
            data.push_back(icon->width);
            data.push_back(icon->height);
            for (DWORD pixel : icon->pixels) {
                DWORD alpha = pixel >> 24;
                DWORD straight = pixel;
                if (alpha != 0 && alpha != 255) {
                    straight = alpha << 24;
                    for (int shift = 0; shift < 24; shift += 8) {
                        DWORD channel = ((pixel >> shift) & 0xFF) * 255 / alpha;
                        straight |= std::min<DWORD>(channel, 255) << shift;
                    }
                }
                data.push_back(static_cast<long>(straight));
            }
        }
        XChangeProperty(display_, native->id, Intern("_NET_WM_ICON"), XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<unsigned char*>(data.data()),
                        static_cast<int>(data.size()));
        XFlush(display_);
    }

    void Present(Window& window, const RECT& area) override {
        NativeWindow* native = NativeOf(window);
        if (native == nullptr || window.pixels.empty() || area.right <= area.left ||
            area.bottom <= area.top) {
            return;
        }
        XImage* image = XCreateImage(
            display_, native->visual, static_cast<unsigned>(native->depth), ZPixmap, 0,
            reinterpret_cast<char*>(window.pixels.data()), static_cast<unsigned>(window.pixelWidth),
            static_cast<unsigned>(window.pixelHeight), 32, window.pixelWidth * 4);
        if (image == nullptr) {
            return;
        }
        image->byte_order = LSBFirst;
        XPutImage(display_, native->id, native->gc, image, area.left, area.top, area.left, area.top,
                  static_cast<unsigned>(area.right - area.left),
                  static_cast<unsigned>(area.bottom - area.top));
        image->data = nullptr;  // the window's pixels stay the core's
        XDestroyImage(image);
        if (window.hasConstantAlpha && !window.layeredContent) {
            unsigned long opacity = 0x01010101ul * window.constantAlpha;
            XChangeProperty(display_, native->id, Intern("_NET_WM_WINDOW_OPACITY"), XA_CARDINAL, 32,
                            PropModeReplace, reinterpret_cast<unsigned char*>(&opacity), 1);
        }
        XFlush(display_);
    }

    void Activated(Window& window) override {
        NativeWindow* native = NativeOf(window);
        if (native == nullptr) {
            return;
        }
        XRaiseWindow(display_, native->id);
        if (native->mapped) {
            XSetInputFocus(display_, native->id, RevertToParent, CurrentTime);
        }
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = native->id;
        event.xclient.message_type = Intern("_NET_ACTIVE_WINDOW");
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1;
        XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &event);
        XFlush(display_);
    }

    void SetCursorShape(CursorShape shape) override {
        unsigned int font = XC_left_ptr;
        switch (shape) {
            case CursorShape::Hand:
                font = XC_hand2;
                break;
            case CursorShape::IBeam:
                font = XC_xterm;
                break;
            case CursorShape::Wait:
                font = XC_watch;
                break;
            case CursorShape::SizeAll:
                font = XC_fleur;
                break;
            case CursorShape::SizeWE:
                font = XC_sb_h_double_arrow;
                break;
            case CursorShape::SizeNS:
                font = XC_sb_v_double_arrow;
                break;
            case CursorShape::SizeNWSE:
                font = XC_bottom_right_corner;
                break;
            case CursorShape::SizeNESW:
                font = XC_bottom_left_corner;
                break;
            case CursorShape::Arrow:
                break;
        }
        auto [it, inserted] = cursors_.emplace(font, 0);
        if (inserted) {
            it->second = XCreateFontCursor(display_, font);
        }
        if (pointerWindow_ != 0) {
            XDefineCursor(display_, pointerWindow_, it->second);
            XFlush(display_);
        }
    }

    void GrabPointer(bool grab) override {
        if (grab && pointerWindow_ != 0) {
            XGrabPointer(display_, pointerWindow_, False,
                         ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                         GrabModeAsync, None, None, CurrentTime);
        } else if (!grab) {
            XUngrabPointer(display_, CurrentTime);
        }
        XFlush(display_);
    }

    bool CaptureScreen(std::vector<DWORD>* pixels, int* width, int* height) override {
        RECT screen = ScreenRect();
        *width = screen.right;
        *height = screen.bottom;
        XImage* image = XGetImage(display_, root_, 0, 0, static_cast<unsigned>(*width),
                                  static_cast<unsigned>(*height), AllPlanes, ZPixmap);
        if (image == nullptr) {
            return false;
        }
        pixels->resize(static_cast<std::size_t>(*width) * *height);
        for (int y = 0; y < *height; ++y) {
            for (int x = 0; x < *width; ++x) {
                (*pixels)[static_cast<std::size_t>(y) * *width + x] =
                    0xFF000000 | static_cast<DWORD>(XGetPixel(image, x, y) & 0xFFFFFF);
            }
        }
        XDestroyImage(image);
        return true;
    }

    std::wstring ClipboardText() override {
        if (XGetSelectionOwner(display_, Intern("CLIPBOARD")) == clipboardWindow_) {
            return clipboard_;
        }
        if (CurrentThreadId() != displayThread_) {
            return L"";
        }
        ::Atom property = Intern("QUILLON_CLIPBOARD");
        XConvertSelection(display_, Intern("CLIPBOARD"), Intern("UTF8_STRING"), property,
                          clipboardWindow_, CurrentTime);
        XFlush(display_);
        // The owner answers with SelectionNotify; other events meanwhile take their usual way.
        auto giveUp = Clock::now() + std::chrono::seconds(2);
        while (Clock::now() < giveUp) {
            XEvent event;
            if (XCheckTypedWindowEvent(display_, clipboardWindow_, SelectionNotify, &event)) {
                return ReadClipboardProperty(event.xselection.property);
            }
            pollfd connection{ConnectionNumber(display_), POLLIN, 0};
            poll(&connection, 1, 20);
            Pump();
        }
        return L"";
    }

    void SetClipboardText(const std::wstring& text) override {
        clipboard_ = text;
        XSetSelectionOwner(display_, Intern("CLIPBOARD"), clipboardWindow_, CurrentTime);
        XFlush(display_);
    }

    void Pump() override {
        if (CurrentThreadId() != displayThread_) {
            return;
        }
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (XFilterEvent(&event, None)) {
                continue;
            }
            Handle(event);
        }
    }

    void Wait(ThreadQueue& queue, int timeoutMs) override {
        if (CurrentThreadId() != displayThread_) {
            pollfd wake{queue.WakeDescriptor(), POLLIN, 0};
            poll(&wake, 1, timeoutMs);
            return;
        }
        XFlush(display_);
        if (XEventsQueued(display_, QueuedAlready) > 0) {
            Pump();
            return;
        }
        pollfd descriptors[2] = {{queue.WakeDescriptor(), POLLIN, 0},
                                 {ConnectionNumber(display_), POLLIN, 0}};
        poll(descriptors, 2, timeoutMs);
        Pump();
    }

  private:
    ::Atom Intern(const char* name) {
        auto it = atoms_.find(name);
        if (it != atoms_.end()) {
            return it->second;
        }
        ::Atom atom = XInternAtom(display_, name, False);
        atoms_.emplace(name, atom);
        return atom;
    }

    Window* WindowOf(::Window id) {
        auto it = windows_.find(id);
        return it == windows_.end() ? nullptr : Find(it->second);
    }

    std::wstring ReadClipboardProperty(::Atom property) {
        if (property == None) {
            return L"";
        }
        ::Atom type;
        int format;
        unsigned long count;
        unsigned long after;
        unsigned char* data = nullptr;
        std::wstring text;
        if (XGetWindowProperty(display_, clipboardWindow_, property, 0, 1 << 20, True,
                               AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
            data != nullptr && format == 8) {
            text = FromUtf8(reinterpret_cast<char*>(data), static_cast<int>(count));
        }
        if (data != nullptr) {
            XFree(data);
        }
        return text;
    }

    void AnswerSelectionRequest(const XSelectionRequestEvent& request) {
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = request.requestor;
        reply.xselection.selection = request.selection;
        reply.xselection.target = request.target;
        reply.xselection.time = request.time;
        reply.xselection.property = None;
        if (request.target == Intern("TARGETS")) {
            ::Atom targets[2] = {Intern("UTF8_STRING"), XA_STRING};
            XChangeProperty(display_, request.requestor, request.property, XA_ATOM, 32,
                            PropModeReplace, reinterpret_cast<unsigned char*>(targets), 2);
            reply.xselection.property = request.property;
        } else if (request.target == Intern("UTF8_STRING") || request.target == XA_STRING) {
            std::string text = ToUtf8(clipboard_);
            XChangeProperty(display_, request.requestor, request.property, request.target, 8,
                            PropModeReplace, reinterpret_cast<const unsigned char*>(text.data()),
                            static_cast<int>(text.size()));
            reply.xselection.property = request.property;
        }
        XSendEvent(display_, request.requestor, False, 0, &reply);
        XFlush(display_);
    }

    void Key(XKeyEvent& key, bool down) {
        Window* window = WindowOf(key.window);
        NativeWindow* native = window != nullptr ? NativeOf(*window) : nullptr;
        KeySym symbol = NoSymbol;
        char buffer[64];
        int length = 0;
        if (down && native != nullptr && native->inputContext != nullptr) {
            Status status;
            length = Xutf8LookupString(native->inputContext, &key, buffer, sizeof buffer - 1,
                                       &symbol, &status);
            if (status != XLookupChars && status != XLookupBoth) {
                length = 0;
            }
            if (status == XLookupChars) {
                input::TextCommitted(FromUtf8(buffer, length));
                return;
            }
        } else {
            length = XLookupString(&key, buffer, sizeof buffer - 1, &symbol, nullptr);
            if (!down) {
                length = 0;
            }
        }
        int virtualKey = VirtualKeyOf(XLookupKeysym(&key, 0));
        std::wstring text = FromUtf8(buffer, std::max(length, 0));
        if (virtualKey == 0) {
            if (down && !text.empty()) {
                input::TextCommitted(text);
            }
            return;
        }
        wchar_t character = text.size() == 1 && text[0] >= 0x20 && text[0] != 0x7F ? text[0] : 0;
        input::KeyChanged(virtualKey, down, character);
    }

    void Handle(XEvent& event) {
        switch (event.type) {
            case Expose: {
                Window* window = WindowOf(event.xexpose.window);
                if (window != nullptr) {
                    Present(*window, RECT{event.xexpose.x, event.xexpose.y,
                                          event.xexpose.x + event.xexpose.width,
                                          event.xexpose.y + event.xexpose.height});
                }
                break;
            }
            case MapNotify: {
                Window* window = WindowOf(event.xmap.window);
                if (window != nullptr) {
                    NativeOf(*window)->mapped = true;
                    if (Core::Get().active.load() == window->handle) {
                        XSetInputFocus(display_, NativeOf(*window)->id, RevertToParent,
                                       CurrentTime);
                    }
                }
                break;
            }
            case UnmapNotify: {
                Window* window = WindowOf(event.xunmap.window);
                if (window != nullptr) {
                    NativeOf(*window)->mapped = false;
                }
                break;
            }
            case ConfigureNotify: {
                // Only a window manager's own (synthetic, in root coordinates) notices tell of
                // moves the core did not ask for; the server's echo our own requests, late.
                Window* window = WindowOf(event.xconfigure.window);
                if (window == nullptr || !event.xconfigure.send_event || input::MovingOrSizing()) {
                    break;
                }
                if (event.xconfigure.x != window->rect.left ||
                    event.xconfigure.y != window->rect.top) {
                    SetWindowPos(window->handle, nullptr, event.xconfigure.x, event.xconfigure.y, 0,
                                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                }
                break;
            }
            case MotionNotify: {
                while (
                    XCheckTypedWindowEvent(display_, event.xmotion.window, MotionNotify, &event)) {
                }
                pointerWindow_ = event.xmotion.window;
                input::PointerMoved(POINT{event.xmotion.x_root, event.xmotion.y_root});
                break;
            }
            case LeaveNotify:
                if (event.xcrossing.mode == NotifyNormal) {
                    input::PointerMoved(POINT{event.xcrossing.x_root, event.xcrossing.y_root});
                }
                break;
            case ButtonPress:
            case ButtonRelease: {
                bool down = event.type == ButtonPress;
                pointerWindow_ = event.xbutton.window;
                POINT at{event.xbutton.x_root, event.xbutton.y_root};
                unsigned button = event.xbutton.button;
                if (button == Button4 || button == Button5) {
                    if (down) {
                        input::WheelTurned(button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA, at);
                    }
                } else if (button <= Button3) {
                    int virtualKey = button == Button1   ? VK_LBUTTON
                                     : button == Button2 ? VK_MBUTTON
                                                         : VK_RBUTTON;
                    input::PointerMoved(at);
                    input::ButtonChanged(virtualKey, down, at);
                }
                break;
            }
            case KeyPress:
            case KeyRelease:
                Key(event.xkey, event.type == KeyPress);
                break;
            case FocusIn: {
                Window* window = WindowOf(event.xfocus.window);
                NativeWindow* native = window != nullptr ? NativeOf(*window) : nullptr;
                if (native != nullptr && native->inputContext != nullptr) {
                    XSetICFocus(native->inputContext);
                }
                if (window != nullptr && Core::Get().active.load() != window->handle &&
                    event.xfocus.mode == NotifyNormal && IsWindowEnabled(window->handle)) {
                    ActivateWindow(window->handle, WA_ACTIVE);
                }
                break;
            }
            case ClientMessage:
                if (static_cast<::Atom>(event.xclient.data.l[0]) == Intern("WM_DELETE_WINDOW")) {
                    if (Window* window = WindowOf(event.xclient.window)) {
                        PostMessageW(window->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
                    }
                }
                break;
            case SelectionRequest:
                AnswerSelectionRequest(event.xselectionrequest);
                break;
            default:
                break;
        }
    }

    ::Display* display_;
    int screen_ = 0;
    ::Window root_ = 0;
    DWORD displayThread_ = 0;  // the only thread that reads the connection
    bool hasShape_ = false;
    Visual* argbVisual_ = nullptr;
    Colormap argbColormap_ = 0;
    XIM inputMethod_ = nullptr;
    ::Window clipboardWindow_ = 0;
    // The display thread's own.
    std::wstring clipboard_;
    ::Window pointerWindow_ = 0;
    std::map<std::string, ::Atom> atoms_;
    std::map<::Window, HWND> windows_;
    std::map<unsigned int, Cursor> cursors_;
};

}  // namespace

std::unique_ptr<DisplayBackend> CreateX11Display() {
    XInitThreads();
    ::Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return nullptr;
    }
    return std::make_unique<X11Display>(display);
}

}  // namespace win32::core
