#pragma once
// A prepared installation for save runs: the installation drive Q: mapped to
// a scratch folder with db1, qzt and dbv1, ini files in the Windows
// directory, both desktops in the registry, a web server service key, a
// D: drive for additional directories, and a main-window stand-in that
// receives the run's messages.
#include "config/SaveSettings.h"
#include "support/ReportReceiver.h"
#include "support/WineHost.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

struct ShownBox {
    std::string text;
    std::string caption;
    unsigned style;
    void* owner = nullptr;  // the window that owns the box (win::BoxOwner)
};

class SaveRunTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the save on its own thread as the main window does, and pumps
    // this thread's messages until the end message arrives.
    void RunSave();
    // A fresh stand-in for the main window, no boxes seen, no calls counted.
    void NewReceiver();

    // Every file below the save directory, relative, "\" separated, sorted;
    // directories end with "\".
    std::vector<std::string> SavedTree() const;
    // Every file below a directory with its bytes.
    std::map<std::string, std::string> TreeContents(const std::string& root) const;
    // The lines of one section of the configuration file, as stored.
    std::vector<std::string> ConfigSectionLines(const std::string& section) const;
    std::vector<std::string> LogLines() const;
    std::vector<std::string> ReportTexts() const;
    std::map<std::string, std::string> Section(const std::string& file, const std::string& section) const;

    // The keepset's files as the run's report lines name them (copies and
    // dumps), relative to the save directory: true when the last line for
    // the file was a success.
    std::map<std::string, bool> ReportedFiles() const;
    // Checks the manifest: it lists exactly the files last reported as
    // saved, with the sizes they have, and the system's own checksum tool
    // (sha256sum -c, paths turned to "/") accepts every line.
    void ExpectManifestOfSavedFiles() const;
    // The checksum tool accepts every line of the directory's manifest:
    // each file it lists is there with those bytes.
    bool ManifestMatchesFiles(const std::string& directory) const;

    std::string Root() const { return scratch_->Path(); }
    std::string Install() const { return scratch_->Path() + "\\inst"; }
    std::string SaveDir() const { return saveDir_; }
    void SetSaveDir(const std::string& directory);
    void SetConfig(const std::string& section, const std::string& key, const std::string& value);

    std::unique_ptr<qztest::ScratchFolder> scratch_;
    std::unique_ptr<qztest::ReportReceiver> receiver_;
    std::vector<ShownBox> boxes_;
    std::string saveDir_;
    std::string previousDirectory_;
    qztest::SavedRegistryValue userDesktopBefore_;
};
