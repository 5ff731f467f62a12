#pragma once
// The Qt side of a form: its window (a top-level widget, or the widget inside an
// MDI sub-window), the client area below the menu bar, and an MDI frame's area.
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "platform/ui/Form.h"

class TModalLoop {
 public:
  QEventLoop loop;
};

class TFormImpl : public QObject {
 public:
  explicit TFormImpl(TForm& form);

  TForm& Form() const { return form_; }
  QWidget* Window() const { return window_; }
  QWidget* Client() const { return client_; }
  QMdiArea* MdiArea() const { return mdi_area_; }
  QMdiSubWindow* SubWindow() const { return sub_window_; }
  // The widget that is the window on screen: the sub-window of an MDI child.
  QWidget* Frame() const;

  void SetMenuBar(QMenuBar* bar);
  QMenuBar* MenuBar() const { return menu_bar_; }
  void LayOut();
  void MakeMdiFrame();
  void MakeMdiChild(TForm& frame);
  // Asks the frame to activate the most recently active visible child.
  void ActivateNextChild();
  // The main form's window came back from the minimised state.
  void Restored();
  // The control of this form that took the focus last; null before any did, or
  // once it is freed.
  TWinControl* FocusedControl() const;
  void SetFocusedControl(TWinControl& control);

  TModalLoop* modal_loop = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ChildActivated(QMdiSubWindow* sub_window);

  TForm& form_;
  QWidget* window_;
  QWidget* client_;
  QPointer<QMenuBar> menu_bar_;
  QPointer<QMdiArea> mdi_area_;
  QPointer<QMdiSubWindow> sub_window_;
  // The focus widget of FocusedControl.
  QPointer<QWidget> focused_;
};
