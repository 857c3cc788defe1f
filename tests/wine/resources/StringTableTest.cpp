// The English string table: every text the program shows, byte for byte.
// A language library replaces these under the same ids.
#include "win/Texts.h"

#include <gtest/gtest.h>

#include "resource.h"

#include <string>

namespace {

struct ExpectedText {
    unsigned id;
    const char* text;
};

const ExpectedText englishTexts[] = {
    {101, "&About Qzkeepset..."},
    {102, "Error !"},
    {103, "Failed to create directory %1 !"},
    {104, "Save"},
    {105, "Save data to"},
    {106, "%1 saved to %2"},
    {107, "FAILED to save %1 to %2 !"},
    {108, "Failed to load the resource DLL %1 !"},
    {109, "Information"},
    {110, "An error occurred while saving the data !\n"
          "Please check the messages in the listbox for further information."},
    {111, "The relevant data was successfully saved.\n"
          "If other data, which is not in the directories \\qzt, \\db1, \\dbv1 or \\winnt, needs to be saved, "
          "then this has to be saved separately."},
    {112, "FAILED to save"},
    {113, "Please confirm..."},
    {114, "Start batch program '%1' ?"},
    {115, "Orvella Backup and Restore Tool"},
    {116, "Saving"},
    {117, "Save data"},
    {118, "Successfully dumped MySQL database: %1"},
    {119, "Failed to dump MySQL database %1"},
    {120, "All data successfully saved"},
    {121, "ERRORS while saving data"},
    {122, "Date"},
    {123, "Time"},
    {124, "Save-directory"},
    {125, "Save-type"},
    {126, "Alarm and tool configuration"},
    {127, ", desktop"},
    {128, ", web server configuration"},
    {129, ", MYSQL data"},
    {130, ", voice messages"},
    {131, "Alarm configuration without group and personnel data (vm001.dbf)"},
    {132, "Group and personnel data (qzgroups.dbf, qzpersonal.dbf and qzlink.dbf)"},
    {133, "QZT directory with all QZE modules, week- and scheduleplans and batch/cmd programs"},
    {134, "All ini-files for general alarm and program settings"},
    {135, "All desktop icons"},
    {136, "All recorded voice alarm and alarm-in messages "},
    {137, "All web programs (PHP) and configuration"},
    {138, "All additonal files from directory: %s"},
    {139, "No datasource was selected in the top list !\nPlease select a previous keepset first."},
    {140, "Restore data from the previous keepset directory: %1 ?\n"
          "Please close all configuration tools ( alarm control center, alarm configurator and personnel editor ) "
          "first.\nPlease wait, this can take a while."},
    {141, "%1 restored to %2"},
    {142, "FAILED to restore %1 to %2 !"},
    {143, "Errors occurred while restoring the data !\nPlease check the logfile for further information."},
    {144, "Successfully restored the files from the selected datasource."},
    {145, "No data selected for restore !\nPlease select the data for restore first."},
    {146, "All saved MySQL databases. The content of the existing databases will be overwritten !"},
    {147, "Restore MySQL database with command: %1"},
    {148, "Select"},
    {149, "Select keepset path"},
    {150, "No previous keepset was found.\nPlease use the select button to select the keepset data to restore."},
    {151, "No keepset data found under selection %1"},
    {152, "The save directory on the command line is longer than %1 characters, so nothing was saved:\n%2"},
    {153, "INCOMPLETE: "},
    {154, "WITH ERRORS: "},
    {155, "The save into the keepset directory %1 did not end: the keepset is INCOMPLETE and may hold cut or missing files.\nRestore from it anyway?"},
    {156, "The save into the keepset directory %1 ended WITH ERRORS: files may be missing from the keepset.\nRestore from it anyway?"},
    {157, "%1 files of the keepset are missing or changed since the save, the first: %2\nRestore only the intact files?"},
};

}  // namespace

TEST(ResourceStrings, EveryTextOfTheTableIsPresentExactly)
{
    ASSERT_EQ(sizeof englishTexts / sizeof englishTexts[0], static_cast<std::size_t>(IDS_LAST - IDS_FIRST + 1));
    unsigned id = IDS_FIRST;
    for (const auto& expected : englishTexts) {
        ASSERT_EQ(expected.id, id) << "the expected table skips or repeats an id";
        EXPECT_EQ(win::LoadText(expected.id), expected.text) << "string " << expected.id;
        ++id;
    }
}

TEST(ResourceStrings, NoTextOutsideTheRange)
{
    EXPECT_EQ(win::LoadText(IDS_FIRST - 1), "");
    EXPECT_EQ(win::LoadText(IDS_LAST + 1), "");
}
