#include "PlayerApplication.h"

static PlayerApplication player;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR, int showCommand)
{
    player.Init(instance, prevInstance, showCommand);
    return player.Main();
}
