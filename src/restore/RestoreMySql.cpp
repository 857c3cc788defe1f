#include "restore/RestoreMySql.h"

#include "config/ConfigFile.h"
#include "restore/RestoreCommandLines.h"
#include "restore/RestoreDirectory.h"
#include "restore/RestorePaths.h"
#include "restore/RestoreRules.h"
#include "save/LocalDateTime.h"
#include "win/HashingCopy.h"
#include "win/Files.h"
#include "win/Process.h"
#include "win/Profile.h"
#include "win/EntryIdentity.h"
#include "win/TemporaryFiles.h"
#include "win/Texts.h"
#include "resource.h"

#include <vector>

namespace {

// The save run's dumps read these with 127 characters; a longer reader
// costs nothing and never cuts a path the save side still used whole.
constexpr std::size_t kMySqlPathLength = 127;

// The run's own folder in the temporary directory: the copies of the dumps
// that are loaded, and what the client programs write.
constexpr const char* kWorkFolderPrefix = "qzkeepset-restore-";

// A safety dump name is tried with these many numbers before the run gives up.
constexpr int kSafetyDumpNameAttempts = 50;

// A failed put-back is tried once more: a database left half loaded is the
// one outcome the restore must not end with.
constexpr int kPutBackAttempts = 2;

// The client's first output line goes into the run log; a longer one is cut.
constexpr std::size_t kShownOutputLength = 300;

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

// How one run of a client program went, with what it wrote.
struct ClientOutcome {
    bool started = false;
    bool ended = false;  // its end and exit status are known
    unsigned long exitCode = 0;
    std::string output;  // its standard output and error; empty when not read

    bool Succeeded() const { return ended && exitCode == 0; }

    // " (exit status 1: ERROR 1064 ...)" for the run log.
    std::string Text() const
    {
        if (!ended)
            return " (its end or exit status could not be read)";
        std::string text = " (exit status " + std::to_string(exitCode);
        std::string line = ClientMessage(output);
        if (line.size() > kShownOutputLength)
            line = line.substr(0, kShownOutputLength) + "...";
        return text + (line.empty() ? ")" : ": " + line + ")");
    }
};

// The temporary folder of one run and the files made in it, all removed at
// the end.
class WorkFolder {
public:
    bool Create() { return win::CreateTemporaryFolder(kWorkFolderPrefix, path_); }
    const std::string& Path() const { return path_; }

    // A new name in the folder, to be made by whoever uses it.
    std::string NewFile(const std::string& name)
    {
        files_.push_back(path_ + "\\" + name);
        return files_.back();
    }

    // False when something of it is still there: the folder goes only
    // when it is empty. (A name whose program never started has no file.)
    bool Remove()
    {
        for (const std::string& file : files_)
            win::RemoveFile(file);
        return win::RemoveEmptyDirectory(path_);
    }

private:
    std::string path_;
    std::vector<std::string> files_;
};

class DatabaseRestore {
public:
    DatabaseRestore(RestoreProgress& progress, const MySqlClient& client, WorkFolder& folder,
                    const std::string& database)
        : progress_(progress), client_(client), folder_(folder), database_(database)
    {
    }

    // Copies the keepset's dump into the work folder (checked against the
    // manifest's digest when it has one), then the check, safety dump and
    // load, and the put-back after a failed load. 1 on failure.
    int Run(const std::string& dumpFile, const PlannedFile& planned);

private:
    ClientOutcome RunClient(const std::string& commandLine, const std::string& input);
    bool CopyVerified(const std::string& dumpFile, const PlannedFile& planned, std::string& copy);
    // 1 exists, 0 does not, -1 unknown (logged).
    int Exists();
    bool MakeSafetyDump();
    int PutBack();
    void Log(const std::string& text) { progress_.WriteRestoreLog(text); }

