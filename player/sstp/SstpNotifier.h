#pragma once

#include "CdAudioDevice.h"
#include "DiscTitleStore.h"
#include "Settings.h"

// Tells a desktop-mascot program over SSTP which disc and track started.
class SstpNotifier {
public:
    SstpNotifier(const Settings& settings, CdAudioDevice& device, const DiscTitleStore& discDatabase);

    // 1 when the request was sent or skipped by the settings or the presence
    // check; 0 when the connection failed.
    int Notify();

private:
    const Settings& settings;
    CdAudioDevice& device;
    const DiscTitleStore& discDatabase;
};
