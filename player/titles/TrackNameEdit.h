#pragma once

#include "Window.h"

// The title editor's field for the selected track's name. Up, Down, Page Up
// and Page Down go to the track list, so the names of a whole disc can be
// typed one after the other without leaving the field.
class TrackNameEdit : public Window {
public:
    ~TrackNameEdit() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND trackList = nullptr;
};
