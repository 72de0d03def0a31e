// The table of script errors: details fill the marks in order and are never read as marks
// themselves, and a raise carries the row's type with the finished text.
#include "script/core/error_table.h"

#include <gtest/gtest.h>

#include <string>

#include "script/core/exceptions.h"

using namespace engine;

TEST(ErrorTable, DetailsFillTheMarksInOrder) {
  EXPECT_EQ(ErrorMessage(jeMemberMissing, {"length"}), "member error length");
  EXPECT_EQ(ErrorMessage(jeOperandTypes, {"vtNaN", "vtInteger"}), "vtNaN - vtInteger");
  EXPECT_EQ(ErrorMessage(jeRegExpr, {"bad pattern", "a(b"}), "bad pattern - /a(b/");
  EXPECT_EQ(ErrorMessage(jeApplyArguments, {"f"}), "f.apply arguments error");
  // A detail's own "%s" and "%" stay as they are.
  EXPECT_EQ(ErrorMessage(jeOperandTypes, {"%s", "100%"}), "%s - 100%");
  // A mark without a detail is left empty; a detail too many is dropped.
  EXPECT_EQ(ErrorMessage(jeOperandTypes, {"only"}), "only - ");
  EXPECT_EQ(ErrorMessage(jeStackOverflow, {"unused"}), "stack overflow");
  EXPECT_EQ(ErrorMessage(jeSyntaxAt, {"too deeply nested", "("}), "too deeply nested: Text( ( )");
}

TEST(ErrorTable, ARaiseCarriesTheTypeTheTextAndTheValue) {
  try {
    ThrowError(jeNamespaceNotFound, {"lib"});
    FAIL() << "no raise";
  } catch (const EJThrow& e) {
    EXPECT_EQ(e.ErrorType, "ENameError");
    EXPECT_EQ(e.message(), "namespace not found: lib");
    EXPECT_EQ(e.Value.ValueType(), vtNull);
  }
  TJValue thrown = TJValue::String("payload");
  try {
    ThrowError(jeThrow, {}, &thrown);
    FAIL() << "no raise";
  } catch (const EJThrow& e) {
    EXPECT_EQ(e.ErrorType, "EThrow");
    EXPECT_EQ(e.message(), "");
    EXPECT_EQ(AsString(&e.Value), "payload");
  }
}
