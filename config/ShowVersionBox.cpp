#include "ShowVersionBox.h"

#include "ConfigApp.h"
#include "Text.h"

void ShowVersionBox(ConfigApp& app)
{
    char text[512];
    FormatText(text, sizeof text, "%s\nVersion %s  (Build: %s %s)", app.title, app.version, __DATE__, __TIME__);
    app.sheet.MessageBox(text, "バージョン情報", MB_ICONINFORMATION | MB_OK);
}
