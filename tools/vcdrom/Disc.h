#pragma once

#include <string>
#include <vector>

// Table of contents of a simulated disc. Addresses are absolute frames
// (75 a second) from the start of the disc; track 1 starts after the
// two-second lead-in.
class Disc {
public:
    static const int kFramesPerSecond = 75;
    static const int kLeadIn = 2 * kFramesPerSecond;

    // Track lengths "m:s.f" (or "m:s") separated by blanks, "data/" before a
    // data track. Unreadable entries are skipped; false when none is left.
    bool Parse(const std::string& tracks);

    int TrackCount() const { return static_cast<int>(audio.size()); }
    bool HasTrack(int track) const { return track >= 1 && track <= TrackCount(); }
    int TrackStart(int track) const { return starts[track - 1]; }
    int TrackLength(int track) const { return starts[track] - starts[track - 1]; }
    bool IsAudio(int track) const { return audio[track - 1]; }
    int LeadOut() const { return starts.empty() ? kLeadIn : starts.back(); }
    // The track holding the frame; the last track for the lead-out itself.
    int TrackAt(int frame) const;

    // The number the platform's CD audio driver derives from the table of
    // contents, so discs keep their entries in an existing "cdplayer.ini".
    unsigned long Identity() const;

private:
    std::vector<int> starts; // one entry per track, then the lead-out
    std::vector<bool> audio;
};