    RestoreProgress& progress_;
    const MySqlClient& client_;
    WorkFolder& folder_;
    const std::string database_;
    std::string safetyDump_;
    int outputFiles_ = 0;
};

ClientOutcome DatabaseRestore::RunClient(const std::string& commandLine, const std::string& input)
{
    ClientOutcome outcome;
    const std::string output = folder_.NewFile(database_ + "." + std::to_string(++outputFiles_) + ".txt");
    outcome.ended = win::RunProgramWithFiles(commandLine, input, output, win::kShowHidden, outcome.exitCode,
                                             outcome.started);
    if (outcome.started && !win::ReadWholeFile(output, outcome.output))
        outcome.output.clear();
    return outcome;
}

bool DatabaseRestore::CopyVerified(const std::string& dumpFile, const PlannedFile& planned, std::string& copy)
{
    copy = folder_.NewFile(database_ + ".sql");
    // The copy is what the client reads: its bytes are the ones checked,
    // hashed as they are written.
    std::string digest;
    std::uint64_t size = 0;
    if (!win::CopyFileHashingToNew(dumpFile, copy, digest, size)) {
        Log("FAILED to restore MySQL database " + database_ + " from " + dumpFile + " (cannot copy it to " + copy +
            ", error " + std::to_string(win::LastError()) + ")");
        return false;
    }
    if (planned.verdict == FileVerdict::Verified) {
        if (digest != planned.sha256) {
            Log("FAILED to restore MySQL database " + database_ + " from " + dumpFile +
                " (not loaded: the dump does not match the keepset's manifest)");
            return false;
        }
    }
    return true;
}

int DatabaseRestore::Exists()
{
    const std::string check = DatabaseExistsCommandLine(client_.programDirectory, database_);
    const ClientOutcome outcome = RunClient(check, std::string());
    bool exists = false;
    if (outcome.Succeeded() && ReadDatabaseCount(outcome.output, exists))
        return exists ? 1 : 0;
    Log("FAILED to learn whether MySQL database " + database_ + " exists" +
        (outcome.started ? outcome.Text() : std::string(" (the client did not start)")) +
        ", the database is not restored: " + check);
    return -1;
}

bool DatabaseRestore::MakeSafetyDump()
{
    // A name of this run's own: an earlier safety dump is never replaced,
    // and a name someone else took is passed over.
    const LocalDateTime now = CurrentLocalDateTime();
    safetyDump_.clear();
    for (int attempt = 1; attempt <= kSafetyDumpNameAttempts && safetyDump_.empty(); ++attempt) {
        const std::string name = SafetyDumpFileName(client_.dataDirectory, database_, now, attempt);
        if (win::CreateNewFile(name))
            safetyDump_ = name;
        else if (!win::EntryExists(name))
            break;
    }
    if (safetyDump_.empty()) {
        Log("FAILED safety dump of MySQL database " + database_ + ": no new file can be made in " +
            client_.dataDirectory + ", the database is not restored");
        return false;
    }
    const std::string command = SafetyDumpCommandLine(client_.programDirectory, safetyDump_, database_);
    const ClientOutcome outcome = RunClient(command, std::string());
    if (outcome.Succeeded()) {
        Log("Safety dump of MySQL database " + database_ + " written to " + safetyDump_);
        return true;
    }
    // Nothing is loaded over a database whose present content is not safe:
    // a safety dump whose end or status is unknown counts as failed.
    Log((outcome.started ? "FAILED safety dump of MySQL database " + database_ + outcome.Text()
                         : "FAILED to start the safety dump of MySQL database " + database_) +
        ", the database is not restored: " + command);
    // What it wrote is no safety dump.
    win::RemoveFile(safetyDump_);
    return false;
}

// Drops what the failed load left and loads the safety dump, which
// re-creates the database as it was; a database that did not exist is
// dropped only. 1 when the database is not as it was.
int DatabaseRestore::PutBack()
{
    const std::string drop = DropDatabaseCommandLine(client_.programDirectory, database_);
    ClientOutcome outcome;
    for (int attempt = 1; attempt <= kPutBackAttempts; ++attempt) {
        outcome = RunClient(drop, std::string());
        if (outcome.Succeeded() && !safetyDump_.empty())
            outcome = RunClient(LoadCommandLine(client_.programDirectory), safetyDump_);
        if (outcome.Succeeded()) {
            Log(safetyDump_.empty() ? "MySQL database " + database_ +
                                          " removed again: it did not exist before the restore"
                                    : "MySQL database " + database_ + " put back as it was from its safety dump " +
                                          safetyDump_);
            return 0;
        }
    }
    Log("FAILED to put back MySQL database " + database_ +
        (outcome.started ? outcome.Text() : std::string(" (the client did not start)")) +
        (safetyDump_.empty() ? ": drop it by hand, it did not exist before the restore"
                             : ": load its safety dump " + safetyDump_ + " by hand"));
    return 1;
}

int DatabaseRestore::Run(const std::string& dumpFile, const PlannedFile& planned)
{
    std::string copy;
    if (!CopyVerified(dumpFile, planned, copy))
        return 1;
    const int exists = Exists();
    if (exists < 0)
        return 1;
    if (exists == 0)
        Log("MySQL database " + database_ + " does not exist on the server: no safety dump is made, the "
            "restore creates it");
    else if (!MakeSafetyDump())
        return 1;

    const std::string load = LoadCommandLine(client_.programDirectory);
    progress_.WriteRestoreLog(win::FormatText(IDS_MYSQL_RESTORE_COMMAND, load + " < " + copy));
    const ClientOutcome outcome = RunClient(load, copy);
    if (!outcome.started) {
        Log("FAILED to start the restore of MySQL database " + database_);
        return 1;
    }
    if (outcome.Succeeded()) {
        progress_.MarkRestored();
        return 0;
    }
    // The client stops at the first failing statement: what it loaded
    // before is taken out again.
    Log("FAILED to restore MySQL database " + database_ + outcome.Text());
    if (PutBack() != 0)
        progress_.MarkRestored();  // the database is no longer as it was
    return 1;
}

struct DumpToLoad {
    std::string file;  // in the keepset
    std::string database;
    PlannedFile planned;
};

// The dumps that may be loaded, each failure logged: a name a save does
// not give a dump, a file the manifest does not vouch for.
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
        // A dump an earlier save left in a reused keepset is not this
        // keepset's: left out, as any other file the manifest does not list.
        if (file.verdict == FileVerdict::Unlisted) {
            progress.LeaveOut(path);
            continue;
        }
        const std::string reason = VerdictReason(file.verdict);
        if (!reason.empty()) {
            progress.WriteRestoreLog("FAILED to restore MySQL database " + database + " from " + path + " (" + reason +
                                     ")");
            result = 1;
            continue;
        }
        dumps.push_back({path, database, file});
    }
    return dumps;
}

}  // namespace

