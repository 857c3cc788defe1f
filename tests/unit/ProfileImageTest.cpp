#include "config/ProfileImage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ProfileImage Image(const std::vector<std::pair<std::string, std::vector<std::string>>>& sections)
{
    ProfileImage image;
    for (const auto& section : sections)
        image.AddSection(section.first, section.second);
    return image;
}

}  // namespace

TEST(ProfileImage, WritesUpdateTheFirstKeyOrAppendAndACutFileIsNoMatch)
{
    ProfileImage expected = Image({{"Config", {"SaveMSG=1", "LastKeepsetDir=C:\\k"}},
                                   {"Save1", {"Path=C:\\k", "Path=C:\\second"}}});
    expected.Set("config", "lastkeepsetdir", "D:\\new");
    expected.Set("Config", "SaveWeb", "0");
    expected.Set("Save2", "Path", "E:\\x");

    // As the system writes it: names in its own case, blanks and a pair of
    // quotes around a value dropped.
    const ProfileImage written = Image({{"CONFIG", {"SaveMSG = 1", "LastKeepsetDir=D:\\new", "SaveWeb=\"0\""}},
                                        {"Save1", {"Path=C:\\k", "Path=C:\\second"}},
                                        {"Save2", {"Path= E:\\x"}}});
    EXPECT_TRUE(written.SameAs(expected));
    EXPECT_TRUE(expected.SameAs(written));

    const ProfileImage cut = Image({{"Config", {"SaveMSG=1", "LastKeepsetDir=D:\\new", "SaveWeb=0"}},
                                    {"Save1", {"Path=C:\\k", "Path=C:\\second"}}});
    EXPECT_FALSE(cut.SameAs(expected));
    const ProfileImage cutInALine = Image({{"Config", {"SaveMSG=1", "LastKeepsetDir=D:\\new", "SaveWeb=0"}},
                                           {"Save1", {"Path=C:\\k", "Path=C:\\second"}},
                                           {"Save2", {"Path=E:\\"}}});
    EXPECT_FALSE(cutInALine.SameAs(expected));
    const ProfileImage keyLost = Image({{"Config", {"SaveMSG=1", "SaveWeb=0"}},
                                        {"Save1", {"Path=C:\\k", "Path=C:\\second"}},
                                        {"Save2", {"Path=E:\\x"}}});
    EXPECT_FALSE(keyLost.SameAs(expected));
}

TEST(ProfileImage, ASecondSectionOfTheSameNameIsReadAsTheFirst)
{
    const ProfileImage twice = Image({{"A", {"k=1"}}, {"a", {"k=2"}}});
    EXPECT_TRUE(twice.SameAs(Image({{"A", {"k=1"}}})));
    EXPECT_TRUE(Image({}).SameAs(ProfileImage()));
    EXPECT_FALSE(Image({{"A", {}}}).SameAs(ProfileImage()));
}
