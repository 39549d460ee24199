// A small program on the framework whose exit code tests read.
#include "Application.h"

#include <string.h>

namespace {

class ProbeApp : public Application {
public:
    BOOL InitInstance() override
    {
        if (strstr(commandLine, " refuse"))
            return FALSE;
        if (strstr(commandLine, " quit2"))
            PostQuitMessage(2);
        if (strstr(commandLine, " length"))
            PostQuitMessage(static_cast<int>(strlen(commandLine)));
        return TRUE;
    }
    int ExitInstance(int code) override { return strstr(commandLine, " refuse") ? 77 : code; }
};

ProbeApp probe;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR, int showCommand)
{
    probe.Init(instance, prevInstance, showCommand);
    return probe.Main();
}
