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

// The intro time as an unsigned decimal number, 0 when the text is none.
// Some systems let an unsigned GetDlgItemInt take a minus sign; a negative
// time is not a number of seconds, nor is one past the range of the field.
static int ReadSeconds(Window& page)
{
    char text[64] = "";
    page.GetDlgItemText(IDC_INTRO_TIME, text, sizeof text);
    const char* first = text;
    while (*first == ' ')
        ++first;
    BOOL translated = FALSE;
    UINT value = page.GetDlgItemInt(IDC_INTRO_TIME, &translated, FALSE);
    if (!translated || *first == '-' || value > 0x7FFFFFFFu)
        return 0;
    return static_cast<int>(value);
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

void ConfigSheet::ReadGeneralPage()
{
    Window& page = app.generalPage;
    Settings& s = app.settings;
    s.PlayOnExec = IsTicked(page, IDC_PLAY_ON_EXEC);
    s.PlayOnInsert = IsTicked(page, IDC_PLAY_ON_INSERT);
    s.SoundOnInsert = IsTicked(page, IDC_SOUND_ON_INSERT);
    char text[1024] = "";
    page.GetDlgItemText(IDC_SOUND_FILE, text, sizeof text);
    CopyText(s.SoundFile, sizeof s.SoundFile, text);
    s.IntroTime = ReadSeconds(page);
}

void ConfigSheet::ReadSstpPage()
{
    Window& page = app.sstpPage;
    Settings& s = app.settings;
    s.SendSstpMsg = IsTicked(page, IDC_SEND_SSTP);
    s.CheckSstpServer = IsTicked(page, IDC_CHECK_SSTP_SERVER);
    char text[1024] = "";
    page.GetDlgItemText(IDC_SSTP_SERVER, text, sizeof text);
    CopyText(s.SstpServer, sizeof s.SstpServer, text);
    page.GetDlgItemText(IDC_SSTP_PORT, text, sizeof text);
    s.SstpPort = ParsePort(text);
    page.GetDlgItemText(IDC_SSTP_SCRIPT, text, sizeof text);
    DropLineBreaks(text);
    CopyText(s.SstpScript, sizeof s.SstpScript, text);
}

void ConfigSheet::ReadCddbPage()
{
    Window& page = app.cddbPage;
    Settings& s = app.settings;
    s.CddbLookup = IsTicked(page, IDC_CDDB_LOOKUP);
    char text[1024] = "";
    page.GetDlgItemText(IDC_CDDB_SERVER, text, sizeof text);
    CopyText(s.CddbServer, sizeof s.CddbServer, text);
    page.GetDlgItemText(IDC_CDDB_PORT, text, sizeof text);
    s.CddbPort = ParsePort(text);
    page.GetDlgItemText(IDC_CDDB_PATH, text, sizeof text);
    CopyText(s.CddbPath, sizeof s.CddbPath, text);
    page.GetDlgItemText(IDC_CDDB_EMAIL, text, sizeof text);
    CopyText(s.CddbEmail, sizeof s.CddbEmail, text);
}
