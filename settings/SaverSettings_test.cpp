#include "platform/fake/FakePlatform.h"
#include "settings/SaverSettings.h"
#include "settings/SettingsTable.h"
#include "startup/Globals.h"

#include <gtest/gtest.h>

namespace {

using platform::FakePlatform;

void store(FakePlatform& fake, const std::string& key, const std::string& value)
{
    fake.rtcSaveSetting("Lilywade", "Startup", key, value);
}

TEST(LoadSettings, EmptyStoreGivesAllOffAndSpeedZero)
{
    FakePlatform fake;
    SaverSettings = {-1, -1, -1, -1, 99};
    LoadSettings(fake);
    EXPECT_EQ(SaverSettings, SaverSettingsRecord{});
}

// The stored file's names, spelt out: the file must stay as it always was.
TEST(LoadSettings, ReadsInOrderWithTheReadersSpelling)
{
    FakePlatform fake;
    LoadSettings(fake);
    EXPECT_EQ(fake.calls, (std::vector<std::string>{
                              "rtcGetSetting(Lilywade,startup,hole,0)",
                              "rtcGetSetting(Lilywade,startup,streak,0)",
                              "rtcGetSetting(Lilywade,startup,sound,0)",
                              "rtcGetSetting(Lilywade,startup,Blank,0)",
                              "rtcGetSetting(Lilywade,startup,Speed,0)",
                          }));
}

TEST(SaveSettings, WritesFiveValuesInOrderWithTheWritersSpelling)
{
    FakePlatform fake;
    SaveSettings(fake, {0, 0, -1, -1, 50});
    EXPECT_EQ(fake.calls, (std::vector<std::string>{
                              "rtcSaveSetting(Lilywade,Startup,Hole,0)",
                              "rtcSaveSetting(Lilywade,Startup,Streak,0)",
                              "rtcSaveSetting(Lilywade,Startup,Sound,1)",
                              "rtcSaveSetting(Lilywade,Startup,blank,1)",
                              "rtcSaveSetting(Lilywade,Startup,Speed,50)",
                          }));
}

class EachSetting : public testing::TestWithParam<StoredSetting> {};

// Read and write spellings differ: each pair must still name one value.
TEST_P(EachSetting, ReadsBackAloneIntoItsOwnField)
{
    SaverSettingsRecord saved;
    saved.*GetParam().field = GetParam().isFlag() ? -1 : 70;
    FakePlatform fake;
    SaveSettings(fake, saved);
    SaverSettings = {};
    LoadSettings(fake);
    EXPECT_EQ(SaverSettings, saved);
}

INSTANTIATE_TEST_SUITE_P(Table, EachSetting, testing::ValuesIn(StoredSettings),
                         [](const auto& info) { return std::string(info.param.writeKey); });

struct FlagCase {
    const char* text;
    std::int16_t value;
};

class FlagText : public testing::TestWithParam<FlagCase> {};

TEST_P(FlagText, IsOnOnlyForTheNumberOne)
{
    FakePlatform fake;
    store(fake, "Sound", GetParam().text);
    LoadSettings(fake);
    EXPECT_EQ(SaverSettings.Sound, GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, FlagText,
                         testing::Values(FlagCase{"1", -1}, FlagCase{" 1 ", -1},
                                         FlagCase{"1.0", -1}, FlagCase{"0", 0}, FlagCase{"2", 0},
                                         FlagCase{"-1", 0}, FlagCase{"yes", 0},
                                         FlagCase{"1abc", 0}, FlagCase{"", 0}));

struct SpeedCase {
    const char* text;
    std::int16_t value;
};

class SpeedText : public testing::TestWithParam<SpeedCase> {};

TEST_P(SpeedText, IsClampedToWhatTheDialogShows)
{
    FakePlatform fake;
    store(fake, "Speed", GetParam().text);
    LoadSettings(fake);
    EXPECT_EQ(SaverSettings.Speed, GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, SpeedText,
                         testing::Values(SpeedCase{"50", 50}, SpeedCase{"0", 0},
                                         SpeedCase{"200", 200}, SpeedCase{"201", 200},
                                         SpeedCase{"70000", 200}, SpeedCase{"1e30", 200},
                                         SpeedCase{"-5", 0}, SpeedCase{"-40000", 0},
                                         SpeedCase{"fast", 0}, SpeedCase{"", 0},
                                         SpeedCase{"12.5", 12}, SpeedCase{"12.7", 13},
                                         SpeedCase{"nan", 0}));

} // namespace
