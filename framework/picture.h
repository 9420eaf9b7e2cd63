#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/ref.h"

namespace fw {

struct PictureData;

// An image, shared and never changed once opened.
class Picture {
 public:
  explicit Picture(std::unique_ptr<PictureData> data);
  ~Picture();

  // Opens the application's picture of that name, or gives nil when the name
  // holds anything but letters and digits or no readable picture has it.
  static Ref<Picture> OpenFromApp(const std::string& name);

  int64_t Width() const;
  int64_t Height() const;
  const PictureData& Data() const { return *data_; }

 private:
  std::unique_ptr<PictureData> data_;
};

// The folder the application's pictures are read from: the installed data
// folder, by its path relative to the program's folder (../share/karuta/resources
// by default). Tests may point it elsewhere; an empty path restores it.
void SetResourceFolder(const std::string& path);
std::string ResourceFolder();

}  // namespace fw
