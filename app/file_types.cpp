#include "app/file_types.h"

namespace FileTypes {

fw::Ref<fw::FileType> pText;
std::vector<fw::Ref<fw::FileType>> pAllFileTypes;

fw::Ref<fw::FileType> Text() { return pText; }

void Initialize() {
  pText = std::make_shared<fw::FileType>();
  pText->Name("text");
  pText->Extensions("");
  pText->MacType("TEXT");
  pText->MacCreator("R*er");
  pText->MimeType("");
  pText->Imported(true);
  pText->ConformsTo("");
  pAllFileTypes.push_back(pText);
  Text()->Operator_Convert();
}

}  // namespace FileTypes
