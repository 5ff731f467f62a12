// The donation window's line statements, run verbatim through its query
// component inside its transaction, store exactly the values it sets.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/rtl/DateTime.h"
#include "tests/engine/sql/dml/DmlFixture.h"
#include "tests/engine/sql/dml/DonationLineStatements.h"

namespace {

class DonationLines : public DmlTest {
 protected:
  DonationLines() {
    database_->SetKeepConnection(true);
    database_->Open();
    Run("DROP TABLE Donate");
    Run(kCreateDonateLines);
  }

  template <typename Lines>
  void Fill(const Lines& lines) {
    query_->Close();
    query_->SQL().Clear();
    for (const char* line : lines) query_->SQL().Add(line);
  }

  // The parameters as the window sets them for one line.
  void SetLine(const std::string& name, double qty, double price) {
    query_->ParamByName("pbill_no")->SetAsString("D6700001");
    query_->ParamByName("pbill_date")->SetAsDateTime(EncodeDate(2024, 2, 29));
    query_->ParamByName("pcust_no")->SetAsString("C001");
    query_->ParamByName("paccessory_no")->SetAsString("P01");
    query_->ParamByName("paccessory_name")->SetAsString(name);
    query_->ParamByName("paccessory_type")->SetAsString("D");
    query_->ParamByName("paccessory_sn")->SetAsString("");
    query_->ParamByName("pproj_no")->SetAsString("J1");
    query_->ParamByName("pproj_type")->SetAsString("A");
    query_->ParamByName("pqty")->SetAsFloat(qty);
    query_->ParamByName("punit_name")->SetAsString("บาท");
    query_->ParamByName("pprice")->SetAsFloat(price);
    query_->ParamByName("pdisc_rate")->SetAsFloat(0);
    query_->ParamByName("ptax_status")->SetAsString("");
    query_->ParamByName("ptax_rate")->SetAsFloat(0);
    query_->ParamByName("pwarn_term")->SetAsString("");
    query_->ParamByName("pwarn_date")->SetAsString("");
    query_->ParamByName("ptotal")->SetAsFloat(qty * price);
    query_->ParamByName("pp_bill")->SetAsString("");
    query_->ParamByName("pfg_clear")->SetAsString("0");
    query_->ParamByName("pfg_end")->SetAsString("");
    query_->ParamByName("pstk_post")->SetAsInteger(1);
    query_->ParamByName("psale_no")->SetAsString("007");
  }

  void InTransaction(const std::function<void()>& statement) {
    database_->StartTransaction();
    statement();
    database_->Commit(true);
  }
};

TEST_F(DonationLines, AddAndEditStoreExactlyTheParameterValues) {
  InTransaction([&] {
    Fill(kAddDonationLine);
    SetLine("ค่าน้ำค่าไฟ", 2, 150.25);
    query_->ExecSQL();
    EXPECT_EQ(query_->RowsAffected(), 1);
  });
  const std::string added = "1|D6700001|29/02/2024|C001|P01|ค่าน้ำค่าไฟ|D|-|2|บาท|150.25|0|-|0|-|-|-|300.5|-|0|-|1|J1|A|007|-";
  EXPECT_EQ(Rows("donate"), std::vector<std::string>{added});

  InTransaction([&] {
    Fill(kEditDonationLine);
    SetLine("บูรณะโบสถ์", 3, 100);
    query_->ParamByName("pbill_id")->SetAsInteger(1);
    query_->ExecSQL();
    EXPECT_EQ(query_->RowsAffected(), 1);
  });
  EXPECT_EQ(Rows("donate"),
            std::vector<std::string>{
                "1|D6700001|29/02/2024|C001|P01|บูรณะโบสถ์|D|-|3|บาท|100|0|-|0|-|-|-|300|-|0|-|1|J1|A|007|-"});
}

}  // namespace
