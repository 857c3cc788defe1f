// The restore dialog of the real qzkeepset.exe, opened with "Restore data"
// from the main window and driven from outside as a user would: keepsets
// made by real saves in the keepset list, the custom list filled by a
// mouse click, custom and full restores answered box by box, "Select"
// through the folder browser, the start without any keepset, and the
// dialog in each language.
#include "Installation.h"

#include "config/LowerCase.h"
#include "resource.h"
#include "win/FileHash.h"
#include "win/Placeholders.h"
#include "support/ProfileFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>

using e2e::Installation;

namespace {

using Rows = std::vector<std::vector<std::string>>;
// Path -> bytes of every plain file of the installation a restore writes.
using Files = std::map<std::string, std::string>;

// Message boxes of the restore carry the program's name as caption.
constexpr const char* kBoxCaption = "qzkeepset";

// Bytes a text-mode copy or a cut at a zero would change.
std::string BinaryBytes(const std::string& label)
{
    std::string bytes = label;
    for (int i = 0; i < 512; ++i)
        bytes += static_cast<char>(i % 256);
    return bytes + "\r\n\x1a\n";
}

// The date a save writes to its record: day, month, four-digit year.
std::string TodayDayFirst()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%02u.%02u.%u", now.wDay, now.wMonth, now.wYear);
    return text;
}

bool IsClockTime(const std::string& text)
{
    if (text.size() != 8 || text[2] != ':' || text[5] != ':')
        return false;
    for (std::size_t i : {0u, 1u, 3u, 4u, 6u, 7u}) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

void AddFilesOf(const std::string& directory, Files& files)
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            const std::string path = directory + "\\" + found.cFileName;
            files[path] = qztest::ReadFileText(path);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// The paths whose bytes differ from what was expected, or that are
// missing or should not be there: short to read when a test fails.
std::vector<std::string> Differences(const Files& actual, const Files& expected)
{
    std::vector<std::string> paths;
    for (const auto& [path, bytes] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end())
            paths.push_back(path + " (missing)");
        else if (found->second != bytes)
            paths.push_back(path + " (other bytes)");
    }
    for (const auto& entry : actual) {
        if (expected.count(entry.first) == 0)
            paths.push_back(entry.first + " (not expected)");
    }
    return paths;
}

std::vector<std::string> FirstColumn(const Rows& rows)
{
    std::vector<std::string> texts;
    for (const auto& row : rows)
        texts.push_back(row.empty() ? std::string() : row[0]);
    return texts;
}

class RestoreThroughTheProgram : public Installation {
protected:
    // A keepset holds voice messages and the desktops (the defaults of the
    // prepared server) and two additional directories: a directory and a
    // file pattern.
    void SetUp() override
    {
        Installation::SetUp();
        if (HasFatalFailure())
            return;
        qztest::WriteFileText("Q:\\db1\\vm001.dbf", BinaryBytes("alarm configuration"));
        qztest::WriteFileText("Q:\\dbv1\\v0012_1.vox", BinaryBytes("voice"));
        qztest::WriteFileText("Q:\\qzt\\plan.csv", BinaryBytes("plan"));
        qztest::WriteFileText("Q:\\extra\\table.dat", BinaryBytes("extra"));
        qztest::WriteFileText("Q:\\notes\\one.txt", "first note\r\n");
        qztest::WriteFileText("Q:\\notes\\two.txt", "second note\r\n");
        qztest::WriteFileText("Q:\\notes\\kept.doc", "not a .txt file");
        WriteConfig(std::string());
    }

    // The configuration file: the save options and the given entries.
    static void WriteConfig(const std::string& entries)
    {
        qztest::WriteProfileFile(qztest::ConfigFilePath(),
                                 "[Config]\r\nSaveMSG=1\r\nAciveSaveFiles1=1\r\nSaveFiles1=Q:\\extra\r\n"
                                 "AciveSaveFiles2=1\r\nSaveFiles2=Q:\\notes\\*.txt\r\n" +
                                     entries);
    }

    // A save typed into the main window, its information box (or with
    // errors its error box) closed.
    void SaveFromTheWindow(HWND window, const std::string& directory, const std::string& caption = "Information")
    {
        qzauto::SetControlText(window, IDC_SAVE_DIRECTORY, directory);
        qzauto::ClickButton(window, IDC_SAVE_DATA);
        const HWND box = qzauto::WaitForMessageBox(caption, program_.Id());
        ASSERT_NE(box, nullptr) << "the save did not end";
        qzauto::PressButton(box, IDOK);
        ASSERT_TRUE(qzauto::WaitUntil([&] { return qzauto::IsControlEnabled(window, IDC_SAVE_DATA); }));
    }

    // "Restore data", as a user presses it; the restore dialog once it
    // shows (with keepset entries it comes without a box first).
    HWND OpenRestoreDialog(HWND window)
    {
        qzauto::ClickButton(window, IDC_RESTORE_DATA);
        return qzauto::WaitForDialogOf(program_.Id(), window);
    }

