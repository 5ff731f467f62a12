// The query component over a stand-in SQL processor: its text and
// parameters, preparing and running, what the processor receives, the
// result cursor it hands over and the master that feeds its parameters.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/access/Query.h"
#include "platform/db/DB.h"
#include "platform/rtl/CodePage874.h"
#include "platform/rtl/DateTime.h"
#include "tests/engine/access/FakeSQLProcessor.h"
#include "tests/engine/access/TableFixture.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

class Queries : public TableTest {
 protected:
  Queries() { FakeSQLProcessor::Register(); }
  ~Queries() override {
    query_.reset();
    FakeSQLProcessor::Unregister();
  }

  std::unique_ptr<TVTRQuery> Query(const std::string& text) {
    auto query = std::make_unique<TVTRQuery>(&form_);
    query->SetDatabaseName("d_main");
    query->SQL().SetText(text);
    return query;
  }

  static const FakeSQLProcessor::Run& LastRun() { return FakeSQLProcessor::Runs().back(); }
  static size_t RunCount() { return FakeSQLProcessor::Runs().size(); }

  std::unique_ptr<TVTRQuery> query_;
};

TEST_F(Queries, ParametersAreTheDistinctMarkedNamesAndTheTextReachesTheProcessorUnchanged) {
  const std::string text = "select * from t where a=:pa and b='\":\"'";
  query_ = Query(text);
  ASSERT_EQ(query_->Params().Count(), 1);
  EXPECT_EQ(query_->Params()[0]->Name(), "pa");
  query_->ParamByName("pa")->SetAsInteger(7);
  query_->Open();
  EXPECT_EQ(LastRun().text, text);
  ASSERT_EQ(LastRun().params.size(), 1u);
  EXPECT_EQ(LastRun().params[0].Name(), "pa");
  EXPECT_EQ(LastRun().params[0].GetAsInteger(), 7);

  // A name written twice is one parameter: a value set once binds both markers.
  query_->SQL().SetText("select * from t where a = :p or b = :P or c = \":\"");
  ASSERT_EQ(query_->Params().Count(), 1);
  EXPECT_EQ(query_->Text(), "select * from t where a = :p or b = :P or c = \":\"");
  EXPECT_THROW(query_->ParamByName("pa"), EDatabaseError);
}

TEST_F(Queries, AChangedTextKeepsTheValuesOfTheNamesThatRemain) {
  query_ = Query("update t set a = :a, b = :b");
  query_->ParamByName("a")->SetAsString("kept");
  query_->ParamByName("b")->SetAsInteger(2);
  query_->SQL().SetText("update t set a = :A,\nc = :c");
  ASSERT_EQ(query_->Params().Count(), 2);
  EXPECT_EQ(query_->ParamByName("a")->AsString(), "kept");
  EXPECT_TRUE(query_->ParamByName("c")->IsNull());
  EXPECT_EQ(query_->Text(), "update t set a = :A,\r\nc = :c");

  query_->SQL().Clear();
  query_->SQL().Add("update t set a = :a");
  EXPECT_TRUE(query_->ParamByName("a")->IsNull()) << "an emptied text kept no parameter";

  query_->SetParamCheck(false);
  query_->SQL().SetText("delete from t where x = :x");
  EXPECT_EQ(query_->Params().Count(), 1) << "without ParamCheck the parameters stay as they were";
}

TEST_F(Queries, MisuseRaisesItsOwnErrors) {
  query_ = Query("x");
  EXPECT_ENGINE_ERROR(query_->Prepare(), 30142, "No SQL statement available");
  EXPECT_FALSE(query_->Prepared());
  EXPECT_EQ(query_->Database(), nullptr) << "a failed Prepare leaves the database detached";

  query_->SQL().Clear();
  EXPECT_ENGINE_ERROR(query_->ExecSQL(), 20034, "No SQL statement available");
  EXPECT_EQ(RunCount(), 0u);

  query_->SQL().SetText("select 1");
  query_->Open();
  EXPECT_ENGINE_ERROR(query_->Prepare(), 30141, "Cannot perform this operation on an open dataset");
  EXPECT_THROW(query_->ExecSQL(), EDatabaseError);
  EXPECT_TRUE(query_->Active());

  auto source = std::make_unique<TDataSource>(nullptr);
  source->SetDataSet(query_.get());
  EXPECT_THROW(query_->SetDataSource(source.get()), EDatabaseError);
}

TEST_F(Queries, TheSameTextAgainLeavesAnOpenQueryOpenAndANewOneClosesIt) {
  query_ = Query("select 1");
  query_->Open();
  query_->SQL().SetText("select 1");
  EXPECT_TRUE(query_->Active());
  EXPECT_EQ(RunCount(), 1u);
  query_->SQL().SetText("select 2");
  EXPECT_FALSE(query_->Active());
  EXPECT_FALSE(query_->Prepared());
  EXPECT_EQ(query_->Database(), nullptr);
}

TEST_F(Queries, RowsAffectedOutlivesTheProcessor) {
  query_ = Query("delete from t");
  EXPECT_EQ(query_->RowsAffected(), -1);
  FakeSQLProcessor::NextScript().rows_affected = 3;
  query_->Prepare();
  query_->ExecSQL();
  EXPECT_TRUE(LastRun().exec_sql);
  EXPECT_EQ(query_->RowsAffected(), 3);
  query_->UnPrepare();
  EXPECT_EQ(query_->RowsAffected(), 3);
  EXPECT_EQ(query_->Database(), nullptr);

  // Unprepared, ExecSQL prepares for its run only.
  FakeSQLProcessor::NextScript().rows_affected = 5;
  query_->ExecSQL();
  EXPECT_FALSE(query_->Prepared());
  EXPECT_EQ(query_->Database(), nullptr);
  EXPECT_EQ(query_->RowsAffected(), 5);
}

