// Writes components as form descriptions; used by tests to check what a
// class stores and that a description reads back to the same values.
#include <vector>

#include "widgets/rtl/classes.h"
#include "widgets/rtl/form_reader.h"
#include "widgets/graphics/colors.h"
#include "widgets/rtl/reflection.h"
#include "widgets/rtl/sysutils.h"

namespace {

std::string Quote(const std::string& s) {
  if (s.empty()) return "''";
  std::string r;
  bool open = false;
  for (char ch : s) {
    auto c = static_cast<unsigned char>(ch);
    if (c < ' ') {
      if (open) r += '\'';
      open = false;
      r += '#' + std::to_string(c);
    } else {
      if (!open) r += '\'';
      open = true;
      r += ch;
      if (ch == '\'') r += '\'';
    }
  }
  if (open) r += '\'';
  return r;
}

std::string HexLines(const std::vector<uint8_t>& bytes, const std::string& indent) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string r = "{";
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % 32 == 0) r += "\n" + indent + "  ";  // 64 digits per line
    r += kHex[bytes[i] >> 4];
    r += kHex[bytes[i] & 15];
  }
  return r + "}";
}

// Collects the binary properties a class defines, with their data.
class BinaryWriterFiler : public TFiler {
 public:
  struct Block {
    std::string Name;
    std::vector<uint8_t> Data;
  };
  void DefineBinaryProperty(const std::string& name, TObject* instance, TStreamProc,
                            TStreamProc write, bool hasData) override {
    if (!hasData || !write) return;
    TMemoryStream data;
    write(instance, data);
    const auto* p = static_cast<const uint8_t*>(data.Memory());
    blocks.push_back({name, std::vector<uint8_t>(p, p + data.Size())});
  }
  std::vector<Block> blocks;
};

class FormWriter {
 public:
  explicit FormWriter(TComponent* root) : root_(root) {}

  std::string Write() {
    WriteObject(root_, "");
    return out_;
  }

 private:
  void WriteObject(TComponent* c, const std::string& indent) {
    out_ +=
        indent + "object " + (c->Name().empty() ? "" : c->Name() + ": ") + c->ClassName() + "\n";
    WriteProps(c, "", indent + "  ");
    std::vector<TComponent*> children;
    c->GetChildren(children, root_);
    for (TComponent* child : children) WriteObject(child, indent + "  ");
    out_ += indent + "end\n";
  }

  void WriteProps(TObject* obj, const std::string& prefix, const std::string& indent) {
    for (const TPropInfo* p : obj->ClassType().AllProps()) {
      // A component's name is written in its object line.
      if (prefix.empty() && dynamic_cast<TComponent*>(obj) && SameText(p->Name, "Name")) continue;
      if (p->Stored && !p->Stored(obj)) continue;
      WriteProp(obj, *p, prefix + p->Name, indent);
    }
    if (auto* persistent = dynamic_cast<TPersistent*>(obj)) {
      BinaryWriterFiler filer;
      persistent->DefineProperties(filer);
      for (const auto& b : filer.blocks)
        out_ += indent + prefix + b.Name + " = " + HexLines(b.Data, indent) + "\n";
    }
  }

  void Line(const std::string& indent, const std::string& name, const std::string& value) {
    out_ += indent + name + " = " + value + "\n";
  }

  void WriteProp(TObject* obj, const TPropInfo& p, const std::string& name,
                 const std::string& indent) {
    if (p.IsOrdinal()) {
      if (!p.SetOrd) return;
      int64_t v = p.GetOrd(obj);
      if (p.HasDefault && v == p.Default) return;
      std::string text;
      switch (p.Kind) {
        case TPropKind::Boolean:
          text = v ? "True" : "False";
          break;
        case TPropKind::Enumeration:
          text = p.Enum ? p.Enum->NameOf(v) : std::to_string(v);
          break;
        case TPropKind::Set: {
          std::string members = p.Enum ? SetToString(*p.Enum, v) : std::string();
          for (size_t i = 0; i < members.size(); ++i)
            text += members[i] == ',' ? std::string(", ") : std::string(1, members[i]);
          text = "[" + text + "]";
          break;
        }
        case TPropKind::Char:
          text = Quote(std::string(1, static_cast<char>(v)));
          break;
        case TPropKind::Color:
          if (!ColorToIdent(static_cast<TColor>(v), text)) text = std::to_string(v);
          break;
        default:
          text = std::to_string(v);
      }
      return Line(indent, name, text);
    }
    switch (p.Kind) {
      case TPropKind::String:
        if (p.SetStr) Line(indent, name, Quote(p.GetStr(obj)));
        return;
      case TPropKind::Float:
        if (p.SetFloat) Line(indent, name, FloatToStr(p.GetFloat(obj)));
        return;
      case TPropKind::Component: {
        auto* c = dynamic_cast<TComponent*>(p.GetObj(obj));
        if (c && p.SetObj && !c->Name().empty()) Line(indent, name, c->Name());
        return;
      }
      case TPropKind::Method:
        return WriteMethod(obj, p, name, indent);
      case TPropKind::Strings: {
        auto* s = dynamic_cast<TStrings*>(p.GetObj(obj));
        if (!s || s->Count() == 0) return;
        out_ += indent + name + ".Strings = (";
        for (int i = 0; i < s->Count(); ++i) out_ += "\n" + indent + "  " + Quote(s->Strings(i));
        out_ += ")\n";
        return;
      }
      case TPropKind::Collection: {
        auto* coll = dynamic_cast<TCollection*>(p.GetObj(obj));
        if (!coll) return;
        out_ += indent + name + " = <";
        for (int i = 0; i < coll->Count(); ++i) {
          out_ += "\n" + indent + "  item\n";
          WriteProps(coll->Items(i), "", indent + "    ");
          out_ += indent + "  end";
        }
        out_ += ">\n";
        return;
      }
      case TPropKind::Object:
        if (TObject* sub = p.GetObj(obj)) WriteProps(sub, name + ".", indent);
        return;
      default:
        return;
    }
  }

  void WriteMethod(TObject* obj, const TPropInfo& p, const std::string& name,
                   const std::string& indent) {
    TMethod m = p.GetMethod ? p.GetMethod(obj) : TMethod{};
    if (!m || m.Data != root_) return;
    for (const TClassInfo* c = &root_->ClassType(); c; c = c->Parent())
      for (const TPublishedMethod& pm : c->OwnMethods())
        if (pm.Make(root_) == m) return Line(indent, name, pm.Name);
  }

  TComponent* root_;
  std::string out_;
};

}  // namespace

std::string WriteComponentToText(TComponent* Root) {
  return FormWriter(Root).Write();
}
