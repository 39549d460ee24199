#pragma once

#include "CdAudioDevice.h"
#include "DiscTitleStore.h"
#include "Settings.h"
#include "SstpSender.h"

// Tells a desktop-mascot program over SSTP which disc and track started.
class SstpNotifier {
public:
    SstpNotifier(const Settings& settings, CdAudioDevice& device, const DiscTitleStore& discDatabase);

    // Makes the request for the track that plays now and hands it to the
    // sending thread; false when the settings or the presence check skip it.
    bool Notify();

    DWORD connectTimeoutMs;
    SstpSender sender;

private:
    const Settings& settings;
    CdAudioDevice& device;
    const DiscTitleStore& discDatabase;
};
