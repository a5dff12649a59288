#include <gtest/gtest.h>

#include "HostRun.h"

namespace {

TEST(Info, ShowsDisplayTextsFromALiveInstance) {
  const HostResult result = RunHost("info " + Quote(ZENTREL_PLUGIN));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("about:"), std::string::npos);
  EXPECT_NE(result.out.find("Speed            Standard  0.5          \"0.500000\""),
            std::string::npos)
      << result.out;
}

TEST(Info, SurvivesNullAndUnterminatedTexts) {
  const HostResult result = RunHost("info " + Quote(FIXTURE_ODD_ANSWERS));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  // The sixteen-character name is cut at its field, not read beyond it.
  EXPECT_NE(result.out.find("ABCDEFGHIJKLMNOP "), std::string::npos) << result.out;
  EXPECT_NE(result.err.find("no DetailsRecord"), std::string::npos) << result.err;
}

}  // namespace
