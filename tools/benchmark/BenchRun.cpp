// Starts the player and a bare tray program in turn and prints, for each, the
// median start-up time (process creation to its window), exit time (the Exit
// command to the end of the process), resident memory after start-up and
// file size, with their ratios. Figures only: nothing here passes or fails.
//
//   benchrun <rounds> <program.exe> <window class> <program.exe> <window class>
//
// The first program is the one measured, the second the reference. Then the
// player alone: how long a track choice and a stop hold it with the "now
// playing" notification off, sent to a server that takes it, and sent to one
// that accepts no connection, and how long its exit takes after that.
#include "LoopbackListener.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <vector>

namespace {

const UINT ExitCommand = 40007;  // the player's Exit item; the bare program ends on it too
const DWORD SettleMs = 1500;     // start-up work after the window exists (the CD device, the icon)

struct Program {
    const char* file;
    const char* windowClass;
    std::vector<double> startMs;
    std::vector<double> exitMs;
    std::vector<double> memoryKiB;
};

double Now()
{
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart * 1000.0 / frequency.QuadPart;
}

HWND WindowOf(const Program& program, DWORD processId)
{
    HWND window = FindWindowA(program.windowClass, nullptr);
    DWORD owner = 0;
    if (window)
        GetWindowThreadProcessId(window, &owner);
    return owner == processId ? window : nullptr;
}

bool RunOnce(Program& program, bool keep)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    char commandLine[MAX_PATH];
    lstrcpynA(commandLine, program.file, sizeof commandLine);

    double started = Now();
    if (!CreateProcessA(program.file, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        fprintf(stderr, "cannot start %s (error %lu)\n", program.file, GetLastError());
        return false;
    }
    HWND window = nullptr;
    while (!(window = WindowOf(program, process.dwProcessId))) {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 || Now() - started > 20000) {
            fprintf(stderr, "%s showed no window\n", program.file);
            return false;
        }
        Sleep(1);
    }
    double windowShown = Now();

    Sleep(SettleMs);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);

    double exitAsked = Now();
    PostMessageA(window, WM_COMMAND, ExitCommand, 0);
    WaitForSingleObject(process.hProcess, 20000);
    double ended = Now();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    if (keep) {
        program.startMs.push_back(windowShown - started);
        program.exitMs.push_back(ended - exitAsked);
        program.memoryKiB.push_back(memory.WorkingSetSize / 1024.0);
    }
    Sleep(1000);  // let the shell and the wineserver settle before the next start
    return true;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double FileKiB(const char* file)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(file, GetFileExInfoStandard, &data))
        return 0;
    return data.nFileSizeLow / 1024.0;
}

void PrintRow(const char* what, double measured, double reference, bool difference)
{
    if (difference)
        printf("%-22s %10.1f %10.1f %+10.1f\n", what, measured, reference, measured - reference);
    else
        printf("%-22s %10.1f %10.1f %9.2fx\n", what, measured, reference, reference > 0 ? measured / reference : 0);
}

// Takes each request and drops it, as a mascot does.
DWORD WINAPI TakeRequests(void* listener)
{
    for (;;)
        static_cast<LoopbackListener*>(listener)->ReceiveAll(60000);
}

void WriteSettings(int port)
{
    char text[256];
    wsprintfA(text, "[SSTP]\r\nSendSstpMsg=%d\r\nCheckSstpServer=0\r\nSstpServer=127.0.0.1\r\nSstpPort=%d\r\n",
              port ? 1 : 0, port);
    HANDLE file = CreateFileA("velkin.ini", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text, lstrlenA(text), &written, nullptr);
    CloseHandle(file);
}

// Median time of a track choice followed at once by a stop, and the exit
// time after them.
void MeasureNotification(const char* what, Program& player, int port, int rounds)
{
    WriteSettings(port);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    char commandLine[MAX_PATH];
    lstrcpynA(commandLine, player.file, sizeof commandLine);
    if (!CreateProcessA(player.file, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return;
    HWND window = nullptr;
    for (double start = Now(); !(window = WindowOf(player, process.dwProcessId)) && Now() - start < 20000;)
        Sleep(1);
    Sleep(SettleMs);
    std::vector<double> held;
    for (int i = 0; window && i < rounds; ++i) {
        double asked = Now();
        SendMessageA(window, WM_COMMAND, 50002, 0);  // track 2 from the track menu
        SendMessageA(window, WM_COMMAND, 40002, 0);  // stop
        held.push_back(Now() - asked);
        Sleep(100);
    }
    double exitAsked = Now();
    PostMessageA(window, WM_COMMAND, ExitCommand, 0);
    WaitForSingleObject(process.hProcess, 20000);
    printf("%-30s %10.1f %10.1f\n", what, Median(held), Now() - exitAsked);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Sleep(1000);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        fprintf(stderr, "usage: benchrun <rounds> <program.exe> <window class> <program.exe> <window class>\n");
        return 2;
    }
    int rounds = atoi(argv[1]);
    Program measured = {argv[2], argv[3], {}, {}, {}};
    Program reference = {argv[4], argv[5], {}, {}, {}};

    // One unmeasured start of each warms the file cache and the shell; the
    // order alternates so that neither program always follows the other.
    for (int round = 0; round <= rounds; ++round) {
        Program& first = round % 2 ? measured : reference;
        Program& second = round % 2 ? reference : measured;
        if (!RunOnce(first, round > 0) || !RunOnce(second, round > 0))
            return 1;
    }

    printf("medians of %d runs each    %10s %10s %10s\n", rounds, "player", "bare", "ratio");
    PrintRow("start-up (ms)", Median(measured.startMs), Median(reference.startMs), false);
    PrintRow("exit (ms)", Median(measured.exitMs), Median(reference.exitMs), true);
    PrintRow("memory (KiB)", Median(measured.memoryKiB), Median(reference.memoryKiB), false);
    PrintRow("file size (KiB)", FileKiB(measured.file), FileKiB(reference.file), false);
    printf("exit: the difference in ms instead of a ratio\n\n");

    SocketLibrary library;
    LoopbackListener live(16), dead(1);
    CloseHandle(CreateThread(nullptr, 0, TakeRequests, &live, 0, nullptr));
    dead.FillBacklog();
    printf("\"now playing\" (medians of %d)  %10s %10s\n", rounds, "play+stop", "then exit");
    MeasureNotification("notifications off (ms)", measured, 0, rounds);
    MeasureNotification("to a server (ms)", measured, live.Port(), rounds);
    MeasureNotification("to a dead server (ms)", measured, dead.Port(), rounds);
    DeleteFileA("velkin.ini");
    return 0;
}
