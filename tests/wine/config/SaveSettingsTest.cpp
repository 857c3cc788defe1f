// The save run reads SaveSettings on its own thread while the settings
// dialog or the Save command may change them.
#include "config/SaveSettings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(SaveSettings, AReaderNeverSeesAHalfWrittenText)
{
    ResetSaveSettings();
    const std::string first(kSaveDirLength, 'a');
    const std::string second(kSaveDirLength - 100, 'b');
    UpdateSaveSettings([&](SaveSettingsRecord& record) { record.SaveDir = first; });

    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 20000 && !done; ++i)
            UpdateSaveSettings([&](SaveSettingsRecord& record) { record.SaveDir = i % 2 ? first : second; });
    });
    int mixed = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string seen = SaveSetting(&SaveSettingsRecord::SaveDir);
        if (seen != first && seen != second)
            ++mixed;
    }
    done = true;
    writer.join();
    EXPECT_EQ(mixed, 0);
    ResetSaveSettings();
}
