#include "save/SaveRun.h"

#include "config/CommaList.h"
#include "config/ConfigFile.h"
#include "config/LowerCase.h"
#include "config/MySqlDataDirectory.h"
#include "config/SaveSettings.h"
#include "keepset/Retention.h"
#include "save/CopyPaths.h"
#include "save/CopyPrimitives.h"
#include "save/DumpMySqlDatabase.h"
#include "save/EnsureDirectory.h"
#include "keepset/KeepsetRecord.h"
#include "keepset/KeepsetRecordFormat.h"
#include "save/Reports.h"
#include "save/SaveRunText.h"
#include "save/SavedFiles.h"
#include "save/RunWarning.h"
#include "save/RunLog.h"
#include "win/Files.h"
#include "win/HashingCopy.h"
#include "win/MessageBoxes.h"
#include "win/Process.h"
#include "win/Profile.h"
#include "win/Registry.h"
#include "win/Texts.h"
#include "resource.h"

#include <windows.h>
#include <process.h>

#include <atomic>

namespace {

std::atomic<bool> lastRunHadErrors{false};

// One run's state: the save directory, the installation drive, the list
// entry of the keepset, the files put into it so far and the error flag,
// which every failed copy or dump sets and nothing clears.
class SaveRunSteps {
public:
    SaveRunSteps()
        : saveDir_(SaveSetting(&SaveSettingsRecord::SaveDir)),
          drive_(SaveSetting(&SaveSettingsRecord::InstallDrive)),
          savedFiles_(saveDir_)
    {
    }

    void Run();

private:
    bool CreateSaveDirectory();
    void OpenRunLog();
    bool MarkKeepsetRunning();
    void SaveAlarmDatabase();
    void SavePersonnelDatabases();
    void SaveWindowsIniFiles();
    void SaveToolDirectory();
    void SaveVoiceMessages();
    void SaveDesktops();
    void SaveDesktop(win::RegistryRoot root, const char* value, const char* targetName);
    void SaveWebServer();
    void SaveDatabases();
    void DumpDatabase(const std::string& name, const std::string& targetDirectory);
    void SaveAdditionalDirectories();
    void WriteManifest();
    void StartBatchProgram();
    void AnnounceOutcome();
    void WriteFinalText();
    void WriteRecord();
    void RemoveOldKeepsets();
    void End();

    void CopyByPattern(const std::string& pattern, const std::string& source, const std::string& target);
    void CopyTree(const std::string& sourceParent, const std::string& name, const std::string& targetParent);
    void CopyOneFile(const std::string& source, const std::string& target);
    bool IsPlainNameOrReported(const std::string& name);
    // A red line, and the run ends with errors.
    void ReportFailure(const std::string& text);
    // The primitive, with a directory that cannot be created counted as an
    // error of the run, like a file that cannot be copied.
    bool EnsureDirectory(const std::string& path);
    void SendToList(unsigned message, WPARAM wParam, LPARAM lParam);

