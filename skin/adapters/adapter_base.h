// The root of the window adapters: an object that subclasses one window the
// library does not own, paints it from the skin and gives it back.
//
// How an adapter lives, and why:
// - Two-phase construction. The steps of building an adapter call virtual
//   methods (the section choice, the saved colours, the scroll-bar hook),
//   which a C++ constructor cannot dispatch to a descendant. A factory makes
//   the bare object and `Construct` then runs the steps with the full
//   dynamic type. Creators go through `CreateAdapter`, so that no adapter is
//   ever used half built; a class table (`TvlAdapterClass`) lets a creator
//   that picks the class by a window's class name build any adapter with
//   one call.
// - Plain windows are hooked through the layer's `TObjectInstance`: one
//   static procedure per slot finds its record through a window property,
//   calls the W or A functions as the window was made, and turns into a
//   pass-through once the adapter lets go while someone else is hooked on
//   top. No code is ever generated or freed while it may be on a stack.
// - Controls are hooked through a forwarder that the control owns: the
//   control's `WindowProc` (and the skin data's owner procedure) point at
//   the forwarder, never at the adapter. Whoever hooks the control after us
//   keeps that event; once the adapter is gone the forwarder passes every
//   message to the saved method instead of reaching freed memory.
// - Deferred delete. A creator may free the adapter inside a message the
//   adapter is still passing on (a list box frees its adapter on a skin
//   removal that arrives through the adapter's own procedure). Every entry
//   into the adapter counts a frame; freeing inside a frame hands the
//   window back at once and deletes the object when the outermost frame
//   returns.
// - Poisoned delete. With `PoisonFreedAdapters` set (the tests set it) the
//   memory of a deleted adapter is filled with 0xDD and never given back,
//   so a call into a freed adapter fails loudly instead of by chance.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "widgets/controls/controls.h"
#include "widgets/controls/messages.h"
#include "widgets/graphics/colors.h"
#include "widgets/rtl/object_model.h"
#include "widgets/rtl/sysutils.h"

class TsCommonData;
class TsSkinManager;
class TObjectInstance;
class TvlMainWnd;
class TvlWindowForwarder;

// The record every adapter constructor takes.
struct TvlSkinParams {
  TControl* TargetControl = nullptr;  // nil for plain windows
  std::string SectionName;            // empty: the adapter's default section
  bool SkinColor = true;              // the window takes the skin's background colour
  bool SkinFontColor = true;          // the window takes the skin's font colour
  int32_t VScrollWidth = -1;
  int32_t HScrollWidth = -1;
  int32_t VScrollButtonSize = -1;
  int32_t HScrollButtonSize = -1;
};

// An adapter class as a value: its name and how to make a bare object of it.
struct TvlAdapterClass {
  const char* Name;
  TvlMainWnd* (*Make)();
};

// Set by the tests: freed adapters are filled with 0xDD and kept.
extern bool PoisonFreedAdapters;

class TvlMainWnd : public TObject {
 public:
  TvlMainWnd();
  // Freed through TObject::Free (or ReleaseWndAdapter with Free), so the
  // release runs while the descendants are whole; inside the adapter's own
  // procedure only ReleaseWndAdapter may free it.
  ~TvlMainWnd() override;
  void BeforeDestruction() override;

  static const TvlAdapterClass& AdapterClass();

  // The construction steps; `CreateAdapter` calls it once on a new object.
  virtual void Construct(HWND Wnd, TsCommonData* ASkinData, TsSkinManager* ASkinManager,
                         TvlSkinParams& Params, bool Repaint);
  virtual void AfterCreation();
  virtual void SaveControlColors();
  virtual void RestoreControl();
  virtual void ApplySkinColors();
  virtual void CreateSkinData();
  virtual void WndProc(TMessage& Message);

  // Takes the window's procedure over. Scroll-bar adapters run their own
  // hook, which ends in `CommonHook`.
  virtual void HookWindow(bool Repaint);
  // Class tests of adapters that come later, answered by their classes.
  virtual bool IsPopupMenuAdapter() const { return false; }
  virtual bool IsMdiClientAdapter() const { return false; }
  virtual bool IsListViewAdapter() const { return false; }
  virtual bool IsComboListAdapter() const { return false; }
  virtual bool IsFrameAdapterItem() const { return false; }

