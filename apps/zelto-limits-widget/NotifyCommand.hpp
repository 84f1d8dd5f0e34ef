#pragma once

#include "apps/zelto-limits-widget/StatusCommand.hpp"

namespace zelto::cli {

// `notify on|off|status`: turns the host's desktop notifications on or off
// in host.ini, or says whether they are on ("on" or "off").
RegisteredCommand registerNotifyCommand(CLI::App& program);

}  // namespace zelto::cli
