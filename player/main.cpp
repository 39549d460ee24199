#include "PlayerApplication.h"

static PlayerApplication player;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR, int showCommand)
{
    player.Init(instance, prevInstance, showCommand);
    // Decided before the player shows anything: a switch for a running
    // player, or the usage box, ends this process here.
    player.startSwitch.Parse(GetCommandLineA());
    int exitCode = 0;
    if (player.startSwitch.EndsHere(&exitCode))
        return exitCode;
    return player.Main();
}
