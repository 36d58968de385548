#include "dest/DestinationForm.h"

#include <gtest/gtest.h>

namespace {

TEST(DestinationForm, CapitalDriveAndColonFirst) {
  for (const char* good : {"C:", "C:\\", "D:\\APPS\\", "Q:\\A", "Z:relative", "A:*"})
    EXPECT_TRUE(HasDestinationForm(good)) << good;
  for (const char* bad : {"", "C", "c:\\x", "1:\\x", "\\\\SERVER\\X", "CD:\\", " C:\\", "[:\\",
                          "@:\\"})
    EXPECT_FALSE(HasDestinationForm(bad)) << bad;
}

TEST(DestinationForm, WildcardsAndTrailingBackslash) {
  EXPECT_TRUE(HasWildcard("C:\\TMP*"));
  EXPECT_TRUE(HasWildcard("C:\\A?B"));
  EXPECT_FALSE(HasWildcard("C:\\A.B"));
  EXPECT_EQ(WithoutTrailingBackslash("C:\\A\\\\"), "C:\\A\\");
  EXPECT_EQ(WithoutTrailingBackslash("C:\\"), "C:");
  EXPECT_EQ(WithoutTrailingBackslash(""), "");
}

}  // namespace
