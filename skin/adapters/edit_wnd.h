// The border adapters: controls that keep painting their inside themselves
// (edits, memos, list boxes and the lists and grids built on them) get their
// frame from the skin section's border image over the parent's background,
// skinned scroll bars, and the skin's colours.
#pragma once

#include <windows.h>

#include "skin/adapters/scroll_wnd.h"

class TsScrollWndData;

// The common base of the client-window adapters.
class TvlBaseWnd : public TvlScrollWnd {
 public:
  static const TvlAdapterClass& AdapterClass();
  void WndProc(TMessage& Message) override;
};

class TvlEditWnd : public TvlBaseWnd {
 public:
  ~TvlEditWnd() override;
  static const TvlAdapterClass& AdapterClass();

  void Construct(HWND Wnd, TsCommonData* ASkinData, TsSkinManager* ASkinManager,
                 TvlSkinParams& Params, bool Repaint) override;
  void SaveControlColors() override;
  void RestoreControl() override;
  void ApplySkinColors() override;
  void WndProc(TMessage& Message) override;

  TColor FrameColor = 0;        // BORDERCOLOR for windows without a control
  bool PaintingFrame = false;   // the control's own procedure paints part of the frame
  bool SingleLineEdit = false;  // a TCustomEdit without ES_MULTILINE
  bool ControlAddedPending = false;
  TColor BackgroundColor = clWindow;
  TColor SavedFocusColor = clNone;

 protected:
  // Adapters that leave the window's visual styles alone (a combo list made
  // without a repaint, grids, virtual trees).
  virtual bool KeepsVisualStyles(bool Repaint) const {
    (void)Repaint;
    return false;
  }

 private:
  // The colours of a skin going away given back to the control; no frame
  // refresh.
  void RestoreColors();
  void NCPaint(TMessage& Message);
  void Print(TMessage& Message);
  // Answers a skin command; false when it was reported unhandled.
  bool EditSkinCommand(TMessage& Message);
  void AfterBase(TMessage& Message);
};

// Keep a control's scroll-bar adapter in step with its skinning: made (or
// a released one replaced) while SkinData is skinned, freed while not.
void UpdateScrollWndAdapter(TsScrollWndData* SkinData, TvlScrollWnd*& Adapter);
// The same with an edit adapter, without the loading test and the flat
// scroll-bar calls.
void UpdateEditWndAdapter(TsScrollWndData* SkinData, TvlEditWnd*& Adapter);
