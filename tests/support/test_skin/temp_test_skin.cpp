#include "temp_test_skin.h"

#include <windows.h>

#include <fstream>
#include <stdexcept>
#include <vector>

#include "archive_writer.h"

namespace test_skin {

TempTestSkin::TempTestSkin(const std::string& Prefix, const std::string& Variant,
                           const std::string& Name, TempSkinForm Form)
    : name_(Name.empty() ? Variant : Name) {
  // Two objects of one process are alive at once in some tests.
  static int serial = 0;
  dir_ = std::filesystem::temp_directory_path() /
         (Prefix + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial));
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
  if (Form == TempSkinForm::Folder) {
    manifest_ = WriteTestSkin(dir_ / name_, Variant);
    return;
  }
  std::filesystem::create_directories(dir_);
  const std::vector<uint8_t> archive = PackTestSkinWithPreview(Variant);
  std::ofstream out(dir_ / (name_ + ".qmz"), std::ios::binary);
  out.write(reinterpret_cast<const char*>(archive.data()), std::streamsize(archive.size()));
  if (!out) throw std::runtime_error("cannot write the archive " + name_);
}

TempTestSkin::~TempTestSkin() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

}  // namespace test_skin
