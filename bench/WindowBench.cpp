// A save as the operator sees it: the real qzkeepset.exe, its window on
// screen, driven from this process (type the directory, press "Save data",
// wait for the closing box), against a plain CopyFileA loop over the same
// files in the same run, alternating, best of N. Meanwhile a probe sends
// WM_NULL to the window every 50 ms and notes how long each answer takes.
// Last, the program's list gets 50,000 lines written into it the way the
// save run sends them, and its peak working set is read.
//
//   qz_window_bench [--program <unix path of qzkeepset.exe>] [--scale N]
//                   [--rounds N] [--lines N] [--hidden]
//
// --scale multiplies the installation (1: about 4,500 files), --lines 0
// skips the memory measurement, --hidden saves with the window hidden (to
// tell what the window costs from what the rest does). Prints "window save
// ratio: X" (best plain loop time / best save time, 7 rounds unless told),
// the median of the rounds' own ratios, "window p99 ms: Y", "window max ms:
// Z", the memory, and last "ratio: X", the window save ratio.
#include "Automation.h"
#include "resource.h"
#include "BenchSupport.h"
#include "support/WineHost.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using bench::Seconds;
using bench::SettleDisk;
using bench::WriteFilled;

const std::string kRoot = "C:\\qzwin";
const std::string kInstall = kRoot + "\\inst";  // drive Q:
const char* const kTitle = "Orvella Backup and Restore Tool";
const char* const kInstallationKey = "SOFTWARE\\Orvella\\Orvella Tool";
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr DWORD kRunTimeout = 3600 * 1000;

using Clock = std::chrono::steady_clock;

// One folder of the installation: where its files lie, how many, and the
// extensions the save looks for there (taken in turn).
struct Folder {
    std::string source;
    std::string copyName;  // the plain loop's target below its root
    int files;
    std::vector<const char*> extensions;
};

// Small files spread as on a server: the tool directory, the voice
// messages and mails, the desktop, and the web pages as an additional
// directory. 1 to 8 KiB each.
std::vector<Folder> MakeInstallation(int scale)
{
    std::vector<Folder> folders = {
        {kInstall + "\\qzt", "qzt", 1200 * scale, {".txt", ".ini", ".csv", ".bat", ".qzl"}},
        {kInstall + "\\dbv1", "dbv1", 1800 * scale, {".vox", ".wav", ".eml"}},
        {kRoot + "\\desktop\\user", "desktop", 300 * scale, {".lnk", ".txt"}},
        {kInstall + "\\htdocs", "htdocs", 1200 * scale, {".php", ".inc", ".html"}},
    };
    qztest::MakeDirectories(kInstall + "\\db1");
    qztest::MakeDirectories(kRoot + "\\desktop\\all");
    WriteFilled(kInstall + "\\db1\\vm001.dbf", 8192, 'v');
    char name[64];
    for (const Folder& folder : folders) {
        qztest::MakeDirectories(folder.source);
        for (int i = 0; i < folder.files; ++i) {
            std::snprintf(name, sizeof name, "\\f%06d%s", i, folder.extensions[i % folder.extensions.size()]);
            WriteFilled(folder.source + name, 1024 * (1 + i % 8), static_cast<char>('a' + i % 26));
        }
    }
    return folders;
}

// The plain loop: every file of every folder, and the alarm database,
// copied with CopyFileA.
double CopyLoop(const std::vector<Folder>& folders, const std::string& target)
{
    qztest::RemoveTree(target);
    for (const Folder& folder : folders)
        qztest::MakeDirectories(target + "\\" + folder.copyName);
    qztest::MakeDirectories(target + "\\db1");
    SettleDisk();
    const auto start = Clock::now();
    CopyFileA((kInstall + "\\db1\\vm001.dbf").c_str(), (target + "\\db1\\vm001.dbf").c_str(), FALSE);
    for (const Folder& folder : folders) {
        WIN32_FIND_DATAA data;
        const HANDLE search = FindFirstFileA((folder.source + "\\*").c_str(), &data);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            CopyFileA((folder.source + "\\" + data.cFileName).c_str(),
                      (target + "\\" + folder.copyName + "\\" + data.cFileName).c_str(), FALSE);
        } while (FindNextFileA(search, &data));
        FindClose(search);
    }
    return Seconds(start);
}

