#pragma once

// The titles of one disc as they are kept in "cdplayer.ini": what the title
// editor edits and writes, and what a disc database lookup answers. The texts
// are Shift_JIS and whole: far larger than what the menus show, so that a long
// name is written as it came and only cut where it is shown.
struct DiscTitles {
    static const int MaxTracks = 99;
    static const int TextCapacity = 1024;

    char title[TextCapacity];
    char artist[TextCapacity];
    int trackCount;  // tracks[0] to tracks[trackCount - 1] hold names
    char tracks[MaxTracks][TextCapacity];
};

// Which texts of a DiscTitles to write: the title, the artist, and the name
// of track i + 1 at tracks[i].
struct DiscTitleFields {
    bool title;
    bool artist;
    bool tracks[DiscTitles::MaxTracks];
};
