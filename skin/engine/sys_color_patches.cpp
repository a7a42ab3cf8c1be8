#include "skin/engine/sys_color_patches.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <map>

#include "skin/engine/manager_options.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/colour_math.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

using TPatchBytes = std::array<uint8_t, ApiPatchSize>;

// One patched function: where its entry comes from, what replaces it, and
// the bytes the jump covered.
struct TApiPatch {
  const char* Module;
  const char* Name;
  void* Replacement;
  // Where the jump went: once written, the entry itself reads as a jump
  // through a pointer and would resolve to the replacement.
  void* Entry = nullptr;
  TPatchBytes Saved{};
  bool HasSaved = false;
  bool Patched = false;
};

template <typename F>
void* CodeAddress(F Function) {
  return reinterpret_cast<void*>(Function);
}

TApiPatch GetSysColorPatch{"user32.dll", "GetSysColor", CodeAddress(&SkinGetSysColor)};
TApiPatch GetSysColorBrushPatch{"user32.dll", "GetSysColorBrush",
                                CodeAddress(&SkinGetSysColorBrush)};
TApiPatch CreatePenPatch{"gdi32.dll", "CreatePen", CodeAddress(&SkinCreatePen)};

void* ExportedEntry(const TApiPatch& Patch) {
  HMODULE module = GetModuleHandleA(Patch.Module);
  return module ? reinterpret_cast<void*>(GetProcAddress(module, Patch.Name)) : nullptr;
}

bool ReadCode(const void* Address, void* Buffer, size_t Size) {
  SIZE_T read = 0;
  return ReadProcessMemory(GetCurrentProcess(), Address, Buffer, Size, &read) && read == Size;
}

bool Executable(DWORD Protect) {
  return (Protect & (PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE |
                     PAGE_EXECUTE_WRITECOPY)) != 0;
}

// The jump may only cover code of the entry's own function: the bytes must
// lie in one committed executable region and, where the image describes
// its functions, inside the function that starts there.
bool Patchable(void* Entry) {
  MEMORY_BASIC_INFORMATION mbi{};
  if (!VirtualQuery(Entry, &mbi, sizeof mbi) || mbi.State != MEM_COMMIT || !Executable(mbi.Protect))
    return false;
  const auto entry = reinterpret_cast<uintptr_t>(Entry);
  if (entry + ApiPatchSize > reinterpret_cast<uintptr_t>(mbi.BaseAddress) + mbi.RegionSize)
    return false;
#ifdef _WIN64
  DWORD64 imageBase = 0;
  if (const PRUNTIME_FUNCTION f = RtlLookupFunctionEntry(entry, &imageBase, nullptr))
    if (imageBase + f->EndAddress < entry + ApiPatchSize) return false;
#endif
  return true;
}

TPatchBytes JumpTo(void* Entry, void* Target) {
  TPatchBytes jump{};
#ifdef _WIN64
  (void)Entry;
  jump[0] = 0xFF;
  jump[1] = 0x25;  // JMP [RIP+0]: the address follows the instruction
  const auto target = reinterpret_cast<uint64_t>(Target);
  std::memcpy(&jump[6], &target, sizeof target);
#else
  jump[0] = 0xE9;
  const auto displacement = static_cast<int32_t>(reinterpret_cast<uintptr_t>(Target) -
                                                 reinterpret_cast<uintptr_t>(Entry) - 5);
  std::memcpy(&jump[1], &displacement, sizeof displacement);
#endif
  return jump;
}

bool WriteCode(void* Entry, const TPatchBytes& Bytes) {
  DWORD old = 0;
  if (!VirtualProtect(Entry, Bytes.size(), PAGE_EXECUTE_READWRITE, &old)) return false;
  std::memcpy(Entry, Bytes.data(), Bytes.size());
  DWORD ignored = 0;
  VirtualProtect(Entry, Bytes.size(), old, &ignored);
  FlushInstructionCache(GetCurrentProcess(), Entry, Bytes.size());
  return true;
}

