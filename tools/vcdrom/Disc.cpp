#include "Disc.h"

#include <stdlib.h>
#include <string.h>

namespace {

// "m:s.f" or "m:s" to frames; -1 when the text is not a length.
int ParseLength(const char* text)
{
    char* end = nullptr;
    long minutes = strtol(text, &end, 10);
    if (end == text || *end != ':' || minutes < 0)
        return -1;
    const char* at = end + 1;
    long seconds = strtol(at, &end, 10);
    if (end == at || seconds < 0 || seconds > 59)
        return -1;
    long frames = 0;
    if (*end == '.') {
        at = end + 1;
        frames = strtol(at, &end, 10);
        if (end == at || frames < 0 || frames >= Disc::kFramesPerSecond)
            return -1;
    }
    if (*end != '\0' || minutes > 99)
        return -1;
    return static_cast<int>((minutes * 60 + seconds) * Disc::kFramesPerSecond + frames);
}

} // namespace

bool Disc::Parse(const std::string& tracks)
{
    starts.assign(1, kLeadIn);
    audio.clear();
    size_t at = 0;
    while (at < tracks.size() && audio.size() < 99) {
        size_t end = tracks.find_first_of(" \t", at);
        if (end == std::string::npos)
            end = tracks.size();
        std::string entry = tracks.substr(at, end - at);
        at = end + 1;
        if (entry.empty())
            continue;
        bool isData = _strnicmp(entry.c_str(), "data/", 5) == 0;
        int length = ParseLength(entry.c_str() + (isData ? 5 : 0));
        if (length <= 0)
            continue;
        audio.push_back(!isData);
        starts.push_back(starts.back() + length);
    }
    if (audio.empty())
        starts.clear();
    return !audio.empty();
}

int Disc::TrackAt(int frame) const
{
    for (int track = TrackCount(); track > 1; track--) {
        if (frame >= TrackStart(track))
            return track;
    }
    return 1;
}

unsigned long Disc::Identity() const
{
    unsigned long sum = 0;
    for (int track = 1; track <= TrackCount(); track++) {
        int start = TrackStart(track);
        unsigned long minutes = start / (60 * kFramesPerSecond);
        unsigned long seconds = start / kFramesPerSecond % 60;
        unsigned long frames = start % kFramesPerSecond;
        sum += (minutes << 16) | (seconds << 8) | frames;
    }
    if (TrackCount() > 0 && TrackCount() < 3)
        sum += TrackStart(1) % kFramesPerSecond + (LeadOut() - TrackStart(1));
    return sum & 0xFFFFFFFFul;
}
