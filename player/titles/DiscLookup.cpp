#include "DiscLookup.h"

#include "CdDrives.h"
#include "PlayerApplication.h"
#include "Text.h"

#include <dbt.h>

namespace {

const DWORD ConnectTimeoutMs = 5000;
const DWORD LookupTimeoutMs = 10000;

}  // namespace

void CddbServerFromSettings(const Settings& settings, CddbServer& server)
{
    CopyText(server.host, sizeof server.host, settings.CddbServer);
    server.port = settings.CddbPort;
    CopyText(server.path, sizeof server.path, settings.CddbPath);
    CopyText(server.email, sizeof server.email, settings.CddbEmail);
    CopyText(server.clientVersion, sizeof server.clientVersion, PlayerVersion);
    server.connectTimeoutMs = ConnectTimeoutMs;
    server.lookupTimeoutMs = LookupTimeoutMs;
}

DiscLookup::DiscLookup(PlayerApplication& owner) : app(owner), pending(nullptr), triedDisc() {}

void DiscLookup::LookUpDiscInDrive()
{
    if (!app.settings.CddbLookup || !app.cdDevice.IsMediaPresent() || !app.cdDevice.IsAudioDisc())
        return;
    char discId[16];
    app.cdDevice.GetDiscId(discId, sizeof discId);
    if (discId[0] == '\0' || lstrcmpA(discId, triedDisc) == 0 || app.DiscDatabase.HasEntry(discId) ||
        app.DiscDatabase.IsKept(discId))
        return;
    CddbLookup* lookup = NewCddbLookup();
    if (!lookup)
        return;
    if (!ReadTableOfContents(app.cdDevice, lookup->toc)) {
        DeleteCddbLookup(lookup);
        return;
    }
    CopyText(triedDisc, sizeof triedDisc, discId);
    lookup->kind = CddbTakeFirstExact;
    CddbServerFromSettings(app.settings, lookup->server);
    CopyText(lookup->tag, sizeof lookup->tag, discId);
    pending = StartCddbLookup(lookup, app.window.hwnd, CddbAnswerMessage) ? lookup : nullptr;
}

// An arrival may be a new disc, or the same one again: it is asked for anew.
// A disc taken out gets nothing from a lookup still under way.
void DiscLookup::OnDeviceChange(WPARAM event, LPARAM data)
{
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE)
        return;
    const DEV_BROADCAST_HDR* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (!header || header->dbch_devicetype != DBT_DEVTYP_VOLUME || header->dbch_size < sizeof(DEV_BROADCAST_VOLUME) ||
        !UnitsNameCdDrive(reinterpret_cast<const DEV_BROADCAST_VOLUME*>(data)->dbcv_unitmask, app.settings.Drive))
        return;  // a stick or a network drive
    if (event == DBT_DEVICEARRIVAL) {
        triedDisc[0] = '\0';
        LookUpDiscInDrive();
    } else if (event == DBT_DEVICEREMOVECOMPLETE && !app.cdDevice.IsMediaPresent()) {
        pending = nullptr;
    }
}

// The title editor's lookups answer to the same window.
void DiscLookup::OnAnswer(CddbLookup* lookup)
{
    if (lookup == nullptr || lookup != pending) {
        app.cddbSearch.OnAnswer(app.titleEditor, lookup);
        return;
    }
    pending = nullptr;
    if (lookup->succeeded)
        Take(*lookup);
    DeleteCddbLookup(lookup);
}

// Only for the disc still in the drive, and never over titles the user has
// typed meanwhile.
void DiscLookup::Take(const CddbLookup& lookup)
{
    char discId[16];
    if (!app.cdDevice.IsMediaPresent())
        return;
    app.cdDevice.GetDiscId(discId, sizeof discId);
    if (lstrcmpA(discId, lookup.tag) != 0 || app.DiscDatabase.HasEntry(discId))
        return;
    if (!app.DiscDatabase.Write(discId, lookup.titles))
        app.DiscDatabase.Keep(discId, lookup.titles);
    app.titleEditor.Refresh(discId);
}
