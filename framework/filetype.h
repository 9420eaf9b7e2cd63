#pragma once

#include <string>
#include <vector>

#include "framework/ref.h"

namespace fw {

// A document type the application declares. Changing a field withdraws the
// registration; converting the type to text registers it.
class FileType {
 public:
  void Name(std::string value) { Set(name_, std::move(value)); }
  const std::string& Name() const { return name_; }
  void Extensions(std::string value) { Set(extensions_, std::move(value)); }
  const std::string& Extensions() const { return extensions_; }
  void MacType(std::string value) { Set(macType_, std::move(value)); }
  const std::string& MacType() const { return macType_; }
  void MacCreator(std::string value) { Set(macCreator_, std::move(value)); }
  const std::string& MacCreator() const { return macCreator_; }
  void MimeType(std::string value) { Set(mimeType_, std::move(value)); }
  const std::string& MimeType() const { return mimeType_; }
  void Imported(bool value);
  bool Imported() const { return imported_; }
  void ConformsTo(std::string value) { Set(conformsTo_, std::move(value)); }
  const std::string& ConformsTo() const { return conformsTo_; }
  const std::string& UTI() const { return uti_; }

  bool IsRegistered() const { return registered_; }
  // Registers the type if it is not yet, and gives its name.
  std::string Operator_Convert();

 private:
  void Withdraw();
  void Set(std::string& field, std::string value) {
    Withdraw();
    field = std::move(value);
  }

  std::string name_, extensions_, macType_, macCreator_, mimeType_, conformsTo_, uti_;
  bool imported_ = false;
  bool registered_ = false;
};

// What the framework holds of a registered type.
struct FileTypeRegistration {
  std::string name, creator, type, extensions, uti;
};
const std::vector<FileTypeRegistration>& RegisteredFileTypes();

}  // namespace fw
