#pragma once

class ConfigApp;

// The version message box, owned by the sheet: the title on the first line,
// the version with the build's date and time on the second.
void ShowVersionBox(ConfigApp& app);