  // Runs a message through WndProc only, without the window.
  LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
  // Hands a message to the procedure the adapter replaced.
  LRESULT CallPrevWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM& LParam);
  // The entry of every message from the window or the forwarder: counts the
  // frame, runs WndProc under the layer's guard, and deletes the adapter
  // when it was freed meanwhile and this was the outermost frame.
  void MainWndProc(TMessage& Message);
  // Whether the window currently runs through this adapter.
  bool Hooked() const;
  // Frames of the adapter's procedure on the stack now.
  int FrameDepth() const { return frameDepth_; }

  bool DialogMode = false;
  bool Released = false;
  bool Scrolling = false;
  bool OwnsSkinData = false;
  bool ColorsApplied = false;
  TRect WindowRect, ParentRect;
  TColor SavedColor = clNone;
  TColor SavedFontColor = clNone;
  HWND ParentHandle = nullptr;
  HWND WindowHandle = nullptr;
  TSize WindowSize;
  TPoint WindowPos;
  std::string WindowText;
  TControlStyle SavedControlStyle = 0;
  TWndMethod SavedWindowMethod;
  WNDPROC SavedWindowProc = nullptr;
  TsSkinManager* SkinManager = nullptr;
  TsCommonData* SkinData = nullptr;
  TObjectInstance* ProcInstance = nullptr;  // owned
  TObject* OwnerItem = nullptr;

  // Plain `new`/`delete` of the class go through these so freed adapters
  // can be poisoned.
  static void* operator new(std::size_t Size);
  static void operator delete(void* Block, std::size_t Size);

 protected:
  // The common hook: "VLSBSC", then the plain or the control path. False
  // when the window could not be hooked (it is then left as it was).
  bool CommonHook();
  // Gives the window's procedure back while it is still ours; true when
  // the window no longer runs through the adapter. Force (the adapter
  // goes) leaves a procedure hooked on top in place and turns ours into a
  // pass-through.
  bool Unhook(bool Force);
  // Switches the window's visual styles off; the adapter's release gives
  // them back.
  void SwitchVisualStylesOff();
  // What the base answers for a skin command while a skin is active.
  void HandleSkinCommandMessage(TMessage& Message);
  void CommonTail(TMessage& Message);

 private:
  friend void ReleaseWndAdapter(HWND, bool, bool, TvlMainWnd*&);
  friend class TvlWindowForwarder;
  void DestroyGiveBack();
  void GiveVisualStylesBack();
  void DestroyStep();

  TvlWindowForwarder* forwarder_ = nullptr;  // owned by the control
  int frameDepth_ = 0;
  bool deletePending_ = false;
  bool destroying_ = false;
  bool themeSwitched_ = false;
};

// ---- Making adapters

// Makes an object of Class and runs its construction steps; nil when the
// class is nil. A failing step frees the object and raises again.
TvlMainWnd* CreateAdapter(const TvlAdapterClass* Class, HWND Wnd, TsCommonData* SkinData,
                          TsSkinManager* SkinManager, TvlSkinParams& Params, bool Repaint);
template <typename T>
T* CreateAdapter(HWND Wnd, TsCommonData* SkinData, TsSkinManager* SkinManager,
                 TvlSkinParams& Params, bool Repaint) {
  return static_cast<T*>(
      CreateAdapter(&T::AdapterClass(), Wnd, SkinData, SkinManager, Params, Repaint));
}

// The class table: each adapter class registers itself under its name.
void RegisterAdapterClass(const TvlAdapterClass& Class);
const TvlAdapterClass* FindAdapterClass(const std::string& Name);

// ---- Finding and releasing

// The "VLSBSC" property of the window; nil when absent.
TvlMainWnd* GetWindowAdapter(HWND Wnd);

// Gives the window back; with Free also frees the adapter (at once, or when
// its outermost frame returns) and sets Adapter to nil.
void ReleaseWndAdapter(HWND Wnd, bool Free, bool RecalcFrame, TvlMainWnd*& Adapter);
template <typename T>
void ReleaseWndAdapter(HWND Wnd, bool Free, bool RecalcFrame, T*& Adapter) {
  TvlMainWnd* a = Adapter;
  ReleaseWndAdapter(Wnd, Free, RecalcFrame, a);
  Adapter = static_cast<T*>(a);
}