    std::string saveDir_;
    std::string drive_;
    KeepsetSlot slot_;
    SavedFiles savedFiles_;
    bool failed_ = false;
};

void SaveRunSteps::Run()
{
    // Every file this thread's copies put into the keepset is collected
    // for its manifest.
    SavedFilesScope collecting(savedFiles_);
    const bool directoryMade = CreateSaveDirectory();
    OpenRunLog();
    SendToList(LB_RESETCONTENT, 0, 0);
    if (!directoryMade) {
        // Nothing can go into it, and a record would list a keepset that is
        // not there.
        ReportStep(win::FormatText(IDS_SAVE_DIRECTORY_FAILED, saveDir_), true);
        failed_ = true;
        AnnounceOutcome();
        WriteFinalText();
        End();
        return;
    }
    if (!MarkKeepsetRunning()) {
        // The entry and the record still speak of the earlier save: nothing
        // in the keepset may change under them, so nothing is copied, and
        // no manifest, record or batch program follows.
        AnnounceOutcome();
        WriteFinalText();
        End();
        return;
    }
    SaveAlarmDatabase();
    SavePersonnelDatabases();
    SaveWindowsIniFiles();
    SaveToolDirectory();
    SaveVoiceMessages();
    SaveDesktops();
    SaveWebServer();
    SaveAdditionalDirectories();
    // The keepset is whole and says so, manifest, size list, record file
    // and list entry, before the batch program, which may copy it to tape
    // or elsewhere.
    WriteManifest();
    WriteRecord();
    RemoveOldKeepsets();
    StartBatchProgram();
    AnnounceOutcome();
    WriteFinalText();
    End();
}

// Level by level with the system's directory call: nothing of the name is
// run or expanded by a command interpreter.
bool SaveRunSteps::CreateSaveDirectory()
{
    if (win::EntryExists(saveDir_))
        return true;
    return win::LastErrorIsNotFound() && CreateDirectoryLevels(saveDir_);
}

void SaveRunSteps::OpenRunLog()
{
    RunLog& log = SaveRunLog();
    if (log.Open(SaveSetting(&SaveSettingsRecord::LogPath))) {
        log.WriteBanner();
        log.WriteLine("Start Keepset");
    }
}

// Before the first copy the keepset says that it is being saved: its old
// record file goes and its list entry gets the state "running", so a run
// that dies leaves it marked. The end of the run writes the same entry.
bool SaveRunSteps::MarkKeepsetRunning()
{
    std::string failedFile;
    if (ChooseKeepsetSlotFor(saveDir_, slot_, &failedFile) &&
        ::MarkKeepsetRunning(saveDir_, slot_, CurrentSaveSettings(), CurrentLocalDateTime(), &failedFile))
        return true;
    ReportStep(win::FormatText(IDS_RECORD_WRITE_FAILED, failedFile), true);
    failed_ = true;
    return false;
}

void SaveRunSteps::SaveAlarmDatabase()
{
    const std::string target = saveDir_ + "\\db1";
    EnsureDirectory(target);
    // Attempted even when the source is missing: the alarm database is the
    // one file every keepset must hold.
    CopyOneFile(drive_ + "\\db1\\vm001.dbf", target + "\\vm001.dbf");
}

void SaveRunSteps::SavePersonnelDatabases()
{
    const std::string target = saveDir_ + "\\db1";
    for (const char* key : {"Pers", "Group", "Link"}) {
        const std::string name = win::ReadProfileString("qzpers.ini", "DBInfo", key, "", 39);
        if (name.empty() || !IsPlainNameOrReported(name))
            continue;
        const std::string source = drive_ + "\\db1\\" + name;
        // A file the system says is not there is not configured for this
        // installation; one it could not look at is not saved.
        if (win::EntryExists(source))
            CopyOneFile(source, JoinPath(target, name));
        else if (!win::LastErrorIsNotFound())
            ReportFailure(win::FormatText(IDS_FILE_SAVE_FAILED, source, JoinPath(target, name)));
    }
}

void SaveRunSteps::SaveWindowsIniFiles()
{
    const std::string target = saveDir_ + "\\win";
    EnsureDirectory(target);
    const std::string windows = win::WindowsDirectory(79);
    if (windows.empty()) {
        // The patterns would name the root of the current drive.
        ReportFailure(win::LoadText(IDS_WINDOWS_DIRECTORY_FAILED));
        return;
    }
    for (const char* name : {"\\qz*.ini", "\\vmqzt.ini", "\\pmqzt.ini", "\\setupal.ini"})
        CopyByPattern(windows + name, windows, target);
}

void SaveRunSteps::SaveToolDirectory()
{
    const std::string target = saveDir_ + "\\qzt";
    EnsureDirectory(target);
    const std::string source = drive_ + "\\qzt";
    for (const char* pattern : {"qztini.dbf", "qz?post*.*", "qztbatch.dbf", "qztque.dbf", "*.qz*", "*.bat",
                                "*.cmd", "*.txt", "*.rtf", "*.ini", "*.csv", "*.bmp"})
        CopyByPattern(source + "\\" + pattern, source, target);
}

void SaveRunSteps::SaveVoiceMessages()
{
    if (!SaveSetting(&SaveSettingsRecord::SaveMSG))
        return;
    const std::string target = saveDir_ + "\\dbv1";
    EnsureDirectory(target);
    const std::string source = drive_ + "\\dbv1";
    const bool alarmOnly = SaveSetting(&SaveSettingsRecord::OnlySaveAlrMSG) != 0;
    CopyByPattern(source + (alarmOnly ? "\\v*_1.vox" : "\\*.vox"), source, target);
    CopyByPattern(source + (alarmOnly ? "\\v*_1.wav" : "\\*.wav"), source, target);
    CopyByPattern(source + "\\*.eml", source, target);
}

void SaveRunSteps::SaveDesktops()
{
    if (!SaveSetting(&SaveSettingsRecord::SaveDesktop))
        return;
    EnsureDirectory(saveDir_ + "\\desktop");
    SaveDesktop(win::RegistryRoot::CurrentUser, "Desktop", "user");
    SaveDesktop(win::RegistryRoot::LocalMachine, "Common Desktop", "all");
}

void SaveRunSteps::SaveDesktop(win::RegistryRoot root, const char* value, const char* targetName)
{
    win::RegistryKey key(root, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    if (!key.IsOpen())
        return;
    std::string folder;
    if (!key.ReadPath(value, folder) || folder.empty()) {
        // Without the folder the pattern would name the current drive's
        // root; that half of the desktop is left out instead.
        WriteLogLine(DesktopNotFoundText(value));
        return;
    }
    const std::string target = saveDir_ + "\\desktop\\" + targetName;
    EnsureDirectory(target);
    CopyByPattern(folder + ".\\*.*", folder, target);
}

void SaveRunSteps::SaveWebServer()
{
    if (!SaveSetting(&SaveSettingsRecord::SaveWeb) || SaveSetting(&SaveSettingsRecord::WebServerKind) <= 0)
        return;
    const std::string htdocsAsRead =
        win::ReadProfileString(kConfigFile, kSectionConfig, "WebHtdocsPath", "", 255);
    const std::string htdocs = LowerCase(htdocsAsRead);
    const bool ownLayout = htdocs.find("qz_web") != std::string::npos;

    EnsureDirectory(saveDir_ + "\\web");
    const std::string target = saveDir_ + "\\web\\htdocs";
    EnsureDirectory(target);
    CopyByPattern(htdocsAsRead + "\\*.php", htdocsAsRead, target);
    if (ownLayout) {
        CopyTree(htdocs, "inc", target);
    } else {
        CopyTree(htdocs, "include", target);
        CopyTree(htdocs, "ini", target);
    }
    if (SaveSetting(&SaveSettingsRecord::SaveSubHtdocs)) {
        const std::string list = win::ReadProfileString(kConfigFile, kSectionConfig, "HtdocsSubDirToSave", "", 511);
        for (const std::string& listed : SplitCommaList(list)) {
            const std::string name = LowerCase(listed);
            if (name != "include" && name != "ini")
                CopyTree(htdocs, name, target);
        }
    }
    const std::string conf = WebConfDirectory(htdocs, ownLayout);
    if (!conf.empty() && win::EntryExists(conf)) {
        const std::string confTarget = saveDir_ + "\\web\\conf";
        EnsureDirectory(confTarget);
        CopyByPattern(conf + "\\*.*", conf, confTarget);
    } else if (!conf.empty() && !win::LastErrorIsNotFound()) {
        ReportFailure(win::FormatText(IDS_DIRECTORY_READ_FAILED, conf, std::to_string(win::LastError())));
    }
    if (SaveSetting(&SaveSettingsRecord::SaveMySql))
        SaveDatabases();
}

void SaveRunSteps::SaveDatabases()
{
    const std::string target = saveDir_ + "\\mysql";
    EnsureDirectory(target);
    if (win::ReadProfileInt(kConfigFile, kSectionMySql, "SaveSpecifiedDatabases", 0) != 0) {
        const std::string list = win::ReadProfileString(kConfigFile, kSectionMySql, "DumpDatabase", "", 511);
        for (const std::string& name : SplitCommaList(list)) {
            if (IsPlainNameOrReported(name))
                DumpDatabase(name, target);
        }
        return;
    }
    const std::string dataDirectory = FindMySqlDataDirectoryForSaveRun();
    if (dataDirectory.empty()) {
        // Searching "" would list the working directory's sub-directories
        // as databases.
        WriteLogLine(NoDataDirectoryText());
        return;
    }
    win::DirectorySearch search(dataDirectory + ".\\*.*");
    win::FoundEntry entry;
    while (search.Next(entry)) {
        if (entry.attributes == 16 && entry.name[0] != '.')
            DumpDatabase(entry.name, target);
    }
    if (search.Failed())
        ReportFailure(win::FormatText(IDS_DIRECTORY_READ_FAILED, dataDirectory, std::to_string(search.Error())));
}

void SaveRunSteps::DumpDatabase(const std::string& name, const std::string& targetDirectory)
{
    // The dump program has ended when DumpMySqlDatabase returns: its file
    // is read back like every copy.
    const std::string dumpFile = JoinPathDotted(targetDirectory, name + ".sql");
    if (DumpMySqlDatabase(name, targetDirectory) && KeepSavedFile(dumpFile)) {
        ReportStep(win::FormatText(IDS_DUMP_STARTED, name), false);
    } else {
        ForgetSavedFile(dumpFile);
        ReportStep(win::FormatText(IDS_DUMP_FAILED, name), true);
        failed_ = true;
    }
}

void SaveRunSteps::SaveAdditionalDirectories()
{
    for (int k = 1; k <= 4; ++k) {
        const SaveSettingsRecord settings = CurrentSaveSettings();
        if (settings.AciveSaveFiles(k) && CopyAdditionalDirectory(settings.SaveFiles(k)) == 0)
            failed_ = true;
    }
}

void SaveRunSteps::WriteManifest()
{
    if (savedFiles_.WriteManifest())
        return;
    ReportStep(win::FormatText(IDS_FILE_SAVE_FAILED, savedFiles_.ManifestTemporaryPath(), savedFiles_.ManifestPath()),
               true);
    failed_ = true;
}

void SaveRunSteps::StartBatchProgram()
{
    if (!SaveSetting(&SaveSettingsRecord::AciveStartBatch))
        return;
    const std::string commandLine = SaveSetting(&SaveSettingsRecord::StartBatch);
    // Not waited for. The keepset is whole without it, so its record
    // stays; the run's outcome tells that the copy it makes is missing.
    if (!commandLine.empty() && !win::StartProgram(commandLine, win::kShowNormal))
        ReportFailure(win::FormatText(IDS_BATCH_START_FAILED, commandLine));
}

void SaveRunSteps::AnnounceOutcome()
{
    const bool unattended = SaveSetting(&SaveSettingsRecord::Unattended) != 0;
    if (failed_) {
        RaiseRunWarning(win::LoadText(IDS_SAVE_ERRORS_BOX), win::LoadText(IDS_ERROR_CAPTION));
        const std::string failedLine = win::LoadText(IDS_FAILED_TO_SAVE);
        SendToList(LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(failedLine.c_str()));
    } else if (!unattended) {
        win::ShowMessageBox(win::LoadText(IDS_SAVE_SUCCESS_BOX), win::LoadText(IDS_INFORMATION_CAPTION),
                            win::kBoxIconInformation);
    }
}

// After the record and the batch program, so that the final text counts a
// record that could not be written and a batch program that did not start.
void SaveRunSteps::WriteFinalText()
{
    RunLog& log = SaveRunLog();
    if (log.IsOpen()) {
        log.WriteEmptyLine();
        log.WriteLine(win::LoadText(failed_ ? IDS_SAVE_HAD_ERRORS : IDS_SAVE_ALL_SUCCEEDED));
    }
}

void SaveRunSteps::WriteRecord()
{
    std::string failedFile;
    // The entry chosen and marked at the start (a run whose mark failed
    // does not come here), so that the end writes the entry its mark went
    // into.
    const bool written = WriteKeepsetRecord(saveDir_, slot_, CurrentSaveSettings(), CurrentLocalDateTime(),
                                            failed_ ? kStateErrors : kStateComplete, &failedFile);
    if (written)
        return;
    // A record that cannot be written is a failure of the run like any
    // other.
    ReportStep(win::FormatText(IDS_RECORD_WRITE_FAILED, failedFile), true);
    failed_ = true;
}

// Only after a save that ended complete, its record written: one with
// errors deletes nothing. Before the batch program, which then finds the
// keepsets that stay.
void SaveRunSteps::RemoveOldKeepsets()
{
    if (failed_)
        return;
    const bool removed = ApplyRetention(SaveSetting(&SaveSettingsRecord::SaveDirAsTyped), saveDir_,
                                        [](RetentionLine kind, const std::string& text) {
                                            if (kind == RetentionLine::LogOnly)
                                                WriteLogLine(text);
                                            else
                                                ReportStep(text, kind == RetentionLine::Failed);
                                        });
    if (!removed)
        failed_ = true;
}

void SaveRunSteps::End()
{
    lastRunHadErrors = failed_;
    const HWND mainWindow = SaveSetting(&SaveSettingsRecord::MainWindow);
    if (mainWindow != nullptr)
        SendMessageA(mainWindow, kSaveRunEndMessage, 0, 0);
    SaveRunLog().Close();
}

void SaveRunSteps::CopyByPattern(const std::string& pattern, const std::string& source, const std::string& target)
{
    if (CopyFilesByPattern(pattern, source, target) == 1)
        failed_ = true;
}

void SaveRunSteps::CopyTree(const std::string& sourceParent, const std::string& name, const std::string& targetParent)
{
    if (CopyDirectoryTree(sourceParent, name, targetParent) == 1)
        failed_ = true;
}

void SaveRunSteps::CopyOneFile(const std::string& source, const std::string& target)
{
    // The copy hashes what it writes, for the manifest: each byte is read once.
    std::string sha256;
    std::uint64_t size = 0;
    if (win::CopyFileHashing(source, target, sha256, size) && KeepCopiedSavedFile(target, sha256, size)) {
        ReportStep(win::FormatText(IDS_FILE_SAVED, source, target), false);
    } else {
        ForgetSavedFile(target);
        ReportStep(win::FormatText(IDS_FILE_SAVE_FAILED, source, target), true);
        failed_ = true;
    }
}

// A configured name with a separator, a drive colon or ".." could lead a
// copy or a dump out of its directory: it is refused.
bool SaveRunSteps::IsPlainNameOrReported(const std::string& name)
{
    if (IsPlainName(name))
        return true;
    ReportStep(win::FormatText(IDS_NAME_REFUSED, name), true);
    failed_ = true;
    return false;
}

void SaveRunSteps::ReportFailure(const std::string& text)
{
    ReportStep(text, true);
    failed_ = true;
}

bool SaveRunSteps::EnsureDirectory(const std::string& path)
{
    if (::EnsureDirectory(path))
        return true;
    failed_ = true;
    return false;
}

void SaveRunSteps::SendToList(unsigned message, WPARAM wParam, LPARAM lParam)
{
    const HWND mainWindow = SaveSetting(&SaveSettingsRecord::MainWindow);
    if (mainWindow != nullptr)
        SendDlgItemMessageA(mainWindow, kColourMessageListId, message, wParam, lParam);
}

void __cdecl SaveRunThread(void*)
{
    SaveRun();
}

}  // namespace

void SaveRun()
{
    // The run's boxes belong to the main window, which they then stay in
    // front of, even though this thread has no window of its own.
    win::BoxOwnerScope boxOwner(SaveSetting(&SaveSettingsRecord::MainWindow));
    SaveRunSteps().Run();
}

bool StartSaveRun()
{
    return _beginthread(SaveRunThread, 0, nullptr) != static_cast<uintptr_t>(-1);
}

bool LastSaveRunHadErrors()
{
    return lastRunHadErrors;
}
