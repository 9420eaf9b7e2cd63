#pragma once

#include <cstdint>
#include <string>

#include "framework/menu.h"
#include "framework/ref.h"

namespace fw {

struct VersionData {
  int64_t majorVersion = 0, minorVersion = 0, bugVersion = 0, nonReleaseVersion = 0, stageCode = 0;
  std::string longVersion, shortVersion, packageInfo;
};

// The application object; the program derives its own class from it.
class Application {
 public:
  virtual ~Application() = default;
  // Runs after the object is made; does nothing here.
  virtual void Constructor() {}

  // Declares whether the application draws at high resolution; takes effect
  // when the framework initialises itself.
  static void SetSupportsHiDPI(bool on);

  void x_SetVersionData(int64_t majorVersion, int64_t minorVersion, int64_t bugVersion, int64_t nonReleaseVersion,
                        int64_t stageCode, std::string longVersion, std::string shortVersion,
                        std::string packageInfo);
  const VersionData& Version() const { return version_; }

  void MenuBar(Ref<fw::MenuBar> bar) { menuBar_ = std::move(bar); }
  Ref<fw::MenuBar> MenuBar() const { return menuBar_; }

 private:
  VersionData version_;
  Ref<fw::MenuBar> menuBar_;
};

}  // namespace fw