void PatchApiEntry(TApiPatch& Patch) {
  void* entry = ResolveApiEntry(ExportedEntry(Patch));
  if (!entry || !Patchable(entry)) return;
  TPatchBytes saved{};
  if (!ReadCode(entry, saved.data(), saved.size())) return;
  if (!WriteCode(entry, JumpTo(entry, Patch.Replacement))) return;
  Patch.Entry = entry;
  Patch.Saved = saved;
  Patch.HasSaved = true;
}

void RestoreApiEntry(TApiPatch& Patch) {
  if (!Patch.HasSaved) return;
  WriteCode(Patch.Entry, Patch.Saved);
  Patch.HasSaved = false;
}

// An entry that cannot be patched still counts as patched, so the pairs
// stay balanced; its restore then finds nothing saved.
void Hook(TApiPatch& Patch) {
  if (Patch.Patched) return;
  PatchApiEntry(Patch);
  Patch.Patched = true;
}

void Unhook(TApiPatch& Patch) {
  if (!Patch.Patched) return;
  Patch.Patched = false;
  RestoreApiEntry(Patch);
}

// The replacements reach the real function by lifting their own patch for
// the call. Only the user-interface thread runs while it is lifted.
template <typename R, typename... A>
R CallReal(TApiPatch& Patch, A... Args) {
  const bool wasPatched = Patch.Patched;
  Unhook(Patch);
  const auto real = reinterpret_cast<R(WINAPI*)(A...)>(ExportedEntry(Patch));
  const R result = real ? real(Args...) : R{};
  if (wasPatched) Hook(Patch);
  return result;
}

COLORREF RealSysColor(int Index) {
  return CallReal<COLORREF>(GetSysColorPatch, Index);
}

// A palette entry that names a system colour is read from the system, not
// from the interception answering it.
COLORREF Rgb(TColor Color) {
  return Color < 0 ? RealSysColor(Color & 0xFF) : static_cast<COLORREF>(Color);
}

COLORREF Palette(int Index) {
  return Rgb(DefaultManager->SkinPalette[static_cast<size_t>(Index)]);
}

COLORREF InactiveBorderColor() {
  return DefaultManager->CommonSkinData ? Rgb(DefaultManager->CommonSkinData->InactiveBorderColor)
                                        : RealSysColor(COLOR_INACTIVEBORDER);
}

COLORREF Shadow() {
  return MixTwoColors(Palette(0), 0x000000, 205);
}

COLORREF Light() {
  return MixTwoColors(Palette(0), 0xFFFFFF, 205);
}

// Callers never free a system brush, so the interception owns the solid
// brushes it hands out: one per colour, all freed together when the skin's
// colours change or the patches go.
struct TBrushCache {
  std::array<COLORREF, 3> Colors{};  // the skin colours the brushes were made for
  const TsSkinManager* Manager = nullptr;
  std::map<COLORREF, TOwnedBrush> Brushes;
};
TBrushCache BrushCache;

HBRUSH CachedBrush(COLORREF Color) {
  const std::array<COLORREF, 3> colors{Palette(4), Palette(8), Palette(9)};
  if (BrushCache.Manager != DefaultManager || BrushCache.Colors != colors) {
    BrushCache.Brushes.clear();
    BrushCache.Manager = DefaultManager;
    BrushCache.Colors = colors;
  }
  TOwnedBrush& brush = BrushCache.Brushes[Color];
  if (!brush) brush.Reset(CreateSolidBrush(Color));
  return brush.Get();
}

void FreeCachedBrushes() {
  BrushCache.Brushes.clear();
  BrushCache.Manager = nullptr;
}

}  // namespace

bool IsPushJmpThunk(const void* Address) {
  const auto* p = static_cast<const uint8_t*>(Address);
  return p && p[0] == 0x68 && p[5] == 0xE9;
}

void* ResolveApiEntry(void* Function) {
  if (!Function) return nullptr;
  auto* p = static_cast<uint8_t*>(Function);
  if (!IsWinNT && IsPushJmpThunk(p)) {
    uint32_t pushed = 0;
    std::memcpy(&pushed, p + 1, sizeof pushed);
    p = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(pushed));
  }
  uint8_t head[6]{};
  if (!ReadCode(p, head, sizeof head) || head[0] != 0xFF || head[1] != 0x25) return p;
  int32_t operand = 0;
  std::memcpy(&operand, head + 2, sizeof operand);
