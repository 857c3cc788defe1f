#include "ui/KeepsetDescription.h"

#include "resource.h"

#include <gtest/gtest.h>

namespace {

SaveTypeTexts Texts()
{
    return {"Alarm and tool configuration", ", voice messages", ", desktop", ", web server configuration",
            ", MYSQL data"};
}

KeepsetFlags AllFlags()
{
    KeepsetFlags flags;
    flags.saveMsg = flags.saveDesktop = flags.saveWeb = flags.saveMySql = true;
    return flags;
}

std::vector<int> Codes(const std::vector<CustomSelectionRow>& rows)
{
    std::vector<int> codes;
    for (const CustomSelectionRow& row : rows)
        codes.push_back(row.itemCode);
    return codes;
}

}  // namespace

TEST(KeepsetDescription, SaveTypeTextJoinsItsPartsInTheirFixedOrder)
{
    EXPECT_EQ(SaveTypeText(Texts(), true, AllFlags()),
              "Alarm and tool configuration, voice messages, desktop, web server configuration, MYSQL data");
    EXPECT_EQ(SaveTypeText(Texts(), true, KeepsetFlags()), "Alarm and tool configuration");
    // A probed directory without \qzt and \db1 has no alarm and tool part.
    KeepsetFlags webOnly;
    webOnly.saveWeb = webOnly.saveMySql = true;
    EXPECT_EQ(SaveTypeText(Texts(), false, webOnly), ", web server configuration, MYSQL data");
}

TEST(KeepsetDescription, SummaryKeepsItsBlanksAlsoWithoutDateAndTime)
{
    EXPECT_EQ(SelectionSummary("07.12.2026", "09:05:00", "D:\\keep", "Alarm and tool configuration"),
              "07.12.2026 09:05:00   D:\\keep     Alarm and tool configuration");
    EXPECT_EQ(SelectionSummary("", "", "D:\\keep", "x"), "    D:\\keep     x");
}

TEST(KeepsetDescription, ProbedSubDirectoriesGiveTheFlags)
{
    ProbedSubDirectories nothing;
    EXPECT_FALSE(DescribeProbedKeepset(nothing).found);

    ProbedSubDirectories onlyDb1;
    onlyDb1.db1 = true;
    const ProbedKeepset alarm = DescribeProbedKeepset(onlyDb1);
    EXPECT_TRUE(alarm.found);
    EXPECT_TRUE(alarm.alarmAndTools);
    EXPECT_FALSE(alarm.flags.saveMsg || alarm.flags.saveDesktop || alarm.flags.saveWeb || alarm.flags.saveMySql);

    // Dumps kept below \web count as MySQL data; the web directory itself
    // is what sets the web flag.
    ProbedSubDirectories webMysql;
    webMysql.web = webMysql.webMysql = true;
    const ProbedKeepset web = DescribeProbedKeepset(webMysql);
    EXPECT_TRUE(web.found);
    EXPECT_FALSE(web.alarmAndTools);
    EXPECT_TRUE(web.flags.saveWeb);
    EXPECT_TRUE(web.flags.saveMySql);
    EXPECT_FALSE(web.flags.saveMsg);

    ProbedSubDirectories rest;
    rest.dbv1 = rest.desktop = rest.mysql = true;
    const ProbedKeepset other = DescribeProbedKeepset(rest);
    EXPECT_TRUE(other.flags.saveMsg && other.flags.saveDesktop && other.flags.saveMySql);
    EXPECT_FALSE(other.flags.saveWeb || other.alarmAndTools);
}

TEST(KeepsetDescription, CustomRowsFollowTheRecordInTheirFixedOrder)
{
    EXPECT_EQ(Codes(CustomSelectionRows(KeepsetRecordValues())), (std::vector<int>{1, 2, 3, 4}));

    KeepsetRecordValues everything;
    everything.flags = AllFlags();
    everything.saveAdd[0] = "C:\\data\\extra";
    everything.saveAdd[1] = "D:\\more\\*.txt";
    const std::vector<CustomSelectionRow> rows = CustomSelectionRows(everything);
    EXPECT_EQ(Codes(rows), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    const std::vector<unsigned> texts = {IDS_ITEM_ALARM_CONFIGURATION, IDS_ITEM_GROUPS_PERSONNEL,
                                         IDS_ITEM_QZT_DIRECTORY,       IDS_ITEM_INI_FILES,
                                         IDS_ITEM_DESKTOP,             IDS_ITEM_VOICE_MESSAGES,
                                         IDS_ITEM_WEB_PROGRAMS,        IDS_ITEM_MYSQL_DATABASES,
                                         IDS_ITEM_ADDITIONAL_FILES,    IDS_ITEM_ADDITIONAL_FILES};
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].textId, texts[i]) << i;
    EXPECT_EQ(rows[8].value, "C:\\data\\extra");
    EXPECT_EQ(rows[9].value, "D:\\more\\*.txt");

    // MySQL before an additional directory, each with the code of its slot.
    KeepsetRecordValues mySqlAndFourth;
    mySqlAndFourth.flags.saveMySql = true;
    mySqlAndFourth.saveAdd[3] = "E:\\x";
    EXPECT_EQ(Codes(CustomSelectionRows(mySqlAndFourth)), (std::vector<int>{1, 2, 3, 4, 8, 12}));
}

TEST(KeepsetDescription, AdditionalFilesTextTakesTheDirectoryAsItIs)
{
    EXPECT_EQ(AdditionalFilesText("All additonal files from directory: %s", "C:\\100%s\\%d"),
              "All additonal files from directory: C:\\100%s\\%d");
    EXPECT_EQ(AdditionalFilesText("Fichiers %s (%s)", "C:\\x"), "Fichiers C:\\x (%s)");
    EXPECT_EQ(AdditionalFilesText("No placeholder", "C:\\x"), "No placeholder");
}

TEST(KeepsetDescription, SelectStartsAtTheLastSaveDirectoryOrTheWorkingDirectory)
{
    EXPECT_EQ(SelectStartFolder("D:\\backup\\", "C:\\work"), "D:\\backup");
    EXPECT_EQ(SelectStartFolder("D:\\backup\\DD.MM", "C:\\work"), "D:\\backup\\DD.MM");
    EXPECT_EQ(SelectStartFolder("", "C:\\work\\"), "C:\\work");
    EXPECT_EQ(SelectStartFolder("D:\\a\\\\", "C:\\work"), "D:\\a\\");  // one backslash only
    EXPECT_EQ(SelectStartFolder("", ""), "");
}
