// "Select": another keepset directory, read from its record file or, when
// it has none, described by its sub-directories in a record written for it.
#include "RestoreDialogFixture.h"

#include "resource.h"
#include "support/FaultSweep.h"
#include "support/ProfileFiles.h"
#include "win/CallCounter.h"

#include <windows.h>

namespace restoredialogtest {
namespace {

const Lines kFixedRows = {
    "Alarm configuration without group and personnel data (vm001.dbf)",
    "Group and personnel data (qzgroups.dbf, qzpersonal.dbf and qzlink.dbf)",
    "QZT directory with all QZE modules, week- and scheduleplans and batch/cmd programs",
    "All ini-files for general alarm and program settings",
};

class SelectRootTest : public RestoreDialogTest {
protected:
    qztest::ProfileContent Record(const std::string& directory) const
    {
        return qztest::ReadProfileContent(directory + "\\qzkeepset.inf");
    }
};

TEST_F(SelectRootTest, ADirectoryWithoutRecordGetsOneFromItsSubDirectories)
{
    const std::string root = keep_ / "found";
    for (const char* sub : {"qzt", "dbv1", "web\\mysql"})
        qztest::MakeDirectories(root + "\\" + sub);
    qztest::WriteProfileFile(qztest::ConfigFilePath(), "[Config]\r\nLastKeepsetDir=D:\\backup\\DD.MM\\\r\n");
    Open();
    boxes_.clear();

    // Cancel changes nothing.
    Press(IDC_RST_SELECT_ROOT);
    ASSERT_EQ(browserRequests_.size(), 1u);
    EXPECT_EQ(browserRequests_[0].title, "Select");
    EXPECT_EQ(browserRequests_[0].prompt, "Select keepset path");
    EXPECT_EQ(browserRequests_[0].initialPath, "D:\\backup\\DD.MM");
    EXPECT_TRUE(SummaryText().empty());
    EXPECT_FALSE(qztest::Exists(root + "\\qzkeepset.inf"));

    chosen_ = root;
    Press(IDC_RST_SELECT_ROOT);
    const std::string saveType = "Alarm and tool configuration, voice messages, web server configuration, MYSQL data";
    EXPECT_EQ(SummaryText(), "    " + root + "     " + saveType);
    EXPECT_EQ(Record(root), (qztest::ProfileContent{
                                {"Save", {{"Path", root}, {"Date", ""}, {"Time", ""}, {"SaveMsg", "1"},
                                          {"SaveWeb", "1"}, {"SaveMySql", "1"}}}}));
    EXPECT_EQ(CustomRowTexts(),
              (Lines{kFixedRows[0], kFixedRows[1], kFixedRows[2], kFixedRows[3],
                     "All recorded voice alarm and alarm-in messages ", "All web programs (PHP) and configuration",
                     "All saved MySQL databases. The content of the existing databases will be overwritten !"}));
    EXPECT_TRUE(boxes_.empty());
    // Select never writes the last save directory.
    EXPECT_EQ(ConfigValue("Config", "LastKeepsetDir"), "D:\\backup\\DD.MM\\");

    // The second time the record is read: date and time empty, and the
    // alarm and tool part always there.
    qztest::RemoveTree(root + "\\qzt");
    Press(IDC_RST_SELECT_ROOT);
    EXPECT_EQ(SummaryText(), "    " + root + "     " + saveType);
}

TEST_F(SelectRootTest, OnlyWebDumpsGiveNoAlarmPartAndARecordIsReadAsItStands)
{
    const std::string webOnly = keep_ / "webonly";
    qztest::MakeDirectories(webOnly + "\\web\\mysql");
    Open();
    boxes_.clear();
    // Without a last save directory the browser opens at the working directory.
    chosen_ = webOnly;
    Press(IDC_RST_SELECT_ROOT);
    ASSERT_EQ(browserRequests_.size(), 1u);
    EXPECT_EQ(browserRequests_[0].initialPath, "Q:\\work");
    EXPECT_EQ(SummaryText(), "    " + webOnly + "     , web server configuration, MYSQL data");

    // A keepset made by a save: its own record, with date and time.
    const std::string saved = keep_ / "saved";
    qztest::WriteProfileFile(saved + "\\qzkeepset.inf",
                             "[Save]\r\nPath=" + saved +
                                 "\r\nDate=07.12.2026\r\nTime=09:05:00\r\nSaveDesktop=1\r\nSaveAdd3=C:\\data\r\n");
    chosen_ = saved;
    Press(IDC_RST_SELECT_ROOT);
    EXPECT_EQ(SummaryText(), "07.12.2026 09:05:00   " + saved + "     Alarm and tool configuration, desktop");
    EXPECT_EQ(CustomRowTexts(), (Lines{kFixedRows[0], kFixedRows[1], kFixedRows[2], kFixedRows[3],
                                       "All desktop icons", "All additonal files from directory: C:\\data"}));
}

TEST_F(SelectRootTest, ADirectoryWithoutKeepsetDataIsSaidSoInTheSummary)
{
    const std::string withData = keep_ / "data";
    qztest::MakeDirectories(withData + "\\db1");
    const std::string empty = keep_ / "empty";
    qztest::MakeDirectories(empty + "\\other");
    Open();
    boxes_.clear();
    chosen_ = withData;
    Press(IDC_RST_SELECT_ROOT);
    ASSERT_EQ(CustomRowTexts(), kFixedRows);

    chosen_ = empty;
    Press(IDC_RST_SELECT_ROOT);
    EXPECT_EQ(SummaryText(), "No keepset data found under selection " + empty);
    EXPECT_TRUE(boxes_.empty());
    // The record written for it stays; the custom list is left as it was.
    EXPECT_EQ(Record(empty), (qztest::ProfileContent{{"Save", {{"Path", empty}, {"Date", ""}, {"Time", ""}}}}));
    EXPECT_EQ(CustomRowTexts(), kFixedRows);

    // A name the browser shows with "?" (one the code page cannot carry)
    // names no directory: nothing is opened or written by it.
    win::ResetCalls();
    chosen_ = keep_ / "?odz";
    Press(IDC_RST_SELECT_ROOT);
    EXPECT_EQ(SummaryText(), "No keepset data found under selection " + chosen_);
    EXPECT_EQ(win::CallCount(win::Op::Access) + win::CallCount(win::Op::FileWrite), 0u);
    EXPECT_EQ(CustomRowTexts(), kFixedRows);

    // A record that cannot be moved into place: none at all, and a box.
    const std::string again = keep_ / "again";
    qztest::MakeDirectories(again + "\\qzt");
    win::FailCall(win::Op::FileMove, 1, ERROR_DISK_FULL);
    chosen_ = again;
    Press(IDC_RST_SELECT_ROOT);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, again + ".\\qzkeepset.inf could not be written !\nThe file was left as it was.");
    EXPECT_FALSE(qztest::Exists(again + "\\qzkeepset.inf"));
    EXPECT_EQ(qztest::TemporaryFilesIn(again), std::vector<std::string>{});
    EXPECT_EQ(CustomRowTexts(), kFixedRows);
}

}  // namespace
}  // namespace restoredialogtest
