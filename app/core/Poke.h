#pragma once
// TPoke: opens the cash drawer on a serial port of the computer. The port is
// COM2 when the settings row (sys_sys) says com_port "2", COM1 otherwise. A
// press opens the port, sends the drawer's open command and closes the port
// again on every path; a port that cannot be opened or written is reported
// by the application and the window stays open for another try.
#include "engine/access/Database.h"
#include "engine/access/Table.h"
#include "platform/comm/SerialPort.h"
#include "platform/db/DB.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Form.h"

// The byte that opens the drawer: the character "0".
inline constexpr uint8_t kOpenDrawerCommand = 0x30;

class TPoke : public TForm {
 public:
  explicit TPoke(TComponent* owner);

  TVTRDatabase* Database1;
  TVTRTable* Table1;
  TDataSource* DataSource1;
  TButton* Button1;
  TSerialPort* nrComm1;

  void FormCreate(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void Button1Click(TObject* sender);
};
