// Small skins written by the tests themselves: a temporary folder, text
// files, and 24-bit BMP files drawn pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "widgets/graphics/bitmap.h"
#include "widgets/forms/message_box.h"

// Records every message box instead of showing it.
class TBoxLog : public TMessageBoxSink {
 public:
  int Show(const TMessageBoxRequest& Request) override {
    Texts.push_back(Request.Text);
    return IDOK;
  }
  std::vector<std::string> Texts;
};

// A fresh folder under the temporary folder, removed with its content.
class TempFolder {
 public:
  TempFolder() {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    path_ = std::string(dir) + "skinmgr" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(counter_++);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempFolder() { Remove(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }
  void Folder(const std::string& Name) { CreateDirectoryA((path_ + "\\" + Name).c_str(), nullptr); }
  void File(const std::string& Name) { Text(Name, ""); }
  void Text(const std::string& Name, const std::string& Content) {
    HANDLE h = CreateFileA((path_ + "\\" + Name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, Content.data(), static_cast<DWORD>(Content.size()), &written, nullptr);
    CloseHandle(h);
  }
  // A 24-bit BMP whose pixel (x, y) is Color(x, y) as 0xRRGGBB.
  void Bmp(const std::string& Name, int Width, int Height,
           const std::function<uint32_t(int, int)>& Color) {
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(Width, Height);
    for (int y = 0; y < Height; ++y) {
      auto* row = static_cast<uint8_t*>(b.ScanLine(y));
      for (int x = 0; x < Width; ++x) {
        const uint32_t c = Color(x, y);
        row[3 * x] = static_cast<uint8_t>(c);
        row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
        row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
      }
    }
    b.SaveToFile(path_ + "\\" + Name);
  }

 private:
  static void Remove(const std::string& Path) {
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((Path + "\\*").c_str(), &f);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        std::string name = f.cFileName;
        if (name == "." || name == "..") continue;
        if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          Remove(Path + "\\" + name);
        else
          DeleteFileA((Path + "\\" + name).c_str());
      } while (FindNextFileA(h, &f));
      FindClose(h);
    }
    RemoveDirectoryA(Path.c_str());
  }
  static inline int counter_ = 0;
  std::string path_;
};
