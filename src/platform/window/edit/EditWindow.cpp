#include "platform/Edit.h"
#include "platform/Messages.h"
#include "platform/window/WindowInternals.h"

namespace win32::core {

void RegisterSystemClasses() {
    WNDCLASSEXW edit{};
    edit.cbSize = sizeof edit;
    edit.lpfnWndProc = DefWindowProcW;
    edit.lpszClassName = WC_EDITW;
    RegisterClassExW(&edit);
}

}  // namespace win32::core
