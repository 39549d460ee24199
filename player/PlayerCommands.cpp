// Filled by the dialogs and external programs.
#include "PlayerApplication.h"

void PlayerApplication::ShowAboutDialog() {}

void PlayerApplication::ShowVolumeDialog() {}

void PlayerApplication::LaunchMultimediaProperties() {}

void PlayerApplication::LaunchVolumeControl() {}

void PlayerApplication::LaunchConfigProgram() {}

void PlayerApplication::ShowCdInfo() {}
