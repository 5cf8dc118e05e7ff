// Setup's benchmark: drives the real program under Wine, as a user would, and
// prints side by side for each package how long the extraction takes against
// writing the same bytes straight from a mapping of the executable and copying
// them, how much private memory it adds, and how long the first page takes
// against an empty dialog. Every figure is the median of several runs.
//
//   setup_bench --runs N --marker CEAPPMGR.EXE --empty EMPTY_DIALOG.EXE
//               --package shipped|big|fixed|other LABEL SETUP.EXE CABINET ...
// Paths may be Unix paths of this machine.
#include "driver.h"
#include "../resources/resource_ids.h"
#include <psapi.h>
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char README_CAPTION[] = "Zentrobel FULL VERSION - Welcome";
const char AGREEMENT_CAPTION[] = "Zentrobel FULL VERSION - End User License Agreement";
const char EMPTY_CAPTION[] = "Empty dialog";

// Setup installs beside the stand-in Application Manager; the references
// write into the same folder, so every write lands on the same file system.
const char WORK_FOLDER[] = "C:\\setup-bench";
const char APP_MANAGER[] = "C:\\setup-bench\\CEAPPMGR.EXE";
const char INSTALL_FOLDER[] = "C:\\setup-bench\\ZTL";
const char INSTALLED_CABINET[] = "C:\\setup-bench\\ZTL\\ztl.arm.CAB";
const char INSTALLED_INI[] = "C:\\setup-bench\\ZTL\\ztl_arm.ini";
const char APP_MANAGER_ARGUMENT[] = "\"C:\\setup-bench\\ZTL\\ztl_arm.ini\"";
const char REFERENCE_FILE[] = "C:\\setup-bench\\reference.CAB";
const char START_FILE[] = "C:\\setup-bench\\started.bin";
const char SCRATCH_FILE[] = "C:\\setup-bench\\scratch.bin";

const UINT CABINET_PAYLOAD = 2;  // ztl.arm.CAB
const double MIB = 1024.0 * 1024.0;

// ---- the clock, figures and failures

double g_ticksPerMs;

LONGLONG Ticks()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Ms(LONGLONG ticks) { return ticks / g_ticksPerMs; }

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Lowest(const std::vector<double> &values) { return values.empty() ? 0 : *std::min_element(values.begin(), values.end()); }
double Highest(const std::vector<double> &values) { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }

// The stand-in's registration; destroyed at exit, which leaves the
// prefix's registration as the benchmark found it.
std::unique_ptr<driver::AppPathsValue> g_appPaths;

void Fail(const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    fprintf(stderr, "setup_bench: ");
    vfprintf(stderr, format, arguments);
    fprintf(stderr, "\n");
    va_end(arguments);
    exit(1);
}

// This machine is a virtual one that hands memory which has lain free for a
// while back to its host, and touching such memory again costs many times
// more: a Wine process then takes four times as long to start, and a large
// write, which gets its page cache in 2 MiB blocks, runs at a tenth of its
// speed. So before each timed step the benchmark touches and frees 256 MiB of
// its own memory, for the small allocations of a start, and writes and deletes
// a scratch file a little larger than the largest cabinet, for the large
// blocks of a write: every step, setup's and the references', then meets
// memory freed a moment ago. CREATE_NEW, unlike CREATE_ALWAYS, has Wine
// truncate nothing, so ext4 does not write the scratch file out as it is
// closed, and deleting it leaves no disk work behind.
const SIZE_T PRIME_BYTES = 256u << 20;
DWORD g_scratchBytes = 0;

