#pragma once

#include "PropertySheet.h"

class ConfigApp;

// The program's sheet. OK takes what the General, SSTP and CDDB pages show
// into the settings; the shortcut-key page has stored its changes already.
class ConfigSheet : public PropertySheet {
public:
    explicit ConfigSheet(ConfigApp& application);
    ~ConfigSheet() override;
    int OnOK() override;

private:
    void ReadGeneralPage();
    void ReadSstpPage();
    void ReadCddbPage();

    ConfigApp& app;
};
