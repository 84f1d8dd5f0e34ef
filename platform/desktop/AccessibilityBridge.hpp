#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "platform/kit/Accessibility.hpp"

namespace zelto::desktop {

// What a drawn widget tells assistive technologies: its accessibility
// elements (frames in the canvas widget's coordinates) and how to press a
// button among them.
class AccessibleContent {
 public:
  virtual ~AccessibleContent() = default;
  virtual const std::vector<kit::AccessibilityElement>& accessibilityElements() const = 0;
  // Presses the enabled button with `identity`; false when there is none.
  virtual bool pressButton(const std::string& identity) = 0;
};

// The accessible type of a canvas widget (for gtk_widget_class_set_accessible_type):
// every element of the canvas's content is an accessible child with its
// label as name, a role (push button or label), its extents on screen, and
// for enabled buttons a "press" action.
GType canvasAccessibleType();

// Ties `content` to `canvas` (which must use canvasAccessibleType); `content`
// must outlive the canvas or be detached by passing nullptr.
void attachAccessibleContent(GtkWidget* canvas, AccessibleContent* content);

// Tells assistive technologies that the elements changed: the old children
// go away and the new ones come.
void accessibleContentChanged(GtkWidget* canvas);

}  // namespace zelto::desktop
