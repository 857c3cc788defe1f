// The Test button: it asks first, and only on Yes runs the batch command
// line through the command interpreter, waiting until it ends.
#include "SettingsFixture.h"

#include "resource.h"
#include "win/CallCounter.h"
#include "win/MessageBoxes.h"

using settingstest::SettingsTest;

namespace {

struct Asked {
    int count = 0;
    std::string text;
    std::string caption;
    unsigned style = 0;
};

void AnswerWith(Asked& asked, int answer)
{
    win::SetMessageBoxHandler([&asked, answer](const std::string& text, const std::string& caption, unsigned style) {
        ++asked.count;
        asked.text = text;
        asked.caption = caption;
        asked.style = style;
        return answer;
    });
}

}  // namespace

TEST_F(SettingsTest, TestAsksAndRunsNothingOnNo)
{
    qztest::ScratchFolder batch("settings-batch");
    const std::string command = "echo ran> " + (batch / "ran.txt");
    Open();
    const auto opened = ConfigContent();
    Type(IDC_SET_BATCH_PROGRAM, command);
    Asked asked;
    AnswerWith(asked, win::kAnswerNo);
    Press(IDC_SET_TEST_BATCH);
    EXPECT_EQ(asked.count, 1);
    EXPECT_EQ(asked.text, "Start batch program '" + command + "' ?");
    EXPECT_EQ(asked.caption, "Please confirm...");
    // Yes is the default button.
    EXPECT_EQ(asked.style, win::kBoxYesNo | win::kBoxIconQuestion);
    EXPECT_EQ(win::CallCount(win::Op::CommandInterpreter), 0u);
    EXPECT_FALSE(qztest::Exists(batch / "ran.txt"));
    EXPECT_EQ(ConfigContent(), opened);
}

TEST_F(SettingsTest, TestRunsTheCommandAsTypedOnYesAndWaitsForIt)
{
    qztest::ScratchFolder batch("settings-batch");
    // Two commands chained by the interpreter: the second file exists only
    // when the whole line ran, and before the dialog carries on.
    const std::string command =
        "echo first> " + (batch / "first.txt") + " && echo second> " + (batch / "second.txt");
    Open();
    const auto opened = ConfigContent();
    Type(IDC_SET_BATCH_PROGRAM, command);
    Asked asked;
    AnswerWith(asked, win::kAnswerYes);
    Press(IDC_SET_TEST_BATCH);
    EXPECT_EQ(asked.count, 1);
    EXPECT_EQ(win::CallCount(win::Op::CommandInterpreter), 1u);
    // The interpreter keeps the blank before "&&" in what it echoes.
    EXPECT_EQ(qztest::ReadFileText(batch / "first.txt"), "first \r\n");
    EXPECT_EQ(qztest::ReadFileText(batch / "second.txt"), "second\r\n");
    // Testing stores nothing; the dialog stays open.
    EXPECT_EQ(ConfigContent(), opened);
    EXPECT_EQ(CurrentSaveSettings().StartBatch, "old batch");
    EXPECT_EQ(dialog_->EndedWith(), 0);
}
