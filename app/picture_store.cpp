#include "app/picture_store.h"

namespace karuta {
namespace {

PictureOpener& Opener() {
  static PictureOpener opener = fw::Picture::OpenFromApp;
  return opener;
}

// One name's cache slot and initialised flag.
struct PictureSlot {
  bool initialised = false;
  fw::Ref<fw::Picture> pic;

  fw::Ref<fw::Picture> Get(const char* name) {
    if (!initialised) {
      initialised = true;
      pic.reset();
    }
    if (!pic) pic = Opener()(name);
    return pic;
  }
};

#define KARUTA_DEFINE_SLOT(name) PictureSlot name##Slot;
KARUTA_PICTURES(KARUTA_DEFINE_SLOT)
#undef KARUTA_DEFINE_SLOT

}  // namespace

#define KARUTA_DEFINE_PICTURE(name) \
  fw::Ref<fw::Picture> name() { return name##Slot.Get(#name); }
KARUTA_PICTURES(KARUTA_DEFINE_PICTURE)
#undef KARUTA_DEFINE_PICTURE

void SetPictureOpener(PictureOpener opener) {
  Opener() = opener ? std::move(opener) : PictureOpener(fw::Picture::OpenFromApp);
}

void ResetPictureStore() {
#define KARUTA_RESET_SLOT(name) name##Slot = PictureSlot{};
  KARUTA_PICTURES(KARUTA_RESET_SLOT)
#undef KARUTA_RESET_SLOT
}

}  // namespace karuta
