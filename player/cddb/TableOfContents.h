#pragma once

#include "CdAudioDevice.h"

#include <stddef.h>

// A disc's table of contents as the disc database knows it: where each track
// starts and where the lead-out lies, in frames (75 a second) from the start
// of the disc, the 2-second lead-in included.
struct TableOfContents {
    static constexpr int MaxTracks = 99;
    static constexpr long FramesPerSecond = 75;

    int trackCount;
    long trackStarts[MaxTracks];
    long leadOut;
};

// Reads the table of every track, audio and data, from the device. MCI
// drivers give the last track one frame short of the lead-out; the frame is
// added back. False when the device cannot tell or answers nonsense.
bool ReadTableOfContents(CdAudioDevice& device, TableOfContents& toc);

// Starts rising track by track and the lead-out after the last.
bool IsPlausible(const TableOfContents& toc);

// The disc database's disc ID: the digit sums of the starts in whole seconds
// modulo 255, the playing time in seconds and the track count.
unsigned long CddbDiscId(const TableOfContents& toc);

// "cddb query <disc ID> <tracks> <start frames> ... <disc seconds>", the
// words of a query, separated by single spaces.
void FormatCddbQuery(const TableOfContents& toc, char* text, size_t capacity);
