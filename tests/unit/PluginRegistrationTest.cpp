#include <gtest/gtest.h>

#include <cstring>

#include "framework/PluginRegistration.h"

namespace {

// Constructing a record moves the registration pointer; put it back so the
// other tests of this binary keep their own registration.
class PluginRegistrationTest : public ::testing::Test {
 protected:
  void TearDown() override { registrationPointer = saved; }
  PluginRegistration* saved = registrationPointer;
};

TEST_F(PluginRegistrationTest, FillsInfoAndDetailsBackToBack) {
  const char description[] = "a description";
  PluginRegistration record(nullptr, "ZTW5", "ZentrelFx", 1, 500, 1, 0, PluginTypeEffect,
                            description, "about", 0, nullptr);
  EXPECT_EQ(registrationPointer, &record);

  const auto* bytes = reinterpret_cast<const unsigned char*>(record.Info());
  EXPECT_EQ(reinterpret_cast<const unsigned char*>(record.Details()), bytes + 32);
  EXPECT_EQ(static_cast<const void*>(record.Info()), static_cast<const void*>(&record));
  EXPECT_EQ(record.Info()->apiMajor, 1u);
  EXPECT_EQ(record.Info()->apiMinor, 500u);
  EXPECT_EQ(std::memcmp(record.Info()->uniqueId, "ZTW5", 4), 0);
  const char expectedName[16] = "ZentrelFx";  // followed by seven zero bytes
  EXPECT_EQ(std::memcmp(record.Info()->name, expectedName, 16), 0);

  EXPECT_NE(record.Details()->description, description);
  EXPECT_STREQ(record.Details()->description, description);
  EXPECT_STREQ(record.Details()->about, "about");
  EXPECT_EQ(record.Details()->extraSize, 0u);
  EXPECT_EQ(record.Details()->extraData, nullptr);
}

TEST_F(PluginRegistrationTest, FieldsAreFilledUpToTheirLimits) {
  struct Case {
    const char* uniqueId;
    const char* name;
    char expectedId[4];
    char expectedName[16];
  };
  const Case cases[] = {
      {"AB", "A", {'A', 'B', 0, 0}, {'A'}},
      {"ABCDEF",
       "SixteenCharsName",
       {'A', 'B', 'C', 'D'},
       {'S', 'i', 'x', 't', 'e', 'e', 'n', 'C', 'h', 'a', 'r', 's', 'N', 'a', 'm', 'e'}},
      {"",
       "NameLongerThanSixteen",
       {0, 0, 0, 0},
       {'N', 'a', 'm', 'e', 'L', 'o', 'n', 'g', 'e', 'r', 'T', 'h', 'a', 'n', 'S', 'i'}},
  };
  for (const Case& c : cases) {
    // Filled over a dirty buffer: the record must not rely on zeroed storage.
    alignas(PluginRegistration) unsigned char storage[sizeof(PluginRegistration)];
    std::memset(storage, 0xAB, sizeof storage);
    auto* record = new (storage) PluginRegistration(nullptr, c.uniqueId, c.name, 1, 500, 1, 0,
                                                    PluginTypeEffect, "d", "a", 0, nullptr);
    EXPECT_EQ(std::memcmp(record->Info()->uniqueId, c.expectedId, 4), 0) << c.uniqueId;
    EXPECT_EQ(std::memcmp(record->Info()->name, c.expectedName, 16), 0) << c.name;
    record->~PluginRegistration();
  }
}

}  // namespace