// Sends WM_NULL to the window every 50 ms from a thread of its own and
// keeps each answer time in milliseconds.
class Probe {
public:
    explicit Probe(HWND window)
        : thread_([this, window] {
              LARGE_INTEGER frequency;
              QueryPerformanceFrequency(&frequency);
              while (!stop_) {
                  LARGE_INTEGER before;
                  LARGE_INTEGER after;
                  DWORD_PTR answer = 0;
                  QueryPerformanceCounter(&before);
                  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
                  QueryPerformanceCounter(&after);
                  samples.push_back(1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) /
                                    static_cast<double>(frequency.QuadPart));
                  Sleep(50);
              }
          })
    {
    }
    ~Probe() { Stop(); }
    void Stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    std::vector<double> samples;

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// One save from the window: the time from the click on "Save data" to the
// closing box, which the run shows once every file is copied.
struct SaveResult {
    double seconds = -1;
    std::vector<double> answers;
    std::size_t lines = 0;
};

SaveResult SaveFromWindow(qzauto::Program& program, HWND window, const std::string& target, bool countLines)
{
    SaveResult result;
    qztest::RemoveTree(target);
    SettleDisk();
    qzauto::SetControlText(window, IDC_SAVE_DIRECTORY, target);
    Probe probe(window);
    const auto start = Clock::now();
    qzauto::ClickButton(window, IDC_SAVE_DATA);
    const HWND box = qzauto::WaitForDialogOf(program.Id(), window, kRunTimeout);
    const double seconds = Seconds(start);
    probe.Stop();
    if (box == nullptr)
        return result;
    // The box may be found before its caption is set.
    std::string caption;
    qzauto::WaitUntil(
        [&] {
            caption = qzauto::WindowText(box);
            return !caption.empty();
        },
        5000);
    qzauto::PressButton(box, IDOK);
    if (!qzauto::WaitUntil([&] { return qzauto::IsControlEnabled(window, IDC_SAVE_DATA); }, 60000) ||
        caption != "Information") {
        std::fprintf(stderr, "qz_window_bench: the save ended with the box \"%s\"\n", caption.c_str());
        return result;
    }
    result.seconds = seconds;
    result.answers = std::move(probe.samples);
    if (countLines)
        result.lines = qzauto::ListLines(window, IDC_MESSAGE_LIST).size();
    return result;
}

double Percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// Writes report lines into the program's memory and sends each as the save
// run does (WM_USER+2, its address as lParam): the real handler, the real
// list. The seconds it took; peakBytes gets the program's peak working set,
// roundTrip the milliseconds of one message that does nothing (WM_NULL),
// what the protocol of one sent message per line costs by itself.
double FillList(const qzauto::Program& program, HWND window, int lines, std::size_t& peakBytes, double& roundTrip)
{
    peakBytes = 0;
    constexpr int kTrips = 2000;
    const auto tripsStart = Clock::now();
    for (int i = 0; i < kTrips; ++i)
        SendMessageA(window, WM_NULL, 0, 0);
    roundTrip = Seconds(tripsStart) * 1000.0 / kTrips;
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ |
                                           PROCESS_QUERY_INFORMATION,
                                       FALSE, program.Id());
    if (process == nullptr)
        return -1;
    constexpr int kBatch = 500;
    constexpr std::size_t kSlot = 128;
    char* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, kBatch * kSlot, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (remote == nullptr) {
        CloseHandle(process);
        return -1;
    }
    SendDlgItemMessageA(window, IDC_MESSAGE_LIST, LB_RESETCONTENT, 0, 0);
    std::vector<char> batch(kBatch * kSlot, '\0');
    const auto start = Clock::now();
    for (int first = 0; first < lines; first += kBatch) {
        const int count = std::min(kBatch, lines - first);
        for (int i = 0; i < count; ++i)
            std::snprintf(&batch[i * kSlot], kSlot, "Q:\\dbv1.\\f%06d.vox saved to C:\\qzwin\\keep\\dbv1.\\f%06d.vox",
                          first + i, first + i);
        SIZE_T written = 0;
        WriteProcessMemory(process, remote, batch.data(), batch.size(), &written);
        for (int i = 0; i < count; ++i)
            SendMessageA(window, WM_USER + 2, (first + i) % 1000 == 999 ? 1 : 0,
                         reinterpret_cast<LPARAM>(remote + i * kSlot));
    }
    // The end of a run shows the last lines.
    SendMessageA(window, WM_USER + 1, 0, 0);
    const double seconds = Seconds(start);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process, &counters, sizeof counters))
        peakBytes = counters.PeakWorkingSetSize;
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return seconds;
}

