#include "framework/filetype.h"

#include <algorithm>

#include "framework/runtime_state.h"

namespace fw {

void FileType::Imported(bool value) {
  Withdraw();
  imported_ = value;
}

void FileType::Withdraw() {
  if (!registered_) return;
  auto& types = detail::State().fileTypes;
  auto it = std::find_if(types.begin(), types.end(), [&](const auto& t) { return t.name == name_; });
  if (it != types.end()) types.erase(it);
  registered_ = false;
}

std::string FileType::Operator_Convert() {
  if (!registered_) {
    detail::State().fileTypes.push_back({name_, macCreator_, macType_, extensions_, uti_});
    registered_ = true;
  }
  return name_;
}

const std::vector<FileTypeRegistration>& RegisteredFileTypes() { return detail::State().fileTypes; }

}  // namespace fw
