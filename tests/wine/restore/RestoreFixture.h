#pragma once
// A keepset on drive C: and an installation on a drive of its own: Q: is
// mapped to a scratch folder and the working directory is Q:\work, so the
// installation's \qzt, \db1 and \dbv1 are Q:\qzt, Q:\db1 and Q:\dbv1 and
// the run log is Q:\work\log\qzkeepset.log. The desktop folders point into
// the scratch folder; the Windows directory is the prefix's own. Boxes are
// answered here and kept for the test to read.
#include "restore/RestoreRunHost.h"
#include "restore/RunRestore.h"
#include "support/ProfileFiles.h"
#include "support/WineHost.h"
#include "win/CallCounter.h"
#include "keepset/ManifestFormat.h"
#include "win/FileHash.h"
#include "win/Files.h"
#include "win/MessageBoxes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace restoretest {

using Lines = std::vector<std::string>;

const char kShellFolders[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// The registered installation directory, which a test may point elsewhere.
const char kInstallationKey[] = "SOFTWARE\\Orvella\\Orvella Tool";
// The caption of every box: the test program's name without extension.
const char kCaption[] = "wine_restore_tests";

const char kNoSourceText[] =
    "No datasource was selected in the top list !\nPlease select a previous keepset first.";
const char kErrorsText[] =
    "Errors occurred while restoring the data !\nPlease check the logfile for further information.";
const char kSuccessText[] = "Successfully restored the files from the selected datasource.";
const char kNothingText[] = "No data selected for restore !\nPlease select the data for restore first.";

struct Box {
    std::string text;
    std::string caption;
    unsigned style;
};

class RecordingHost : public RestoreRunHost {
public:
    void ShowWaitCursor() override { events.push_back("wait"); }
    void ShowArrowCursor() override { events.push_back("arrow"); }
    void CloseWithOk() override { events.push_back("close"); }
    Lines events;
};

class RestoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qztest::RemoveConfigFile();
        win::ResetCalls();
        qztest::MakeDirectories(install_ / "work\\log");
        for (const char* directory : {"qzt", "db1", "dbv1"})
            qztest::MakeDirectories(install_ / directory);
        qztest::MapDrive('Q', install_.Path());
        startDirectory_ = win::CurrentDirectory();
        ASSERT_TRUE(win::ChangeDirectory("Q:\\work"));
        commonDesktop_ = qztest::SaveRegistryValue(true, kShellFolders, "Common Desktop");
        userDesktop_ = qztest::SaveRegistryValue(false, kShellFolders, "Desktop");
        installationDirectory_ = qztest::SaveRegistryValue(true, kInstallationKey, "Directory");
        qztest::MakeDirectories(desktops_ / "all");
        qztest::MakeDirectories(desktops_ / "user");
        qztest::SetRegistryString(true, kShellFolders, "Common Desktop", desktops_ / "all");
        qztest::SetRegistryString(false, kShellFolders, "Desktop", desktops_ / "user");
        win::SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned style) {
            boxes_.push_back({text, caption, style});
            if (style == (win::kBoxYesNo | win::kBoxIconQuestion))
                return confirmAnswer_;
            if (style == (win::kBoxYesNo | win::kBoxIconWarning | win::kBoxSecondDefault))
                return warningAnswer_;
            return win::kAnswerOk;
        });
    }

    void TearDown() override
    {
        win::SetMessageBoxHandler(nullptr);
        win::ResetCalls();
        win::ChangeDirectory(startDirectory_);
        qztest::UnmapDrive('Q');
        // A drive some tests map for a keepset or an installation of their own.
        qztest::UnmapDrive('R');
        qztest::RestoreRegistryValue(true, kShellFolders, "Common Desktop", commonDesktop_);
        qztest::RestoreRegistryValue(false, kShellFolders, "Desktop", userDesktop_);
        qztest::RestoreRegistryValue(true, kInstallationKey, "Directory", installationDirectory_);
        for (const char* name : kWindowsFiles)
            qztest::RemoveProfileFile(WindowsFile(name));
        qztest::RemoveConfigFile();
    }

    // Files the tests put into the Windows directory, or that a restore
    // must not put there but would if it failed them, removed afterwards.
    static constexpr const char* kWindowsFiles[] = {"qzrestoretest.ini", "vmqzt.ini", "qzpers.ini",
                                                    "qzrestoretest.dll", "evil.dll"};

    static std::string WindowsFile(const std::string& name) { return qztest::WindowsDir() + "\\" + name; }

    // A file of the keepset, by its path below the keepset directory.
    void Saved(const std::string& relative, const std::string& content) { qztest::WriteFileText(keep_ / relative, content); }
    // The same file as the installation has it, by its path below Q:\.
    std::string Installed(const std::string& relative) { return qztest::ReadFileText(install_ / relative); }
    bool IsInstalled(const std::string& relative) { return qztest::Exists(install_ / relative); }

    // The keepset's record file with these key lines under [Save].
    void Record(const std::string& keyLines)
    {
        qztest::WriteProfileFile(keep_ / "qzkeepset.inf", "[Save]\r\n" + keyLines);
    }
    void Config(const std::string& content) { qztest::WriteProfileFile(qztest::ConfigFilePath(), content); }

    // The manifest and size list a save writes, of every file below the
    // keepset directory as it is now (the record and the lists aside).
    void WriteManifest()
    {
        std::vector<ManifestEntry> entries;
        AddManifestEntries("", entries);
        qztest::WriteFileText(keep_ / kSizeListFileName, FormatSizeList(entries));
        qztest::WriteFileText(keep_ / kManifestFileName, FormatManifest(entries));
    }

    // A keepset chosen with "Select": described by its record file.
    RestoreRequest OtherRoot(const std::string& root) const
    {
        RestoreRequest request;
        request.source = RestoreSource::OtherRoot;
        request.keepsetRoot = root;
        request.recordFile = root + ".\\qzkeepset.inf";
        request.recordSection = "Save";
        return request;
    }
    RestoreRequest OtherRoot() const { return OtherRoot(keep_.Path()); }

    static RestoreRequest Custom(RestoreRequest request, std::vector<CustomRow> rows)
    {
        request.kind = RestoreKind::Custom;
        request.customRows = std::move(rows);
        return request;
    }

    bool Run(const RestoreRequest& request) { return RunRestore(request, host_); }

    // The texts of the run log's stamped lines, without their stamps.
    static Lines LogTexts()
    {
        Lines texts;
        for (const std::string& line : qztest::ReadLines("Q:\\work\\log\\qzkeepset.log")) {
            // "07.12.2026, 10:18:31, text"
            if (line.size() >= 22 && line[2] == '.' && line[5] == '.' && line.compare(10, 2, ", ") == 0 &&
                line[14] == ':' && line.compare(20, 2, ", ") == 0)
                texts.push_back(line.substr(22));
        }
        return texts;
    }
    static bool Logged(const std::string& text)
    {
        const Lines texts = LogTexts();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
    static std::size_t LoggedLinesStartingWith(const std::string& start)
    {
        const Lines texts = LogTexts();
        return static_cast<std::size_t>(std::count_if(texts.begin(), texts.end(), [&](const std::string& text) {
            return text.compare(0, start.size(), start) == 0;
        }));
    }

    void AddManifestEntries(const std::string& relative, std::vector<ManifestEntry>& entries)
    {
        win::DirectorySearch search(keep_ / (relative.empty() ? "*" : relative + "\\*"));
        win::FoundEntry entry;
        while (search.Next(entry)) {
            const std::string path = relative.empty() ? entry.name : relative + "\\" + entry.name;
            if (entry.name == "." || entry.name == "..")
                continue;
            if ((entry.attributes & win::kAttributeDirectory) != 0) {
                AddManifestEntries(path, entries);
            } else if (entry.name.compare(0, 9, "qzkeepset") != 0) {
                ManifestEntry added;
                added.path = path;
                EXPECT_TRUE(win::FileSha256(keep_ / path, added.sha256, added.size)) << path;
                added.sizeKnown = true;
                entries.push_back(added);
            }
        }
    }

    // The line of a keepset without manifest.
    static std::string Unverified(const std::string& root)
    {
        return "The keepset cannot be verified: it has no manifest " + root +
               ".\\qzkeepset.sha256; its files are restored unchecked";
    }

    // The temporary directories and copies ("qzrestore-...") a restore
    // left in a directory.
    static Lines Temporaries(const std::string& directory)
    {
        Lines names;
        win::DirectorySearch search(directory + "\\qzrestore*");
        win::FoundEntry entry;
        while (search.Next(entry))
            names.push_back(entry.name);
        return names;
    }
    static std::string LeftOut(std::size_t count, const std::string& first)
    {
        return "Left out the files that the keepset's manifest does not list (left by an earlier save into the same "
               "directory): " +
               std::to_string(count) + ", the first " + first;
    }

    // The last box shown: the summary after a run.
    std::string Summary() const { return boxes_.empty() ? std::string() : boxes_.back().text; }

    qztest::ScratchFolder keep_{"restore-keep"};
    qztest::ScratchFolder install_{"restore-install"};
    qztest::ScratchFolder desktops_{"restore-desktops"};
    std::vector<Box> boxes_;
    int confirmAnswer_ = win::kAnswerYes;
    // The questions with a warning icon and No as the default button.
    int warningAnswer_ = win::kAnswerNo;
    RecordingHost host_;

private:
    std::string startDirectory_;
    qztest::SavedRegistryValue commonDesktop_;
    qztest::SavedRegistryValue userDesktop_;
    qztest::SavedRegistryValue installationDirectory_;
};

}  // namespace restoretest
