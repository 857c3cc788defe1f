#include "restore/RestoreMySql.h"

#include "config/ConfigFile.h"
#include "restore/RestoreCommandLines.h"
#include "restore/RestoreDirectory.h"
#include "restore/RestorePaths.h"
#include "restore/RestoreRules.h"
#include "win/FileHash.h"
#include "win/Files.h"
#include "win/Process.h"
#include "win/Profile.h"
#include "win/Texts.h"
#include "resource.h"

#include <vector>

namespace {

// The save run's dumps read these with 127 characters; a longer reader
// costs nothing and never cuts a path the save side still used whole.
constexpr std::size_t kMySqlPathLength = 127;

struct MySqlClient {
    std::string programDirectory;  // [MySQL] MySQLPath
    std::string dataDirectory;     // [MySQL] MySQLDataPath, where the safety dumps go
};

MySqlClient ReadMySqlClient()
{
    MySqlClient client;
    client.programDirectory =
        win::ReadProfileString(kConfigFile, kSectionMySql, "MySQLPath", "", kMySqlPathLength);
    client.dataDirectory =
        win::ReadProfileString(kConfigFile, kSectionMySql, "MySQLDataPath", "", kMySqlPathLength);
    return client;
}

std::string StatusText(unsigned long exitCode)
{
    return " (exit status " + std::to_string(exitCode) + ")";
}

std::string NoStatusText()
{
    return " (its end or exit status could not be read)";
}

// Safety dump, then load, of the database of one dump file; 1 on failure.
int RestoreDatabase(RestoreProgress& progress, const MySqlClient& client, const std::string& dumpFile,
                    const std::string& database)
{
    const std::string safetyDump = SafetyDumpCommandLine(client.programDirectory, client.dataDirectory, database);
    const std::string load = LoadCommandLine(client.programDirectory, dumpFile);
    if (safetyDump.empty() || load.empty()) {
        progress.WriteRestoreLog("FAILED to restore MySQL database " + database + ": no client program in MySQLPath \"" +
                                 client.programDirectory + "\"");
        return 1;
    }

    // Nothing is loaded over a database whose present content is not safe:
    // a safety dump whose end or status is unknown counts as failed.
    unsigned long exitCode = 0;
    bool started = false;
    if (!win::RunProgramAndWait(safetyDump, win::kShowHidden, exitCode, started)) {
        progress.WriteRestoreLog((started ? "FAILED safety dump of MySQL database " + database + NoStatusText()
                                          : "FAILED to start the safety dump of MySQL database " + database) +
                                 ", the database is not restored: " + safetyDump);
        return 1;
    }
    if (exitCode != 0) {
        progress.WriteRestoreLog("FAILED safety dump of MySQL database " + database + StatusText(exitCode) +
                                 ", the database is not restored: " + safetyDump);
        return 1;
    }

    const bool ended = win::RunProgramAndWait(load, win::kShowHidden, exitCode, started);
    progress.WriteRestoreLog(win::FormatText(IDS_MYSQL_RESTORE_COMMAND, load));
    if (!started) {
        progress.WriteRestoreLog("FAILED to start the restore of MySQL database " + database);
        return 1;
    }
    // The load ran: whatever its status, the database may have changed.
    progress.MarkRestored();
    if (!ended) {
        progress.WriteRestoreLog("FAILED to restore MySQL database " + database + NoStatusText());
        return 1;
    }
    if (exitCode != 0) {
        progress.WriteRestoreLog("FAILED to restore MySQL database " + database + StatusText(exitCode));
        return 1;
    }
    return 0;
}

struct DumpToLoad {
    std::string file;
    std::string database;
};

// The dumps that may be loaded, each failure logged: a name a save does
// not give a dump, a file the manifest does not vouch for, a hash that is
// not the manifest's.
std::vector<DumpToLoad> CheckedDumps(RestoreProgress& progress, const std::string& dumpDirectory,
                                     const DirectoryPlan& plan, int& result)
{
    std::vector<DumpToLoad> dumps;
    for (const PlannedFile& file : plan.files) {
        const std::string path = FileInDirectory(dumpDirectory, file.name);
        std::string database;
        if (!DumpFileDatabase(file.name, database)) {
            progress.WriteRestoreLog("FAILED to restore the MySQL dump " + path +
                                     ": not loaded, a save names its dumps <database>.sql with letters, digits, "
                                     "_, $, - and @ only");
            result = 1;
            continue;
        }
        const std::string reason = VerdictReason(file.verdict);
        if (!reason.empty()) {
            progress.WriteRestoreLog("FAILED to restore MySQL database " + database + " from " + path + " (" + reason +
                                     ")");
            result = 1;
            continue;
        }
        if (file.verdict == FileVerdict::Verified) {
            std::string digest;
            std::uint64_t size = 0;
            if (!win::FileSha256(path, digest, size) || digest != file.sha256) {
                progress.WriteRestoreLog("FAILED to restore MySQL database " + database + " from " + path +
                                         " (not loaded: the dump does not match the keepset's manifest)");
                result = 1;
                continue;
            }
        }
        dumps.push_back({file.name, database});
    }
    return dumps;
}

}  // namespace

int RestoreMySql(RestoreProgress& progress, const std::string& root, const DirectoryPlan& plan)
{
    const MySqlClient client = ReadMySqlClient();
    const std::string dumpDirectory = KeepsetDirectory(root, plan.subDirectory);
    if (!plan.anyEntry && plan.files.empty()) {
        progress.WriteRestoreLog("No files found in directory: " +
                                 KeepsetSearch(root, plan.subDirectory, plan.pattern));
        return 0;
    }
    int result = 0;
    const std::vector<DumpToLoad> dumps = CheckedDumps(progress, dumpDirectory, plan, result);
    if (dumps.empty())
        return result;

    // The load names its file relative to the dump directory. Without the
    // way back, the run would go on in the keepset instead of the
    // installation's drive, so neither failure is let through.
    const std::string previous = win::CurrentDirectory();
    if (previous.empty() || !win::ChangeDirectory(dumpDirectory)) {
        progress.WriteRestoreLog("FAILED to restore the MySQL databases: cannot change to directory " + dumpDirectory);
        return 1;
    }
    for (const DumpToLoad& dump : dumps)
        result |= RestoreDatabase(progress, client, dump.file, dump.database);
    if (!win::ChangeDirectory(previous)) {
        progress.WriteRestoreLog("FAILED to change back to directory " + previous);
        result = 1;
    }
    return result;
}
