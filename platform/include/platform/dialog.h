// The dialog base class every dialog of the suite derives from (one class per dialog): made from a
// dialog resource of the current resources, its controls created by class and placed in dialog
// units of its font; data exchange between members and controls; handlers bound to control
// notifications; modal (doModal, run by the platform's message loop) and modeless use; keyboard
// navigation (Tab, Enter for the default button, Escape for Cancel).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/controls.h"
#include "platform/msgbox.h"  // IDOK, IDCANCEL: the results of dialogs
#include "platform/resources.h"
#include "platform/window.h"

namespace plat {

constexpr unsigned DS_MODALFRAME = 0x80, DS_SETFONT = 0x40, DS_CENTER = 0x800,
                   DS_3DLOOK = 0x4;

class Dialog;

// One direction of data exchange: from the controls into the members (saving) or back.
class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool saving) : dialog_(dialog), saving_(saving) {}
  bool saving() const { return saving_; }
  Dialog& dialog() { return dialog_; }
  // Marks the exchange failed (a validation refused a value); the dialog stays open.
  void fail() { failed_ = true; }
  bool failed() const { return failed_; }

 private:
  Dialog& dialog_;
  bool saving_;
  bool failed_ = false;
};

// The exchanges of the class library, by control kind.
void ddxText(DataExchange& dx, int id, std::wstring& value);
void ddxText(DataExchange& dx, int id, int& value);  // a whole number; a bad text fails the exchange
void ddxText(DataExchange& dx, int id, double& value);
void ddxCheck(DataExchange& dx, int id, int& value);  // BST_ values
void ddxRadio(DataExchange& dx, int firstId, int& index);  // index of the checked one in its group
void ddxCBIndex(DataExchange& dx, int id, int& index);
void ddxCBString(DataExchange& dx, int id, std::wstring& value);
void ddxLBIndex(DataExchange& dx, int id, int& index);

class Dialog : public Window {
 public:
  // A dialog made from the resource `templateId`, looked up when it is created, in the resources
  // current then.
  explicit Dialog(int templateId, Window* owner = nullptr);
  // A dialog from a template built in code (message boxes, tests).
  Dialog(DialogTemplate dialogTemplate, Window* owner);
  ~Dialog() override;

  // Runs the dialog modally and returns what endDialog was given; -1 when it cannot be created
  // (its resource is missing). With nobody to answer it the headless user closes it with Cancel.
  int doModal();
  // Creates it modeless and shows it; false when it cannot be created.
  bool createModeless();
  void endDialog(int result);
  bool ended() const { return ended_; }
  int result() const { return result_; }
  bool modal() const { return modal_; }
  const DialogTemplate& dialogTemplate() const { return template_; }
  int templateId() const { return template_.id; }

  // Data exchange with every control (UpdateData); false when a validation failed.
  bool updateData(bool saveAndValidate = true);

  // A control by id, of the type asked for (null when missing or of another kind).
  template <class T = Window>
  T* item(int id) const {
    return dynamic_cast<T*>(child(id));
  }
  std::wstring itemText(int id) const;
  void setItemText(int id, std::wstring_view text);
  // For dialogs built in code: a control placed in pixels of the client area, and the client
  // area's size, the dialog kept centred on the screen.
  template <class T>
  T* addControl(int id, std::wstring_view text, Rect rect, unsigned style, unsigned exStyle = 0) {
    T* control = adopt(std::make_unique<T>());
    control->create(this, id, text, rect, style | WS_CHILD | WS_VISIBLE, exStyle);
    return control;
  }
  void resizeClient(Size client);
  // Dialog units of this dialog's font in pixels (MapDialogRect).
  Rect mapDialogRect(Rect dialogUnits) const;
  Point baseUnits() const;

  // Binds a handler to a notification of a control (ON_BN_CLICKED, ON_EN_CHANGE, ON_NOTIFY...).
  void onCommand(int code, int id, std::function<void()> handler);
  void onClicked(int id, std::function<void()> handler) { onCommand(BN_CLICKED, id, std::move(handler)); }
  void onNotification(int code, int id, std::function<void(Notification&)> handler);

  // The keyboard as the dialog's message loop sees it: keys go first to preTranslateKey, then to
  // the focused control if it wants them, then to the dialog's navigation. True when the key
  // went on to the focused control, so the character it types follows it there.
  bool keyDown(int virtualKey);
  void keyUp(int virtualKey);
  void character(wchar_t c);

  // Moves the focus to the next (or previous) control that takes it.
  void nextFocus(bool backwards = false);

 protected:
  virtual bool onInitDialog() { return true; }  // after the controls exist and data went in
  virtual void doDataExchange(DataExchange& dx) {}
  virtual void onOK();  // the default exchanges data and ends with IDOK
  virtual void onCancel() { endDialog(2); }
  // Nobody acted on the dialog and no timer will end it: the absent user's answer, Cancel.
  virtual void onUnattended() { onCancel(); }
  // Sees every key before the focused control; true when it used the key (PreTranslateMessage).
  virtual bool preTranslateKey(int virtualKey, bool down) { return false; }
  // Called as the dialog ends, before its windows go.
  virtual void onClose() {}

  bool onCommand(int id, int code, Window* from) override;
  void onNotify(Notification& n) override;
  void onPaint(DC& dc) override;

 private:
  bool create(bool modal);
  void createControls();
  void runModalLoop();

  int requestedId_ = 0;
  Window* owner_;
  DialogTemplate template_;
  bool haveTemplate_ = false;
  bool ended_ = false, modal_ = false;
  int result_ = -1;
  std::map<std::pair<int, int>, std::function<void()>> commandHandlers_;
  std::map<std::pair<int, int>, std::function<void(Notification&)>> notifyHandlers_;
};

}  // namespace plat