#ifdef _WIN64
  // The pointer's location is relative to the next instruction.
  const auto* slot = p + 6 + operand;
#else
  const auto* slot = reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(operand));
#endif
  void* target = nullptr;
  if (!ReadCode(slot, &target, sizeof target)) return p;
  return target;
}

void HookGetSysColor() {
  Hook(GetSysColorPatch);
}
void UnhookGetSysColor() {
  Unhook(GetSysColorPatch);
}
void HookGetSysColorBrush() {
  Hook(GetSysColorBrushPatch);
}
void UnhookGetSysColorBrush() {
  Unhook(GetSysColorBrushPatch);
}
void HookCreatePen() {
  Hook(CreatePenPatch);
}
void UnhookCreatePen() {
  Unhook(CreatePenPatch);
}

void InstallSysColorInterception() {
  HookGetSysColor();
  HookGetSysColorBrush();
  HookCreatePen();
}

void RemoveSysColorInterception() {
  UnhookGetSysColor();
  UnhookGetSysColorBrush();
  UnhookCreatePen();
  FreeCachedBrushes();
}

COLORREF WINAPI SkinGetSysColor(int Index) {
  if (!DefaultManager) return 0;
  switch (Index) {
    case COLOR_WINDOW:
      return Palette(5);
    case COLOR_WINDOWFRAME:
      return Palette(27);
    case COLOR_WINDOWTEXT:
      return Palette(4);
    case COLOR_INACTIVEBORDER:
      return InactiveBorderColor();
    case COLOR_HIGHLIGHT:
      return Palette(8);
    case COLOR_HIGHLIGHTTEXT:
      return Palette(9);
    case COLOR_BTNSHADOW:
    case COLOR_3DDKSHADOW:
      return Shadow();
    case COLOR_3DLIGHT:
      return Light();
    default:
      return RealSysColor(Index);
  }
}

HBRUSH WINAPI SkinGetSysColorBrush(int Index) {
  if (!DefaultManager) return nullptr;
  switch (Index) {
    case COLOR_WINDOW:
      return DefaultManager->EditBrush ? DefaultManager->EditBrush : CachedBrush(Palette(5));
    case COLOR_WINDOWTEXT:
      return CachedBrush(Palette(4));
    case COLOR_HIGHLIGHT:
      return CachedBrush(Palette(8));
    case COLOR_HIGHLIGHTTEXT:
      return CachedBrush(Palette(9));
    default:
      return CallReal<HBRUSH>(GetSysColorBrushPatch, Index);
  }
}

HPEN WINAPI SkinCreatePen(int Style, int Width, COLORREF Color) {
  if (DefaultManager) switch (Color) {
      case 5:
        Color = Palette(5);
        break;
      case 6:
        Color = Palette(27);
        break;
      case 11:
        Color = InactiveBorderColor();
        break;
      case 13:
        Color = Palette(8);
        break;
      case 14:
        Color = Palette(9);
        break;
      case 15:
        Color = Palette(0);
        break;
      case 16:
      case 21:
        Color = Shadow();
        break;
      case 22:
        Color = Light();
        break;
      case 0xC0C0C0:
      case 0xF0F0F0:
        Color = MixTwoColors(Palette(4), Palette(5), 38);
        break;
      default:
        break;
    }
  return CallReal<HPEN>(CreatePenPatch, Style, Width, Color);
}

void SysColorPatchesInitialization() {
  InstallSysColorPatches = InstallSysColorInterception;
  RemoveSysColorPatches = RemoveSysColorInterception;
}

void SysColorPatchesFinalization() {
  RemoveSysColorInterception();
  if (InstallSysColorPatches == InstallSysColorInterception) InstallSysColorPatches = nullptr;
  if (RemoveSysColorPatches == RemoveSysColorInterception) RemoveSysColorPatches = nullptr;
}
