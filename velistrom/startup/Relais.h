#pragma once
// What the start-up chain asks of the main window: to show it when the banner
// closes, and its colour for the tip window when it is already loaded. The main
// window plugs itself in; tests of the start-up alone put their own in place.
#include "platform/forms/Runtime.h"

#include <functional>
#include <optional>

namespace startup {

struct MainSide {
  std::function<void()> show;
  // Empty when the main window is not loaded: asking must never load it.
  std::function<std::optional<vb::Color>()> backColor;
};

void setMainSide(MainSide side);
const MainSide& mainSide();

}  // namespace startup
