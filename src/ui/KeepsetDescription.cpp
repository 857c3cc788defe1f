#include "ui/KeepsetDescription.h"

#include "restore/RestoreRequest.h"
#include "resource.h"

std::string SaveTypeText(const SaveTypeTexts& texts, bool withAlarmAndTools, const KeepsetFlags& flags)
{
    std::string text;
    if (withAlarmAndTools)
        text += texts.alarmAndTools;
    if (flags.saveMsg)
        text += texts.voiceMessages;
    if (flags.saveDesktop)
        text += texts.desktop;
    if (flags.saveWeb)
        text += texts.webServer;
    if (flags.saveMySql)
        text += texts.mySql;
    return text;
}

std::string SelectionSummary(const std::string& date, const std::string& time, const std::string& directory,
                             const std::string& saveType)
{
    return date + " " + time + "   " + directory + "     " + saveType;
}

ProbedKeepset DescribeProbedKeepset(const ProbedSubDirectories& probed)
{
    ProbedKeepset keepset;
    keepset.alarmAndTools = probed.qzt || probed.db1;
    keepset.flags.saveMsg = probed.dbv1;
    keepset.flags.saveDesktop = probed.desktop;
    keepset.flags.saveWeb = probed.web;
    keepset.flags.saveMySql = probed.mysql || probed.webMysql;
    keepset.found = keepset.alarmAndTools || keepset.flags.saveMsg || keepset.flags.saveDesktop ||
                    keepset.flags.saveWeb || keepset.flags.saveMySql;
    return keepset;
}

std::vector<CustomSelectionRow> CustomSelectionRows(const KeepsetRecordValues& record)
{
    std::vector<CustomSelectionRow> rows = {
        {IDS_ITEM_ALARM_CONFIGURATION, AlarmConfiguration, ""},
        {IDS_ITEM_GROUPS_PERSONNEL, GroupAndPersonnel, ""},
        {IDS_ITEM_QZT_DIRECTORY, QztDirectory, ""},
        {IDS_ITEM_INI_FILES, WindowsIni, ""},
    };
    if (record.flags.saveDesktop)
        rows.push_back({IDS_ITEM_DESKTOP, Desktop, ""});
    if (record.flags.saveMsg)
        rows.push_back({IDS_ITEM_VOICE_MESSAGES, VoiceMessages, ""});
    if (record.flags.saveWeb)
        rows.push_back({IDS_ITEM_WEB_PROGRAMS, WebPrograms, ""});
    if (record.flags.saveMySql)
        rows.push_back({IDS_ITEM_MYSQL_DATABASES, MySqlDatabases, ""});
    for (int k = 0; k < 4; ++k) {
        if (!record.saveAdd[k].empty())
            rows.push_back({IDS_ITEM_ADDITIONAL_FILES, Additional1 + k, record.saveAdd[k]});
    }
    return rows;
}

std::string AdditionalFilesText(const std::string& text, const std::string& directory)
{
    const std::size_t placeholder = text.find("%s");
    if (placeholder == std::string::npos)
        return text;
    return text.substr(0, placeholder) + directory + text.substr(placeholder + 2);
}

std::string SelectStartFolder(const std::string& lastKeepsetDir, const std::string& workingDirectory)
{
    std::string folder = lastKeepsetDir.empty() ? workingDirectory : lastKeepsetDir;
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}
