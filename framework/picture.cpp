#include "framework/picture.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageReader>
#include <algorithm>

#include "framework/graphics.h"
#include "framework/platform.h"

namespace fw {
namespace {

std::string& ResourceFolderOverride() {
  static std::string folder;
  return folder;
}

bool IsPictureName(const std::string& name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  });
}

}  // namespace

Picture::Picture(std::unique_ptr<PictureData> data) : data_(std::move(data)) {}
Picture::~Picture() = default;

int64_t Picture::Width() const { return data_->image.width(); }
int64_t Picture::Height() const { return data_->image.height(); }

void SetResourceFolder(const std::string& path) { ResourceFolderOverride() = path; }

std::string ResourceFolder() {
  if (!ResourceFolderOverride().empty()) return ResourceFolderOverride();
  const QString beside = QCoreApplication::applicationDirPath() + "/" FW_RESOURCE_PATH;
  return QDir::cleanPath(beside).toStdString();
}

// The image reader keeps its allocation limit, so a picture claiming an
// absurd size is refused rather than allocated.
Ref<Picture> Picture::OpenFromApp(const std::string& name) {
  if (!IsPictureName(name)) return {};
  QImageReader reader(QString::fromStdString(ResourceFolder() + "/" + name + ".png"), "png");
  QImage image = reader.read();
  if (image.isNull()) return {};
  auto data = std::make_unique<PictureData>();
  data->image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return std::make_shared<Picture>(std::move(data));
}

void Graphics::DrawPicture(const Ref<Picture>& picture, double destX, double destY, double destWidth,
                           double destHeight, double sourceX, double sourceY, double sourceWidth,
                           double sourceHeight) {
  platform_.painter.setRenderHint(QPainter::SmoothPixmapTransform);
  platform_.painter.drawImage(QRectF(destX, destY, destWidth, destHeight), picture->Data().image,
                              QRectF(sourceX, sourceY, sourceWidth, sourceHeight));
}

}  // namespace fw
