#include "platform/db/Params.h"

#include <gtest/gtest.h>

#include "platform/db/DatabaseError.h"
#include "tests/platform/db/TestSupport.h"

namespace {

TEST(Params, ParseSqlFindsTheMarkersTheLexerBinds) {
  const struct {
    std::string sql;
    std::vector<std::string> names;
  } cases[] = {
      {"select * from t where a=:pa and b='\":\"'", {"pa"}},
      {"a=:p or b=:p", {"p"}},
      {"x=:a -- :b", {"a"}},
      {"values(:a, \"x:y\", :b)", {"a", "b"}},
      {"insert into t values(:Bill_No,:bill_no,:AMT)", {"Bill_No", "AMT"}},
      {"where [odd:name]=:v and `q:\\`:w` = 1", {"v"}},
      {"/* :hidden */ x=:shown/*:also hidden*/", {"shown"}},
      {"x=:a--:b\n+:c", {"a", "c"}},  // the comment runs to the line end
      {"x=:a/*c*/b", {"ab"}},         // a comment does not end a word
      {"x=:a+:b-:c.d", {"a", "b", "c"}},
      {"x = 'it''s :not' and y=:ชื่อ", {"ชื่อ"}},
      {"a = : b and c=::d", {"d"}},
      {"x = 'unterminated :p", {}},
      {"a<':x' and b>:y and c=1e-:z", {"y", "z"}},
  };
  for (const auto& c : cases) {
    TParams params;
    EXPECT_EQ(c.names, params.ParseSQL(c.sql, false)) << c.sql;
    EXPECT_EQ(0, params.Count());
  }
}

TEST(Params, ParseSqlCreatesOneParameterPerNewName) {
  TParams params;
  params.CreateParam(ftString, "pa")->SetAsString("kept");
  params.ParseSQL("update t set a=:PA, b=:pb where c=:pb", true);
  ASSERT_EQ(2, params.Count());
  EXPECT_EQ("kept", params[0]->AsString());
  EXPECT_EQ("pb", params[1]->Name());
  EXPECT_EQ(ftUnknown, params[1]->DataType());
  EXPECT_FALSE(params[1]->Bound());
  EXPECT_TRUE(params[1]->IsNull());
}

TEST(Params, ParamByNameIgnoresCaseAndNamesAMissingOne) {
  TParams params;
  params.ParseSQL("select * from t where a=:pa", true);
  EXPECT_EQ(params[0], params.ParamByName("PA"));
  try {
    params.ParamByName("zz");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ("Parameter 'zz' not found", e.what());
  }
  EXPECT_EQ(nullptr, params.FindParam("zz"));
}

TEST(Params, SettersGiveTypeValueAndBinding) {
  TParams params;
  TParam* p = params.CreateParam(ftUnknown, "p");
  const struct {
    std::function<void()> set;
    TFieldType type;
    std::string text;
  } cases[] = {
      {[&] { p->SetAsString("กขค"); }, ftString, "กขค"},
      {[&] { p->SetAsInteger(-5); }, ftInteger, "-5"},
      {[&] { p->SetAsFloat(2.5); }, ftFloat, "2.5"},
      {[&] { p->SetAsCurrency(10); }, ftCurrency, "10"},
      {[&] { p->SetAsBoolean(true); }, ftBoolean, "True"},
      {[&] { p->SetAsDateTime(45351.5); }, ftDateTime, "29/02/2024 12:00:00"},
      {[&] { p->SetAsBlob(std::string("\0\1", 2)); }, ftBlob, std::string("\0\1", 2)},
  };
  for (const auto& c : cases) {
    p->SetBound(false);
    c.set();
    EXPECT_EQ(c.type, p->DataType());
    EXPECT_EQ(c.text, p->AsString());
    EXPECT_TRUE(p->Bound());
  }
  p->Clear();
  EXPECT_TRUE(p->IsNull());
  EXPECT_EQ(ftBlob, p->DataType());
  EXPECT_EQ(0, p->AsInteger());
}

TEST(Params, ValuesCopyByNameAndFromFields) {
  TParams target, source;
  target.ParseSQL(":a :b", true);
  source.CreateParam(ftInteger, "B")->SetAsInteger(7);
  source.CreateParam(ftInteger, "c")->SetAsInteger(8);
  target.AssignValues(source);
  EXPECT_TRUE(target[0]->IsNull());
  EXPECT_EQ(7, target[1]->AsInteger());
  EXPECT_EQ(2, target.Count());

  auto dataset = People(2);
  dataset->Next();
  target[0]->AssignField(dataset->FieldByName("NAME"));
  EXPECT_EQ(ftString, target[0]->DataType());
  EXPECT_EQ("P2", target[0]->AsString());

  TParams copy;
  copy.Assign(&target);
  ASSERT_EQ(2, copy.Count());
  EXPECT_EQ("P2", copy.ParamByName("a")->AsString());
}

}  // namespace
