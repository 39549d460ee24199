#pragma once

#include <windows.h>

// The headers of Windows XP, which the build targets, know none of these.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

// The scale of the display in dots per inch, and sizes in pixels at a scale.
// Each Windows is asked what it knows: Windows 10 the scale of a window,
// Windows 8.1 that of a monitor, older ones that of the screen. Functions
// that Windows XP lacks are looked up when asked for, never imported.
class DisplayScale {
public:
    static const UINT Standard = 96;  // 100 %

    static UINT OfSystem();
    static UINT OfWindow(HWND window);
    // The scale of the monitor that holds the point (or is nearest to it).
    static UINT AtPoint(POINT point);

    // pixels at 96 dpi, at the given scale.
    static int Scale(int pixels, UINT dpi);
    // GetSystemMetrics at the given scale.
    static int Metric(int index, UINT dpi);
    // An icon resource at the given size, drawn from the image of that size
    // or scaled down from a larger one. The caller destroys it.
    static HICON LoadIcon(HINSTANCE instance, UINT id, int size);
};
