#pragma once

#include <cstdint>

#include "framework/picture.h"
#include "framework/ref.h"

namespace fw {

struct GraphicsPlatform;

// A drawing context, valid during one Paint event.
class Graphics {
 public:
  explicit Graphics(GraphicsPlatform& platform) : platform_(platform) {}

  // Draws the source rectangle of the picture scaled smoothly into the
  // destination rectangle. A nil picture raises NilObjectException.
  void DrawPicture(const Ref<Picture>& picture, double destX, double destY, double destWidth, double destHeight,
                   double sourceX, double sourceY, double sourceWidth, double sourceHeight);

 private:
  GraphicsPlatform& platform_;
};

}  // namespace fw
