#include "app/core/Poke.h"

#include "app/core/WorkingFolder.h"

namespace {

constexpr const char* kAlias = "d_poke";
constexpr int kWriteTimeoutMs = 100;
constexpr int kBufferSize = 4096;

// Closes the port when the press ends, however it ends.
class PortOpenForPress {
 public:
  explicit PortOpenForPress(TSerialPort& port) : port_(port) { port_.SetActive(true); }
  ~PortOpenForPress() { port_.SetActive(false); }
  PortOpenForPress(const PortOpenForPress&) = delete;
  PortOpenForPress& operator=(const PortOpenForPress&) = delete;

 private:
  TSerialPort& port_;
};

}  // namespace

TPoke::TPoke(TComponent* owner)
    : TForm(owner),
      Database1(new TVTRDatabase(this)),
      Table1(new TVTRTable(this)),
      DataSource1(new TDataSource(this)),
      Button1(new TButton(this)),
      nrComm1(new TSerialPort(this)) {
  SetCaption("Quill_CashDrawer");
  SetFormStyle(fsMDIChild);
  SetClientWidth(220);
  SetClientHeight(80);
  Database1->SetDatabaseName(kAlias);
  Database1->SetDatabaseFileName(WorkingPath(kDatabaseFileName));
  Database1->SetKeepConnection(false);
  Database1->Exclusive = false;
  Database1->MultiUser = true;
  Table1->SetDatabaseName(kAlias);
  Table1->SetTableName("sys_sys");
  Table1->SetIndexName("of_name");
  DataSource1->SetDataSet(Table1);
  Button1->SetBounds(30, 20, 160, 36);
  Button1->SetCaption("เปิดลิ้นชัก");
  Button1->OnClick = Bind(this, &TPoke::Button1Click);
  nrComm1->SetPort("COM1");
  nrComm1->SetBaudRate(9600);
  nrComm1->SetDataBits(8);
  nrComm1->SetParity(paNone);
  nrComm1->SetStopBits(sbOne);
  nrComm1->SetFlowControl(fcXonXoff);
  nrComm1->SetInBufferSize(kBufferSize);
  nrComm1->SetOutBufferSize(kBufferSize);
  nrComm1->SetReadTimeout(0);
  nrComm1->SetWriteTimeout(kWriteTimeoutMs);
  OnCreate = Bind(this, &TPoke::FormCreate);
  OnClose = Bind(this, &TPoke::FormClose);
}

void TPoke::FormCreate(TObject*) {
  SetTop(25);
  Table1->Open();
  nrComm1->SetActive(false);
  const bool second = !Table1->IsEmpty() && Table1->FieldByName("com_port")->AsString() == "2";
  nrComm1->SetPort(second ? "COM2" : "COM1");
}

void TPoke::FormClose(TObject*, TCloseAction& action) {
  Table1->Close();
  action = caFree;
}

void TPoke::Button1Click(TObject*) {
  PortOpenForPress open(*nrComm1);
  nrComm1->Write(&kOpenDrawerCommand, 1);
}
