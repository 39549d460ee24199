// A small program on the framework; its exit code is the length of the
// command line its application kept.
#include "Application.h"

#include <string.h>

class ProbeApp : public Application {
public:
    BOOL InitInstance() override { return PostQuitMessage(static_cast<int>(strlen(commandLine))), TRUE; }
};

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR, int showCommand)
{
    ProbeApp probe;
    probe.Init(instance, prevInstance, showCommand);
    return probe.Main();
}
