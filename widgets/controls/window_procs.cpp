#include "widgets/controls/window_procs.h"

#include <array>
#include <cstdio>
#include <utility>
#include <vector>

#include "widgets/controls/controls.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/sysutils.h"

namespace {

thread_local TWinControl* creationControl = nullptr;

// A process-wide atom under a name unique to this module, made on first use.
ATOM MakeAtom(const char* kind) {
  char name[80];
  std::snprintf(name, sizeof name, "Widget%s%08lX%p", kind, GetCurrentProcessId(),
                static_cast<void*>(HInstance()));
  return GlobalAddAtomA(name);
}

ATOM& ControlAtomSlot() {
  static ATOM atom = 0;
  return atom;
}

ATOM& UtilAtomSlot() {
  static ATOM atom = 0;
  return atom;
}

ATOM UtilAtom() {
  ATOM& a = UtilAtomSlot();
  if (!a) a = MakeAtom("Util");
  return a;
}

// The procedures that registered classes had before StdWndProc replaced
// them, for windows of those classes that no control claims.
struct SavedClassProc {
  std::string Name;
  WNDPROC Proc;
};
std::vector<SavedClassProc>& SavedClassProcs() {
  static std::vector<SavedClassProc> procs;
  return procs;
}

WNDPROC UnboundProc(HWND wnd) {
  char name[256];
  if (GetClassNameA(wnd, name, sizeof name) > 0)
    for (const SavedClassProc& s : SavedClassProcs())
      if (SameText(s.Name, name)) return s.Proc;
  return DefWindowProcA;
}

bool IsMouseTrackingMessage(UINT msg) {
  return msg == WM_MOUSEMOVE || msg == WM_NCMOUSEMOVE || msg == WM_MOUSELEAVE ||
         msg == WM_NCMOUSELEAVE;
}

}  // namespace

ATOM ControlAtom() {
  ATOM& a = ControlAtomSlot();
  if (!a) a = MakeAtom("Control");
  return a;
}

void SetCreationControl(TWinControl* Control) {
  creationControl = Control;
}
TWinControl* CreationControl() {
  return creationControl;
}

TWinControl* FindControl(HWND Wnd) {
  if (!Wnd || !ControlAtomSlot()) return nullptr;
  return static_cast<TWinControl*>(GetPropA(Wnd, MAKEINTATOM(ControlAtomSlot())));
}

LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = FindControl(wnd);
  if (!control && creationControl) {
    // The first message of a window being made for creationControl (for a
    // top-level window WM_GETMINMAXINFO comes before WM_NCCREATE).
    control = creationControl;
    creationControl = nullptr;
    control->handle_ = wnd;
    SetPropA(wnd, MAKEINTATOM(ControlAtom()), control);
    // A child without an identifier gets its own handle as identifier.
    if ((GetWindowLongPtrA(wnd, GWL_STYLE) & WS_CHILD) && GetWindowLongPtrA(wnd, GWLP_ID) == 0)
      SetWindowLongPtrA(wnd, GWLP_ID, reinterpret_cast<LONG_PTR>(wnd));
  }
  if (!control) return CallWindowProcA(UnboundProc(wnd), wnd, msg, wParam, lParam);

  if (IsMouseTrackingMessage(msg)) {
    if (msg == WM_MOUSEMOVE) {
      TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, wnd, 0};
      TrackMouseEvent(&tme);
    }
    Guarded(control, [] { UpdateMouseControl(); });
  }

  TMessage m{msg, wParam, lParam, 0};
  control->MainWndProc(m);
  if (msg == WM_NCDESTROY) {
    // The window is gone whoever destroyed it: the object lets go of it.
    RemovePropA(wnd, MAKEINTATOM(ControlAtom()));
    if (control->handle_ == wnd) {
      control->handle_ = nullptr;
      control->showing_ = false;
    }
  }
  return m.Result;
}

void RegisterControlClass(WNDCLASSEXA wc) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  wc.cbSize = sizeof wc;
  wc.hInstance = HInstance();
  bool registered = GetClassInfoExA(wc.hInstance, wc.lpszClassName, &existing);
  if (registered && existing.lpfnWndProc == StdWndProc) return;
  if (registered) UnregisterClassA(wc.lpszClassName, wc.hInstance);
  auto& saved = SavedClassProcs();
  bool known = false;
  for (SavedClassProc& s : saved)
    if (SameText(s.Name, wc.lpszClassName)) {
      s.Proc = wc.lpfnWndProc;
      known = true;
    }
  if (!known) saved.push_back({wc.lpszClassName, wc.lpfnWndProc});
  wc.lpfnWndProc = StdWndProc;
  if (!RegisterClassExA(&wc))
    throw EOutOfResources(std::string("Cannot register the window class ") + wc.lpszClassName);
}

