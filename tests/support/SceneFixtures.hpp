#pragma once

#include <filesystem>
#include <memory>

#include "apps/zelto-limits-widget/WidgetScene.hpp"
#include "platform/render/FontProbe.hpp"
#include "platform/render/PangoTextSystem.hpp"
#include "tests/support/Dashboards.hpp"
#include "tests/support/Environments.hpp"
#include "widget/model/SampleData.hpp"

namespace zelto::testing {

// Texts shaped with the fonts the setup script installs (Inter and DejaVu),
// whatever else the machine has.
inline const render::PangoTextSystem& sceneTextSystem() {
  static const render::PangoTextSystem system(std::make_shared<const render::FontProbe>(
      std::filesystem::path(ZELTO_SOURCE_DIR) / "tests/platform/render/fonts.conf"));
  return system;
}

// The fixed request of view tests and goldens: Wednesday 2025-03-12 10:00
// UTC, weeks from Monday, US English; the suite is never read.
inline host::RequestEnvironment sceneRequest() { return environmentIn("/nonexistent"); }

// The sample dashboard as built at the fixed request's time.
inline ZeltoDashboardSnapshot sampleAt(const host::RequestEnvironment& request) {
  return makeSampleDashboard(request.now, request.calendar);
}

inline kit::LaidOutTree sceneOf(const LimitEntry& entry, kit::WidgetFamily family,
                                const host::RequestEnvironment& request = sceneRequest()) {
  return scene::layoutScene(entry, request, scene::settingsFor(family), sceneTextSystem());
}

}  // namespace zelto::testing
