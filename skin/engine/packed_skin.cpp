#include "skin/engine/packed_skin.h"

#include <cstring>
#include <mutex>
#include <string_view>

#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/zlib_stream.h"
#include "widgets/forms/message_box.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/streams.h"
#include "widgets/rtl/sysutils.h"

namespace {

constexpr char Signature[4] = {'Q', 'M', 'z', 'f'};
constexpr int32_t HeaderSize = 8;
// Name length, name, size and the shortest zlib stream (header, an empty
// final block and the checksum).
constexpr int32_t MinEntrySize = 4 + 4 + 8;
constexpr int32_t MaxNameLength = 260;
// Limits far above any real skin that keep a hostile file from making the
// reader allocate what the file cannot fill.
constexpr int32_t MaxEntrySize = 64 << 20;
constexpr int64_t MaxTotalSize = int64_t{256} << 20;
const char* const DescriptionName = "OPTIONS.DAT";
const char* const PreviewMarker = "previewimg";
constexpr int32_t PreviewMarkerSize = 10;

// The one exception every kind of damage becomes: the user needs to know
// that the file is not a skin, not which byte broke it.
class EInvalidArchive : public Exception {
 public:
  EInvalidArchive() : Exception("not a valid skin archive") {}
};

// The header test and its error box run with the standard dialogs and the
// system colours unskinned; both settings are put back as they were, also
// when a read raises.
class TPlainDialogsScope {
 public:
  explicit TPlainDialogsScope(TsSkinManager* Manager)
      : manager_(Manager),
        rules_(Manager ? Manager->SkinningRules() : 0),
        sysColors_(Manager && Manager->Options()->ChangeSysColors()) {
    if (!manager_) return;
    manager_->SetSkinningRules(static_cast<TvlSkinningRules>(rules_ & ~(1u << srStdDialogs)));
    if (sysColors_) manager_->Options()->SetOption(TvlOptions::ChangeSysColorsIndex, false);
  }
  ~TPlainDialogsScope() {
    if (!manager_) return;
    manager_->SetSkinningRules(rules_);
    if (sysColors_) manager_->Options()->SetOption(TvlOptions::ChangeSysColorsIndex, true);
  }
  TPlainDialogsScope(const TPlainDialogsScope&) = delete;
  TPlainDialogsScope& operator=(const TPlainDialogsScope&) = delete;

 private:
  TsSkinManager* manager_;
  TvlSkinningRules rules_;
  bool sysColors_;
};

// The unpacked files of the last archive, kept for the next read: memory a
// load writes for the first time can cost more than inflating into it (each
// new page is a fault, and large blocks go back to the system when freed),
// while a skin loaded again, or one like it, asks for the same sizes. Only
// large blocks are kept, and no more than a bounded total.
class TSpareFiles {
 public:
  void Keep(std::vector<uint8_t>&& Memory) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const size_t capacity = Memory.capacity();
    if (capacity < kMinBlock || bytes_ + capacity > kMaxTotal) return;
    bytes_ += capacity;
    spare_.push_back(std::move(Memory));
  }
  // The smallest kept block that holds Size bytes without wasting more
  // than half of itself; empty when none does.
  std::vector<uint8_t> Take(size_t Size) {
    const std::lock_guard<std::mutex> lock(mutex_);
    auto best = spare_.end();
    for (auto it = spare_.begin(); it != spare_.end(); ++it) {
      const size_t c = it->capacity();
      if (c >= Size && c / 2 <= Size && (best == spare_.end() || c < best->capacity())) best = it;
    }
    if (best == spare_.end()) return {};
    std::vector<uint8_t> out = std::move(*best);
    spare_.erase(best);
    bytes_ -= out.capacity();
    return out;
  }
  void Free() {
    const std::lock_guard<std::mutex> lock(mutex_);
    spare_.clear();
    bytes_ = 0;
  }

 private:
  static constexpr size_t kMinBlock = 64 << 10;
  static constexpr size_t kMaxTotal = 32 << 20;
  std::mutex mutex_;
  std::vector<std::vector<uint8_t>> spare_;
  size_t bytes_ = 0;
};

TSpareFiles& SpareFiles() {
  static TSpareFiles spare;
  return spare;
}

void KeepSpare(std::unique_ptr<TMemoryStream>& Stream) {
  if (Stream) SpareFiles().Keep(Stream->ReleaseBuffer());
  Stream.reset();
}

int32_t ReadInt32(TStream& Source) {
  int32_t v = 0;
  Source.ReadBuffer(&v, 4);
  return v;
}

int32_t Remaining(TStream& Source) {
  return Source.Size() - Source.Position();
}

// One entry's file, inflated in one read straight into a stream sized once;
// the zlib data must end exactly after Size bytes.
std::unique_ptr<TMemoryStream> Inflate(TStream& Source, int32_t Size) {
  auto out = std::make_unique<TMemoryStream>();
  std::vector<uint8_t> memory = SpareFiles().Take(static_cast<size_t>(Size));
  // A kept block shrinks in place; only what it lacks is cleared.
  memory.resize(static_cast<size_t>(Size));
  out->AdoptBuffer(std::move(memory));
  TZDecompressionStream z(Source);
  if (Size > 0) z.ReadBuffer(out->Memory(), Size);
  z.Finish();
  out->SetPosition(0);
  return out;
}

