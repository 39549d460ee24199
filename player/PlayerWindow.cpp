#include "PlayerWindow.h"

#include "PlayerApplication.h"

PlayerWindow::PlayerWindow(PlayerApplication& owner) : app(owner) {}

PlayerWindow::~PlayerWindow() {}

LRESULT PlayerWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefaultProc(message, wParam, lParam);
}
