#include "app/StartOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(SaveDirectoryArgument, TheFirstArgumentThatIsNoSwitchCountsOnlyWithABackslash)
{
    EXPECT_EQ(FindSaveDirectoryArgument({"C:\\data"}).directory, "C:\\data");
    EXPECT_EQ(FindSaveDirectoryArgument({"/quiet", "-x", "D:\\keep\\YYYYMMDD"}).directory, "D:\\keep\\YYYYMMDD");
    // "backup" is the first plain argument: it names no directory, and the
    // one after it is not looked at.
    EXPECT_EQ(FindSaveDirectoryArgument({"backup", "C:\\data"}).directory, "");
    EXPECT_EQ(FindSaveDirectoryArgument({"", "C:\\data"}).directory, "");
    EXPECT_EQ(FindSaveDirectoryArgument({}).directory, "");
    EXPECT_EQ(FindSaveDirectoryArgument({"/C:\\data"}).directory, "");
    // A relative path with a backslash is taken as it stands.
    EXPECT_EQ(FindSaveDirectoryArgument({"keep\\x"}).directory, "keep\\x");
}

TEST(SaveDirectoryArgument, LongerThan127CharactersIsRefusedNotCut)
{
    const std::string fits = "C:\\" + std::string(124, 'k');
    ASSERT_EQ(fits.size(), 127u);
    EXPECT_FALSE(FindSaveDirectoryArgument({fits}).tooLong);
    EXPECT_EQ(FindSaveDirectoryArgument({fits}).directory, fits);

    const SaveDirectoryArgument tooLong = FindSaveDirectoryArgument({fits + "k"});
    EXPECT_TRUE(tooLong.tooLong);
    EXPECT_EQ(tooLong.directory, fits + "k");
    // Without a backslash it is no save directory, however long.
    EXPECT_FALSE(FindSaveDirectoryArgument({std::string(300, 'k')}).tooLong);
}

TEST(LanguageLibraryName, OnlyDTAndFRInCapitalsChooseALibrary)
{
    EXPECT_EQ(LanguageLibraryName("DT"), "qzkeep_dt.dll");
    EXPECT_EQ(LanguageLibraryName("FR"), "qzkeep_fr.dll");
    for (const char* other : {"dt", "Fr", "", "DE", "DT ", "EN"})
        EXPECT_EQ(LanguageLibraryName(other), "") << other;
}

// The installer looks for a running copy by this name: it is global and
// the same in every language (no title in it).
TEST(SingleInstance, TheMutexNameIsGlobalAndNamesNoTitle)
{
    EXPECT_EQ(std::string(kSingleInstanceMutexName), "Global\\QzkeepsetRunningCopy");
}

TEST(VerifyArgument, TheSwitchInAnyCaseWithOrWithoutADirectory)
{
    for (const char* verify : {"/verify", "-verify", "/VERIFY", "-Verify"}) {
        EXPECT_TRUE(FindVerifyArgument({verify}).asked) << verify;
        EXPECT_EQ(FindVerifyArgument({verify}).directory, "") << verify;
        EXPECT_EQ(FindVerifyArgument({verify, "D:\\keep\\YYYY-MM-DD"}).directory, "D:\\keep\\YYYY-MM-DD") << verify;
    }
    // The directory may come first, and other switches are passed over.
    EXPECT_EQ(FindVerifyArgument({"D:\\keep", "/quiet", "/verify"}).directory, "D:\\keep");
    for (const auto& other : std::vector<std::vector<std::string>>{
             {"D:\\keep"}, {"/verifyx"}, {"verify"}, {"/verif"}, {"//verify"}, {}})
        EXPECT_FALSE(FindVerifyArgument(other).asked);
}