TEST_F(Queries, ParametersReachTheProcessorAsEngineValuesInTheirOrder) {
  query_ = Query("insert into t values (:at, :picture, :never, :name, :amount, :day)");
  const TDateTime when = EncodeDate(2024, 5, 17) + EncodeTime(14, 30, 5, 250);
  const std::string bytes("\x00\xFF\x01 \xE0", 5);
  query_->ParamByName("at")->SetAsTime(when);
  query_->ParamByName("picture")->SetAsBlob(bytes);
  query_->ParamByName("name")->SetAsString("สมชาย");
  query_->ParamByName("amount")->SetAsFloat(12.5);
  query_->ParamByName("day")->SetAsDate(EncodeDate(2024, 5, 17));
  query_->ExecSQL();

  const std::vector<TVTRSQLParam>& params = LastRun().params;
  ASSERT_EQ(params.size(), 6u);
  EXPECT_EQ(params[0].Name(), "at");
  EXPECT_EQ(params[0].DataType(), bdtTime);
  EXPECT_EQ(params[0].GetAsMilliseconds(), ((14 * 60 + 30) * 60 + 5) * 1000 + 250) << "the time of day only";
  EXPECT_EQ(params[1].DataType(), bdtBlob);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(params[1].Data()), params[1].Size()), bytes);
  EXPECT_TRUE(params[2].IsNull());
  EXPECT_EQ(params[2].Name(), "never");
  EXPECT_EQ(params[3].GetAsString(), Utf8ToCp874("สมชาย"));
  EXPECT_DOUBLE_EQ(params[4].GetAsDouble(), 12.5);
  EXPECT_EQ(params[5].DataType(), bdtDate);
  EXPECT_EQ(params[5].GetAsDate(), EncodeDate(2024, 5, 17));
}

TEST_F(Queries, TextTheCodePageCannotHoldIsRefusedBeforeTheProcessorRuns) {
  query_ = Query("insert into t values (:name)");
  query_->ParamByName("name")->SetAsString("中");
  EXPECT_THROW(query_->ExecSQL(), EConvertError);
  EXPECT_EQ(RunCount(), 0u);
  EXPECT_EQ(query_->Database(), nullptr);

  query_->SQL().SetText("select '中'");
  EXPECT_THROW(query_->Open(), EConvertError);
  EXPECT_EQ(RunCount(), 0u);
  EXPECT_FALSE(query_->Active());
}

TEST_F(Queries, AnOpenQueryShowsTheResultCursorWithTheProcessorsAnswers) {
  query_ = Query("SELECT :id, :donor");
  query_->ParamByName("id")->SetAsInteger(42);
  query_->ParamByName("donor")->SetAsString("บุญมี");
  query_->SetRequestLive(true);
  FakeSQLProcessor::NextScript().read_only = true;
  query_->Open();
  EXPECT_TRUE(LastRun().request_live);
  EXPECT_FALSE(LastRun().in_memory);
  EXPECT_TRUE(LastRun().silent) << "an open runs the text without questions";
  EXPECT_FALSE(query_->Database()->SilentMode);
  EXPECT_EQ(query_->FieldCount(), 2);
  EXPECT_EQ(query_->FieldByName("id")->AsInteger(), 42);
  EXPECT_EQ(query_->FieldByName("donor")->AsString(), "บุญมี");
  EXPECT_EQ(query_->RecordCount(), 1);
  EXPECT_TRUE(query_->ReadOnly());
  EXPECT_THROW(query_->Edit(), EDatabaseError);

  // A read-only result runs again on Refresh, with the current values.
  query_->ParamByName("id")->SetAsInteger(43);
  query_->Refresh();
  EXPECT_EQ(RunCount(), 2u);
  EXPECT_EQ(query_->FieldByName("id")->AsInteger(), 43);

  query_->Close();
  EXPECT_FALSE(query_->Prepared()) << "closing an unprepared query's run unprepares it";
  EXPECT_EQ(query_->Database(), nullptr);
}

TEST_F(Queries, AMasterGivesItsValuesToUnboundParametersAndReopensTheQueryWhenItMoves) {
  CreateMembers({{1, "Anan"}, {2, "Bua"}});
  auto master = Table("Member", "ByID");
  master->Open();
  TDataSource source(nullptr);
  source.SetDataSet(master.get());

  query_ = Query("select * from lines where member = :ID and kind = :kind");
  query_->ParamByName("kind")->SetAsString("gift");
  query_->SetDataSource(&source);
  query_->Open();
  EXPECT_EQ(query_->FieldByName("ID")->AsInteger(), 1);
  EXPECT_EQ(query_->FieldByName("kind")->AsString(), "gift");
  EXPECT_FALSE(query_->ParamByName("ID")->Bound()) << "the master's value stays unbound";

  master->Next();
  EXPECT_EQ(RunCount(), 2u);
  EXPECT_TRUE(query_->Active());
  EXPECT_EQ(query_->FieldByName("ID")->AsInteger(), 2);
  EXPECT_EQ(query_->FieldByName("kind")->AsString(), "gift") << "a value the user set is kept";

  std::vector<TField*> master_fields;
  std::vector<TField*> detail_fields;
  query_->GetDetailLinkFields(master_fields, detail_fields);
  EXPECT_EQ(master_fields, std::vector<TField*>{master->FieldByName("ID")});
  EXPECT_EQ(detail_fields, std::vector<TField*>{query_->FieldByName("ID")});
  query_->Close();
}

}  // namespace
