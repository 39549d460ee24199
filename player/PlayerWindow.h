#pragma once

#include "Window.h"

class PlayerApplication;

// The player's hidden main window: every message of the player arrives here
// and is routed to the application's parts.
class PlayerWindow : public Window {
public:
    explicit PlayerWindow(PlayerApplication& owner);
    ~PlayerWindow() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    PlayerApplication& app;
};
