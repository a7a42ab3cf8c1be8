// TMemo: the multi-line "EDIT", with its text seen as lines.
#include <vector>

#include "widgets/controls/stdctrls.h"

namespace {

// The memo's lines over its text: every change rebuilds the text once, so
// a window and a window-less control behave alike.
class TMemoStrings : public TStrings {
  DECLARE_CLASS(TMemoStrings, TStrings)
 public:
  explicit TMemoStrings(TCustomMemo* Memo) : memo_(Memo) {}

  void Clear() override { memo_->SetText(""); }
  void Delete(int Index) override {
    std::vector<std::string> l = Split();
    Check(l, Index, false);
    l.erase(l.begin() + Index);
    Join(l);
  }
  void Insert(int Index, const std::string& S) override {
    std::vector<std::string> l = Split();
    Check(l, Index, true);
    l.insert(l.begin() + Index, S);
    Join(l);
  }
  void SetText(const std::string& Value) override { memo_->SetText(Value); }

 protected:
  std::string Get(int Index) const override {
    std::vector<std::string> l = Split();
    Check(l, Index, false);
    return l[static_cast<size_t>(Index)];
  }
  int GetCount() const override { return static_cast<int>(Split().size()); }
  void Put(int Index, const std::string& S) override {
    std::vector<std::string> l = Split();
    Check(l, Index, false);
    l[static_cast<size_t>(Index)] = S;
    Join(l);
  }

 private:
  // The layer's own reading of line breaks (CR LF, LF or CR; a final break
  // adds no empty line).
  std::vector<std::string> Split() const {
    TStringList l;
    l.SetText(memo_->Text());
    std::vector<std::string> out;
    out.reserve(static_cast<size_t>(l.Count()));
    for (int i = 0; i < l.Count(); ++i) out.push_back(l[i]);
    return out;
  }
  void Join(const std::vector<std::string>& Lines) {
    std::string text;
    for (size_t i = 0; i < Lines.size(); ++i) {
      if (i) text += "\r\n";
      text += Lines[i];
    }
    memo_->SetText(text);
  }
  void Check(const std::vector<std::string>& Lines, int Index, bool Inserting) const {
    const int limit = static_cast<int>(Lines.size()) + (Inserting ? 1 : 0);
    if (Index < 0 || Index >= limit) Error("List index out of bounds (%d)", Index);
  }

  TCustomMemo* memo_;
};

const TClassInfo& TMemoStrings::StaticClass() {
  static const TClassInfo info("TMemoStrings", &TStrings::StaticClass());
  return info;
}

}  // namespace

const TEnumInfo& TCustomMemo::ScrollStyleInfo() {
  static const TEnumInfo info{{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};
  return info;
}

const TClassInfo& TCustomMemo::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TCustomMemo> b("TCustomMemo", &TCustomEdit::StaticClass());
    b.Obj(
        "Lines", TPropKind::Strings, TStrings::StaticClass(),
        [](const TCustomMemo& c) -> TObject* { return c.Lines(); },
        [](TCustomMemo& c, TObject* v) { c.SetLines(dynamic_cast<TStrings*>(v)); });
    b.Enum(
        "ScrollBars", ScrollStyleInfo(), [](const TCustomMemo& c) { return c.ScrollBars(); },
        [](TCustomMemo& c, int v) { c.SetScrollBars(static_cast<TScrollStyle>(v)); }, ssNone);
    b.Bool(
        "WordWrap", [](const TCustomMemo& c) { return c.WordWrap(); },
        [](TCustomMemo& c, int v) { c.SetWordWrap(v != 0); }, true);
    b.Bool(
        "WantReturns", [](const TCustomMemo& c) { return c.WantReturns(); },
        [](TCustomMemo& c, int v) { c.SetWantReturns(v != 0); }, true);
    return b.Done();
  }();
  return info;
}

const TClassInfo& TMemo::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TMemo> b("TMemo", &TCustomMemo::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TCustomEdit(AOwner), lines_(std::make_unique<TMemoStrings>(this)) {
  // Lines of text: the height is the user's, not the font's.
  controlStyle_ &= ~TControlStyle(csFixedHeight);
  InitBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.Style |= ES_MULTILINE;
  if (wantReturns_) p.Style |= ES_WANTRETURN;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= WS_HSCROLL;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) p.Style |= WS_VSCROLL;
  // Wrapping needs the edit to keep its lines inside its width.
  if (wordWrap_ && !(p.Style & WS_HSCROLL)) p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
  if (scrollBars_ == v) return;
  scrollBars_ = v;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool v) {
  if (wordWrap_ == v) return;
  wordWrap_ = v;
  RecreateWnd();
}

void TCustomMemo::SetWantReturns(bool v) {
  if (wantReturns_ == v) return;
  wantReturns_ = v;
  RecreateWnd();
}
