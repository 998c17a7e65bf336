// The display's answers to GetSystemMetrics.
#pragma once

namespace win32::core {

// The metric, or 0 for one the display does not know.
int DisplayMetric(int index);

}  // namespace win32::core
