#pragma once

#include "ConfigPage.h"
#include "ScriptEdit.h"

// Where and what the player sends when a track starts.
class SstpPage : public ConfigPage {
public:
    explicit SstpPage(ConfigApp& application);
    ~SstpPage() override;
    LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;

    void UpdateSstpControls();
    void CheckHost();

    // The report of the host check. A found host is named by its official
    // name from the resolver, which may be longer than anything typed: it is
    // shown up to HostNameLimit bytes.
    static const size_t HostNameLimit = 255;
    static void FormatHostReport(char* text, size_t capacity, const char* name, bool found);

    ScriptEdit scriptEdit;
};