// ---- Utility windows ------------------------------------------------------------------

namespace {

LRESULT CALLBACK UtilWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* method = static_cast<TWndMethod*>(GetPropA(wnd, MAKEINTATOM(UtilAtom())));
  TMessage m{msg, wParam, lParam, 0};
  if (!method || !*method) {
    m.Result = DefWindowProcA(wnd, msg, wParam, lParam);
  } else {
    TWndMethod call = *method;
    if (!Guarded(nullptr, [&] { call(m); })) m.Result = 0;
  }
  if (msg == WM_NCDESTROY) {
    // Destroyed by the system, not by DeallocateHWnd: the record goes with it.
    delete static_cast<TWndMethod*>(RemovePropA(wnd, MAKEINTATOM(UtilAtom())));
  }
  return m.Result;
}

// Registers a class of UtilWndProc under the name once.
void EnsureMethodClass(const char* name) {
  static std::vector<std::string> registered;
  for (const std::string& r : registered)
    if (r == name) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = UtilWndProc;
  wc.hInstance = HInstance();
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw EOutOfResources(std::string("Cannot register the window class ") + name);
  registered.emplace_back(name);
}

}  // namespace

HWND AllocateMethodWindow(const char* ClassName, const char* Caption, DWORD Style, DWORD ExStyle,
                          int X, int Y, int Width, int Height, HWND Owner, TWndMethod Method) {
  EnsureMethodClass(ClassName);
  HWND wnd = CreateWindowExA(ExStyle, ClassName, Caption, Style, X, Y, Width, Height, Owner,
                             nullptr, HInstance(), nullptr);
  if (!wnd) throw EOutOfResources(std::string("Cannot create a window of class ") + ClassName);
  SetPropA(wnd, MAKEINTATOM(UtilAtom()), new TWndMethod(Method));
  return wnd;
}

HWND AllocateHWnd(TWndMethod Method) {
  return AllocateMethodWindow("TPUtilWindow", "", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr,
                              Method);
}

void DeallocateHWnd(HWND Wnd) {
  if (!Wnd) return;
  auto* method = static_cast<TWndMethod*>(RemovePropA(Wnd, MAKEINTATOM(UtilAtom())));
  delete method;
  DestroyWindow(Wnd);
}

// ---- Object instances ------------------------------------------------------------------
// Each slot has its own static procedure and its own property atom, so one
// window can carry several instances stacked on each other.

struct TObjectInstance::Record {
  TObjectInstance* Owner;  // null once the instance let go of a window it could not restore
  HWND Wnd;
  WNDPROC Previous;
  bool Unicode;
  int Slot;
};

namespace {

// What the window answers without the instance: the procedure it replaced,
// or (no record) the default procedure in the window's own character set.
LRESULT PassOn(const TObjectInstance::Record* rec, HWND wnd, UINT msg, WPARAM wParam,
               LPARAM lParam) {
  if (!rec)
    return IsWindowUnicode(wnd) ? DefWindowProcW(wnd, msg, wParam, lParam)
                                : DefWindowProcA(wnd, msg, wParam, lParam);
  return rec->Unicode ? CallWindowProcW(rec->Previous, wnd, msg, wParam, lParam)
                      : CallWindowProcA(rec->Previous, wnd, msg, wParam, lParam);
}

}  // namespace

namespace {

constexpr int kSlots = 16;

ATOM& SlotAtomRef(int slot) {
  static ATOM atoms[kSlots] = {};
  return atoms[slot];
}

ATOM SlotAtom(int slot) {
  ATOM& a = SlotAtomRef(slot);
  if (!a) {
    char kind[16];
    std::snprintf(kind, sizeof kind, "Instance%d", slot);
    a = MakeAtom(kind);
  }
  return a;
}

void ReleaseAtom(ATOM& a) {
  if (a) GlobalDeleteAtom(a);
  a = 0;
}

TObjectInstance::Record* FindRecord(int slot, HWND wnd) {
  return static_cast<TObjectInstance::Record*>(GetPropA(wnd, MAKEINTATOM(SlotAtom(slot))));
}

LRESULT InstanceProc(int slot, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TObjectInstance::Record* rec = FindRecord(slot, wnd);
  if (!rec) return PassOn(nullptr, wnd, msg, wParam, lParam);
  LRESULT result = 0;
  if (rec->Owner) {
    TMessage m{msg, wParam, lParam, 0};
    TObjectInstance* owner = rec->Owner;
    // A method that failed leaves the answer to the procedure it replaced
    // (the record may have gone while it ran).
    if (Guarded(nullptr, [&] { owner->HandleMessage(m); }))
      result = m.Result;
    else
      result = PassOn(FindRecord(slot, wnd), wnd, msg, wParam, lParam);
  } else {
    result = PassOn(rec, wnd, msg, wParam, lParam);
  }
  if (msg == WM_NCDESTROY) {
    // The record may have been replaced while the message ran.
    auto* now =
        static_cast<TObjectInstance::Record*>(RemovePropA(wnd, MAKEINTATOM(SlotAtom(slot))));
    if (now) {
      if (now->Owner) now->Owner->WindowDestroyed();
      delete now;
    }
  }
  return result;
}

template <int K>
LRESULT CALLBACK SlotProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return InstanceProc(K, wnd, msg, wParam, lParam);
}

