#pragma once

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// The identity line at the top of an account card: the account glyph, the
// display name, an amber warning triangle when the account carries an error
// message (of any text, even empty; the message itself is not shown), and,
// in the full variant, the e-mail on a second line that starts under the
// name. The e-mail line is left out where it would repeat the name (compared
// exactly, case included) and in the compact variant.
struct AccountWidgetHeader {
  ZeltoAccountSnapshot account;
  bool compact = false;

  kit::View body(const kit::Environment& environment) const;
};

}  // namespace zelto
