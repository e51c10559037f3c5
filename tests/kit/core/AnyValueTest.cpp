#include "kit/core/AnyValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kit/core/ReferenceOr.h"

using namespace VoziZazIreCore;

TEST(AnyValue, CasesAreDistinctAndDoublesCompareByIEEE) {
  EXPECT_NE(AnyValue(1), AnyValue(1.0));
  EXPECT_NE(AnyValue(true), AnyValue(1));
  EXPECT_EQ(AnyValue(0.0), AnyValue(-0.0));
  EXPECT_EQ(AnyValue(0.0).hash(), AnyValue(-0.0).hash());
  AnyValue nan(std::numeric_limits<double>::quiet_NaN());
  EXPECT_NE(nan, nan);
  EXPECT_EQ(AnyValue(), AnyValue(nullptr));
}

TEST(AnyValue, AccessorsNeverConvertExceptIntToDouble) {
  EXPECT_EQ(AnyValue(3).doubleValue(), 3.0);
  EXPECT_FALSE(AnyValue(3.0).intValue());
  EXPECT_FALSE(AnyValue(true).intValue());
  EXPECT_FALSE(AnyValue("1").intValue());
  AnyValue null;
  EXPECT_TRUE(null.isNull());
  EXPECT_FALSE(null.boolValue() || null.intValue() || null.doubleValue() || null.stringValue() ||
               null.arrayValue() || null.objectValue());
}

TEST(AnyValue, CanonicallyEquivalentStringsAreEqual) {
  AnyValue composed("caf\u00e9"), decomposed("cafe\u0301");
  EXPECT_EQ(composed, decomposed);
  EXPECT_EQ(composed.hash(), decomposed.hash());
  EXPECT_NE(AnyValue("cafe"), composed);
  // Keys too.
  AnyValue::Object a{{"caf\u00e9", 1}}, b{{"cafe\u0301", 1}};
  EXPECT_EQ(AnyValue(a), AnyValue(b));
}

TEST(AnyValue, ObjectsIgnoreOrderArraysDoNot) {
  AnyValue::Object ab{{"a", 1}, {"b", "x"}}, ba{{"b", "x"}, {"a", 1}};
  EXPECT_EQ(AnyValue(ab), AnyValue(ba));
  EXPECT_EQ(AnyValue(ab).hash(), AnyValue(ba).hash());
  EXPECT_NE(AnyValue(AnyValue::Array{1, 2}), AnyValue(AnyValue::Array{2, 1}));
  EXPECT_NE(AnyValue(AnyValue::Object{{"a", 1}}), AnyValue(AnyValue::Object{{"a", 1}, {"b", 1}}));
}

TEST(AnyValue, DeepValuesAreDestroyedComparedAndHashedWithoutRecursion) {
  auto build = [] {
    AnyValue v = 1;
    for (int i = 0; i < 200000; ++i) {
      if (i % 2) {
        AnyValue::Array a;
        a.push_back(std::move(v));
        v = AnyValue(std::move(a));
      } else {
        AnyValue::Object o;
        o.insertOrAssign("k", std::move(v));
        v = AnyValue(std::move(o));
      }
    }
    return v;
  };
  AnyValue a = build(), b = build();
  EXPECT_EQ(a, b);
  EXPECT_EQ(a.hash(), b.hash());
}

TEST(Reference, EqualityCoversEveryField) {
  Reference a("#/components/schemas/Pet", std::nullopt, std::nullopt, std::nullopt);
  Reference b = a;
  EXPECT_EQ(a, b);
  b.summary = "s";
  EXPECT_NE(a, b);
  Reference c = a;
  c.location = LocationInfo("/$ref", {});
  EXPECT_NE(a, c);
  EXPECT_NE(a.hash(), c.hash());
}

TEST(ReferenceOr, CasesAndAccessors) {
  struct Thing {
    int n;
    bool operator==(const Thing&) const = default;
  };
  ReferenceOr<Thing> value(std::make_shared<const Thing>(Thing{4}));
  ReferenceOr<Thing> ref(Reference("#/x", std::nullopt, std::nullopt, std::nullopt));
  EXPECT_EQ(value.referenceValue(), nullptr);
  EXPECT_EQ(ref.inlineValue(), nullptr);
  EXPECT_FALSE(value == ref);
  // Inline values compare by value, not by pointer.
  EXPECT_TRUE(value == ReferenceOr<Thing>(std::make_shared<const Thing>(Thing{4})));
}