template <int... K>
constexpr std::array<WNDPROC, sizeof...(K)> MakeSlotProcs(std::integer_sequence<int, K...>) {
  return {&SlotProc<K>...};
}

const std::array<WNDPROC, kSlots>& SlotProcs() {
  static const auto procs = MakeSlotProcs(std::make_integer_sequence<int, kSlots>{});
  return procs;
}

}  // namespace

TObjectInstance::TObjectInstance(TWndMethod Method) : method_(Method) {}

TObjectInstance::~TObjectInstance() {
  Detach();
}

HWND TObjectInstance::Window() const {
  return record_ ? record_->Wnd : nullptr;
}

bool TObjectInstance::Attach(HWND Wnd) {
  Detach();
  int slot = 0;
  while (slot < kSlots && GetPropA(Wnd, MAKEINTATOM(SlotAtom(slot)))) ++slot;
  if (slot == kSlots) return false;
  bool unicode = IsWindowUnicode(Wnd);
  auto* rec = new Record{this, Wnd, nullptr, unicode, slot};
  SetPropA(Wnd, MAKEINTATOM(SlotAtom(slot)), rec);
  LONG_PTR proc = reinterpret_cast<LONG_PTR>(SlotProcs()[slot]);
  LONG_PTR old = unicode ? SetWindowLongPtrW(Wnd, GWLP_WNDPROC, proc)
                         : SetWindowLongPtrA(Wnd, GWLP_WNDPROC, proc);
  rec->Previous = reinterpret_cast<WNDPROC>(old);
  record_ = rec;
  return true;
}

bool TObjectInstance::Detach() {
  Record* rec = record_;
  if (!rec) return false;
  record_ = nullptr;
  WNDPROC ours = SlotProcs()[rec->Slot];
  WNDPROC current =
      reinterpret_cast<WNDPROC>(rec->Unicode ? GetWindowLongPtrW(rec->Wnd, GWLP_WNDPROC)
                                             : GetWindowLongPtrA(rec->Wnd, GWLP_WNDPROC));
  if (current == ours) {
    LONG_PTR prev = reinterpret_cast<LONG_PTR>(rec->Previous);
    if (rec->Unicode)
      SetWindowLongPtrW(rec->Wnd, GWLP_WNDPROC, prev);
    else
      SetWindowLongPtrA(rec->Wnd, GWLP_WNDPROC, prev);
    RemovePropA(rec->Wnd, MAKEINTATOM(SlotAtom(rec->Slot)));
    delete rec;
    return true;
  }
  // Someone subclassed on top of us: stay in the chain as a pass-through;
  // the record goes with the window.
  rec->Owner = nullptr;
  return false;
}

bool TObjectInstance::Installed() const {
  if (!record_) return false;
  const LONG_PTR current = record_->Unicode ? GetWindowLongPtrW(record_->Wnd, GWLP_WNDPROC)
                                            : GetWindowLongPtrA(record_->Wnd, GWLP_WNDPROC);
  return reinterpret_cast<WNDPROC>(current) == SlotProcs()[record_->Slot];
}

WNDPROC TObjectInstance::Previous() const {
  return record_ ? record_->Previous : nullptr;
}

void TObjectInstance::WindowDestroyed() {
  // The window was destroyed: its record is freed by the procedure.
  record_ = nullptr;
}

void TObjectInstance::HandleMessage(TMessage& Message) {
  if (method_)
    method_(Message);
  else
    CallPrevious(Message);
}

void TObjectInstance::CallPrevious(TMessage& Message) {
  if (!record_) return;
  Message.Result = PassOn(record_, record_->Wnd, Message.Msg, Message.WParam, Message.LParam);
}

TObjectInstance* MakeObjectInstance(TWndMethod Method) {
  return new TObjectInstance(Method);
}

void FreeObjectInstance(TObjectInstance* Instance) {
  delete Instance;
}

void FinalizeWindowProcs() {
  ReleaseAtom(ControlAtomSlot());
  ReleaseAtom(UtilAtomSlot());
  for (int i = 0; i < kSlots; ++i) ReleaseAtom(SlotAtomRef(i));
}