int RestoreMySql(RestoreProgress& progress, const std::string& root, const DirectoryPlan& plan)
{
    const MySqlClient client = ReadMySqlClient();
    const std::string dumpDirectory = KeepsetDirectory(root, plan.subDirectory);
    // The dumps found before a search failure are loaded; the run still
    // ends with errors.
    int result = LoggedSearchFailure(progress, root, plan) ? 1 : 0;
    if (result == 0 && !plan.anyEntry && plan.files.empty()) {
        progress.WriteRestoreLog("No files found in directory: " +
                                 KeepsetSearch(root, plan.subDirectory, plan.pattern));
        return 0;
    }
    const std::vector<DumpToLoad> dumps = CheckedDumps(progress, dumpDirectory, plan, result);
    if (dumps.empty())
        return result;
    if (LoadCommandLine(client.programDirectory).empty()) {
        for (const DumpToLoad& dump : dumps)
            progress.WriteRestoreLog("FAILED to restore MySQL database " + dump.database +
                                     ": no client program in MySQLPath \"" + client.programDirectory + "\"");
        return 1;
    }

    WorkFolder folder;
    if (!folder.Create()) {
        const unsigned long error = win::LastError();
        progress.WriteRestoreLog("FAILED to restore the MySQL databases: no temporary folder can be made in " +
                                 win::TemporaryDirectory() + " (error " + std::to_string(error) + ")");
        return 1;
    }
    for (const DumpToLoad& dump : dumps)
        result |= DatabaseRestore(progress, client, folder, dump.database).Run(dump.file, dump.planned);
    if (!folder.Remove()) {
        progress.WriteRestoreLog("FAILED to remove the temporary folder " + folder.Path());
        result = 1;
    }
    return result;
}
