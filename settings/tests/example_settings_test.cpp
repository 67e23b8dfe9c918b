#include <gtest/gtest.h>

#include <string>

#include "settings/settings_record.h"
#include "test_support/scratch_folder.h"

namespace tervela {
namespace {

const std::string kExamples = TERVELA_EXAMPLES_DIR;

TEST(ExampleSettings, TwoZonesLoadsBothGaussKruegerSystems) {
  TSettingsTexts texts;
  Status status = ReadSettingsRecord(kExamples + "/two-zones.set", texts);
  ASSERT_TRUE(status.ok()) << status.error().message();

  // clang-format off
  const TSettingsTexts expected = {
      "682", "-203", "480", "739.845", "0.10037483", "0", "0", "0.9999", "5500000", "0", "15",
      "-551.7", "-162.9", "-467.9", "6.04", "1.96", "-11.38", "4.82",
      "682", "-203", "480", "739.845", "0.10037483", "0", "0", "0.9999", "6500000", "0", "18",
      "-551.7", "-162.9", "-467.9", "6.04", "1.96", "-11.38", "4.82",
      "GK zone 5", "GK zone 6"};
  // clang-format on
  EXPECT_EQ(texts, expected);
}

TEST(ExampleSettings, TwoZonesIsExactlyWhatTheProgramWouldWrite) {
  TSettingsTexts texts;
  ASSERT_TRUE(ReadSettingsRecord(kExamples + "/two-zones.set", texts).ok());
  testing::ScratchFolder folder;
  ASSERT_TRUE(WriteSettingsRecord(folder / "copy.set", texts).ok());
  EXPECT_EQ(testing::ReadBytes(folder / "copy.set"),
            testing::ReadBytes(kExamples + "/two-zones.set"));
}

}  // namespace
}  // namespace tervela
