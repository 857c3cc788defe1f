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
    {IDS_ABOUT_MENU, "&About Qzkeepset..."},
    {IDS_ERROR_CAPTION, "Error !"},
    {IDS_CREATE_DIRECTORY_FAILED, "Failed to create directory %1 !"},
    {IDS_SAVE_BROWSER_TITLE, "Save"},
    {IDS_SAVE_BROWSER_PROMPT, "Save data to"},
    {IDS_FILE_SAVED, "%1 saved to %2"},
    {IDS_FILE_SAVE_FAILED, "FAILED to save %1 to %2 !"},
    {IDS_LANGUAGE_LIBRARY_FAILED, "Failed to load the resource DLL %1 !"},
    {IDS_INFORMATION_CAPTION, "Information"},
    {IDS_SAVE_ERRORS_BOX, "An error occurred while saving the data !\n"
                          "Please check the messages in the listbox for further information."},
    {IDS_SAVE_SUCCESS_BOX, "The relevant data was successfully saved.\n"
                           "If other data, which is not in the directories \\qzt, \\db1, \\dbv1 or \\winnt, "
                           "needs to be saved, then this has to be saved separately."},
    {IDS_FAILED_TO_SAVE, "FAILED to save"},
    {IDS_CONFIRM_CAPTION, "Please confirm..."},
    {IDS_START_BATCH_QUESTION, "Start batch program '%1' ?"},
    {IDS_MAIN_TITLE, "Orvella Backup and Restore Tool"},
    {IDS_SAVING, "Saving"},
    {IDS_SAVE_DATA, "Save data"},
    {IDS_DUMP_STARTED, "Successfully dumped MySQL database: %1"},
    {IDS_DUMP_FAILED, "Failed to dump MySQL database %1"},
    {IDS_SAVE_ALL_SUCCEEDED, "All data successfully saved"},
    {IDS_SAVE_HAD_ERRORS, "ERRORS while saving data"},
    {IDS_COLUMN_DATE, "Date"},
    {IDS_COLUMN_TIME, "Time"},
    {IDS_COLUMN_SAVE_DIRECTORY, "Save-directory"},
    {IDS_COLUMN_SAVE_TYPE, "Save-type"},
    {IDS_TYPE_ALARM_AND_TOOLS, "Alarm and tool configuration"},
    {IDS_TYPE_DESKTOP, ", desktop"},
    {IDS_TYPE_WEB_SERVER, ", web server configuration"},
    {IDS_TYPE_MYSQL, ", MYSQL data"},
    {IDS_TYPE_VOICE_MESSAGES, ", voice messages"},
    {IDS_ITEM_ALARM_CONFIGURATION, "Alarm configuration without group and personnel data (vm001.dbf)"},
    {IDS_ITEM_GROUPS_PERSONNEL, "Group and personnel data (qzgroups.dbf, qzpersonal.dbf and qzlink.dbf)"},
    {IDS_ITEM_QZT_DIRECTORY, "QZT directory with all QZE modules, week- and scheduleplans and batch/cmd programs"},
    {IDS_ITEM_INI_FILES, "All ini-files for general alarm and program settings"},
    {IDS_ITEM_DESKTOP, "All desktop icons"},
    {IDS_ITEM_VOICE_MESSAGES, "All recorded voice alarm and alarm-in messages "},
    {IDS_ITEM_WEB_PROGRAMS, "All web programs (PHP) and configuration"},
    {IDS_ITEM_ADDITIONAL_FILES, "All additonal files from directory: %s"},
    {IDS_NO_DATASOURCE, "No datasource was selected in the top list !\nPlease select a previous keepset first."},
    {IDS_RESTORE_QUESTION, "Restore data from the previous keepset directory: %1 ?\n"
                           "Please close all configuration tools ( alarm control center, alarm configurator and personnel editor ) "
                           "first.\nPlease wait, this can take a while."},
    {IDS_FILE_RESTORED, "%1 restored to %2"},
    {IDS_FILE_RESTORE_FAILED, "FAILED to restore %1 to %2 !"},
    {IDS_RESTORE_HAD_ERRORS, "Errors occurred while restoring the data !\nPlease check the logfile for further information."},
    {IDS_RESTORE_SUCCEEDED, "Successfully restored the files from the selected datasource."},
    {IDS_NOTHING_RESTORED, "No data selected for restore !\nPlease select the data for restore first."},
    {IDS_ITEM_MYSQL_DATABASES, "All saved MySQL databases. The content of the existing databases will be overwritten !"},
    {IDS_MYSQL_RESTORE_COMMAND, "Restore MySQL database with command: %1"},
    {IDS_SELECT_BROWSER_TITLE, "Select"},
    {IDS_SELECT_BROWSER_PROMPT, "Select keepset path"},
    {IDS_NO_PREVIOUS_KEEPSET, "No previous keepset was found.\nPlease use the select button to select the keepset data to restore."},
    {IDS_NO_KEEPSET_DATA, "No keepset data found under selection %1"},
    {IDS_ARGUMENT_TOO_LONG, "The save directory on the command line is longer than %1 characters, so nothing was saved:\n%2"},
    {IDS_TYPE_INCOMPLETE, "INCOMPLETE: "},
    {IDS_TYPE_WITH_ERRORS, "WITH ERRORS: "},
    {IDS_RESTORE_INCOMPLETE_QUESTION, "The save into the keepset directory %1 did not end: the keepset is INCOMPLETE "
                                      "and may hold cut or missing files.\nRestore from it anyway?"},
    {IDS_RESTORE_WITH_ERRORS_QUESTION, "The save into the keepset directory %1 ended WITH ERRORS: files may be "
                                       "missing from the keepset.\nRestore from it anyway?"},
    {IDS_RESTORE_DAMAGED_QUESTION, "%1 files of the keepset are missing or changed since the save, the first: "
                                   "%2\nRestore only the intact files?"},
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

TEST(ResourceStrings, TheTextsOfTheConfigurationWritesAndUnattendedStartsArePresentExactly)
{
    const struct {
        unsigned id;
        const char* text;
    } texts[] = {
        {IDS_RECORD_WRITE_FAILED, "FAILED to save the keepset record to %1 !"},
        {IDS_FILE_WRITE_FAILED, "%1 could not be written !\nThe file was left as it was."},
        {IDS_SAVE_DIRECTORY_FAILED, "FAILED to save into %1: the directory cannot be created !"},
        {IDS_NAME_REFUSED, "FAILED to save %1: a configured name must not hold \\, /, : or .. !"},
        {IDS_ANOTHER_COPY_RUNS, "Another copy of the program is already running, so nothing was saved."},
    };
    for (const auto& expected : texts)
        EXPECT_EQ(win::LoadText(expected.id), expected.text) << "string " << expected.id;
    // Each red line begins with 112, so the list can select it.
    for (unsigned id : {IDS_RECORD_WRITE_FAILED, IDS_SAVE_DIRECTORY_FAILED, IDS_NAME_REFUSED})
        EXPECT_EQ(win::LoadText(id).rfind(win::LoadText(IDS_FAILED_TO_SAVE), 0), 0u) << id;
}

TEST(ResourceStrings, NoTextOutsideTheRange)
{
    EXPECT_EQ(win::LoadText(IDS_FIRST - 1), "");
    EXPECT_EQ(win::LoadText(IDS_LAST + 1), "");
}
