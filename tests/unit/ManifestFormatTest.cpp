#include "keepset/ManifestFormat.h"

#include <gtest/gtest.h>

namespace {

const std::string kHashA(64, 'a');
const std::string kHashB = std::string(63, '0') + "f";

}  // namespace

TEST(ManifestFormat, WritesTheChecksumToolsLinesAndReadsThemBack)
{
    std::vector<ManifestEntry> entries(2);
    entries[0].path = "db1\\vm001.dbf";
    entries[0].sha256 = kHashA;
    entries[0].size = 12345;
    entries[1].path = "web\\htdocs\\my page.php";
    entries[1].sha256 = kHashB;
    entries[1].size = 0;
    const std::string checksums = FormatManifest(entries);
    const std::string sizes = FormatSizeList(entries);
    EXPECT_EQ(checksums, kHashA + "  db1\\vm001.dbf\n" + kHashB + "  web\\htdocs\\my page.php\n");
    EXPECT_EQ(sizes, "12345  db1\\vm001.dbf\n0  web\\htdocs\\my page.php\n");

    const ParsedManifest parsed = ParseManifest(checksums, sizes);
    ASSERT_EQ(parsed.entries.size(), 2u);
    EXPECT_EQ(parsed.malformedLines, 0u);
    EXPECT_EQ(parsed.entries[1].path, "web\\htdocs\\my page.php");
    EXPECT_EQ(parsed.entries[0].size, 12345u);
    EXPECT_TRUE(parsed.entries[1].sizeKnown);
}

TEST(ManifestFormat, CountsWhatItCannotReadAndJoinsSizesWithoutRegardToCase)
{
    const std::string checksums = kHashA + "  DB1\\A.DBF\r\n" +   // CR LF line end
                                  "xyz  db1\\b.dbf\n" +            // not a digest
                                  std::string(64, 'A') + "  c\n" + // upper-case hex
                                  kHashB + " one-blank\n" +        // one blank only
                                  "\n" + kHashB + "  ";            // no path
    const std::string sizes = "7  db1\\a.dbf\n-1  c\n99999999999999999999  x\n5  unknown\n";
    const ParsedManifest parsed = ParseManifest(checksums, sizes);
    ASSERT_EQ(parsed.entries.size(), 1u);
    EXPECT_EQ(parsed.entries[0].path, "DB1\\A.DBF");
    EXPECT_TRUE(parsed.entries[0].sizeKnown);
    EXPECT_EQ(parsed.entries[0].size, 7u);
    EXPECT_EQ(parsed.malformedLines, 6u);
}

TEST(ManifestFormat, RelativePathsBelowTheKeepset)
{
    struct Case {
        const char* directory;
        const char* file;
        const char* relative;
    };
    const Case cases[] = {
        {"E:\\bk", "E:\\bk\\db1\\vm001.dbf", "db1\\vm001.dbf"},
        {"E:\\bk", "E:\\bk.\\data\\sub.\\x.txt", "data\\sub\\x.txt"},
        {"E:\\bk\\", "e:\\BK\\.\\win\\qz.ini", "win\\qz.ini"},
        {"E:\\bk", "E:\\bk.\\\\server\\share\\x\\f", "server\\share\\x\\f"},
        {"\\\\nas\\keep\\d1", "\\\\nas\\keep\\d1.\\qzt\\a.txt", "qzt\\a.txt"},
        {"E:\\bk", "E:\\bk2\\db1\\a", ""},
        {"E:\\bk", "E:\\bk", ""},
        {"E:\\bk", "E:\\bk\\..\\evil\\a", ""},
        {"E:\\", "E:\\.\\mysql\\alarm.sql", "mysql\\alarm.sql"},
        {"\\\\nas\\keep", "nas\\keep\\a", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeepsetRelativePath(c.directory, c.file), c.relative) << c.directory << " | " << c.file;
}
