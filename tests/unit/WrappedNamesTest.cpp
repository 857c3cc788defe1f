#include "win/WrappedNames.h"

#include <gtest/gtest.h>

namespace {

using win::NamePiece;

// "<" and ">" stand for the wrapping characters in the table.
std::string W(std::string text)
{
    for (char& c : text) {
        if (c == '<')
            c = win::kWrapStart;
        else if (c == '>')
            c = win::kWrapEnd;
    }
    return text;
}

// The pieces as "plain|[wrapped]|plain".
std::string Joined(const std::vector<NamePiece>& pieces)
{
    std::string joined;
    for (const NamePiece& piece : pieces)
        joined += (joined.empty() ? "" : "|") + (piece.wrapped ? "[" + piece.bytes + "]" : piece.bytes);
    return joined;
}

}  // namespace

TEST(WrappedNames, SplitsPathsIntoPlainAndWrappedPieces)
{
    const struct {
        const char* text;
        bool paired;
        const char* pieces;
    } cases[] = {
        {"", true, ""},
        {"C:\\keep\\db1\\vm001.dbf", true, "C:\\keep\\db1\\vm001.dbf"},
        {"C:\\<\xe7\x94\xa8\xe6\x88\xb7>\\Desktop", true, "C:\\|[\xe7\x94\xa8\xe6\x88\xb7]|\\Desktop"},
        {"<\xe5\xad\x90>.txt", true, "[\xe5\xad\x90]|.txt"},
        {"a<b>c<d>", true, "a|[b]|c|[d]"},
        {"<>x", true, "x"},  // an empty run holds nothing
        {"a<b", false, "a|[b]"},
        {"a>b", false, "ab"},
        {"<a<b>c", false, "[ab]|c"},
        {"<a>>", false, "[a]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<NamePiece> pieces;
        EXPECT_EQ(win::SplitWrappedRuns(W(c.text), pieces), c.paired);
        EXPECT_EQ(Joined(pieces), c.pieces);
        EXPECT_EQ(win::HoldsWrappedRuns(W(c.text)), std::string(c.text).find_first_of("<>") != std::string::npos);
    }
}

TEST(WrappedNames, BuildsOneRunPerStretchOfUncarriedCharactersAndSplitsBackTheSame)
{
    win::WrappedNameBuilder builder;
    EXPECT_EQ(builder.Finish(), "");
    for (const char* c : {"a", ".", "t", "x", "t"})
        builder.AddCarried(c);
    EXPECT_EQ(builder.Finish(), "a.txt");

    // Greek, Cyrillic and an emoji beside carried characters; the builder
    // is reused after Finish.
    builder.AddUncarried("\xce\xb1");
    builder.AddUncarried("\xd0\x96");
    builder.AddCarried("-");
    builder.AddCarried("\xe9");  // carried by the code page: its own byte
    builder.AddUncarried("\xf0\x9f\x94\x94");
    const std::string name = builder.Finish();
    EXPECT_EQ(name, W("<\xce\xb1\xd0\x96>-\xe9<\xf0\x9f\x94\x94>"));

    std::vector<NamePiece> pieces;
    EXPECT_TRUE(win::SplitWrappedRuns("D:\\" + name + "\\f", pieces));
    EXPECT_EQ(Joined(pieces), "D:\\|[\xce\xb1\xd0\x96]|-\xe9|[\xf0\x9f\x94\x94]|\\f");
}
