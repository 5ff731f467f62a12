#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/storage/pager/DatabaseHeader.h"
#include "tests/engine/access/ComponentFixture.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

using TPrompt = TVTRHeadlessUi::TPrompt;

constexpr const char* kAskRepair = "Database file was not correctly closed last time. Do you want to repair it?";
constexpr const char* kOldFormat =
    "Database file you are opening is of old format. It will be converted to the current Vantor Database "
    "format now. It is recommended to make a backup of the database before continuing.";

// Header offsets of a file whose header starts the file.
constexpr std::streamoff kVersionOffset = 18;
constexpr std::streamoff kStateOffset = 42;

void SetState(const std::string& file_name, uint8_t state) {
  PatchFile(file_name, kStateOffset, &state, 1);
}

void SetVersion(const std::string& file_name, double version) {
  uint8_t bytes[8];
  std::memcpy(bytes, &version, sizeof bytes);  // the header stores it little-endian, as this machine does
  PatchFile(file_name, kVersionOffset, bytes, sizeof bytes);
}

// A repair that marks the file consistent and reports one table as not copied whole.
class StandInRepair : public TVTRDatabase {
 public:
  using TVTRDatabase::TVTRDatabase;

  bool RepairDatabase(std::string& error_text) override {
    in_repair_during_repair = InRepair;
    ++repairs;
    SetState(DatabaseFileName(), dsConsistent);
    SetVersion(DatabaseFileName(), kDatabaseVersion);
    error_text = "Problem occured while copying table 'Donate'";
    return true;
  }

  int repairs = 0;
  bool in_repair_during_repair = false;
};

class Prompts : public ComponentTest {
 protected:
  std::string file_ = CreateFile("dat_temple.vtr");
};

TEST_F(Prompts, AnOnPasswordHandlerThatGivesTheRightPasswordConnectsOnTheSecondTry) {
  const std::string file_name = CreateFile("locked.vtr", "sesame");
  auto database = Database("d_main", file_name);
  database->Password = "wrong";
  int asked = 0;
  database->OnPassword = [&](TObject* sender, bool& continue_) {
    EXPECT_EQ(sender, database.get());
    ++asked;
    database->Password = "sesame";
    continue_ = true;
  };
  database->Open();
  EXPECT_TRUE(database->Connected());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(database->CipherAlgorithm, 1);
  EXPECT_TRUE(ui_.Transcript().empty());
}

TEST_F(Prompts, ThePasswordDialogCancelledLeavesThePasswordAndNoEngineSession) {
  const std::string file_name = CreateFile("locked.vtr", "sesame");
  auto database = Database("d_main", file_name);
  database->Password = "wrong";
  ui_.AnswerPassword(std::nullopt);
  EXPECT_ENGINE_ERROR(database->Open(), 30445, "Cannot open database because incorrect password");
  EXPECT_EQ(database->Password, "wrong");
  EXPECT_EQ(database->EngineSession(), nullptr);
  EXPECT_EQ(ListedDatabase(file_name), nullptr);
  EXPECT_EQ(ui_.Transcript(), (std::vector<TPrompt>{{TVTRHeadlessUi::pkPassword, ""}}));

  ui_.AnswerPassword("still wrong");
  ui_.AnswerPassword("sesame");
  database->Open();
  EXPECT_TRUE(database->Connected());
  EXPECT_EQ(database->Password, "sesame");
  EXPECT_EQ(ui_.Transcript().size(), 3u);
}

TEST_F(Prompts, APasswordTypedInThaiReachesTheEngineInCodePage874) {
  const std::string file_name = CreateFile("thai.vtr", "\xC3\xCB\xD1\xCA");  // รหัส
  auto database = Database("d_main", file_name);
  database->Password = "รหัส";
  database->Open();
  EXPECT_TRUE(database->Connected());
}

TEST_F(Prompts, AFileNotClosedCleanlyConnectsWithoutAQuestionInSilentMode) {
  SetState(file_, dsCommitting);
  auto database = Database("d_main", file_);
  database->SilentMode = true;
  database->Open();
  EXPECT_TRUE(database->Connected());
  EXPECT_TRUE(ui_.Transcript().empty());
}

TEST_F(Prompts, AFileNotClosedCleanlyAsksForRepairAndNoConnects) {
  SetState(file_, dsCommitting);
  auto database = Database("d_main", file_);
  ui_.AnswerConfirm(false);
  database->Open();
  EXPECT_TRUE(database->Connected());
  EXPECT_EQ(ui_.Transcript(), (std::vector<TPrompt>{{TVTRHeadlessUi::pkConfirm, kAskRepair}}));
}

TEST_F(Prompts, AgreeingToARepairThatFailsEndsIn20238WithoutAnEngineSession) {
  SetState(file_, dsCommitting);
  std::filesystem::create_directory(file_ + ".tmp");  // where the repaired copy cannot be made
  auto database = Database("d_main", file_);
  ui_.AnswerConfirm(true);
  EXPECT_ENGINE_ERROR(database->Open(), 20238, "Cannot convert database to the new format.");
  EXPECT_EQ(database->EngineSession(), nullptr);
  EXPECT_EQ(ListedDatabase(file_), nullptr);
  EXPECT_FALSE(database->InRepair);

  database->OnNeedRepair = [](TObject*, bool& do_repair) { do_repair = false; };
  database->Open();
  EXPECT_TRUE(database->Connected()) << "the handler decides instead of the question";
  EXPECT_EQ(ui_.Transcript().size(), 1u);
}

TEST_F(Prompts, ARepairedFileIsOpenedAgainAndTheRepairTextShown) {
  SetState(file_, dsCommitting);
  StandInRepair database(nullptr);
  database.SetDatabaseName("d_main");
  database.SetDatabaseFileName(file_);
  database.MultiUser = true;
  ui_.AnswerConfirm(true);
  database.Open();
  EXPECT_TRUE(database.Connected());
  EXPECT_EQ(database.repairs, 1);
  EXPECT_TRUE(database.in_repair_during_repair);
  EXPECT_FALSE(database.InRepair);
  EXPECT_EQ(ui_.Transcript(), (std::vector<TPrompt>{{TVTRHeadlessUi::pkConfirm, kAskRepair},
                                                    {TVTRHeadlessUi::pkWarn,
                                                     "Problem occured while copying table 'Donate'"}}));
}

TEST_F(Prompts, AnOldFormatFileIsAnnouncedAndConverted) {
  SetVersion(file_, 2.5);
  StandInRepair database(nullptr);
  database.SetDatabaseName("d_main");
  database.SetDatabaseFileName(file_);
  database.MultiUser = true;
  database.OnNeedRepair = [](TObject*, bool& do_repair) { do_repair = false; };  // not asked for a conversion
  database.Open();
  EXPECT_EQ(database.repairs, 1);
  EXPECT_EQ(ui_.Transcript().front(), (TPrompt{TVTRHeadlessUi::pkInform, kOldFormat}));
}

}  // namespace
