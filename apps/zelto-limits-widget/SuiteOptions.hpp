#pragma once

#include <stdexcept>

#include "apps/zelto-limits-widget/RequestOptions.hpp"
#include "platform/defaults/Suite.hpp"
#include "widget/model/SharedSnapshotStore.hpp"

namespace zelto::cli {

// The suite could not be read or written now: another process held it past
// the wait, or the disk failed. One line, exit status 3.
class SuiteBusyError : public std::runtime_error {
 public:
  explicit SuiteBusyError(const std::string& reason) : std::runtime_error("the suite is busy: " + reason) {}
};

// Where the widget's suite lives for this run: --dir, else
// $ZELTO_LIMITS_DEFAULTS_DIR, else the default folder; --suite, else the
// app group's suite. Throws UsageError when the suite cannot be used for
// `access` (the same checks the suite itself makes before falling back).
SharedContainer resolveContainer(const RequestOptions& options, const locale::EnvironmentLookup& environment,
                                 defaults::SuiteAccess access);

}  // namespace zelto::cli
