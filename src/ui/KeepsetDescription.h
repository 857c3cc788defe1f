#pragma once
// How the restore dialog describes a keepset: the save-type line of the
// keepset list and of the summary, the summary line of another root, what
// a directory without a record holds judged by its sub-directories, and
// the rows offered for a custom restore.
#include "keepset/KeepsetRecordValues.h"

#include <string>
#include <vector>

// The string-table texts a save-type line is made of (126 to 130).
struct SaveTypeTexts {
    std::string alarmAndTools;  // "Alarm and tool configuration"
    std::string voiceMessages;  // ", voice messages"
    std::string desktop;        // ", desktop"
    std::string webServer;      // ", web server configuration"
    std::string mySql;          // ", MYSQL data"
};

// The parts joined without separators: the alarm and tool part (when
// withAlarmAndTools), then voice messages, desktop, web server, MySQL data,
// each when its flag is set.
std::string SaveTypeText(const SaveTypeTexts& texts, bool withAlarmAndTools, const KeepsetFlags& flags);

// The summary of another root: date, one blank, time, three blanks, the
// directory, five blanks, the save-type line.
std::string SelectionSummary(const std::string& date, const std::string& time, const std::string& directory,
                             const std::string& saveType);

// Which keepset sub-directories a chosen directory holds.
struct ProbedSubDirectories {
    bool qzt = false;
    bool db1 = false;
    bool dbv1 = false;
    bool desktop = false;
    bool web = false;
    bool mysql = false;
    bool webMysql = false;  // "\web\mysql"
};

// A directory without record, described by what it holds: \qzt or \db1
// give the alarm and tool part, \dbv1 voice messages, \desktop the
// desktop, \web the web server, \mysql or \web\mysql the MySQL data.
struct ProbedKeepset {
    bool found = false;  // any of the probed sub-directories exists
    bool alarmAndTools = false;
    KeepsetFlags flags;
};
ProbedKeepset DescribeProbedKeepset(const ProbedSubDirectories& probed);

// One row of the custom selection list: its string-table text (with the
// value for the additional directories) and its restore item code.
struct CustomSelectionRow {
    unsigned textId = 0;
    int itemCode = 0;
    std::string value;  // the directory of an additional-files row
};

// The four fixed rows, then desktop, voice messages, web programs, MySQL
// databases and the four additional directories, each only when the record
// holds it.
std::vector<CustomSelectionRow> CustomSelectionRows(const KeepsetRecordValues& record);

// The additional-files text (string 138) with its "%s" replaced by the
// directory. The directory is put in as it is, "%" included; a text
// without "%s" is left unchanged.
std::string AdditionalFilesText(const std::string& text, const std::string& directory);

// The folder "Select" opens the browser at: the last save directory, or
// the working directory when there is none, without one trailing
// backslash.
std::string SelectStartFolder(const std::string& lastKeepsetDir, const std::string& workingDirectory);
