#pragma once
// The private test server (scripts/test-db.sh) as the restore tests use it:
// statements and queries through the Linux client, and the stand-in client
// programs in tests\bridge beside the test program.
#include "support/WineHost.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace restoretest {

inline std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Skips the test when the server does not run, or fails it when a full
// test run requires the server.
#define QZ_REQUIRE_TEST_DATABASE()                                                                    \
    do {                                                                                              \
        if (::restoretest::Environment("QZ_TEST_DB_SOCKET").empty()) {                                \
            if (::restoretest::Environment("QZ_REQUIRE_DB") == "1")                                   \
                GTEST_FAIL() << "QZ_TEST_DB_SOCKET is not set, yet QZ_REQUIRE_DB=1";                  \
            GTEST_SKIP() << "no test database server: run eval \"$(scripts/test-db.sh start)\" first"; \
        }                                                                                             \
    } while (false)

inline std::string BridgeDirectory()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\')) + "\\bridge";
}

inline std::vector<std::string> SqlClient()
{
    return {"/usr/bin/mysql", "--no-defaults", "--socket=" + Environment("QZ_TEST_DB_SOCKET"), "-uroot"};
}

inline int RunSql(const std::string& statements)
{
    std::vector<std::string> argv = SqlClient();
    argv.insert(argv.end(), {"-e", statements});
    return qztest::RunUnix(argv);
}

// The result rows of a query without single quotes, one per line, fields
// separated by tabs; answerFile is a Windows path the rows pass through.
inline std::string QueryRows(const std::string& query, const std::string& answerFile)
{
    std::string command;
    for (const std::string& argument : SqlClient())
        command += argument + " ";
    command += "-N -e '" + query + "' > '" + qztest::UnixPathOf(answerFile) + "'";
    if (qztest::RunUnix({"/bin/sh", "-c", command}) != 0)
        return "(query failed)";
    return qztest::ReadFileText(answerFile);
}

}  // namespace restoretest
