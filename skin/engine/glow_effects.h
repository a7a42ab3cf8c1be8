// The two animated effects of skinned controls: the cross-fade of a
// control's old and new look on 10 ms steps, and the glow, a halo image of
// the control's skin section shown in a click-through per-pixel-alpha window
// around the control while it is hot.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/engine/anim_timer.h"
#include "skin/foundation/skin_const.h"
#include "widgets/controls/messages.h"
#include "widgets/rtl/sysutils.h"

class TBitmap;
class TsCommonData;
class TsSkinManager;
class TvlGlowForm;

class TvlGlowEffect {
 public:
  TvlGlowEffect(TsCommonData* ASkinData, TsSkinManager* AManager);
  TvlGlowEffect(const TvlGlowEffect&) = delete;
  TvlGlowEffect& operator=(const TvlGlowEffect&) = delete;
  ~TvlGlowEffect();

  // Makes the glow window around Rect (screen coordinates) at Alpha, in the
  // z-order next to Wnd; nothing when the window exists already.
  void Show(const TRect& Rect, uint8_t Alpha, HWND Wnd);
  void BuildBitmap(int Width, int Height);
  void GlowWndProc(TMessage& Message);
  // Gives the form its procedure back (only while ours is in place) and
  // frees it, or releases it after pending messages unless FreeNow or the
  // manager or the application is going away.
  void DropForm(bool FreeNow);

  int Margin = 0;
  int MaskIndex = -1;
  TvlGlowForm* Form = nullptr;
  TBitmap* Bitmap = nullptr;  // owned, 32-bit
  bool Destroying = false;
  TWndMethod SavedWndProc;
  TsSkinManager* Manager = nullptr;
  TsCommonData* SkinData = nullptr;
};

// Hiding leaves an empty slot; only ClearGlows shortens the list.
extern std::vector<std::unique_ptr<TvlGlowEffect>> TvlGlowEffects;
// Set while a glow form is torn down by HideGlow or ClearGlows.
extern bool GlowUnhooking;
extern BLENDFUNCTION GlowBlend;

bool IsAnimatedEvent(TvlAnimatEvent Event, TvlAnimatEvents Events, TsSkinManager* Manager);

// Kind 0 fade-out, 1 fade-in, 2 cross-fade (controls may pass their own
// kinds with their own step function).
void RepaintWithFade(TsCommonData* SkinData, int Kind, AnimationStepProc Callback, bool Animate,
                     bool Fast, bool Glow);
void StartFade(TsCommonData* SkinData, int Kind, AnimationStepProc Callback, bool Fast);
bool FadeStep(TsCommonData* SkinData, int Step);
bool GlowFadeStep(TsCommonData* SkinData, int Step);

// The new glow's index, or -1. The glow image is the section's image named
// Name followed by "0".
int ShowGlow(const TRect& Rect, const std::string& Section, const std::string& Name, int Margin,
             uint8_t Alpha, HWND Wnd, TsCommonData* SkinData);
int ShowGlowByMask(const TRect& Rect, const std::vector<int>& MaskIndexes, int Margin,
                   uint8_t Alpha, HWND Wnd, TsCommonData* SkinData);
void HideGlow(int& Index, bool Animated);
void SetGlowAlpha(int Index, uint8_t Alpha);
void ClearGlows(bool RestoreForms);

void GlowEffectsInitialization();
void GlowEffectsFinalization();
