#include "kit/core/JSONPointerUtils.h"

#include <gtest/gtest.h>

using namespace VoziZazIreCore;

TEST(JSONPointerUtils, EscapesTildeBeforeSlashAndUnescapesInReverse) {
  EXPECT_EQ(JSONPointerUtils::escape("~/"), "~0~1");
  EXPECT_EQ(JSONPointerUtils::escape("a/b~c"), "a~1b~0c");
  EXPECT_EQ(JSONPointerUtils::unescape("~0~1"), "~/");
  // "~01" must become "~1", not "/".
  EXPECT_EQ(JSONPointerUtils::unescape("~01"), "~1");
  for (std::string key : {"", "plain", "~", "/", "~1", "~0", "a/b/c~~", "/pets/{id}"})
    EXPECT_EQ(JSONPointerUtils::unescape(JSONPointerUtils::escape(key)), key) << key;
}

TEST(JSONPointerUtils, AppendsKeysAndIndexes) {
  EXPECT_EQ(JSONPointerUtils::append("", "a/b"), "/a~1b");
  EXPECT_EQ(JSONPointerUtils::append("/items", int64_t{0}), "/items/0");
  EXPECT_EQ(JSONPointerUtils::append("/paths", "/pets~x"), "/paths/~1pets~0x");
}

TEST(JSONPointerUtils, ParseKeepsEmptySegmentsAndTakesNonPointersWhole) {
  using V = std::vector<std::string>;
  EXPECT_EQ(JSONPointerUtils::parse(""), V{});
  EXPECT_EQ(JSONPointerUtils::parse("/"), V{""});
  EXPECT_EQ(JSONPointerUtils::parse("/a//b"), (V{"a", "", "b"}));
  EXPECT_EQ(JSONPointerUtils::parse("/a/"), (V{"a", ""}));
  EXPECT_EQ(JSONPointerUtils::parse("/paths/~1pets~0x"), (V{"paths", "/pets~x"}));
  EXPECT_EQ(JSONPointerUtils::parse("paths~1x"), V{"paths~1x"});
}
