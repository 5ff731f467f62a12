// The monks and staff register over a fresh temple database, driven as a user drives it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/core/Ref_Person.h"
#include "app/core/ThaiDateText.h"
#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/ui/support/Seen.h"

namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

class PersonRegister : public TempleWindowTest {
 protected:
  TRef_Person& Open() {
    auto* window = FormsApplication().CreateForm<TRef_Person>();
    user::ProcessEvents();
    return *window;
  }

  Rows StoredPersons() { return Stored("h_person", {"per_no", "per_name", "per_birth", "per_salary", "per_pict"}); }

  // The folder of pictures with a decodable placeholder and the named files.
  void PictureFolder(const std::vector<std::string>& pictures) {
    const fs::path folder = folder_.Path() / "person_pict";
    fs::create_directories(folder);
    for (const std::string& name : pictures) ASSERT_TRUE(user::SavePhoto((folder / name).string()));
  }

};

TEST_F(PersonRegister, ANewPersonIsStoredWithTheGregorianBirthDateAndTheListStandsOnIt) {
  AddSampleRows();
  TRef_Person& w = Open();
  user::Click(*w.SpeedButton1);
  EXPECT_TRUE(seen::HasFocus(*w.Edit2));
  EXPECT_EQ(seen::Text(*w.Edit15), "0");
  EXPECT_EQ(seen::Text(*w.Edit19), DateToThaiText(Date()));
  user::Type("P001");
  user::PressEnter();
  EXPECT_TRUE(seen::HasFocus(*w.Edit3));
  user::Type("พระสมชาย");
  w.Edit19->SetText("05/03/2513");
  w.Edit15->SetText("12500");
  user::Click(*w.SpeedButton8);
  EXPECT_TRUE(Dialogs().Transcript().empty());
  EXPECT_EQ(StoredPersons().back(), (std::vector<std::string>{"P001", "พระสมชาย", "05/03/1970", "12500", ""}));
  EXPECT_EQ(seen::Text(*w.Edit2), "P001");
  EXPECT_EQ(seen::Text(*w.Edit19), "05/03/2513");
  EXPECT_EQ(w.EditState, "normal");
}

TEST_F(PersonRegister, ABirthDateThatIsNoDateStopsTheSaveBeforeAnythingIsStored) {
  TRef_Person& w = Open();
  user::Click(*w.SpeedButton1);
  user::Type("P002");
  w.Edit19->SetText("31/02/2513");
  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton8);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, kWrongDateMessage);
  EXPECT_TRUE(StoredPersons().empty());
  EXPECT_EQ(w.EditState, "add");
  EXPECT_TRUE(seen::HasFocus(*w.Edit19));
}

TEST_F(PersonRegister, ANumberThatBeginsAStoredOneIsRefusedAtEnter) {
  Store({{"h_person", {{"per_no", "123"}, {"per_name", "นายหนึ่ง"}}}});
  TRef_Person& w = Open();
  user::Click(*w.SpeedButton1);
  user::Type("12");
  Dialogs().Answer(mrOk);
  user::PressEnter();
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "รหัสข้อมูลซ้ำ ...");
  EXPECT_TRUE(seen::HasFocus(*w.Edit2));
}

TEST_F(PersonRegister, AnEditKeepsTheNumberAndChangesOnlyTheEditedRow) {
  AddSampleRows();
  TRef_Person& w = Open();
  const Rows before = StoredPersons();
  user::Click(*w.SpeedButton3);
  EXPECT_TRUE(w.Edit2->ReadOnly());
  EXPECT_TRUE(seen::HasFocus(*w.Edit3));
  w.Edit3->SetText("นางมาลี ศรีสุข");
  user::Click(*w.SpeedButton8);
  Rows expected = before;
  expected[1][1] = "นางมาลี ศรีสุข";
  EXPECT_EQ(StoredPersons(), expected);
  EXPECT_TRUE(Dialogs().Transcript().empty());
}

