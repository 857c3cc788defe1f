// Retention through the real program: a nightly unattended save into a
// dated directory with [Retention] KeepComplete=3 over five older keepsets.
#include "Installation.h"

#include "support/ProfileFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

using e2e::Installation;

namespace {

const std::string kHash(64, 'a');

// Five earlier nights: the second ended with errors.
const struct {
    const char* name;
    const char* date;
    const char* state;
} kNights[] = {
    {"2026-12-01", "01.12.2026", "complete"}, {"2026-12-02", "02.12.2026", "errors"},
    {"2026-12-03", "03.12.2026", "complete"}, {"2026-12-04", "04.12.2026", "complete"},
    {"2026-12-05", "05.12.2026", "complete"},
};

class Retention : public Installation {
protected:
    // The keepsets as a save leaves them, each with its record, manifest,
    // size list and list entry; parent is where the dated directories lie.
    void MakeNights(const std::string& parent)
    {
        std::string config = "[Config]\r\nSaveMSG=1\r\n[Retention]\r\nKeepComplete=3\r\n";
        int slot = 1;
        for (const auto& night : kNights) {
            const std::string dir = parent + "\\" + night.name;
            std::string manifest;
            std::string sizes;
            for (const char* file : {"db1\\vm001.dbf", "qzt\\plan.csv", "mysql\\alarm.sql"}) {
                qztest::WriteFileText(dir + "\\" + file, night.name);
                manifest += kHash + "  " + file + "\n";
                sizes += "10  " + std::string(file) + "\n";
            }
            qztest::WriteFileText(dir + "\\qzkeepset.sha256", manifest);
            qztest::WriteFileText(dir + "\\qzkeepset.size", sizes);
            const std::string entry = "Path=" + dir + "\r\nDate=" + night.date + "\r\nTime=02:00:00\r\nState=" +
                                      night.state + "\r\n";
            qztest::WriteProfileFile(dir + "\\qzkeepset.inf", "[Save]\r\n" + entry);
            config += "[Save" + std::to_string(slot++) + "]\r\n" + entry;
        }
        qztest::WriteProfileFile(qztest::ConfigFilePath(), config);
    }

    std::vector<std::string> ListedPaths() const
    {
        std::vector<std::string> paths;
        for (int slot = 1; slot <= 19; ++slot) {
            const std::string path = ConfigValue("Save" + std::to_string(slot), "Path");
            if (path.empty())
                break;
            paths.push_back(path.substr(path.rfind('\\') + 1));
        }
        return paths;
    }

    bool LogHas(const std::string& text) const
    {
        const auto log = RunLog();
        return std::any_of(log.begin(), log.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
    }
};

}  // namespace

TEST_F(Retention, ANightlySaveKeepsTheThreeNewestCompleteKeepsetsAndNoStrangersFile)
{
    const std::string parent = Root() + "\\keep";
    MakeNights(parent);
    qztest::WriteFileText(parent + "\\2026-12-01\\db1\\notes.txt", "the operator's own");
    qztest::WriteFileText(parent + "\\other\\db1\\vm001.dbf", "not a dated keepset");

    StartProgram({parent + "\\YYYY-MM-DD"});
    EXPECT_EQ(WaitForExit(), 0u);

    const std::string today = e2e::Today("%04u-%02u-%02u");
    for (const char* gone : {"2026-12-02", "2026-12-03"})
        EXPECT_FALSE(qztest::Exists(parent + "\\" + gone)) << gone;
    for (const char* kept : {"2026-12-04", "2026-12-05"})
        EXPECT_TRUE(qztest::Exists(parent + "\\" + kept + "\\qzkeepset.sha256")) << kept;
    // Only what its manifest listed went; the stranger's file keeps its folder.
    EXPECT_EQ(qztest::ReadFileText(parent + "\\2026-12-01\\db1\\notes.txt"), "the operator's own");
    EXPECT_FALSE(qztest::Exists(parent + "\\2026-12-01\\db1\\vm001.dbf"));
    EXPECT_FALSE(qztest::Exists(parent + "\\2026-12-01\\qzt"));
    EXPECT_FALSE(qztest::Exists(parent + "\\2026-12-01\\qzkeepset.inf"));
    EXPECT_TRUE(qztest::Exists(parent + "\\other\\db1\\vm001.dbf"));
    EXPECT_EQ(ListedPaths(), (std::vector<std::string>{"2026-12-04", "2026-12-05", today}));
    EXPECT_TRUE(LogHas("Kept "));
}

TEST_F(Retention, ASaveWithErrorsOrAFailingDeleteRemovesNothingItShouldNot)
{
    const std::string parent = Root() + "\\keep";
    MakeNights(parent);
    DeleteFileA("Q:\\db1\\vm001.dbf");  // the save ends with errors
    StartProgram({parent + "\\YYYY-MM-DD"});
    EXPECT_EQ(WaitForExit(), 1u);
    for (const auto& night : kNights)
        EXPECT_TRUE(qztest::Exists(parent + "\\" + night.name + "\\qzkeepset.inf")) << night.name;

    // A listed file that cannot be deleted (a folder stands in its place):
    // a red line, status 1, and that keepset keeps its record and entry.
    qztest::WriteFileText("Q:\\db1\\vm001.dbf", "alarm configuration");
    qztest::RemoveTree(parent + "\\2026-12-01\\qzt\\plan.csv");
    qztest::WriteFileText(parent + "\\2026-12-01\\qzt\\plan.csv\\inside.txt", "x");
    StartProgram({parent + "\\YYYY-MM-DD"});
    EXPECT_EQ(WaitForExit(), 1u);
    EXPECT_TRUE(LogHas("FAILED to delete"));
    EXPECT_TRUE(qztest::Exists(parent + "\\2026-12-01\\qzkeepset.inf"));
    EXPECT_FALSE(qztest::Exists(parent + "\\2026-12-02"));
    EXPECT_FALSE(qztest::Exists(parent + "\\2026-12-03"));
    EXPECT_EQ(ListedPaths().front(), "2026-12-01");
}

TEST_F(Retention, KeepsetsOnANetworkShareAreRemovedThere)
{
    const std::string folder = Root() + "\\share";
    qztest::MakeDirectories(folder);
    qztest::MapShare("qzserver", "keep", folder);
    MakeNights("\\\\qzserver\\keep");
    StartProgram({"\\\\qzserver\\keep\\YYYY-MM-DD"});
    EXPECT_EQ(WaitForExit(), 0u);
    EXPECT_FALSE(qztest::Exists(folder + "\\2026-12-03"));
    EXPECT_TRUE(qztest::Exists(folder + "\\2026-12-04\\qzkeepset.inf"));
    EXPECT_EQ(ListedPaths().size(), 3u);
    qztest::UnmapShare("qzserver", "keep");
}
