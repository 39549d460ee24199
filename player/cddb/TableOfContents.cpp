#include "TableOfContents.h"

#include "Text.h"

namespace {

long MsfToFrames(long msf)
{
    DWORD value = static_cast<DWORD>(msf);
    return (static_cast<long>(MsfMinutes(value)) * 60 + MsfSeconds(value)) * TableOfContents::FramesPerSecond +
           MsfFrames(value);
}

int DigitSum(long number)
{
    int sum = 0;
    for (; number > 0; number /= 10)
        sum += static_cast<int>(number % 10);
    return sum;
}

}  // namespace

bool ReadTableOfContents(CdAudioDevice& device, TableOfContents& toc)
{
    toc.trackCount = 0;
    int count = device.GetTrackCount();
    if (count < 1 || count > TableOfContents::MaxTracks)
        return false;
    for (int track = 1; track <= count; ++track) {
        long start = device.GetTrackStart(track);
        if (start < 0)
            return false;
        toc.trackStarts[track - 1] = MsfToFrames(start);
    }
    long lastLength = device.GetTrackLength(count);
    if (lastLength < 0)
        return false;
    toc.trackCount = count;
    toc.leadOut = toc.trackStarts[count - 1] + MsfToFrames(lastLength) + 1;
    return IsPlausible(toc);
}

bool IsPlausible(const TableOfContents& toc)
{
    if (toc.trackCount < 1 || toc.trackCount > TableOfContents::MaxTracks || toc.trackStarts[0] < 0)
        return false;
    for (int i = 1; i < toc.trackCount; ++i) {
        if (toc.trackStarts[i] <= toc.trackStarts[i - 1])
            return false;
    }
    return toc.leadOut > toc.trackStarts[toc.trackCount - 1];
}

unsigned long CddbDiscId(const TableOfContents& toc)
{
    const long second = TableOfContents::FramesPerSecond;
    int sum = 0;
    for (int i = 0; i < toc.trackCount; ++i)
        sum += DigitSum(toc.trackStarts[i] / second);
    unsigned long playingTime = static_cast<unsigned long>(toc.leadOut / second - toc.trackStarts[0] / second);
    return static_cast<unsigned long>(sum % 255) << 24 | (playingTime & 0xFFFF) << 8 |
           static_cast<unsigned long>(toc.trackCount & 0xFF);
}

void FormatCddbQuery(const TableOfContents& toc, char* text, size_t capacity)
{
    FormatText(text, capacity, "cddb query %08lx %d", CddbDiscId(toc), toc.trackCount);
    char number[16];
    for (int i = 0; i < toc.trackCount; ++i) {
        FormatText(number, sizeof number, " %ld", toc.trackStarts[i]);
        AppendText(text, capacity, number);
    }
    FormatText(number, sizeof number, " %ld", toc.leadOut / TableOfContents::FramesPerSecond);
    AppendText(text, capacity, number);
}
