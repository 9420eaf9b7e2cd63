#pragma once

#include <functional>
#include <string>

#include "framework/picture.h"

// The application's pictures by name: each is opened on first use and kept
// for the rest of the run. A name that yields no picture is tried again on
// the next request.
namespace karuta {

#define KARUTA_CARD_PICTURES_OF_TENS(X, tens)                                                                \
  X(karuta##tens##0) X(karuta##tens##1) X(karuta##tens##2) X(karuta##tens##3) X(karuta##tens##4) \
      X(karuta##tens##5) X(karuta##tens##6) X(karuta##tens##7) X(karuta##tens##8) X(karuta##tens##9)

// The card pictures karuta0 to karuta99, in card-number order.
#define KARUTA_CARD_PICTURES(X)                                                                               \
  KARUTA_CARD_PICTURES_OF_TENS(X, ) KARUTA_CARD_PICTURES_OF_TENS(X, 1) KARUTA_CARD_PICTURES_OF_TENS(X, 2)   \
  KARUTA_CARD_PICTURES_OF_TENS(X, 3) KARUTA_CARD_PICTURES_OF_TENS(X, 4) KARUTA_CARD_PICTURES_OF_TENS(X, 5) \
  KARUTA_CARD_PICTURES_OF_TENS(X, 6) KARUTA_CARD_PICTURES_OF_TENS(X, 7) KARUTA_CARD_PICTURES_OF_TENS(X, 8) \
  KARUTA_CARD_PICTURES_OF_TENS(X, 9)

#define KARUTA_PICTURES(X) KARUTA_CARD_PICTURES(X) X(Green)

#define KARUTA_DECLARE_PICTURE(name) fw::Ref<fw::Picture> name();
KARUTA_PICTURES(KARUTA_DECLARE_PICTURE)
#undef KARUTA_DECLARE_PICTURE

using PictureAccessor = fw::Ref<fw::Picture> (*)();

// How the store opens a picture; fw::Picture::OpenFromApp unless a test
// installs another. An empty function restores it.
using PictureOpener = std::function<fw::Ref<fw::Picture>(const std::string& name)>;
void SetPictureOpener(PictureOpener opener);
// Empties every slot and clears every flag, as at program start.
void ResetPictureStore();

}  // namespace karuta
