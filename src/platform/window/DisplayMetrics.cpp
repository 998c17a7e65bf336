#include "platform/window/DisplayMetrics.h"

#include "platform/window/DisplayBackend.h"

namespace win32::core {

int DisplayMetric(int index) {
    RECT screen = Display().ScreenRect();
    RECT work = Display().WorkArea();
    switch (index) {
        case SM_CXSCREEN:
        case SM_CXVIRTUALSCREEN:
            return screen.right - screen.left;
        case SM_CYSCREEN:
        case SM_CYVIRTUALSCREEN:
            return screen.bottom - screen.top;
        case SM_CXFULLSCREEN:
        case SM_CXMAXIMIZED:
            return work.right - work.left;
        case SM_CYFULLSCREEN:
        case SM_CYMAXIMIZED:
            return work.bottom - work.top;
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXCURSOR:
        case SM_CYCURSOR:
            return 32;
        case SM_CXSMICON:
        case SM_CYSMICON:
            return 16;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return 4;
        case SM_MOUSEPRESENT:
        case SM_CMONITORS:
            return 1;
        default:
            return 0;
    }
}

}  // namespace win32::core