    // The next box of the restore with its text checked, answered; `over`
    // is the window it must hold.
    void Answer(const std::string& expectedText, int button, HWND over = nullptr)
    {
        const HWND box = qzauto::WaitForMessageBox(kBoxCaption, program_.Id());
        ASSERT_NE(box, nullptr) << "no box \"" << expectedText << "\"";
        EXPECT_EQ(qzauto::MessageBoxText(box), expectedText);
        // Modal: the window under the box takes no input meanwhile (no
        // second "Restore" while a box of the run is open).
        if (over != nullptr) {
            EXPECT_EQ(GetWindow(box, GW_OWNER), over);
            EXPECT_FALSE(IsWindowEnabled(over));
        }
        // A box shows only the buttons of its kind: a question Yes and No,
        // the others OK.
        const HWND shown = GetDlgItem(box, button);
        EXPECT_TRUE(shown != nullptr && IsWindowVisible(shown)) << "no button " << button << " in the box";
        EXPECT_EQ(GetDlgItem(box, button == IDYES ? IDOK : IDYES), nullptr);
        qzauto::PressButton(box, button);
        ASSERT_TRUE(qzauto::WaitUntilGone(box));
    }

    // "Restore": the question with the keepset root answered Yes, then the
    // summary box answered OK.
    void RestoreAndAnswer(HWND dialog, const std::string& root, unsigned summaryId)
    {
        qzauto::ClickButton(dialog, IDOK);
        Answer(SubstitutePlaceholders(TextOf("", IDS_RESTORE_QUESTION), root), IDYES, dialog);
        Answer(TextOf("", summaryId), IDOK, dialog);
    }

    // A full restore of the first listed keepset, saved by a run that did
    // not end well: the Save-type text starts with the mark, and the
    // question about the keepset's state comes before the usual one; both
    // answered Yes. The summary and any box between are for the caller.
    void StartFullRestoreOfMarkedKeepset(HWND dialog, const std::string& root, unsigned markId, unsigned questionId)
    {
        const Rows listed = qzauto::ListViewRows(dialog, IDC_RST_KEEPSET_LIST, 4);
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_EQ(listed[0][3].rfind(TextOf("", markId), 0), 0u) << listed[0][3];
        qzauto::ClickListViewRow(dialog, IDC_RST_KEEPSET_LIST, 0);
        qzauto::ClickButton(dialog, IDOK);
        Answer(SubstitutePlaceholders(TextOf("", questionId), root), IDYES, dialog);
        Answer(SubstitutePlaceholders(TextOf("", IDS_RESTORE_QUESTION), root), IDYES, dialog);
    }

    void ChooseCustomRestore(HWND dialog)
    {
        qzauto::ClickButton(dialog, IDC_RST_CUSTOM_RESTORE);
        ASSERT_TRUE(qzauto::WaitUntil([&] { return qzauto::IsControlEnabled(dialog, IDC_RST_CUSTOM_LIST); }));
    }

    void CheckCustomRow(HWND dialog, int row)
    {
        qzauto::ClickListViewCheckBox(dialog, IDC_RST_CUSTOM_LIST, row);
        EXPECT_TRUE(qzauto::IsListViewRowChecked(dialog, IDC_RST_CUSTOM_LIST, row)) << row;
    }

    static std::vector<std::string> CustomRows(HWND dialog)
    {
        return FirstColumn(qzauto::ListViewRows(dialog, IDC_RST_CUSTOM_LIST));
    }

    // The four rows every keepset has, then the rows its record asks for.
    std::vector<std::string> FixedRows(const std::string& code = std::string()) const
    {
        return {TextOf(code, IDS_ITEM_ALARM_CONFIGURATION), TextOf(code, IDS_ITEM_GROUPS_PERSONNEL),
                TextOf(code, IDS_ITEM_QZT_DIRECTORY), TextOf(code, IDS_ITEM_INI_FILES)};
    }
    std::string AdditionalRow(const std::string& value, const std::string& code = std::string()) const
    {
        std::string text = TextOf(code, IDS_ITEM_ADDITIONAL_FILES);
        const auto at = text.find("%s");
        if (at != std::string::npos)
            text.replace(at, 2, value);
        return text;
    }
    // The rows of a keepset saved on the prepared server.
    std::vector<std::string> SavedKeepsetRows() const
    {
        auto rows = FixedRows();
        rows.push_back(TextOf("", IDS_ITEM_DESKTOP));
        rows.push_back(TextOf("", IDS_ITEM_VOICE_MESSAGES));
        rows.push_back(AdditionalRow("Q:\\extra"));
        rows.push_back(AdditionalRow("Q:\\notes\\*.txt"));
        return rows;
    }

    // Every file a restore of the prepared server writes back.
    Files InstallationFiles() const
    {
        Files files;
        for (const std::string& directory :
             {std::string("Q:\\db1"), std::string("Q:\\qzt"), std::string("Q:\\dbv1"), std::string("Q:\\extra"),
              std::string("Q:\\notes"), Root() + "\\desktop\\user", Root() + "\\desktop\\all"})
            AddFilesOf(directory, files);
        for (const char* name : {"qzalarm.ini", "qzpers.ini"}) {
            const std::string path = qztest::WindowsDir() + "\\" + name;
            files[path] = qztest::ReadFileText(path);
        }
        return files;
    }
};

