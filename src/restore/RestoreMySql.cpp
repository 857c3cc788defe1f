#include "restore/RestoreMySql.h"

#include "config/ConfigFile.h"
#include "restore/RestoreCommandLines.h"
#include "restore/RestoreDirectory.h"
#include "restore/RestorePaths.h"
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
int RestoreDatabase(RestoreProgress& progress, const MySqlClient& client, const std::string& dumpFile)
{
    const std::string database = DatabaseOfDumpFile(dumpFile);
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

// The dump files in listing order, directories passed over.
std::vector<std::string> DumpFiles(RestoreProgress& progress, const std::string& search,
                                   const std::string& dumpDirectory, bool& anyEntry, bool& failed)
{
    std::vector<std::string> files;
    win::DirectorySearch entries(search);
    win::FoundEntry entry;
    anyEntry = false;
    while (entries.Next(entry)) {
        anyEntry = true;
        if (!IsDirectoryEntry(entry.name, entry.attributes))
            files.push_back(entry.name);
    }
    failed = ReportedSearchFailure(progress, entries, dumpDirectory);
    return files;
}

}  // namespace

int RestoreMySql(RestoreProgress& progress, const std::string& root, const std::string& subDirectory)
{
    const MySqlClient client = ReadMySqlClient();
    const std::string dumpDirectory = KeepsetDirectory(root, subDirectory);
    const std::string search = KeepsetSearch(root, subDirectory, "*.sql");

    bool anyEntry = false;
    bool searchFailed = false;
    const std::vector<std::string> files = DumpFiles(progress, search, dumpDirectory, anyEntry, searchFailed);
    // The dumps the search did not hand out are not loaded: the run ends
    // with errors, also after loading the others.
    if (searchFailed && files.empty())
        return 1;
    if (!anyEntry) {
        progress.WriteRestoreLog("No files found in directory: " + search);
        return 0;
    }
    if (files.empty())
        return 0;

    // The load names its file relative to the dump directory. Without the
    // way back, the run would go on in the keepset instead of the
    // installation's drive, so neither failure is let through.
    const std::string previous = win::CurrentDirectory();
    if (previous.empty() || !win::ChangeDirectory(dumpDirectory)) {
        progress.WriteRestoreLog("FAILED to restore the MySQL databases: cannot change to directory " + dumpDirectory);
        return 1;
    }
    int result = searchFailed ? 1 : 0;
    for (const std::string& file : files)
        result |= RestoreDatabase(progress, client, file);
    if (!win::ChangeDirectory(previous)) {
        progress.WriteRestoreLog("FAILED to change back to directory " + previous);
        result = 1;
    }
    return result;
}
