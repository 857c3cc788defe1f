#pragma once
// The private MariaDB server of the tests (scripts/test-db.sh) and the
// stand-in client programs in tests\bridge beside the test programs.
#include "support/TestSkips.h"

#include <string>
#include <vector>

namespace qztest {

// True when the server's socket is known (QZ_TEST_DB_SOCKET). Without it a
// test skips, unless QZ_REQUIRE_DB=1 asks for a failure instead: use
// QZ_REQUIRE_TEST_DATABASE() at the start of a test or SetUp.
bool TestDatabaseAvailable();

// The server's socket as a Linux path (QZ_TEST_DB_SOCKET); empty without it.
std::string TestDatabaseSocket();

// Runs SQL statements as root through the Linux client; its exit status.
int RunSql(const std::string& statements);

// The rows of a query, one line each, columns separated by tabs.
std::string QuerySql(const std::string& query);

// The names of the entries of a Windows folder that match a pattern
// ("*" and "?"), sorted; "." and ".." left out.
std::vector<std::string> FolderEntries(const std::string& folder, const std::string& pattern);

// The restore's safety dumps of a database in the data folder:
// "<database>.*.bkp".
std::vector<std::string> SafetyDumps(const std::string& dataFolder, const std::string& database);

// The restore's temporary folders left in the temporary directory, by
// their full names.
std::vector<std::string> RestoreWorkFolders();

// The Windows folder of the stand-in "mysqldump.exe" and "mysql.exe".
std::string BridgeDirectory();

}  // namespace qztest

#define QZ_REQUIRE_TEST_DATABASE()                                                  \
    QZ_SKIP_UNLESS(::qztest::TestDatabaseAvailable(), "QZ_REQUIRE_DB",            \
                   "no test database server (QZ_TEST_DB_SOCKET is not set): run " \
                   "eval \"$(scripts/test-db.sh start)\" first")