void PrimeMemory()
{
    char *block = static_cast<char *>(VirtualAlloc(NULL, PRIME_BYTES, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!block)
        Fail("cannot allocate %lu MiB", static_cast<unsigned long>(PRIME_BYTES >> 20));
    for (SIZE_T at = 0; at < PRIME_BYTES; at += 4096)
        block[at] = 1;
    VirtualFree(block, 0, MEM_RELEASE);

    static std::vector<char> scratch;
    scratch.resize(g_scratchBytes, 1);
    DeleteFileA(SCRATCH_FILE);
    HANDLE file = CreateFileA(SCRATCH_FILE, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        Fail("cannot create %s", SCRATCH_FILE);
    DWORD written = 0;
    BOOL complete = WriteFile(file, scratch.data(), g_scratchBytes, &written, NULL) && written == g_scratchBytes;
    CloseHandle(file);
    DeleteFileA(SCRATCH_FILE);
    if (!complete)
        Fail("cannot write %s", SCRATCH_FILE);
}

// ---- the stand-in Application Manager and its start mark

// The performance counter reading the stand-in wrote as it started.
bool WaitForStartMark(LONGLONG *mark, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        std::string bytes;
        // The stand-in holds the file without sharing until its mark is written.
        if (driver::ReadFileBytes(START_FILE, &bytes) && bytes.size() == sizeof *mark) {
            memcpy(mark, bytes.data(), sizeof *mark);
            return true;
        }
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(1);
    }
}

// From the benchmark's CreateProcess to the stand-in's first instruction.
double MarkerStartMs()
{
    DeleteFileA(START_FILE);
    driver::Process marker;
    PrimeMemory();
    LONGLONG started = Ticks();
    if (!marker.Start(APP_MANAGER, APP_MANAGER_ARGUMENT))
        Fail("cannot start %s", APP_MANAGER);
    if (marker.WaitForExit() != 0)
        Fail("the stand-in Application Manager failed");
    LONGLONG mark;
    if (!WaitForStartMark(&mark, 10000))
        Fail("the stand-in Application Manager left no start mark");
    return Ms(mark - started);
}

// ---- the packages

struct Package {
    std::string role;  // "shipped", "big", "fixed" (the empty cabinet) or "other"
    std::string label;
    std::string exe;
    std::string cabinet;  // the cabinet file the package was built from
    DWORD cabinetSize = 0;
    DWORD cabinetOffset = 0;  // of the cabinet's resource data in the executable file
    // Per run:
    std::vector<double> firstPageMs, drawnMs, extractionMs, mappedWriteMs, copyMs, samples;
    // The empty dialog, run just before each timed setup run, so that both
    // meet the machine in the same state.
    std::vector<double> emptyFirstPageMs, emptyDrawnMs;
    std::vector<double> readmeBytes, agreementBytes, highestBytes, addedBytes;
};

// The size of a file, or -1 when there is none.
LONGLONG FileSize(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Where the cabinet's bytes lie in the executable file: the range that setup's
// one write sends from the mapped image, checked against the cabinet itself.
void LocateCabinet(Package *package)
{
    HMODULE module = LoadLibraryExA(package->exe.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module ? FindResourceA(module, MAKEINTRESOURCEA(CABINET_PAYLOAD), MAKEINTRESOURCEA(RT_PAYLOAD)) : NULL;
    if (!found)
        Fail("%s: no cabinet payload", package->exe.c_str());
    const char *data = static_cast<const char *>(LockResource(LoadResource(module, found)));
    // A data file module is the file mapped flat, its handle tagged in the low bits.
    const char *base = reinterpret_cast<const char *>(reinterpret_cast<ULONG_PTR>(module) & ~static_cast<ULONG_PTR>(3));
    package->cabinetOffset = static_cast<DWORD>(data - base);
    package->cabinetSize = SizeofResource(module, found);
    FreeLibrary(module);

    std::string image, cabinet;
    if (!driver::ReadFileBytes(package->exe, &image) || !driver::ReadFileBytes(package->cabinet, &cabinet))
        Fail("cannot read %s or %s", package->exe.c_str(), package->cabinet.c_str());
    if (cabinet.size() != package->cabinetSize || package->cabinetOffset + cabinet.size() > image.size()
        || image.compare(package->cabinetOffset, cabinet.size(), cabinet) != 0)
        Fail("%s does not hold %s at offset %lu", package->exe.c_str(), package->cabinet.c_str(), package->cabinetOffset);
}

// ---- private memory of the setup process

SIZE_T PrivateBytes(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        return 0;
    // Under Wine both are the current anonymous memory, and 0 once the process is gone.
    return std::max(counters.PagefileUsage, counters.PeakPagefileUsage);
}

// Reads the process's private memory as fast as it can until the process ends.
struct MemorySampler {
    HANDLE process = NULL;
    SIZE_T highest = 0;
    long samples = 0;
    HANDLE thread = NULL;

    static DWORD WINAPI Run(void *parameter)
    {
        MemorySampler *sampler = static_cast<MemorySampler *>(parameter);
        while (WaitForSingleObject(sampler->process, 0) == WAIT_TIMEOUT) {
            sampler->highest = std::max(sampler->highest, PrivateBytes(sampler->process));
            ++sampler->samples;
        }
        return 0;
    }
    void Start(HANDLE watched)
    {
        process = watched;
        thread = CreateThread(NULL, 0, Run, this, 0, NULL);
        if (!thread)
            Fail("cannot start the memory sampler");
    }
    void Join()
    {
        if (!thread)
            return;
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        thread = NULL;
    }
};

// ---- one run of setup, the references and the empty dialog

// The process's visible dialog with this caption. The caption is read the
// way Windows reads another process's window text, without a message: a
// WM_GETTEXT would be answered only once the page's thread is free again,
// after it has drawn the page, and so would time the drawing, not the showing.
struct ShownSearch {
    DWORD pid;
    const char *caption;
    HWND found;
};

BOOL CALLBACK MatchShownWindow(HWND window, LPARAM lParam)
{
    ShownSearch *search = reinterpret_cast<ShownSearch *>(lParam);
    DWORD pid = 0;
    char text[256];
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !IsWindowVisible(window) || driver::ClassOf(window) != "#32770"
        || !GetWindowTextA(window, text, sizeof text) || strcmp(text, search->caption) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

// Looks every millisecond for the window and notes when it was first seen.
HWND PollForWindow(DWORD pid, const char *caption, LONGLONG *seenAt)
{
    DWORD start = GetTickCount();
    for (;;) {
        ShownSearch search = {pid, caption, NULL};
        EnumWindows(MatchShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            *seenAt = Ticks();
            return search.found;
        }
        if (GetTickCount() - start > 20000)
            return NULL;
        Sleep(1);
    }
}

// When the page has been drawn and waits for the user: the process then
// first waits for input with nothing left to do.
LONGLONG DrawnAt(HANDLE process)
{
    if (WaitForInputIdle(process, 10000) != 0)
        Fail("the page did not come to wait for input");
    return Ticks();
}

// Keys that the page never got: under Wine a key typed just as a page becomes
// the foreground one is now and then lost. Such a run is started over.
int g_lostKeys = 0;

// One run through both pages with Next; false when a key was lost. sampleMemory:
// watch the private memory from the agreement page on (the sampler competes
// for the processors, so those runs are not timed).
bool TryRunSetup(Package *package, bool sampleMemory)
{
    DeleteFileA(INSTALLED_CABINET);
    DeleteFileA(INSTALLED_INI);
    DeleteFileA(START_FILE);

    driver::Process setup;
    if (!sampleMemory)
        PrimeMemory();
    LONGLONG started = Ticks();
    if (!setup.Start(package->exe))
        Fail("cannot start %s", package->exe.c_str());
    LONGLONG shown = 0;
    HWND readme = PollForWindow(setup.Id(), README_CAPTION, &shown);
    if (!readme)
        Fail("%s: no readme page", package->label.c_str());
    LONGLONG drawn = DrawnAt(setup.Handle());
    driver::Settle(readme);
    SIZE_T readmeBytes = PrivateBytes(setup.Handle());
    driver::PressAltKey(readme, 'N');

    HWND agreement = driver::WaitForWindow(setup.Id(), AGREEMENT_CAPTION, 5000);
    if (!agreement) {
        if (IsWindowVisible(readme))
            return false;
        Fail("%s: no agreement page", package->label.c_str());
    }
    SIZE_T agreementBytes = PrivateBytes(setup.Handle());
    if (!sampleMemory)
        PrimeMemory();
    driver::BringToForeground(agreement);
    MemorySampler sampler;
    if (sampleMemory)
        sampler.Start(setup.Handle());
    LONGLONG next = Ticks();
    driver::SendKeyNow(VK_MENU, 'N');
    DWORD code = setup.WaitForExit(10000);
    bool lost = code == STILL_ACTIVE && IsWindowVisible(agreement);
    if (lost)
        TerminateProcess(setup.Handle(), 1);
    sampler.Join();
    if (lost)
        return false;
    if (code == STILL_ACTIVE)
        Fail("%s: setup still runs 10 s after Alt+N without its agreement page", package->label.c_str());
    if (code != 0)
        Fail("%s: setup ended with %lu", package->label.c_str(), code);
    LONGLONG mark;
    if (!WaitForStartMark(&mark, 10000))
        Fail("%s: setup did not start the Application Manager", package->label.c_str());
    if (FileSize(INSTALLED_CABINET) != package->cabinetSize)
        Fail("%s: the installed cabinet has %lld bytes, not %lu", package->label.c_str(), FileSize(INSTALLED_CABINET), package->cabinetSize);

    package->readmeBytes.push_back(static_cast<double>(readmeBytes));
    package->agreementBytes.push_back(static_cast<double>(agreementBytes));
    if (sampleMemory) {
        package->highestBytes.push_back(static_cast<double>(sampler.highest));
        package->addedBytes.push_back(static_cast<double>(sampler.highest) - static_cast<double>(agreementBytes));
        package->samples.push_back(sampler.samples);
    } else {
        package->firstPageMs.push_back(Ms(shown - started));
        package->drawnMs.push_back(Ms(drawn - started));
        package->extractionMs.push_back(Ms(mark - next));  // the stand-in's start is taken off later
    }
    return true;
}

void RunSetup(Package *package, bool sampleMemory)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (TryRunSetup(package, sampleMemory))
            return;
        ++g_lostKeys;
    }
    Fail("%s: the pages lost Alt+N five times running", package->label.c_str());
}

// The limit: a fresh mapping of the executable, and one write of the
// cabinet's range straight from the view, so every page faults in as it is
// written. The mapping is made first, as the loader makes setup's.
void MappedWrite(Package *package)
{
    DeleteFileA(REFERENCE_FILE);
    HANDLE image = CreateFileA(package->exe.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    HANDLE mapping = image == INVALID_HANDLE_VALUE ? NULL : CreateFileMappingA(image, NULL, PAGE_READONLY, 0, 0, NULL);
    const char *view = mapping ? static_cast<const char *>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) : NULL;
    if (!view)
        Fail("cannot map %s", package->exe.c_str());
    PrimeMemory();
    LONGLONG start = Ticks();
    HANDLE file = CreateFileA(REFERENCE_FILE, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written = 0;
    BOOL complete = file != INVALID_HANDLE_VALUE
        && WriteFile(file, view + package->cabinetOffset, package->cabinetSize, &written, NULL) && written == package->cabinetSize;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    LONGLONG end = Ticks();
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    CloseHandle(image);
    if (!complete)
        Fail("the mapped write of %s failed", package->label.c_str());
    package->mappedWriteMs.push_back(Ms(end - start));
}

void CopyCabinet(Package *package)
{
    DeleteFileA(REFERENCE_FILE);
    PrimeMemory();
    LONGLONG start = Ticks();
    BOOL copied = CopyFileA(package->cabinet.c_str(), REFERENCE_FILE, FALSE);
    LONGLONG end = Ticks();
    if (!copied)
        Fail("cannot copy %s", package->cabinet.c_str());
    package->copyMs.push_back(Ms(end - start));
}

// From CreateProcess to the page on screen, and the private memory it then has.
struct EmptyDialogRun {
    double firstPageMs, drawnMs;
    SIZE_T bytes;
};

EmptyDialogRun RunEmptyDialog(const std::string &exe)
{
    driver::Process dialog;
    PrimeMemory();
    LONGLONG started = Ticks();
    if (!dialog.Start(exe))
        Fail("cannot start %s", exe.c_str());
    LONGLONG shown = 0;
    HWND window = PollForWindow(dialog.Id(), EMPTY_CAPTION, &shown);
    if (!window)
        Fail("the empty dialog did not show");
    LONGLONG drawn = DrawnAt(dialog.Handle());
    driver::Settle(window);
    EmptyDialogRun run = {Ms(shown - started), Ms(drawn - started), PrivateBytes(dialog.Handle())};
    PostMessageA(window, WM_CLOSE, 0, 0);
    dialog.WaitForExit();
    return run;
}

// ---- the report

const int LABEL_WIDTH = 30;

const char *Verdict(bool met) { return met ? "PASS" : "MISS"; }

std::string Thousands(DWORD value)
{
    std::string digits = std::to_string(value), grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::string Format(const char *format, ...)
{
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

// "median [lowest..highest]" of milliseconds.
std::string Spread(const std::vector<double> &ms, const char *medianFormat = "%6.1f")
{
    return Format(medianFormat, Median(ms)) + Format(" [%.1f..%.1f]", Lowest(ms), Highest(ms));
}

std::string Mib(double bytes) { return Format("%.2f MiB", bytes / MIB); }
std::string Kib(double bytes) { return Format("%+.0f KiB", bytes / 1024); }

void PrintTarget(const std::string &target, const std::string &figure, bool met)
{
    printf("   %-62s %10s  %s\n", target.c_str(), figure.c_str(), Verdict(met));
}

struct Options {
    int runs = 7;
    bool verbose = false;
    std::string marker, empty;
    std::vector<Package> packages;
};

std::string HostPath(const char *path) { return path[0] == '/' ? driver::WinePath(path) : path; }

Options ParseOptions(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--runs" && i + 1 < argc)
            options.runs = atoi(argv[++i]);
        else if (option == "--verbose")
            options.verbose = true;
        else if (option == "--marker" && i + 1 < argc)
            options.marker = HostPath(argv[++i]);
        else if (option == "--empty" && i + 1 < argc)
            options.empty = HostPath(argv[++i]);
        else if (option == "--package" && i + 4 < argc) {
            Package package;
            package.role = argv[++i];
            package.label = argv[++i];
            package.exe = HostPath(argv[++i]);
            package.cabinet = HostPath(argv[++i]);
            options.packages.push_back(package);
        } else
            Fail("unknown or incomplete option %s", argv[i]);
    }
    if (options.runs < 1 || options.marker.empty() || options.empty.empty() || options.packages.empty())
        Fail("usage: setup_bench [--runs N] [--verbose] --marker EXE --empty EXE --package shipped|big|fixed|other LABEL SETUP.EXE CABINET ...");
    return options;
}

Package *Role(Options &options, const char *role)
{
    for (Package &package : options.packages)
        if (package.role == role)
            return &package;
    return NULL;
}

}  // namespace

int main(int argc, char **argv)
{
    Options options = ParseOptions(argc, argv);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_ticksPerMs = frequency.QuadPart / 1000.0;

    CreateDirectoryA(WORK_FOLDER, NULL);
    if (!CopyFileA(options.marker.c_str(), APP_MANAGER, FALSE))
        Fail("cannot place the stand-in Application Manager at %s", APP_MANAGER);
    SetEnvironmentVariableA("SETUP_BENCH_START_FILE", START_FILE);  // inherited through setup
    g_appPaths.reset(new driver::AppPathsValue);
    if (!g_appPaths->SetText(APP_MANAGER))
        Fail("cannot register the stand-in Application Manager");
    for (Package &package : options.packages) {
        LocateCabinet(&package);
        g_scratchBytes = std::max(g_scratchBytes, package.cabinetSize + (32u << 20));
    }

    // One untimed round first: Wine's first start of anything is slower.
    MarkerStartMs();
    RunEmptyDialog(options.empty);
    for (Package &package : options.packages) {
        Package warmUp = package;
        RunSetup(&warmUp, false);
        std::string installed, shipped;
        if (!driver::ReadFileBytes(INSTALLED_CABINET, &installed) || !driver::ReadFileBytes(package.cabinet, &shipped)
            || installed != shipped)
            Fail("%s: the installed cabinet differs from %s", package.label.c_str(), package.cabinet.c_str());
    }

    // Round after round of everything, so that whatever else the machine does
    // falls on every figure alike. Under a hypervisor a write of fresh memory
    // can cost several times its usual time, depending on what ran just before
    // it, so each round also turns the order of the packages and of the steps.
    std::vector<double> markerStartMs, emptyBytes;
    for (int run = 0; run < options.runs; ++run) {
        markerStartMs.push_back(MarkerStartMs());
        if (options.verbose)
            fprintf(stderr, "run %d: stand-in start %.1f ms\n", run, markerStartMs.back());
        size_t count = options.packages.size();
        for (size_t i = 0; i < count; ++i) {
            Package &package = options.packages[run % 2 ? count - 1 - i : i];
            for (int step = 0; step < 4; ++step) {
                switch ((step + run) % 4) {
                case 0: {
                    EmptyDialogRun empty = RunEmptyDialog(options.empty);
                    package.emptyFirstPageMs.push_back(empty.firstPageMs);
                    package.emptyDrawnMs.push_back(empty.drawnMs);
                    emptyBytes.push_back(static_cast<double>(empty.bytes));
                    RunSetup(&package, false);
                    break;
                }
                case 1: RunSetup(&package, true); break;
                case 2: MappedWrite(&package); break;
                case 3: CopyCabinet(&package); break;
                }
            }
            if (options.verbose)
                fprintf(stderr, "  %-*s first page %.1f (empty dialog %.1f), drawn %.1f (%.1f), extraction with stand-in start %.1f, mapped write %.1f, copy %.1f ms; "
                        "readme page %.2f MiB, added %.0f KiB\n", LABEL_WIDTH, package.label.c_str(), package.firstPageMs.back(),
                        package.emptyFirstPageMs.back(), package.drawnMs.back(), package.emptyDrawnMs.back(),
                        package.extractionMs.back(), package.mappedWriteMs.back(), package.copyMs.back(),
                        package.readmeBytes.back() / MIB, package.addedBytes.back() / 1024);
        }
    }
    double markerMs = Median(markerStartMs);
    for (Package &package : options.packages)
        for (double &ms : package.extractionMs)
            ms -= markerMs;

    DeleteFileA(INSTALLED_CABINET);
    DeleteFileA(INSTALLED_INI);
    RemoveDirectoryA(INSTALL_FOLDER);
    DeleteFileA(REFERENCE_FILE);
    DeleteFileA(START_FILE);
    DeleteFileA(SCRATCH_FILE);
    g_appPaths.reset();
    DeleteFileA(APP_MANAGER);
    RemoveDirectoryA(WORK_FOLDER);

    printf("Medians of %d runs, [lowest..highest] beside them; %d setup runs started over for a lost key.\n"
           "Before each timed step the benchmark touches and frees 256 MiB and writes and deletes a %lu MiB file,\n"
           "so that every step meets memory the hypervisor has not taken back (PrimeMemory, bench/setup_bench.cpp).\n\n",
           options.runs, g_lostKeys, g_scratchBytes >> 20);

    printf("1. Extraction: from Alt+N on the agreement page until the stand-in Application Manager starts,\n"
           "   less the stand-in's own start (%s ms when the benchmark starts it itself)\n", Spread(markerStartMs, "%.1f").c_str());
    printf("   %-*s %11s  %-22s %-22s %-22s %7s %7s\n", LABEL_WIDTH, "package", "cabinet B", "setup ms", "mapped write ms",
           "CopyFileA ms", "/mapped", "/copy");
    for (const Package &package : options.packages) {
        double setupMs = Median(package.extractionMs);
        // Against an empty cabinet's write a ratio says nothing.
        std::string ratios = package.cabinetSize
            ? Format("%7.2f %7.2f", setupMs / Median(package.mappedWriteMs), setupMs / Median(package.copyMs))
            : Format("%7s %7s", "-", "-");
        printf("   %-*s %11s  %-22s %-22s %-22s %s\n", LABEL_WIDTH, package.label.c_str(),
               Thousands(package.cabinetSize).c_str(), Spread(package.extractionMs).c_str(),
               Spread(package.mappedWriteMs).c_str(), Spread(package.copyMs).c_str(), ratios.c_str());
    }

    Package *fixed = Role(options, "fixed");
    if (fixed) {
        double fixedMs = Median(fixed->extractionMs);
        printf("   The part that grows with the cabinet: setup less the extraction of the empty cabinet (%s ms),\n"
               "   which is the agreement page closing, the registry, the folder, the INI and the start of the stand-in\n",
               Spread(fixed->extractionMs, "%.1f").c_str());
        printf("   %-*s %11s  %-22s %7s\n", LABEL_WIDTH, "package", "", "setup less fixed ms", "/mapped");
        for (const Package &package : options.packages) {
            if (&package == fixed)
                continue;
            double growingMs = Median(package.extractionMs) - fixedMs;
            printf("   %-*s %11s  %-22s %7.2f\n", LABEL_WIDTH, package.label.c_str(), "", Format("%6.1f", growingMs).c_str(),
                   growingMs / Median(package.mappedWriteMs));
        }
    }

    printf("\n2. Private memory (PagefileUsage; under Wine the resident anonymous memory), sampled as fast as\n"
           "   the benchmark can from the agreement page until setup ends, in runs of their own\n");
    printf("   %-*s %12s %15s %15s %11s %8s\n", LABEL_WIDTH, "package", "readme page", "agreement page", "highest after",
           "added by", "samples");
    printf("   %-*s %12s %15s %15s %11s %8s\n", LABEL_WIDTH, "", "", "", "Next", "extraction", "a run");
    for (const Package &package : options.packages)
        printf("   %-*s %12s %15s %15s %11s %8.0f\n", LABEL_WIDTH, package.label.c_str(), Mib(Median(package.readmeBytes)).c_str(),
               Mib(Median(package.agreementBytes)).c_str(), Mib(Median(package.highestBytes)).c_str(),
               Kib(Median(package.addedBytes)).c_str(), Median(package.samples));
    printf("   %-*s %12s\n", LABEL_WIDTH, "(empty dialog, at its page)", Mib(Median(emptyBytes)).c_str());

    printf("\n3. First page: from CreateProcess until the page is shown (visible), and until it is drawn and\n"
           "   waits for input (WaitForInputIdle); the empty dialog runs just before each timed setup run\n");
    printf("   %-*s %-20s %-20s %6s   %-20s %-20s %6s\n", LABEL_WIDTH, "setup package", "shown ms", "empty dialog",
           "/empty", "drawn ms", "empty dialog", "/empty");
    for (const Package &package : options.packages)
        printf("   %-*s %-20s %-20s %6.2f   %-20s %-20s %6.2f\n", LABEL_WIDTH, package.label.c_str(),
               Spread(package.firstPageMs).c_str(), Spread(package.emptyFirstPageMs).c_str(),
               Median(package.firstPageMs) / Median(package.emptyFirstPageMs), Spread(package.drawnMs).c_str(),
               Spread(package.emptyDrawnMs).c_str(), Median(package.drawnMs) / Median(package.emptyDrawnMs));

    printf("\nTargets\n");
    Package *shipped = Role(options, "shipped");
    Package *big = Role(options, "big");
    if (shipped) {
        double ms = Median(shipped->extractionMs);
        PrintTarget("the shipped package extracted in at most 50 ms", Format("%.1f ms", ms), ms <= 50);
    }
    if (big) {
        double ratio = Median(big->extractionMs) / Median(big->mappedWriteMs);
        PrintTarget("the 90 MB extraction at most 1.2 x the mapped write", Format("%.2f x", ratio), ratio <= 1.2);
    }
    for (Package *package : {shipped, big}) {
        if (!package)
            continue;
        double added = Median(package->addedBytes);
        PrintTarget("the extraction adding under 1 MiB, " + package->label, Kib(added), added < MIB);
    }
    if (shipped) {
        double ratio = Median(shipped->firstPageMs) / Median(shipped->emptyFirstPageMs);
        PrintTarget("the first page shown within 1.2 x the empty dialog's", Format("%.2f x", ratio), ratio <= 1.2);
    }
    return 0;
}
