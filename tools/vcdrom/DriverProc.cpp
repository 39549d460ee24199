// Entry point of vcdaudio.dll, the installable MCI driver of the virtual CD
// drive. winmm opens one instance for the module (no parameters) and one per
// opened device; a device instance's id is its CdDevice.

#include "CdDevice.h"
#include "DriveBay.h"

#include <windows.h>
#include <mmsystem.h>
#include <mmddk.h>

namespace {

const DWORD_PTR kModuleInstance = 0xFFFFFFFF;

LRESULT OpenInstance(LPARAM parms)
{
    if (!parms)
        return kModuleInstance;
    MCI_OPEN_DRIVER_PARMS* open = reinterpret_cast<MCI_OPEN_DRIVER_PARMS*>(parms);
    CdDevice* device = new CdDevice(open->wDeviceID);
    open->wCustomCommandTable = MCI_NO_COMMAND_TABLE;
    open->wType = MCI_DEVTYPE_CD_AUDIO;
    return reinterpret_cast<LRESULT>(device);
}

LRESULT CloseInstance(DWORD_PTR instance)
{
    if (instance && instance != kModuleInstance)
        delete reinterpret_cast<CdDevice*>(instance);
    return 1;
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK DriverProc(DWORD_PTR instance, HDRVR driver, UINT message,
                                                            LPARAM param1, LPARAM param2)
{
    switch (message) {
    case DRV_LOAD:
    case DRV_ENABLE:
    case DRV_DISABLE:
        return 1;
    case DRV_FREE:
        // The module is about to go: the timer thread runs its code.
        bay.Shutdown();
        return 1;
    case DRV_OPEN:
        return OpenInstance(param2);
    case DRV_CLOSE:
        return CloseInstance(instance);
    case DRV_QUERYCONFIGURE:
        return 0;
    case DRV_INSTALL:
    case DRV_REMOVE:
        return DRVCNF_OK;
    default:
        break;
    }
    if (message < DRV_MCI_FIRST || message > DRV_MCI_LAST)
        return DefDriverProc(instance, driver, message, param1, param2);
    if (!instance || instance == kModuleInstance)
        return MCIERR_UNSUPPORTED_FUNCTION;
    CdDevice* device = reinterpret_cast<CdDevice*>(instance);
    DWORD flags = static_cast<DWORD>(param1);
    switch (message) {
    case MCI_OPEN_DRIVER:
        return device->Open(flags, reinterpret_cast<MCI_OPEN_PARMSW*>(param2));
    case MCI_CLOSE_DRIVER:
        return device->Close(flags);
    case MCI_OPEN:
    case MCI_CLOSE:
        // winmm sends these as MCI_OPEN_DRIVER and MCI_CLOSE_DRIVER.
        return MCIERR_UNRECOGNIZED_COMMAND;
    default:
        return device->Command(message, flags, static_cast<DWORD_PTR>(param2));
    }
}
