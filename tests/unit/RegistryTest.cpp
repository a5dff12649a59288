#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "framework/CFFGLPluginManager.h"

namespace {

class Registry : public CFFGLPluginManager {
 public:
  using CFFGLPluginManager::AddParam;
  using CFFGLPluginManager::SetMaxInputs;
  using CFFGLPluginManager::SetMinInputs;
};

TEST(Registry, EmptyRegistryAnswersFailureEverywhere) {
  Registry registry;
  EXPECT_EQ(registry.ParamCount(), 0u);
  EXPECT_EQ(registry.ParamTypeOf(0), ResultFailure);
  EXPECT_EQ(registry.ParamNameOf(0), nullptr);
  EXPECT_EQ(registry.ParamDefaultOf(0), MixedFromU32(ResultFailure));
  EXPECT_EQ(registry.ParamExtraAOf(0), -1);
  EXPECT_EQ(registry.ParamExtraBOf(0), -1);
}

TEST(Registry, DefaultsAreClampedToUnitRangeButNaNPassesThrough) {
  struct Case {
    float given;
    float stored;
  };
  const Case cases[] = {{1.5f, 1.0f},
                        {-0.25f, 0.0f},
                        {0.2f, 0.2f},
                        {std::numeric_limits<float>::infinity(), 1.0f},
                        {-std::numeric_limits<float>::infinity(), 0.0f}};
  Registry registry;
  std::uint32_t index = 0;
  for (const Case& c : cases) {
    registry.AddParam(index, "p", ParamTypeStandard, c.given);
    EXPECT_EQ(FloatFromMixed(registry.ParamDefaultOf(index)), c.stored) << "given " << c.given;
    ++index;
  }
  registry.AddParam(index, "nan", ParamTypeStandard, std::nanf(""));
  EXPECT_TRUE(std::isnan(FloatFromMixed(registry.ParamDefaultOf(index))));
}

TEST(Registry, NameFieldIsZeroFilledOrFilledWithoutTerminator) {
  Registry registry;
  registry.AddParam(0, "Process Alpha", ParamTypeBoolean, 0.0f);
  registry.AddParam(1, "ExactlySixteen16", ParamTypeStandard, 0.0f);
  registry.AddParam(2, "MuchLongerThanSixteenChars", ParamTypeStandard, 0.0f);

  const char expectedShort[16] = "Process Alpha";
  EXPECT_EQ(std::memcmp(registry.ParamNameOf(0), expectedShort, 16), 0);
  EXPECT_EQ(std::memcmp(registry.ParamNameOf(1), "ExactlySixteen16", 16), 0);
  EXPECT_EQ(std::memcmp(registry.ParamNameOf(2), "MuchLongerThanSi", 16), 0);
}

TEST(Registry, DuplicateIndexIsCountedButLookupsKeepTheFirst) {
  Registry registry;
  registry.AddParam(3, "first", ParamTypeStandard, 0.25f);
  registry.AddParam(3, "second", ParamTypeBoolean, 0.75f);
  EXPECT_EQ(registry.ParamCount(), 2u);
  EXPECT_STREQ(registry.ParamNameOf(3), "first");
  EXPECT_EQ(registry.ParamTypeOf(3), ParamTypeStandard);
  EXPECT_EQ(FloatFromMixed(registry.ParamDefaultOf(3)), 0.25f);
}

TEST(Registry, LookupsGoByStoredIndexNotPosition) {
  Registry registry;
  registry.AddParam(7, "seven", ParamTypeStandard, 0.5f);
  registry.AddParam(2, "two", ParamTypeText, 0.5f);
  EXPECT_STREQ(registry.ParamNameOf(2), "two");
  EXPECT_EQ(registry.ParamNameOf(0), nullptr);
  EXPECT_EQ(registry.ParamNameOf(1), nullptr);
  // A text parameter has no default text until someone sets one.
  EXPECT_EQ(registry.ParamDefaultOf(2), MixedValue{0});
  EXPECT_EQ(registry.ParamExtraAOf(7), 1);
  EXPECT_EQ(registry.ParamExtraBOf(7), 0);
  EXPECT_EQ(registry.ParamExtraAOf(2), 1);
  EXPECT_EQ(registry.ParamExtraBOf(2), 0);
}

}  // namespace
