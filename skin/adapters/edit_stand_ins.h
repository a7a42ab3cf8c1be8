// Adapters of the edit family whose own handling comes later. Until then
// each is an edit adapter of its window that keeps the least of its own
// behaviour.
#pragma once

#include <string>

#include "skin/adapters/edit_wnd.h"

// The adapter of a combo box's drop-down list window.
class TvlComboListWnd : public TvlEditWnd {
 public:
  static const TvlAdapterClass& AdapterClass();

  // Adapts the list with Section and the four bar sizes left to the skin;
  // unless KeepSize, the list then becomes one pixel wider than it was,
  // with SWP_FRAMECHANGED, so that its new frame takes effect.
  static TvlComboListWnd* Create(HWND Wnd, bool KeepSize, bool Repaint, const std::string& Section,
                                 TsSkinManager* Manager);

  bool IsComboListAdapter() const override { return true; }

  int RecordedWidth = 0;
  int RecordedHeight = 0;

 protected:
  // A list adapted without a repaint keeps the platform's visual styles.
  bool KeepsVisualStyles(bool Repaint) const override { return !Repaint; }
};

// The adapter of a list view window: its skin state has the list-view kind.
class TvlListViewWnd : public TvlEditWnd {
 public:
  static const TvlAdapterClass& AdapterClass();

  void Construct(HWND Wnd, TsCommonData* ASkinData, TsSkinManager* ASkinManager,
                 TvlSkinParams& Params, bool Repaint) override;
  bool IsListViewAdapter() const override { return true; }
};