// Keepset list: a keepset made by a save from the window, an entry made
// by hand with other flags, and an entry whose directory is gone between
// them. Custom list: filled by a mouse click on a row, by what that row's
// record says.
TEST_F(RestoreThroughTheProgram, KeepsetListShowsSavedKeepsetsAndAClickFillsTheCustomList)
{
    const std::string handMade = Root() + "\\keep\\handmade";
    qztest::MakeDirectories(handMade + "\\db1");
    const std::string gone = Root() + "\\keep\\gone";
    WriteConfig("[Save1]\r\nPath=" + handMade +
                "\r\nDate=01.02.2026\r\nTime=03:04:05\r\nSaveMsg=0\r\nSaveAlrMsgOnly=0\r\nSaveDesktop=0\r\n"
                "SaveWeb=1\r\nSaveMySql=1\r\nSaveAdd1=\r\nSaveAdd2=\r\nSaveAdd3=\r\nSaveAdd4=\r\n"
                "[Save2]\r\nPath=" +
                gone +
                "\r\nDate=02.02.2026\r\nTime=10:00:00\r\nSaveMsg=1\r\nSaveAlrMsgOnly=1\r\nSaveDesktop=1\r\n"
                "SaveWeb=0\r\nSaveMySql=0\r\nSaveAdd1=Q:\\extra\r\nSaveAdd2=\r\nSaveAdd3=\r\nSaveAdd4=C:\\x\r\n");
    StartProgram();
    const HWND window = MainWindow();
    ASSERT_NE(window, nullptr);
    // Entries 1 and 2 hold other directories: the save takes entry 3 and
    // stores its directory in lower case.
    const std::string saved = Root() + "\\keep\\Third";
    SaveFromTheWindow(window, saved);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(ConfigValue("Save3", "Path"), LowerCase(saved));

    HWND dialog = OpenRestoreDialog(window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(qzauto::WindowText(dialog), "Restore data");
    EXPECT_TRUE(qzauto::IsButtonChecked(dialog, IDC_RST_SOURCE_KEEPSET_LIST));
    EXPECT_FALSE(qzauto::IsButtonChecked(dialog, IDC_RST_SOURCE_OTHER_ROOT));
    EXPECT_TRUE(qzauto::IsButtonChecked(dialog, IDC_RST_FULL_RESTORE));
    EXPECT_TRUE(qzauto::IsControlEnabled(dialog, IDC_RST_KEEPSET_LIST));
    EXPECT_FALSE(qzauto::IsControlEnabled(dialog, IDC_RST_SELECT_ROOT));
    EXPECT_FALSE(qzauto::IsControlEnabled(dialog, IDC_RST_SUMMARY));
    EXPECT_FALSE(qzauto::IsControlEnabled(dialog, IDC_RST_CUSTOM_LIST));
    EXPECT_EQ(qzauto::ListViewRowCount(dialog, IDC_RST_CUSTOM_LIST), 0);
    EXPECT_EQ(qzauto::ListViewSelectedRow(dialog, IDC_RST_KEEPSET_LIST), -1);

    const int widths[] = {65, 55, 210, 368};
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(qzauto::ListViewColumnWidth(dialog, IDC_RST_KEEPSET_LIST, column), widths[column]) << column;

    const std::string savedTime = ConfigValue("Save3", "Time");
    EXPECT_TRUE(IsClockTime(savedTime)) << savedTime;
    EXPECT_EQ(ConfigValue("Save3", "Date"), TodayDayFirst());
    const std::string alarm = TextOf("", IDS_TYPE_ALARM_AND_TOOLS);
    EXPECT_EQ(qzauto::ListViewRows(dialog, IDC_RST_KEEPSET_LIST, 4),
              (Rows{{"01.02.2026", "03:04:05", handMade,
                     alarm + TextOf("", IDS_TYPE_WEB_SERVER) + TextOf("", IDS_TYPE_MYSQL)},
                    {TodayDayFirst(), savedTime, LowerCase(saved),
                     alarm + TextOf("", IDS_TYPE_VOICE_MESSAGES) + TextOf("", IDS_TYPE_DESKTOP)}}));
    EXPECT_EQ(alarm + TextOf("", IDS_TYPE_VOICE_MESSAGES) + TextOf("", IDS_TYPE_DESKTOP),
              "Alarm and tool configuration, voice messages, desktop");
    // Each row knows its entry; entry 2 is not shown.
    EXPECT_EQ(qzauto::ListViewRowData(dialog, IDC_RST_KEEPSET_LIST, 0), 1);
    EXPECT_EQ(qzauto::ListViewRowData(dialog, IDC_RST_KEEPSET_LIST, 1), 3);

    // The gone directory's entry is emptied, key by key, so that the next
    // save takes its place; SaveAlrMsgOnly is not among the keys.
    for (const char* key : {"Path", "Date", "Time", "SaveMsg", "SaveDesktop", "SaveWeb", "SaveMySql", "SaveAdd1",
                            "SaveAdd2", "SaveAdd3", "SaveAdd4"})
        EXPECT_EQ(ConfigValue("Save2", key), "") << key;
    EXPECT_EQ(ConfigValue("Save2", "SaveAlrMsgOnly"), "1");

    // A click on the saved keepset: the fixed rows, then desktop, voice
    // messages and both additional directories, in this order.
    qzauto::ClickListViewRow(dialog, IDC_RST_KEEPSET_LIST, 1);
    EXPECT_EQ(qzauto::ListViewSelectedRow(dialog, IDC_RST_KEEPSET_LIST), 1);
    EXPECT_EQ(CustomRows(dialog), SavedKeepsetRows());
    EXPECT_EQ(SavedKeepsetRows()[5], "All recorded voice alarm and alarm-in messages ");
    EXPECT_EQ(SavedKeepsetRows()[7], "All additonal files from directory: Q:\\notes\\*.txt");
    for (int row = 0; row < 8; ++row)
        EXPECT_FALSE(qzauto::IsListViewRowChecked(dialog, IDC_RST_CUSTOM_LIST, row)) << row;

    // The entry made by hand: web programs before MySQL databases.
    qzauto::ClickListViewRow(dialog, IDC_RST_KEEPSET_LIST, 0);
    auto expected = FixedRows();
    expected.push_back(TextOf("", IDS_ITEM_WEB_PROGRAMS));
    expected.push_back(TextOf("", IDS_ITEM_MYSQL_DATABASES));
    EXPECT_EQ(CustomRows(dialog), expected);

    // A click on no row: no entry, the fixed rows only.
    qzauto::ClickListViewBelowRows(dialog, IDC_RST_KEEPSET_LIST);
    EXPECT_EQ(qzauto::ListViewSelectedRow(dialog, IDC_RST_KEEPSET_LIST), -1);
    EXPECT_EQ(CustomRows(dialog), FixedRows());

    // The next opening ends the list at the emptied entry.
    qzauto::PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(qzauto::WaitUntilGone(dialog));
    dialog = OpenRestoreDialog(window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(FirstColumn(qzauto::ListViewRows(dialog, IDC_RST_KEEPSET_LIST)), std::vector<std::string>{"01.02.2026"});
    qzauto::PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(qzauto::WaitUntilGone(dialog));
    EXPECT_EQ(ExitProgram(window), 0u);
}

// A save, then work on the server that a restore is to undo: two custom
// restores bring back only their checked rows, each row by what it names,
// and a full restore the rest, byte for byte.
TEST_F(RestoreThroughTheProgram, CustomRestoresBringBackTheirRowsAndAFullRestoreTheWholeInstallation)
{
    StartProgram();
    const HWND window = MainWindow();
    ASSERT_NE(window, nullptr);
    const std::string keepset = Root() + "\\keep\\Saved";
    SaveFromTheWindow(window, keepset);
    ASSERT_FALSE(HasFatalFailure());
    const Files saved = InstallationFiles();

    qztest::WriteFileText("Q:\\db1\\vm001.dbf", "damaged");
    DeleteFileA("Q:\\db1\\qzpersonal.dbf");
    qztest::WriteFileText("Q:\\db1\\qzgroups.dbf", "damaged");
    DeleteFileA("Q:\\dbv1\\v0012_1.vox");
    qztest::WriteFileText("Q:\\dbv1\\mail.eml", "damaged");
    qztest::WriteFileText("Q:\\qzt\\plan.csv", "damaged");
    DeleteFileA("Q:\\qzt\\start.bat");
    qztest::WriteProfileFile(qztest::WindowsDir() + "\\qzalarm.ini", "[Alarm]\r\nLines=0\r\n");
    DeleteFileA((Root() + "\\desktop\\user\\Alarm.lnk").c_str());
    qztest::WriteFileText("Q:\\extra\\table.dat", "damaged");
    DeleteFileA("Q:\\notes\\two.txt");
    const Files damaged = InstallationFiles();
    ASSERT_EQ(Differences(damaged, saved).size(), 11u);

    HWND dialog = OpenRestoreDialog(window);
    ASSERT_NE(dialog, nullptr);
    // No keepset chosen yet.
    qzauto::ClickButton(dialog, IDOK);
    Answer(TextOf("", IDS_NO_DATASOURCE), IDOK, dialog);
    EXPECT_EQ(TextOf("", IDS_NO_DATASOURCE),
              "No datasource was selected in the top list !\nPlease select a previous keepset first.");

    qzauto::ClickListViewRow(dialog, IDC_RST_KEEPSET_LIST, 0);
    ASSERT_EQ(CustomRows(dialog), SavedKeepsetRows());
    ChooseCustomRestore(dialog);
    // Custom with no row checked restores nothing; the dialog stays.
    RestoreAndAnswer(dialog, keepset, IDS_NOTHING_RESTORED);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(Differences(InstallationFiles(), damaged), std::vector<std::string>{});

    // The alarm configuration and the voice messages.
    CheckCustomRow(dialog, 0);
    CheckCustomRow(dialog, 5);
    RestoreAndAnswer(dialog, keepset, IDS_RESTORE_SUCCEEDED);
    EXPECT_EQ(TextOf("", IDS_RESTORE_SUCCEEDED), "Successfully restored the files from the selected datasource.");
    EXPECT_TRUE(qzauto::WaitUntilGone(dialog));
    Files expected = damaged;
    expected["Q:\\db1\\vm001.dbf"] = saved.at("Q:\\db1\\vm001.dbf");
    for (const char* name : {"v0012_1.vox", "v0012_2.wav", "mail.eml"}) {
        const std::string path = std::string("Q:\\dbv1\\") + name;
        expected[path] = saved.at(path);
    }
    EXPECT_EQ(Differences(InstallationFiles(), expected), std::vector<std::string>{});

    // The group and personnel data and the second additional directory,
    // a file pattern.
    dialog = OpenRestoreDialog(window);
    ASSERT_NE(dialog, nullptr);
    qzauto::ClickListViewRow(dialog, IDC_RST_KEEPSET_LIST, 0);
    ChooseCustomRestore(dialog);
    CheckCustomRow(dialog, 1);
    CheckCustomRow(dialog, 7);
    RestoreAndAnswer(dialog, keepset, IDS_RESTORE_SUCCEEDED);
    EXPECT_TRUE(qzauto::WaitUntilGone(dialog));
    for (const char* path : {"Q:\\db1\\qzpersonal.dbf", "Q:\\db1\\qzgroups.dbf", "Q:\\notes\\two.txt"})
        expected[path] = saved.at(path);
    EXPECT_EQ(Differences(InstallationFiles(), expected), std::vector<std::string>{});

    // Full: everything else.
    dialog = OpenRestoreDialog(window);
    ASSERT_NE(dialog, nullptr);
    qzauto::ClickListViewRow(dialog, IDC_RST_KEEPSET_LIST, 0);
    RestoreAndAnswer(dialog, keepset, IDS_RESTORE_SUCCEEDED);
    EXPECT_TRUE(qzauto::WaitUntilGone(dialog));
    EXPECT_EQ(Differences(InstallationFiles(), saved), std::vector<std::string>{});

    std::vector<std::string> starts;
    for (const std::string& line : RunLog()) {
        const auto at = line.find("Start ");
        if (at != std::string::npos && line.find(" restore from ") != std::string::npos)
            starts.push_back(line.substr(at));
    }
    EXPECT_EQ(starts, (std::vector<std::string>{"Start custom restore from " + keepset,
                                                "Start custom restore from " + keepset,
                                                "Start custom restore from " + keepset,
                                                "Start full restore from " + keepset}));
    EXPECT_EQ(ExitProgram(window), 0u);
}

// A keepset on a network share: saved from the window to
// \\nas\backup\srv1\YYYY-MM-DD (Wine resolves \\server\share through the
// prefix's dosdevices\unc, here a scratch folder), listed by its UNC path
// and restored in full from there.
TEST_F(RestoreThroughTheProgram, AKeepsetOnANetworkShareIsSavedAndRestoredInFull)
{
    const std::string share = Root() + "\\share";
    qztest::MakeDirectories(share);
    qztest::MapShare("nas", "backup", share);
    StartProgram();
    const HWND window = MainWindow();
    ASSERT_NE(window, nullptr);
    SaveFromTheWindow(window, "\\\\nas\\backup\\srv1\\YYYY-MM-DD");
    ASSERT_FALSE(HasFatalFailure());
    const std::string day = e2e::Today("%04u-%02u-%02u");
    const std::string keepset = "\\\\nas\\backup\\srv1\\" + day;
    EXPECT_EQ(qztest::ReadFileText(share + "\\srv1\\" + day + "\\db1\\vm001.dbf"), BinaryBytes("alarm configuration"));
    EXPECT_EQ(ConfigValue("Save1", "Path"), keepset);
    const Files saved = InstallationFiles();

    qztest::WriteFileText("Q:\\db1\\vm001.dbf", "damaged");
    DeleteFileA("Q:\\dbv1\\v0012_1.vox");
    qztest::WriteFileText("Q:\\extra\\table.dat", "damaged");
    ASSERT_EQ(Differences(InstallationFiles(), saved).size(), 3u);

    const HWND dialog = OpenRestoreDialog(window);
    ASSERT_NE(dialog, nullptr);
    qzauto::ClickListViewRow(dialog, IDC_RST_KEEPSET_LIST, 0);
    RestoreAndAnswer(dialog, keepset, IDS_RESTORE_SUCCEEDED);
    EXPECT_TRUE(qzauto::WaitUntilGone(dialog));
    EXPECT_EQ(Differences(InstallationFiles(), saved), std::vector<std::string>{});
    EXPECT_EQ(ExitProgram(window), 0u);
    qztest::UnmapShare("nas", "backup");
}

// A re-save into the directory of a complete keepset, killed while it
// copies a large voice file: the entry says INCOMPLETE, a full restore
// asks before anything is touched, finds the cut copy against the
// keepset's manifest of the earlier save and restores only the intact
// files; the live voice file keeps its bytes.
TEST_F(RestoreThroughTheProgram, AReSaveKilledWhileItCopiesNeverPutsItsCutCopyOverAGoodFile)
{
    const std::string voice = "Q:\\dbv1\\v0013_1.vox";
    constexpr std::size_t kVoiceSize = 48u << 20;
    qztest::WriteFileText(voice, "first take" + std::string(kVoiceSize - 10, 'a'));
    StartProgram();
    HWND window = MainWindow();
    ASSERT_NE(window, nullptr);
    const std::string keepset = Root() + "\\keep\\Saved";
    SaveFromTheWindow(window, keepset);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(ConfigValue("Save1", "State"), "complete");

    // The voice file is recorded anew; the next save is killed as soon as
    // its copy of it is shorter than the one it replaces.
    qztest::WriteFileText(voice, "second take" + std::string(kVoiceSize - 11, 'b'));
    const std::string copy = LowerCase(keepset) + "\\dbv1\\v0013_1.vox";
    const auto copiedSize = [&]() -> std::size_t {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(copy.c_str(), GetFileExInfoStandard, &data))
            return kVoiceSize;
        return static_cast<std::size_t>(data.nFileSizeLow);
    };
    qzauto::SetControlText(window, IDC_SAVE_DIRECTORY, keepset);
    qzauto::ClickButton(window, IDC_SAVE_DATA);
    const DWORD start = GetTickCount();
    while (copiedSize() == kVoiceSize && GetTickCount() - start < 60000) {
    }
    program_.Kill();
    const std::size_t cut = copiedSize();
    ASSERT_LT(cut, kVoiceSize) << "the save was not killed while it copied the voice file";
    EXPECT_EQ(ConfigValue("Save1", "State"), "running");
    EXPECT_EQ(GetFileAttributesA((keepset + "\\qzkeepset.inf").c_str()), INVALID_FILE_ATTRIBUTES);

    // Work on the server that the restore is to undo.
    const Files before = InstallationFiles();
    qztest::WriteFileText("Q:\\db1\\vm001.dbf", "damaged");
    StartProgram();
    window = MainWindow();
    ASSERT_NE(window, nullptr);
    const HWND dialog = OpenRestoreDialog(window);
    ASSERT_NE(dialog, nullptr);
    const std::string root = ConfigValue("Save1", "Path");
    StartFullRestoreOfMarkedKeepset(dialog, root, IDS_TYPE_INCOMPLETE,
                                    IDS_RESTORE_INCOMPLETE_QUESTION);
    ASSERT_FALSE(HasFatalFailure());
    Answer(SubstitutePlaceholders(TextOf("", IDS_RESTORE_DAMAGED_QUESTION), "1",
                                  root + ".\\dbv1\\v0013_1.vox"),
           IDYES, dialog);
    Answer(TextOf("", IDS_RESTORE_HAD_ERRORS), IDOK, dialog);
    // The intact files are back; the voice file is the second take, whole.
    EXPECT_EQ(Differences(InstallationFiles(), before), std::vector<std::string>{});
    EXPECT_EQ(copiedSize(), cut);
    qzauto::PressButton(dialog, IDCANCEL);
    EXPECT_TRUE(qzauto::WaitUntilGone(dialog));
    EXPECT_EQ(ExitProgram(window), 0u);
}

// A save onto a disk too small for the installation: S: is a small file
// system that scripts/test.sh mounts (QZ_SMALL_DISK, its Linux path). The
// save ends with errors, the entry says WITH ERRORS, a full restore asks
// first, and with Yes no live file is replaced by a cut or empty copy.
TEST_F(RestoreThroughTheProgram, ASaveOntoAFullDiskIsMarkedAndItsRestoreReplacesNoGoodFile)
{
    // Mounting needs rights a developer's run may not have: without the
    // file system the test skips, also in a full run (no QZ_REQUIRE_*
    // refusal), since no run can make one up.
    const char* disk = std::getenv("QZ_SMALL_DISK");
    if (disk == nullptr || *disk == '\0')
        GTEST_SKIP() << "no small file system: QZ_SMALL_DISK is not set (scripts/test.sh mounts one when it may)";
    const std::string link = qztest::WinePrefix() + "/dosdevices/s:";
    ASSERT_EQ(qztest::RunUnix({"/bin/ln", "-sfn", disk, link}), 0);
    struct Unmap {
        std::string link;
        ~Unmap() { qztest::RunUnix({"/bin/rm", "-f", link}); }
    } unmap{link};
    qztest::RunUnix({"/bin/sh", "-c", std::string("rm -rf '") + disk + "'/*"});

    // More voice data than the disk holds.
    for (int i = 1; i <= 4; ++i)
        qztest::WriteFileText("Q:\\dbv1\\v00" + std::to_string(20 + i) + "_1.vox",
                              std::to_string(i) + std::string(256u << 10, static_cast<char>('a' + i)));
    const Files before = InstallationFiles();
    StartProgram();
    const HWND window = MainWindow();
    ASSERT_NE(window, nullptr);
    const std::string keepset = "S:\\keep";
    SaveFromTheWindow(window, keepset, TextOf("", IDS_ERROR_CAPTION));
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(ConfigValue("Save1", "State"), "errors");
    // A copy the full disk cut is removed by the copy itself: what is left
    // in the keepset is whole. The room it frees may take the manifest,
    // which then lists the whole files alone.
    const std::string table = qztest::ReadFileText("S:\\keep\\extra\\table.dat");
    EXPECT_TRUE(table.empty() || table == qztest::ReadFileText("Q:\\extra\\table.dat"));
    const bool manifest = GetFileAttributesA("S:\\keep\\qzkeepset.sha256") != INVALID_FILE_ATTRIBUTES;
    if (manifest) {
        for (const std::string& line : qztest::ReadLines("S:\\keep\\qzkeepset.sha256")) {
            const std::string path = "S:\\keep\\" + line.substr(66);
            std::string digest;
            std::uint64_t size = 0;
            EXPECT_TRUE(win::FileSha256(path, digest, size) && digest == line.substr(0, 64)) << path;
        }
    }

    const HWND dialog = OpenRestoreDialog(window);
    ASSERT_NE(dialog, nullptr);
    StartFullRestoreOfMarkedKeepset(dialog, ConfigValue("Save1", "Path"), IDS_TYPE_WITH_ERRORS,
                                    IDS_RESTORE_WITH_ERRORS_QUESTION);
    ASSERT_FALSE(HasFatalFailure());
    if (manifest) {
        // The whole files go back, each checked against the manifest.
        Answer(TextOf("", IDS_RESTORE_SUCCEEDED), IDOK, dialog);
    } else {
        // No room was left for the manifest either: nothing tells cut and
        // empty copies from whole ones, so nothing is restored.
        Answer(TextOf("", IDS_RESTORE_HAD_ERRORS), IDOK, dialog);
        bool said = false;
        for (const std::string& line : RunLog())
            said = said || line.find("FAILED to verify the keepset") != std::string::npos;
        EXPECT_TRUE(said) << "the run log does not say why nothing was restored";
    }
    EXPECT_EQ(Differences(InstallationFiles(), before), std::vector<std::string>{});
    if (IsWindow(dialog)) {
        qzauto::PressButton(dialog, IDCANCEL);
        EXPECT_TRUE(qzauto::WaitUntilGone(dialog));
    }
    ExitProgram(window);
}

// No keepset entry at all: a box says so and the dialog starts with the
// other root; "Select" then goes through the folder browser, which opens
// at the last save directory of the configuration file.
TEST_F(RestoreThroughTheProgram, WithoutEntriesTheOtherRootIsChosenThroughTheFolderBrowser)
{
    const std::string webOnly = Root() + "\\other\\webonly";
    qztest::MakeDirectories(webOnly + "\\web\\mysql");
    const std::string nothing = Root() + "\\other\\nothing";
    qztest::MakeDirectories(nothing + "\\misc");
    // An entry 1 without a path ends the list before entry 2.
    WriteConfig("LastKeepsetDir=" + webOnly + "\r\n[Save1]\r\nPath=\r\n[Save2]\r\nPath=" + Root() + "\r\n");
    StartProgram();
    const HWND window = MainWindow();
    ASSERT_NE(window, nullptr);

    qzauto::ClickButton(window, IDC_RESTORE_DATA);
    Answer(TextOf("", IDS_NO_PREVIOUS_KEEPSET), IDOK, window);
    EXPECT_EQ(TextOf("", IDS_NO_PREVIOUS_KEEPSET),
              "No previous keepset was found.\nPlease use the select button to select the keepset data to restore.");
    const HWND dialog = qzauto::WaitForDialogOf(program_.Id(), window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(qzauto::WindowText(dialog), "Restore data");
    EXPECT_TRUE(qzauto::IsButtonChecked(dialog, IDC_RST_SOURCE_OTHER_ROOT));
    EXPECT_FALSE(qzauto::IsButtonChecked(dialog, IDC_RST_SOURCE_KEEPSET_LIST));
    EXPECT_FALSE(qzauto::IsControlEnabled(dialog, IDC_RST_KEEPSET_LIST));
    EXPECT_TRUE(qzauto::IsControlEnabled(dialog, IDC_RST_SELECT_ROOT));
    EXPECT_TRUE(qzauto::IsControlEnabled(dialog, IDC_RST_SUMMARY));
    EXPECT_EQ(qzauto::ListViewRowCount(dialog, IDC_RST_KEEPSET_LIST), 0);
    EXPECT_EQ(qzauto::ControlText(dialog, IDC_RST_SUMMARY), "");

    // The browser opens at the last save directory; its OK takes the
    // folder selected there.
    const auto selectFolder = [&](const std::string& expectedFolder) {
        qzauto::ClickButton(dialog, IDC_RST_SELECT_ROOT);
        const HWND browser = qzauto::WaitForMessageBox(TextOf("", IDS_SELECT_BROWSER_TITLE), program_.Id());
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(qzauto::ControlText(browser, IDC_BRW_PROMPT), TextOf("", IDS_SELECT_BROWSER_PROMPT));
        EXPECT_TRUE(qzauto::WaitUntil(
            [&] { return qzauto::ControlText(browser, IDC_BRW_SELECTED_PATH) == expectedFolder; }, 10000))
            << qzauto::ControlText(browser, IDC_BRW_SELECTED_PATH);
        qzauto::PressButton(browser, IDOK);
        ASSERT_TRUE(qzauto::WaitUntilGone(browser));
    };

    // Only web\mysql: a record written from the sub-directories, with no
    // alarm and tool part.
    selectFolder(webOnly);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(qzauto::ControlText(dialog, IDC_RST_SUMMARY),
              "    " + webOnly + "     " + TextOf("", IDS_TYPE_WEB_SERVER) + TextOf("", IDS_TYPE_MYSQL));
    EXPECT_EQ(qztest::ReadProfileContent(webOnly + "\\qzkeepset.inf"),
              (qztest::ProfileContent{{"Save",
                                       {{"Path", webOnly},
                                        {"Date", ""},
                                        {"Time", ""},
                                        {"SaveWeb", "1"},
                                        {"SaveMySql", "1"}}}}));
    auto expectedRows = FixedRows();
    expectedRows.push_back(TextOf("", IDS_ITEM_WEB_PROGRAMS));
    expectedRows.push_back(TextOf("", IDS_ITEM_MYSQL_DATABASES));
    EXPECT_EQ(CustomRows(dialog), expectedRows);

    // No keepset sub-directory: said in the summary; the custom list stays.
    WritePrivateProfileStringA("Config", "LastKeepsetDir", nothing.c_str(), "qzkeepset.ini");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "qzkeepset.ini");
    selectFolder(nothing);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(qzauto::ControlText(dialog, IDC_RST_SUMMARY), SubstitutePlaceholders(TextOf("", IDS_NO_KEEPSET_DATA), nothing));
    EXPECT_EQ(CustomRows(dialog), expectedRows);
    EXPECT_EQ(ConfigValue("Config", "LastKeepsetDir"), nothing);

    // A restore from it finds nothing to restore, and no vm001.dbf, which
    // every save holds: an error; the dialog stays open.
    RestoreAndAnswer(dialog, nothing, IDS_RESTORE_HAD_ERRORS);
    EXPECT_TRUE(IsWindow(dialog));

    // Back to the (empty) keepset list: the other root's controls go off,
    // the custom list stays as it is.
    qzauto::ClickButton(dialog, IDC_RST_SOURCE_KEEPSET_LIST);
    ASSERT_TRUE(qzauto::WaitUntil([&] { return qzauto::IsControlEnabled(dialog, IDC_RST_KEEPSET_LIST); }));
    EXPECT_FALSE(qzauto::IsButtonChecked(dialog, IDC_RST_SOURCE_OTHER_ROOT));
    EXPECT_FALSE(qzauto::IsControlEnabled(dialog, IDC_RST_SELECT_ROOT));
    EXPECT_FALSE(qzauto::IsControlEnabled(dialog, IDC_RST_SUMMARY));
    EXPECT_EQ(CustomRows(dialog), expectedRows);
    qzauto::PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(qzauto::WaitUntilGone(dialog));
    EXPECT_EQ(ExitProgram(window), 0u);
}

// A keepset directory saved into twice, the second time without a file
// the first save took: that file is left out, named once, and no failure.
// A link "qzrestore.tmp" planted in \qzt, pointing out of the
// installation, is no temporary directory of the restore's: it receives
// nothing and stays as it is.
TEST_F(RestoreThroughTheProgram, FilesOfAnEarlierSaveAreLeftOutAndAPlantedLinkReceivesNothing)
{
    qztest::WriteFileText("Q:\\qzt\\old.bat", "first save only");
    StartProgram();
    const HWND window = MainWindow();
    ASSERT_NE(window, nullptr);
    const std::string keepset = Root() + "\\keep\\Saved";
    SaveFromTheWindow(window, keepset);
    ASSERT_FALSE(HasFatalFailure());
    DeleteFileA("Q:\\qzt\\old.bat");
    SaveFromTheWindow(window, keepset);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(qztest::ReadFileText(keepset + "\\qzt\\old.bat"), "first save only");
    const Files saved = InstallationFiles();

    qztest::WriteFileText("Q:\\qzt\\plan.csv", "damaged");
    const std::string planted = Root() + "\\planted";
    qztest::MakeDirectories(planted);
    ASSERT_EQ(qztest::RunUnix({"/bin/ln", "-s", qztest::UnixPathOf(planted),
                               qztest::UnixPathOf("Q:\\qzt") + "/qzrestore.tmp"}),
              0);

    const HWND dialog = OpenRestoreDialog(window);
    ASSERT_NE(dialog, nullptr);
    qzauto::ClickListViewRow(dialog, IDC_RST_KEEPSET_LIST, 0);
    RestoreAndAnswer(dialog, ConfigValue("Save1", "Path"), IDS_RESTORE_SUCCEEDED);
    EXPECT_TRUE(qzauto::WaitUntilGone(dialog));
    EXPECT_EQ(Differences(InstallationFiles(), saved), std::vector<std::string>{});
    EXPECT_FALSE(qztest::Exists("Q:\\qzt\\old.bat"));
    Files inPlanted;
    AddFilesOf(planted, inPlanted);
    EXPECT_TRUE(inPlanted.empty());
    std::vector<std::string> temporaries;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA("Q:\\qzt\\qzrestore*", &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            temporaries.push_back(found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(temporaries, std::vector<std::string>{"qzrestore.tmp"});
    std::size_t leftOut = 0;
    for (const std::string& line : RunLog())
        leftOut += line.find("Left out the files") != std::string::npos && line.find("qzt\\old.bat") != std::string::npos;
    EXPECT_EQ(leftOut, 1u);
    EXPECT_EQ(ExitProgram(window), 0u);
}

// The dialog as a person sees it in each language, with a keepset listed,
// the custom list filled and one row checked. Screenshots go to
// build/.../screenshots as restore-dialog-en, -dt and -fr.
class RestoreDialogInEachLanguage : public RestoreThroughTheProgram,
                                    public ::testing::WithParamInterface<const char*> {};

TEST_P(RestoreDialogInEachLanguage, ShowsTheListedKeepsetAndItsRows)
{
    const std::string code = GetParam();
    if (!code.empty()) {
        QZ_REQUIRE_LANGUAGE_LIBRARY(code);
    }
    const std::string keepset = Root() + "\\keep\\2026-02-01";
    qztest::MakeDirectories(keepset + "\\db1");
    WriteConfig("[Save1]\r\nPath=" + keepset +
                "\r\nDate=01.02.2026\r\nTime=03:04:05\r\nSaveMsg=1\r\nSaveDesktop=1\r\nSaveWeb=1\r\nSaveMySql=1\r\n"
                "SaveAdd1=Q:\\extra\r\n");
    if (!code.empty())
        SetLanguage(code == "dt" ? "DT" : "FR");
    StartProgram();
    const HWND window = MainWindow(TextOf(code, IDS_MAIN_TITLE));
    ASSERT_NE(window, nullptr);
    const HWND dialog = OpenRestoreDialog(window);
    ASSERT_NE(dialog, nullptr);

    const auto rows = qzauto::ListViewRows(dialog, IDC_RST_KEEPSET_LIST, 4);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][3], TextOf(code, IDS_TYPE_ALARM_AND_TOOLS) + TextOf(code, IDS_TYPE_VOICE_MESSAGES) +
                              TextOf(code, IDS_TYPE_DESKTOP) + TextOf(code, IDS_TYPE_WEB_SERVER) +
                              TextOf(code, IDS_TYPE_MYSQL));
    qzauto::ClickListViewRow(dialog, IDC_RST_KEEPSET_LIST, 0);
    ChooseCustomRestore(dialog);
    auto expected = FixedRows(code);
    for (unsigned id : {IDS_ITEM_DESKTOP, IDS_ITEM_VOICE_MESSAGES, IDS_ITEM_WEB_PROGRAMS, IDS_ITEM_MYSQL_DATABASES})
        expected.push_back(TextOf(code, id));
    expected.push_back(AdditionalRow("Q:\\extra", code));
    EXPECT_EQ(CustomRows(dialog), expected);
    CheckCustomRow(dialog, 0);
    TakeScreenshot("restore-dialog-" + (code.empty() ? std::string("en") : code));

    qzauto::PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(qzauto::WaitUntilGone(dialog));
    EXPECT_EQ(ExitProgram(window), 0u);
}

INSTANTIATE_TEST_SUITE_P(Languages, RestoreDialogInEachLanguage, ::testing::Values("", "dt", "fr"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             const std::string code = info.param;
                             return std::string(code.empty() ? "English" : code == "dt" ? "German" : "French");
                         });

}  // namespace
