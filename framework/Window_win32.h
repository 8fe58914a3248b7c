#pragma once
// The window wrapper of the dialog framework. One object per window: the object is bound to
// its HWND when the window is created (or subclassed), every message reaches the virtual
// HandleMessage, and whatever a handler does not take goes to Default(). No exception ever
// leaves a window procedure.

#include <windows.h>

namespace norvi {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  // Destroys the window if the object still owns one. By then only the base part of the
  // object is left, so a derived class that handles WM_DESTROY destroys the window in its own
  // destructor.
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }

  // Creates a window of the framework's own class ("NorviWindow", double clicks, arrow
  // cursor, no background brush) bound to this object. Returns false on failure.
  bool Create(HWND parent, const RECT& rect, DWORD style, DWORD exStyle = 0,
              const wchar_t* title = L"", UINT_PTR id = 0);
  // Creates a window of a system class (BUTTON, EDIT, ...) and subclasses it.
  bool CreateControl(const wchar_t* className, HWND parent, const RECT& rect, DWORD style,
                     DWORD exStyle = 0, const wchar_t* title = L"", UINT_PTR id = 0);
  // Routes an existing window's messages through this object until it is destroyed.
  bool Subclass(HWND hwnd);
  // Destroys the window now.
  void Destroy();

  // The object bound to a window, or nullptr.
  static Window* FromHandle(HWND hwnd);

  // Called by the modal loop for every message aimed at this window or one of its children
  // before it is translated and dispatched; true swallows the message.
  virtual bool PreTranslateMessage(MSG& msg);

  // Convenience wrappers.
  LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const;
  bool Post(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const;
  DWORD Style() const;
  void ModifyStyle(DWORD remove, DWORD add) const;
  RECT ClientRect() const;
  void Invalidate(bool erase = false) const;
  void SetTimer(UINT_PTR id, UINT milliseconds) const;
  void KillTimer(UINT_PTR id) const;

 protected:
  // The message handler. Overrides handle what they need and pass the rest to the base,
  // which reflects owner-draw, measure-item and colour requests to the child control's
  // object and then calls Default().
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Default processing: the subclassed procedure, DefWindowProc, or the dialog manager.
  virtual LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);
  // A request reflected from the parent (WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR..., and
  // WM_COMMAND notifications). A notification the control does not take reaches the parent.
  // Return true and set result when handled.
  virtual bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // Hands a reflected request on to the object of `control`; false when it has none or does
  // not take the request.
  static bool ReflectTo(HWND control, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // Called after the last message (WM_NCDESTROY); the object is unbound by then.
  virtual void OnFinalMessage() {}
  // Called once Subclass has routed an existing window through this object.
  virtual void OnSubclassed() {}

  // Binds this object to a window created with it as pending object; used by Dialog.
  void Bind(HWND hwnd);
  static Window* TakePending(HWND hwnd);
  static void SetPending(Window* window);
  // Runs HandleMessage and turns any escaping exception into default processing.
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);

 private:
  static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK StaticSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  bool ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void Unbind();

  HWND hwnd_ = nullptr;
  WNDPROC previousProc_ = nullptr;  // set while subclassed
};

}  // namespace norvi
