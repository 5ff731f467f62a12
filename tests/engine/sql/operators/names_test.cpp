// Column names of operator nodes, name resolution and the errors of both.
#include "tests/engine/sql/operators/OperatorFixture.h"

namespace {

class ColumnNames : public OperatorTest {
 protected:
  void SetUp() override {
    CreateJoinTables();
    CreateTable("t3", {{"id", adtInteger}, {"z", adtString, 10}}, {{"1", "z1"}});
  }

  static std::vector<std::string> NamesOf(const TVTRAO& node) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < node.ColumnCount(); ++i) names.push_back(node.Column(i).Name);
    return names;
  }

  std::unique_ptr<TVTRAOJoin> InnerJoin(TVTRAOPtr left, const std::string& left_key, TVTRAOPtr right,
                                        const std::string& right_key) {
    const TVTRFields left_fields = Fields({left_key}), right_fields = Fields({right_key});
    return std::make_unique<TVTRAOJoin>(std::move(left), nullptr, &right_fields, &left_fields, false, jtInner,
                                        std::move(right));
  }
};

// An item computing the expression; the item owns it until a node takes it.
struct ExpressionItem {
  explicit ExpressionItem(std::string_view text) : lexer(text, nullptr) {
    lexer.NextCommand();
    auto expression = std::make_unique<TVTRSQLExpression>();
    expression->ParseValueExpression(nullptr, lexer);
    item.IsExpression = true;
    item.Expression = expression.release();
  }
  ~ExpressionItem() { delete static_cast<TVTRSQLExpression*>(item.Expression); }
  TVTRLexer lexer;
  TVTRSelectListItem item;
};

TEST_F(ColumnNames, RepeatedNamesGetSuffixesAndUnnamedExpressionsDistinctNumbers) {
  auto first = InnerJoin(Node("t1"), "t1.id", Node("t2"), "t2.id");
  auto both = InnerJoin(std::move(first), "t1.id", Node("t3"), "t3.id");
  EXPECT_EQ(NamesOf(*both), (std::vector<std::string>{"id", "x", "id_1", "y", "id_12", "z"}));

  TVTRAOTableExpr projection(Node("t1"));
  ExpressionItem plus_one("id + 1"), plus_two("id + 2");
  std::vector<TVTRSelectListItem> items = {plus_one.item, plus_two.item};
  plus_one.item.Expression = plus_two.item.Expression = nullptr;
  projection.ApplySelectList(items, false);
  const std::string& a = projection.Column(projection.GetSelectedColumn(0)).Name;
  const std::string& b = projection.Column(projection.GetSelectedColumn(1)).Name;
  EXPECT_TRUE(a.starts_with("Expr") && b.starts_with("Expr") && a.size() <= 10) << a << " " << b;
  EXPECT_NE(a, b);
  EXPECT_EQ(items[0].FieldName, a) << "the item now names its column";
  projection.Execute(true, nullptr, nullptr);
  EXPECT_EQ(Sorted(Read(projection)), Rows({"1-2", "2-3", "2-3", "3-4"})) << "NULL + 1 is 1";
}

TEST_F(ColumnNames, ResolutionErrorsCarryTheirCodesAndMessages) {
  EXPECT_EQ(EngineErrorMessageOf([&] { InnerJoin(Node("t1", "a"), "a.x", Node("t1", "u"), "a.id"); }),
            "Both join fields are from the same table. Field1 = 'x', Field2 = 'id', No1 = 1, No2 = 0. - Native "
            "error: 10334");
  const TVTRFields none;
  EXPECT_EQ(NativeErrorOf([&] { TVTRAOJoin(Node("t1"), nullptr, &none, &none, false, jtInner, Node("t2")); }), 10333);
  EXPECT_EQ(EngineErrorMessageOf([&] { TVTRAOJoin(Node("t1"), nullptr, &none, &none, false, jtInner, Node("t2")); }),
            "Empty field list, item count = 0 - Native error: 10333");

  auto node = Node("t1", "a");
  std::vector<TVTRSelectListItem> unknown = Items({"zz"});
  EXPECT_EQ(NativeErrorOf([&] { node->ApplySelectList(unknown, false); }), 10305);
  EXPECT_EQ(EngineErrorMessageOf([&] { node->ApplySelectList(unknown, false); }), "Cannot find field zz - Native error: 10305");
  std::vector<TVTRSelectListItem> wrong_table = Items({"zz.x"});
  EXPECT_EQ(NativeErrorOf([&] { node->ApplySelectList(wrong_table, false); }), 30327);
  EXPECT_EQ(EngineErrorMessageOf([&] { node->ApplySelectList(wrong_table, false); }),
            "Invalid table name in reference. Table name = T1, table alias = A, tname = ZZ - Native error: 30327");

  TVTRVariant value;
  EXPECT_EQ(NativeErrorOf([&] { node->GetColumnValue(value, 1, false); }), 10310);
  EXPECT_EQ(NativeErrorOf([&] { node->GetColumnValue(value, 2, true); }), 10307);
  std::vector<TVTRSelectListItem> x = Items({"a.x"});
  node->ApplySelectList(x, false);
  node->Execute(true, nullptr, nullptr);
  node->GetColumnValue(value, 1, false);
  EXPECT_EQ(value.GetAsString(), "a") << "selecting the column shows it";
  EXPECT_EQ(NativeErrorOf([&] { node->GetOrderByColumnName(1); }), 20243);
}

}  // namespace

namespace {

class TableNodes : public OperatorTest {};

TEST_F(TableNodes, ALiveTableShowsTheSelectedFieldsUnderTheirAliases) {
  CreateJoinTables();
  auto node = Node("t1");
  std::vector<TVTRSelectListItem> items = Items({"x", "id"});
  items[0].Alias = "label";
  node->ApplySelectList(items, false);
  node->SetFilter(Condition("id = 2"));
  node->Execute(true, nullptr, nullptr);
  TVTRTable& table = node->Result();
  ASSERT_EQ(table.Fields().Count(), 2);
  EXPECT_EQ(table.Fields()[0]->FieldName(), "label");
  EXPECT_EQ(table.FieldByName("label")->AsString(), "c");
  EXPECT_EQ(table.RecordCount(), 1);
  EXPECT_TRUE(node->OpenBaseTables());
  EXPECT_TRUE(node->LockBaseTables());
  EXPECT_TRUE(node->TableLocked);
  EXPECT_TRUE(node->UnlockBaseTables());
  EXPECT_FALSE(node->TableLocked);
}

TEST_F(TableNodes, ATableOfAnotherFileOpensThroughADatabaseOfItsOwn) {
  const std::string other_file = folder_.File("other.vtr");
  CreateDatabaseFile(other_file);
  {
    TVTRDatabase other(&form_);
    other.SetDatabaseName("d_other");
    other.SetDatabaseFileName(other_file);
    CreateTable("remote", {{"id", adtInteger}}, {{"5"}}, {}, "d_other");
  }
  TVTRAOTable node("remote", "", false, false, "", other_file, "d_main", "r");
  ASSERT_TRUE(node.ExternalDatabase);
  EXPECT_TRUE(node.ExternalDatabase->DatabaseName().starts_with("ExternalDb"));
  std::vector<TVTRSelectListItem> items = Items({"r.id"});
  node.ApplySelectList(items, false);
  node.Execute(true, nullptr, nullptr);
  EXPECT_EQ(Read(node), Rows({"5"}));
  EXPECT_EQ(NativeErrorOf([&] { TVTRAOTable("missing", "", false, false, "", "", "d_main", ""); }), 10303);
}

}  // namespace
