#include <QApplication>
#include <QFont>

#include "framework/platform.h"

namespace fw {
namespace {

// Font names of the layout that no Linux system has.
const char* const kMinchoNames[] = {"MS明朝", "MS 明朝", "平成明朝", "魚石行書"};
const char* const kMinchoFaces[] = {"IPAMincho", "IPAexMincho", "Noto Serif CJK JP"};

}  // namespace

void InstallFontSubstitutions() {
  QStringList faces;
  for (const char* face : kMinchoFaces) faces << QString::fromUtf8(face);
  for (const char* name : kMinchoNames) QFont::insertSubstitutions(QString::fromUtf8(name), faces);
}

QFont FontFor(const std::string& name, double size, bool bold, bool italic, bool underline) {
  QFont font = QApplication::font();
  if (name != "System" && !name.empty()) font.setFamily(QString::fromStdString(name));
  if (size > 0) font.setPixelSize(static_cast<int>(size + 0.5));
  font.setBold(bold);
  font.setItalic(italic);
  font.setUnderline(underline);
  return font;
}

}  // namespace fw
