#include <gtest/gtest.h>

#include "app/core/BahtText.h"
#include "platform/rtl/Exception.h"

namespace {

struct Case {
  const char* input;
  const char* words;
};

TEST(BahtText, AmountsAreSaidWithTheDocumentsSpacing) {
  for (const Case& c : {
           Case{"101", " หนึ่งร้อยหนึ่งบาทถ้วน"},
           Case{"21.07", " ยี่สิบเอ็ดบาท เจ็ดสตางค์ "},
           Case{"1500", " หนึ่งพัน ห้าร้อยบาทถ้วน"},
           Case{"21000", " สองหมื่นหนึ่งพัน บาทถ้วน"},
           Case{"1000000", "หนึ่งล้าน บาทถ้วน"},
           Case{"2000000.50", "สองล้าน บาท ห้าสิบสตางค์ "},
           Case{"21000011", "ยี่สิบเอ็ดล้าน สิบเอ็ดบาทถ้วน"},
           Case{"0.5", " บาท ห้าสิบสตางค์ "},
           Case{"1.005", " หนึ่งบาท หนึ่งสตางค์ "},
           Case{"999999999.99", "เก้าร้อยเก้าสิบเก้าล้าน เก้าแสนเก้าหมื่นเก้าพัน เก้าร้อยเก้าสิบเก้าบาท เก้าสิบเก้าสตางค์ "},
           Case{"0", "ศูนย์บาทถ้วน"},
           Case{"-5", "ศูนย์บาทถ้วน"},
           Case{"0.004", "ศูนย์บาทถ้วน"},
       }) {
    EXPECT_EQ(BahtToText(c.input), c.words) << c.input;
  }
}

TEST(BahtText, FromOneBillionTheMillionsAreSaidAsAnAmountBelowOneMillion) {
  for (const Case& c : {
           Case{"1000000000", "หนึ่งพันล้าน บาทถ้วน"},
           Case{"1500000000", "หนึ่งพัน ห้าร้อยล้าน บาทถ้วน"},
           Case{"21000000000.25", "สองหมื่นหนึ่งพันล้าน บาท ยี่สิบห้าสตางค์ "},
           Case{"999999999999.99",
                "เก้าแสนเก้าหมื่นเก้าพัน เก้าร้อยเก้าสิบเก้าล้าน เก้าแสนเก้าหมื่นเก้าพัน "
                "เก้าร้อยเก้าสิบเก้าบาท เก้าสิบเก้าสตางค์ "},
       }) {
    EXPECT_EQ(BahtToText(c.input), c.words) << c.input;
  }
}

TEST(BahtText, OneMillionMillionBahtAndBadNumbersAreRefused) {
  for (const char* input : {"1000000000000", "999999999999.995", "1e15", "12a", ""}) {
    EXPECT_THROW(BahtToText(input), EConvertError) << input;
  }
}

TEST(BahtText, GroupsAndSatangFollowTheWordTables) {
  for (const Case& c :
       {Case{"000", ""}, Case{"010", "สิบ"}, Case{"011", "สิบเอ็ด"}, Case{"012", "สิบสอง"}, Case{"090", "เก้าสิบ"},
        Case{"105", "หนึ่งร้อยห้า"}, Case{"220", "สองร้อยยี่สิบ"}, Case{"935", "เก้าร้อยสามสิบห้า"}}) {
    EXPECT_EQ(HundredsToText(c.input), c.words) << c.input;
    EXPECT_EQ(MillionsToText(c.input), c.words) << c.input;
  }
  for (const Case& c :
       {Case{"000", ""}, Case{"021", "สองหมื่นหนึ่งพัน"}, Case{"100", "หนึ่งแสน"}, Case{"345", "สามแสนสี่หมื่นห้าพัน"}}) {
    EXPECT_EQ(ThousandsToText(c.input), c.words) << c.input;
  }
  for (const Case& c : {Case{"0", ""}, Case{"1", "หนึ่งสตางค์ "}, Case{"07", "เจ็ดสตางค์ "},
                        Case{"21", "ยี่สิบเอ็ดสตางค์ "}, Case{"99", "เก้าสิบเก้าสตางค์ "}}) {
    EXPECT_EQ(SatangToText(c.input), c.words) << c.input;
  }
  for (const char* group : {"12", "1234", "1a2", " 12"}) {
    EXPECT_THROW(HundredsToText(group), EConvertError) << group;
    EXPECT_THROW(ThousandsToText(group), EConvertError) << group;
  }
  EXPECT_THROW(SatangToText("100"), EConvertError);
}

}  // namespace
