#include "ConfigSheet.h"

#include "ConfigApp.h"
#include "Text.h"
#include "resource.h"

ConfigSheet::ConfigSheet(ConfigApp& application) : app(application) {}

ConfigSheet::~ConfigSheet() {}

int ConfigSheet::OnOK()
{
    // A page whose tab was never opened has no window and keeps the values
    // as they were loaded.
    if (app.generalPage.hwnd)
        ReadGeneralPage();
    if (app.sstpPage.hwnd)
        ReadSstpPage();
    if (app.cddbPage.hwnd)
        ReadCddbPage();
    return PropertySheet::OnOK();
}

// Reads a number as atoi does (leading blanks, a sign, digits; 0 without
// digits) and keeps its low 16 bits. Counting modulo 2^32 keeps those bits
// exact however long the digits run, where atoi itself would overflow.
static unsigned short ParsePort(const char* text)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    unsigned value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = value * 10 + static_cast<unsigned>(*text - '0');
    if (negative)
        value = 0u - value;
    return static_cast<unsigned short>(value & 0xFFFF);
}

// The intro time: a number of seconds when the text is digits and nothing
// else (blanks around them aside), 0 otherwise. GetDlgItemInt would take
// "15秒" as 15, "1.5" as 1 and "+5" as 5, and some systems a minus sign.
static int ReadSeconds(Window& page)
{
    char text[1024] = "";
    page.GetDlgItemText(IDC_INTRO_TIME, text, sizeof text);
    const char* p = text;
    while (*p == ' ')
        ++p;
    unsigned long long value = 0;
    int digits = 0;
    for (; *p >= '0' && *p <= '9'; ++p, ++digits) {
        value = value * 10 + static_cast<unsigned>(*p - '0');
        if (value > 0x7FFFFFFF)
            return 0;  // past the range of the field
    }
    while (*p == ' ')
        ++p;
    return digits > 0 && *p == '\0' ? static_cast<int>(value) : 0;
}

// A script is one line: a line break pasted into the box would end the
// value in the file and leave the rest behind as a line of its own.
static void DropLineBreaks(char* text)
{
    char* out = text;
    for (const char* in = text; *in != '\0'; ++in) {
        if (*in != '\r' && *in != '\n')
            *out++ = *in;
    }
    *out = '\0';
}

static int IsTicked(Window& page, int controlId)
{
    return page.IsDlgButtonChecked(controlId) == BST_CHECKED ? 1 : 0;
}

// A box is read whole and then cut to its field between two characters.
static void ReadText(Window& page, int controlId, char* field, size_t capacity, bool oneLine = false)
{
    char text[1024] = "";
    page.GetDlgItemText(controlId, text, sizeof text);
    if (oneLine)
        DropLineBreaks(text);
    CopyText(field, capacity, text);
}

static unsigned short ReadPort(Window& page, int controlId)
{
    char text[1024] = "";
    page.GetDlgItemText(controlId, text, sizeof text);
    return ParsePort(text);
}

void ConfigSheet::ReadGeneralPage()
{
    Window& page = app.generalPage;
    Settings& s = app.settings;
    s.PlayOnExec = IsTicked(page, IDC_PLAY_ON_EXEC);
    s.PlayOnInsert = IsTicked(page, IDC_PLAY_ON_INSERT);
    s.SoundOnInsert = IsTicked(page, IDC_SOUND_ON_INSERT);
    ReadText(page, IDC_SOUND_FILE, s.SoundFile, sizeof s.SoundFile);
    s.IntroTime = ReadSeconds(page);
}

void ConfigSheet::ReadSstpPage()
{
    Window& page = app.sstpPage;
    Settings& s = app.settings;
    s.SendSstpMsg = IsTicked(page, IDC_SEND_SSTP);
    s.CheckSstpServer = IsTicked(page, IDC_CHECK_SSTP_SERVER);
    ReadText(page, IDC_SSTP_SERVER, s.SstpServer, sizeof s.SstpServer);
    s.SstpPort = ReadPort(page, IDC_SSTP_PORT);
    ReadText(page, IDC_SSTP_SCRIPT, s.SstpScript, sizeof s.SstpScript, true);
}

void ConfigSheet::ReadCddbPage()
{
    Window& page = app.cddbPage;
    Settings& s = app.settings;
    s.CddbLookup = IsTicked(page, IDC_CDDB_LOOKUP);
    ReadText(page, IDC_CDDB_SERVER, s.CddbServer, sizeof s.CddbServer);
    s.CddbPort = ReadPort(page, IDC_CDDB_PORT);
    ReadText(page, IDC_CDDB_PATH, s.CddbPath, sizeof s.CddbPath);
    ReadText(page, IDC_CDDB_EMAIL, s.CddbEmail, sizeof s.CddbEmail);
}
