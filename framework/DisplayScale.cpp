#include "DisplayScale.h"

namespace {

const int MonitorEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

typedef UINT(WINAPI* DpiForWindowFunction)(HWND);
typedef HRESULT(WINAPI* DpiForMonitorFunction)(HMONITOR, int, UINT*, UINT*);
typedef int(WINAPI* MetricForDpiFunction)(int, UINT);
typedef HRESULT(WINAPI* ScaleDownFunction)(HINSTANCE, PCWSTR, int, int, HICON*);

// A function of a library that is already in the process, or null.
template <typename Function>
Function Lookup(const char* library, const char* name)
{
    HMODULE module = GetModuleHandleA(library);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Windows 8.1 and later; looked for once, when first asked for.
DpiForMonitorFunction MonitorScaleFunction()
{
    static bool searched = false;
    static HMODULE shellScaling = nullptr;
    if (!searched)
        shellScaling = LoadLibraryA("shcore.dll");
    searched = true;
    return shellScaling ? reinterpret_cast<DpiForMonitorFunction>(
                              reinterpret_cast<void*>(GetProcAddress(shellScaling, "GetDpiForMonitor")))
                        : nullptr;
}

UINT OfMonitor(HMONITOR monitor)
{
    DpiForMonitorFunction dpiForMonitor = monitor ? MonitorScaleFunction() : nullptr;
    UINT x = 0, y = 0;
    if (dpiForMonitor && SUCCEEDED(dpiForMonitor(monitor, MonitorEffectiveDpi, &x, &y)) && x)
        return x;
    return DisplayScale::OfSystem();
}

}  // namespace

UINT DisplayScale::OfSystem()
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : Standard;
}

UINT DisplayScale::OfWindow(HWND window)
{
    DpiForWindowFunction dpiForWindow = Lookup<DpiForWindowFunction>("user32.dll", "GetDpiForWindow");
    UINT dpi = dpiForWindow && window ? dpiForWindow(window) : 0;
    return dpi ? dpi : OfMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));
}

UINT DisplayScale::AtPoint(POINT point)
{
    return OfMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST));
}

int DisplayScale::Scale(int pixels, UINT dpi)
{
    return MulDiv(pixels, static_cast<int>(dpi), Standard);
}

int DisplayScale::Metric(int index, UINT dpi)
{
    MetricForDpiFunction metricForDpi = Lookup<MetricForDpiFunction>("user32.dll", "GetSystemMetricsForDpi");
    if (metricForDpi)
        return metricForDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(OfSystem()));
}

HICON DisplayScale::LoadIcon(HINSTANCE instance, UINT id, int size)
{
    // Only where the common controls are loaded anyway: loading them costs
    // more than the rest of the player's start.
    ScaleDownFunction scaleDown = Lookup<ScaleDownFunction>("comctl32.dll", "LoadIconWithScaleDown");
    HICON icon = nullptr;
    if (scaleDown && SUCCEEDED(scaleDown(instance, MAKEINTRESOURCEW(id), size, size, &icon)) && icon)
        return icon;
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
