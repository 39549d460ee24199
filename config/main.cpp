#include "ConfigApp.h"

static ConfigApp configApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR, int showCommand)
{
    configApp.Init(instance, prevInstance, showCommand);
    return configApp.Main();
}