struct Options {
    std::string program;
    int scale = 1;
    int rounds = 7;
    int lines = 50000;
    // The same with the window hidden: what the window itself costs.
    bool hidden = false;
};

Options ReadOptions(int argc, char** argv)
{
    Options options;
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string folder = self;
    folder = folder.substr(0, folder.rfind('\\'));
    options.program = folder.substr(0, folder.rfind('\\')) + "\\bin\\qzkeepset.exe";
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--hidden") {
            options.hidden = true;
            continue;
        }
        if (i + 1 >= argc)
            break;
        ++i;
        if (name == "--program")
            options.program = qzauto::WindowsPathOfUnix(argv[i]);
        else if (name == "--scale")
            options.scale = std::max(1, std::atoi(argv[i]));
        else if (name == "--rounds")
            options.rounds = std::max(1, std::atoi(argv[i]));
        else if (name == "--lines")
            options.lines = std::max(0, std::atoi(argv[i]));
    }
    return options;
}

struct RegistryChange {
    bool localMachine;
    const char* key;
    const char* value;
    std::string data;
    qztest::SavedRegistryValue saved;
};

}  // namespace

int main(int argc, char** argv)
{
    const Options options = ReadOptions(argc, argv);
    qzauto::EndProcessesNamed("qzkeepset.exe");
    qztest::RemoveTree(kRoot);
    const auto folders = MakeInstallation(options.scale);
    qztest::MakeDirectories(kInstall + "\\log");
    qztest::MapDrive('Q', kInstall);
    int files = 1;
    for (const Folder& folder : folders)
        files += folder.files;

    std::vector<RegistryChange> changes = {
        {true, kInstallationKey, "Directory", "Q:\\alarm", {}},
        {false, kShellFolders, "Desktop", kRoot + "\\desktop\\user", {}},
        {false, kUserShellFolders, "Desktop", kRoot + "\\desktop\\user", {}},
        {true, kShellFolders, "Common Desktop", kRoot + "\\desktop\\all", {}},
        {true, kUserShellFolders, "Common Desktop", kRoot + "\\desktop\\all", {}},
    };
    for (RegistryChange& change : changes) {
        change.saved = qztest::SaveRegistryValue(change.localMachine, change.key, change.value);
        qztest::SetRegistryString(change.localMachine, change.key, change.value, change.data);
    }
    qztest::RemoveConfigFile();
    qztest::WriteFileText(qztest::ConfigFilePath(),
                          "[Config]\r\nSaveMSG=1\r\nSaveDesktop=1\r\nSaveWeb=0\r\nAciveSaveFiles1=1\r\n"
                          "SaveFiles1=Q:\\htdocs\\\r\nAciveStartBatch=0\r\n");
    std::printf("window installation: %d small files (qzt %d, dbv1 %d, desktop %d, htdocs %d, db1 1)\n", files,
                folders[0].files, folders[1].files, folders[2].files, folders[3].files);
    std::fflush(stdout);

    int status = 1;
    qzauto::Program program;
    double bestPlain = 1e30;
    double bestSave = 1e30;
    std::vector<double> roundRatios;  // each round's loop against its own save
    std::vector<double> answers;
    if (!program.Start("\"" + options.program + "\"", "Q:\\")) {
        std::fprintf(stderr, "qz_window_bench: cannot start %s\n", options.program.c_str());
    } else if (const HWND window = qzauto::WaitForWindow(kTitle, program.Id(), 60000)) {
        bool failed = false;
        if (options.hidden)
            ShowWindow(window, SW_HIDE);
        for (int round = 1; round <= options.rounds && !failed; ++round) {
            const double plain = CopyLoop(folders, kRoot + "\\plain");
            const SaveResult save = SaveFromWindow(program, window, kRoot + "\\keep", round == 1);
            if (save.seconds < 0) {
                failed = true;
                break;
            }
            bestPlain = std::min(bestPlain, plain);
            bestSave = std::min(bestSave, save.seconds);
            roundRatios.push_back(plain / save.seconds);
            answers.insert(answers.end(), save.answers.begin(), save.answers.end());
            std::printf("window round %d: plain CopyFileA loop %.2f s, save with the window %s %.2f s%s\n",
                        round, plain, options.hidden ? "hidden" : "on screen", save.seconds,
                        round == 1 ? (", " + std::to_string(save.lines) + " lines").c_str() : "");
            std::fflush(stdout);
            if (round == 1 && save.lines < static_cast<std::size_t>(files)) {
                std::fprintf(stderr, "qz_window_bench: the save reported %zu lines for %d files\n", save.lines,
                             files);
                failed = true;
            }
        }
        qztest::RemoveTree(kRoot + "\\plain");
        qztest::RemoveTree(kRoot + "\\keep");
        if (!failed) {
            if (options.lines > 0) {
                std::size_t peak = 0;
                double roundTrip = 0;
                const double seconds = FillList(program, window, options.lines, peak, roundTrip);
                std::printf("window memory: peak working set %.1f MiB with %d lines in the list (%.2f ms per line "
                            "sent, %.2f ms per message that does nothing)\n",
                            static_cast<double>(peak) / (1024.0 * 1024.0), options.lines,
                            seconds * 1000.0 / options.lines, roundTrip);
            }
            const double ratio = bestPlain / bestSave;
            std::printf("window save: best plain loop %.2f s, best save %.2f s, %zu answer times\n", bestPlain,
                        bestSave, answers.size());
            std::printf("window p99 ms: %.1f\n", Percentile(answers, 0.99));
            std::printf("window max ms: %.1f\n", answers.empty() ? 0.0 : *std::max_element(answers.begin(), answers.end()));
            // This machine runs in phases that speed up or slow down a whole
            // round; the ratio of each round's adjacent pair shows what the
            // best-of figures may hide.
            std::printf("window save ratio, median of the rounds: %.3f (lowest %.3f, highest %.3f)\n",
                        Percentile(roundRatios, 0.5), *std::min_element(roundRatios.begin(), roundRatios.end()),
                        *std::max_element(roundRatios.begin(), roundRatios.end()));
            std::printf("window save ratio: %.3f\n", ratio);
            std::printf("ratio: %.3f\n", ratio);
            status = 0;
        }
        qzauto::ClickButton(window, IDOK);
        DWORD exitCode = 0;
        if (!program.WaitForExit(exitCode, 30000))
            program.Kill();
    } else {
        std::fprintf(stderr, "qz_window_bench: no window \"%s\"\n", kTitle);
    }
    program.Kill();
    for (const RegistryChange& change : changes)
        qztest::RestoreRegistryValue(change.localMachine, change.key, change.value, change.saved);
    qztest::DeleteRegistryTree(true, "SOFTWARE\\Orvella");
    qztest::RemoveConfigFile();
    qztest::UnmapDrive('Q');
    qztest::RemoveTree(kRoot);
    return status;
}