TEST_F(PersonRegister, ThePickerListsJpegFilesInAnyCaseAndItsChoiceIsStored) {
  PictureFolder({"temp.jpg", "a.jpg", "B.JPG"});
  std::ofstream(folder_.Path() / "person_pict" / "c.png") << "png";
  Store({{"h_person", {{"per_no", "P1"}, {"per_name", "นายหนึ่ง"}, {"per_pict", "a.jpg"}}}});
  TRef_Person& w = Open();
  EXPECT_EQ(seen::Text(*w.Label30), "a.jpg");
  user::Click(*w.SpeedButton3);
  user::Click(*w.SpeedButton5);
  EXPECT_FALSE(seen::Visible(*w.SpeedButton8)) << "the button bar is hidden in the picker";
  EXPECT_EQ(w.FileListBox1->Items(), (std::vector<std::string>{"a.jpg", "B.JPG", "temp.jpg"}));
  user::ClickFile(*w.FileListBox1, "B.JPG");
  EXPECT_FALSE(w.Image2->Picture().Empty());
  user::Click(*w.Button16);
  EXPECT_EQ(seen::Text(*w.Label30), "a.jpg") << "cancel keeps the earlier name";
  user::Click(*w.SpeedButton5);
  user::ClickFile(*w.FileListBox1, "B.JPG");
  user::Click(*w.Button17);
  EXPECT_TRUE(seen::Visible(*w.SpeedButton8));
  EXPECT_EQ(seen::Text(*w.Label30), "B.JPG");
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(StoredPersons()[0][4], "B.JPG");
}

TEST_F(PersonRegister, AMissingPictureShowsThePlaceholderAndANewPersonGetsNoPicture) {
  PictureFolder({"temp.jpg"});
  Store({{"h_person", {{"per_no", "P1"}, {"per_name", "นายหนึ่ง"}, {"per_pict", "gone.jpg"}}},
         {"h_person", {{"per_no", "P2"}, {"per_name", "นายสอง"}}}});
  TRef_Person& w = Open();
  EXPECT_EQ(seen::Text(*w.Label30), "") << "a row without a picture shows none";
  EXPECT_TRUE(w.Image1->Picture().Empty());
  user::ClickButton(*w.DBNavigator1, nbFirst);
  EXPECT_EQ(seen::Text(*w.Label30), "ไม่พบรูป ...");
  EXPECT_FALSE(w.Image1->Picture().Empty()) << "the placeholder";
  user::ClickButton(*w.DBNavigator1, nbLast);
  EXPECT_TRUE(w.Image1->Picture().Empty()) << "the picture of the row shown before is gone";
  user::ClickButton(*w.DBNavigator1, nbFirst);

  // An edit of that row keeps its picture name: the message is not a name.
  user::Click(*w.SpeedButton3);
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(StoredPersons()[0][4], "gone.jpg");

  user::Click(*w.SpeedButton1);
  EXPECT_EQ(seen::Text(*w.Label30), "");
  user::Type("P3");
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(StoredPersons().back()[4], "") << "a new person saved without the picker has no picture";
}

TEST_F(PersonRegister, TheShownPersonsEducationAndPositionsAreReadOnAPageTheUserDoesNotSee) {
  AddSampleRows();
  Store({{"education", {{"edu_no", "E1"}, {"edu_type", "0"}, {"per_no", kSampleStaffNo}}},
         {"education", {{"edu_no", "E2"}, {"edu_type", "1"}, {"per_no", kSampleStaffNo}}},
         {"education", {{"edu_no", "E3"}, {"edu_type", "0"}, {"per_no", "ST00000002"}}},
         {"position", {{"posi_no", "P1"}, {"per_no", "ST00000002"}}}});
  TRef_Person& w = Open();
  EXPECT_FALSE(seen::Visible(*w.RadioGroup2));
  const auto column = [](TDataSet& rows, const char* name) {
    std::vector<std::string> values;
    for (rows.First(); !rows.Eof(); rows.Next()) values.push_back(rows.FieldByName(name)->AsString());
    return values;
  };
  EXPECT_EQ(column(*w.q_edu, "edu_no"), (std::vector<std::string>{"E3"}));
  EXPECT_EQ(column(*w.q_posi, "posi_no"), (std::vector<std::string>{"P1"}));

  w.RadioGroup2->SetItemIndex(1);
  user::ClickButton(*w.DBNavigator1, nbFirst);
  EXPECT_EQ(column(*w.q_edu, "edu_no"), (std::vector<std::string>{"E2"}));
  EXPECT_TRUE(column(*w.q_posi, "posi_no").empty());
}

}  // namespace
