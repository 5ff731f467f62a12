#pragma once
// The printed lists of the temple program's registers.
//
// Trep_room, Trep_land and Trep_h_accessory browse and print the halls and
// buildings, the land plots and the ceremony articles and services, filtered
// by a part of the name; the article list opens empty.
//
// TRep_H_Member and TRep_H_Member_Land print the hall and building users and
// the land users by number or by name, with their address line under each
// name when "ชื่อ และที่อยู่" is chosen.
#include "app/core/ReportWindow.h"
#include "platform/report/TextItems.h"

// What one register list prints.
struct RegisterListTexts {
  const char* caption;
  const char* alias;
  const char* table;
  const char* title;
  const char* name_title;
  // The columns after the number and the name.
  std::vector<std::pair<const char*, const char*>> more_columns;  // (title, field)
  bool opens_listed;
};

class TRegisterListReport : public ReportWindow {
 protected:
  TRegisterListReport(TComponent* owner, const WindowQueryFactory& make_query, const RegisterListTexts& texts);
};

class Trep_room : public TRegisterListReport {
 public:
  explicit Trep_room(TComponent* owner);
  Trep_room(TComponent* owner, const WindowQueryFactory& make_query);
};

class Trep_land : public TRegisterListReport {
 public:
  explicit Trep_land(TComponent* owner);
  Trep_land(TComponent* owner, const WindowQueryFactory& make_query);
};

class Trep_h_accessory : public TRegisterListReport {
 public:
  explicit Trep_h_accessory(TComponent* owner);
  Trep_h_accessory(TComponent* owner, const WindowQueryFactory& make_query);

 protected:
  // "ดูทั้งหมด" lists the rows of every item kind but "01".
  void AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) override;
};

class TRep_H_Member : public ReportWindow {
 public:
  explicit TRep_H_Member(TComponent* owner);
  TRep_H_Member(TComponent* owner, const WindowQueryFactory& make_query);

  TRadioGroup* RadioGroup2;  // "เฉพาะชื่อ" or "ชื่อ และที่อยู่"
  TQRLabel* QRLabel7;        // "ที่อยู่"
  TQRLabel* QRLabel8;        // the address line

  void DetailBand1BeforePrint(TQRBand* sender, bool& print_band);

 protected:
  TRep_H_Member(TComponent* owner, const WindowQueryFactory& make_query, bool land);
};

class TRep_H_Member_Land : public TRep_H_Member {
 public:
  explicit TRep_H_Member_Land(TComponent* owner);
  TRep_H_Member_Land(TComponent* owner, const WindowQueryFactory& make_query);
};
