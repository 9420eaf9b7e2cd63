#pragma once

#include <vector>

#include "framework/filetype.h"

// The document types the application declares: one, "text".
namespace FileTypes {

extern fw::Ref<fw::FileType> pText;
extern std::vector<fw::Ref<fw::FileType>> pAllFileTypes;

fw::Ref<fw::FileType> Text();
// Builds the type "text" and registers it with the framework.
void Initialize();

}  // namespace FileTypes
