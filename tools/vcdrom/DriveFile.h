#pragma once

#include <string>

// The text of the virtual drive's state file (profile format), edited in
// memory. The driver and the test helper both read and rewrite it; a save
// replaces the file in one rename, so a reader in another process never sees
// half a file.
class DriveFile {
public:
    // Reads the whole file; false (and an empty text) when it cannot be read.
    bool Load(const std::string& path);
    bool Save(const std::string& path) const;

    void SetText(const std::string& newText) { text = newText; }
    const std::string& Text() const { return text; }

    // Value of section/key with surrounding blanks and a trailing "; comment"
    // removed; fallback when the key is missing. Names compare ignoring case.
    std::string Get(const char* section, const char* key, const char* fallback = "") const;
    int GetInt(const char* section, const char* key, int fallback) const;
    bool HasSection(const char* section) const;

    // Replaces the key's line, or adds the key (and its section) when missing.
    void Set(const char* section, const char* key, const std::string& value);

private:
    // Byte range of one line of the text, without its line break.
    struct Line {
        size_t start;
        size_t end;
        size_t next;
    };
    bool NextLine(size_t from, Line& line) const;
    bool FindSection(const char* section, size_t& bodyStart) const;
    bool FindKey(size_t bodyStart, const char* key, Line& found, size_t& sectionEnd) const;

    std::string text;
};