void ReadEntries(TvlSkinConvertor& Convertor, TStream& Source, int32_t EntryCount) {
  int64_t total = 0;
  for (int32_t i = 0; i < EntryCount; ++i) {
    const int32_t n = ReadInt32(Source);
    if (n < 0 || n > MaxNameLength || n > Remaining(Source)) throw EInvalidArchive();
    std::string name(static_cast<size_t>(n), '\0');
    if (n > 0) Source.ReadBuffer(name.data(), n);
    const int32_t size = ReadInt32(Source);
    total += size;
    if (size < 0 || size > MaxEntrySize || total > MaxTotalSize) throw EInvalidArchive();
    std::unique_ptr<TMemoryStream> data = Inflate(Source, size);
    if (UpperCase(name) == DescriptionName) {
      // A later description replaces an earlier one.
      Convertor.Description = std::move(data);
    } else {
      const bool isBmp = UpperCase(ExtractFileExt(name)) == ".BMP";
      Convertor.Items.push_back(TvlImageItem{std::move(name), isBmp, std::move(data)});
    }
  }
}

}  // namespace

const TClassInfo& TvlSkinConvertor::StaticClass() {
  static const TClassInfo info("TvlSkinConvertor", &TPersistent::StaticClass());
  return info;
}

TvlSkinConvertor::TvlSkinConvertor() = default;

TvlSkinConvertor::~TvlSkinConvertor() {
  Clear();
}

void TvlSkinConvertor::Clear() {
  while (!Items.empty()) {
    KeepSpare(Items.back().Stream);
    Items.pop_back();
  }
  KeepSpare(Description);
  ImageCount = 0;
}

void FreeSpareArchiveFiles() {
  SpareFiles().Free();
}

TMemoryStream* TvlSkinConvertor::FindItem(const std::string& Name) const {
  const std::string wanted = UpperCase(Name);
  for (const TvlImageItem& item : Items)
    if (UpperCase(item.Name) == wanted) return item.Stream.get();
  return nullptr;
}

bool ReadPackedSkin(TvlSkinConvertor& Convertor, TsSkinManager* Manager) {
  TStream& source = *Convertor.Source;
  try {
    char header[HeaderSize];
    {
      TPlainDialogsScope plain(Manager);
      source.SetPosition(0);
      if (source.Size() < HeaderSize) throw EInvalidArchive();
      source.ReadBuffer(header, HeaderSize);
      if (std::memcmp(header, Signature, sizeof Signature) != 0) {
        MessageDlg("Loaded data is not a packed Quenmark file", mtError, MsgDlgButtons({mbOK}), 0);
        return false;
      }
    }
    int32_t entryCount = 0;
    std::memcpy(&entryCount, header + 4, 4);
    if (entryCount < 0 || entryCount > Remaining(source) / MinEntrySize) throw EInvalidArchive();
    Convertor.ImageCount = entryCount - 1;
    ReadEntries(Convertor, source, entryCount);
    return true;
  } catch (const Exception&) {
    Convertor.Clear();
    throw EInvalidArchive();
  }
}

bool ReadPackedSkinFrom(TStream& Source, TvlSkinConvertor& Convertor, TsSkinManager* Manager) {
  Convertor.Source = &Source;
  struct Detach {
    TvlSkinConvertor& c;
    ~Detach() { c.Source = nullptr; }
  } detach{Convertor};
  return ReadPackedSkin(Convertor, Manager);
}

bool ReadPackedSkinFile(const std::string& FileName, std::unique_ptr<TvlSkinConvertor>& Convertor,
                        TsSkinManager* Manager) {
  if (!FileExists(FileName)) return true;
  if (Convertor)
    Convertor->Clear();
  else
    Convertor = std::make_unique<TvlSkinConvertor>();
  TMemoryStream data;
  data.LoadFromFile(FileName);
  return ReadPackedSkinFrom(data, *Convertor, Manager);
}

bool ReadArchivePreview(TMemoryStream& Dest, TStream& Source) {
  TMemoryStream all;
  Source.SetPosition(0);
  all.CopyFrom(Source, Source.Size());
  const auto* bytes = static_cast<const char*>(all.Memory());
  const std::string_view view(bytes ? bytes : "", static_cast<size_t>(all.Size()));
  const size_t at = view.find(std::string_view(PreviewMarker, PreviewMarkerSize));
  if (at == std::string_view::npos) return false;
  all.SetPosition(static_cast<int32_t>(at) + PreviewMarkerSize);
  if (Remaining(all) < 4) return false;
  const int32_t length = ReadInt32(all);
  if (length < 0 || length > Remaining(all)) return false;
  Dest.SetSize(length);
  Dest.SetPosition(0);
  Dest.CopyFrom(all, length);
  Dest.SetPosition(0);
  return true;
}

bool ReadArchiveFilePreview(TMemoryStream& Dest, const std::string& FileName) {
  if (!FileExists(FileName)) return false;
  TMemoryStream data;
  data.LoadFromFile(FileName);
  return ReadArchivePreview(Dest, data);
}
