#include "MainWindowFixture.h"

#include "support/ListedDrive.h"
#include "support/MessagePump.h"
#include "support/ProfileFiles.h"
#include "win/CallCounter.h"
#include "win/Files.h"
#include "win/MessageBoxes.h"

#include <windows.h>

#include <cstdlib>

namespace uitest {
namespace {

const char* const kInstallationKey = "SOFTWARE\\Orvella\\Orvella Tool";

}  // namespace

void MainWindowTest::SetUp()
{
    win::ResetCalls();
    ResetSaveSettings();
    qztest::RemoveConfigFile();
    scratch_ = std::make_unique<qztest::ScratchFolder>("ui");
    qztest::MapListedDrive('Q', scratch_->Path());
    qztest::SetRegistryString(true, kInstallationKey, "Directory", "Q:\\alarm");
    previousDirectory_ = win::CurrentDirectory();
    win::ChangeDirectory(scratch_->Path());
    boxes_.clear();
    win::SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned style) {
        boxes_.push_back({text, caption, style});
        return win::kAnswerOk;
    });
}

void MainWindowTest::TearDown()
{
    // A save run still at work reports to a window that is gone.
    if (dialog_ != nullptr && dialog_->IsBusy())
        PumpUntil([this] { return !dialog_->IsBusy(); });
    dialog_.reset();
    win::SetMessageBoxHandler(nullptr);
    win::ChangeDirectory(previousDirectory_);
    qztest::DeleteRegistryTree(true, "SOFTWARE\\Orvella");
    qztest::UnmapListedDrive('Q');
    scratch_.reset();
    qztest::RemoveConfigFile();
    ResetSaveSettings();
    win::ResetCalls();
}

void MainWindowTest::Open(const std::string& saveDirectoryText)
{
    dialog_ = std::make_unique<TestMainDialog>();
    dialog_->SaveDirectoryText = saveDirectoryText;
    ASSERT_TRUE(dialog_->Create());
}

std::string MainWindowTest::ItemText(int id) const
{
    char text[1024] = "";
    GetDlgItemTextA(Window(), id, text, sizeof text);
    return text;
}

void MainWindowTest::Click(int id)
{
    SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(Window(), id)));
}

bool MainWindowTest::PumpUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds)
{
    return qztest::PumpUntil(condition, timeoutMilliseconds);
}

std::string MainWindowTest::ConfigValue(const std::string& key) const
{
    const auto content = qztest::ReadProfileContent(qztest::ConfigFilePath());
    const auto section = content.find("Config");
    if (section == content.end())
        return "<missing>";
    const auto value = section->second.find(key);
    return value == section->second.end() ? "<missing>" : value->second;
}

std::string ScreenshotFolder()
{
    const char* folder = std::getenv("QZ_SCREENSHOT_DIR");
    if (folder != nullptr && *folder != '\0')
        return folder;
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string beside = qztest::UnixPathOf(program);
    return beside.substr(0, beside.rfind('/')) + "/screenshots";
}

void TakeScreenshot(const std::string& name)
{
    const std::string folder = ScreenshotFolder();
    qztest::RunUnix({"/bin/mkdir", "-p", folder});
    qztest::RunUnix({"/usr/bin/import", "-window", "root", folder + "/" + name + ".png"});
}

}  // namespace uitest
