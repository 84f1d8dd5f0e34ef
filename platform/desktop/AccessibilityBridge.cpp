#include "platform/desktop/AccessibilityBridge.hpp"

#include <gtk/gtk-a11y.h>

namespace zelto::desktop {

namespace {

constexpr const char* contentKey = "zelto-accessible-content";

AccessibleContent* contentOf(GtkWidget* canvas) {
  return canvas != nullptr ? static_cast<AccessibleContent*>(g_object_get_data(G_OBJECT(canvas), contentKey)) : nullptr;
}

// ---- One element ----------------------------------------------------------

struct ElementAccessible {
  AtkObject parent;
  GtkWidget* canvas;  // weak: the canvas accessible drops its children before the canvas goes
  guint index;
};
struct ElementAccessibleClass {
  AtkObjectClass parentClass;
};

void elementComponentInit(AtkComponentIface* iface);
void elementActionInit(AtkActionIface* iface);

G_DEFINE_TYPE_WITH_CODE(ElementAccessible, element_accessible, ATK_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, elementComponentInit)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, elementActionInit))

ElementAccessible* asElement(gpointer object) {
  return G_TYPE_CHECK_INSTANCE_CAST(object, element_accessible_get_type(), ElementAccessible);
}

// The element this accessible stands for, or nullptr once the content moved on.
const kit::AccessibilityElement* elementOf(gpointer object) {
  const auto* accessible = asElement(object);
  auto* content = contentOf(accessible->canvas);
  if (content == nullptr || accessible->index >= content->accessibilityElements().size()) return nullptr;
  return &content->accessibilityElements()[accessible->index];
}

const gchar* elementName(AtkObject* object) {
  const auto* element = elementOf(object);
  return element != nullptr ? element->label.c_str() : "";
}

AtkRole elementRole(AtkObject* object) {
  const auto* element = elementOf(object);
  return element != nullptr && element->isButton ? ATK_ROLE_PUSH_BUTTON : ATK_ROLE_LABEL;
}

gint elementIndexInParent(AtkObject* object) { return static_cast<gint>(asElement(object)->index); }

AtkStateSet* elementStates(AtkObject* object) {
  AtkStateSet* states = atk_state_set_new();
  const auto* element = elementOf(object);
  if (element == nullptr) {
    atk_state_set_add_state(states, ATK_STATE_DEFUNCT);
    return states;
  }
  atk_state_set_add_state(states, ATK_STATE_VISIBLE);
  atk_state_set_add_state(states, ATK_STATE_SHOWING);
  if (element->isButton) {
    atk_state_set_add_state(states, ATK_STATE_FOCUSABLE);
    if (element->isEnabled) {
      atk_state_set_add_state(states, ATK_STATE_ENABLED);
      atk_state_set_add_state(states, ATK_STATE_SENSITIVE);
    }
  } else {
    atk_state_set_add_state(states, ATK_STATE_ENABLED);
  }
  return states;
}

void element_accessible_init(ElementAccessible* accessible) {
  accessible->canvas = nullptr;
  accessible->index = 0;
}

void element_accessible_class_init(ElementAccessibleClass* klass) {
  auto* atkClass = ATK_OBJECT_CLASS(klass);
  atkClass->get_name = elementName;
  atkClass->get_role = elementRole;
  atkClass->get_index_in_parent = elementIndexInParent;
  atkClass->ref_state_set = elementStates;
}

void elementExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height, AtkCoordType coordinates) {
  *x = *y = *width = *height = 0;
  const auto* element = elementOf(component);
  GtkWidget* canvas = asElement(component)->canvas;
  if (element == nullptr || !gtk_widget_get_realized(canvas)) return;
  gint originX = 0;
  gint originY = 0;
  if (coordinates == ATK_XY_SCREEN) {
    gdk_window_get_origin(gtk_widget_get_window(canvas), &originX, &originY);
  } else if (coordinates == ATK_XY_WINDOW) {
    gtk_widget_translate_coordinates(canvas, gtk_widget_get_toplevel(canvas), 0, 0, &originX, &originY);
  }
  *x = originX + static_cast<gint>(element->frame.x);
  *y = originY + static_cast<gint>(element->frame.y);
  *width = static_cast<gint>(element->frame.width + 0.5);
  *height = static_cast<gint>(element->frame.height + 0.5);
}

void elementComponentInit(AtkComponentIface* iface) { iface->get_extents = elementExtents; }

bool isPressable(const kit::AccessibilityElement* element) {
  return element != nullptr && element->isButton && element->isEnabled;
}

gint elementActionCount(AtkAction* action) { return isPressable(elementOf(action)) ? 1 : 0; }

gboolean elementDoAction(AtkAction* action, gint index) {
  const auto* element = elementOf(action);
  if (index != 0 || !isPressable(element)) return FALSE;
  auto* content = contentOf(asElement(action)->canvas);
  return content->pressButton(element->identity) ? TRUE : FALSE;
}

const gchar* elementActionName(AtkAction* action, gint index) {
  return index == 0 && isPressable(elementOf(action)) ? "press" : nullptr;
}

void elementActionInit(AtkActionIface* iface) {
  iface->get_n_actions = elementActionCount;
  iface->do_action = elementDoAction;
  iface->get_name = elementActionName;
}

// ---- The canvas -----------------------------------------------------------

struct CanvasAccessible {
  GtkWidgetAccessible parent;
  GPtrArray* children;  // ElementAccessible, one per element, made on demand
};
struct CanvasAccessibleClass {
  GtkWidgetAccessibleClass parentClass;
};

G_DEFINE_TYPE(CanvasAccessible, canvas_accessible, GTK_TYPE_WIDGET_ACCESSIBLE)

CanvasAccessible* asCanvas(gpointer object) {
  return G_TYPE_CHECK_INSTANCE_CAST(object, canvas_accessible_get_type(), CanvasAccessible);
}

GtkWidget* canvasWidget(AtkObject* object) { return gtk_accessible_get_widget(GTK_ACCESSIBLE(object)); }

gint canvasChildCount(AtkObject* object) {
  auto* content = contentOf(canvasWidget(object));
  return content != nullptr ? static_cast<gint>(content->accessibilityElements().size()) : 0;
}

AtkObject* canvasChild(AtkObject* object, gint index) {
  auto* self = asCanvas(object);
  if (index < 0 || index >= canvasChildCount(object)) return nullptr;
  const auto position = static_cast<guint>(index);
  if (self->children->len <= position) g_ptr_array_set_size(self->children, static_cast<gint>(position + 1));
  auto*& slot = reinterpret_cast<AtkObject*&>(self->children->pdata[position]);
  if (slot == nullptr) {
    auto* child = asElement(g_object_new(element_accessible_get_type(), nullptr));
    child->canvas = canvasWidget(object);
    child->index = position;
    slot = ATK_OBJECT(child);
    atk_object_set_parent(slot, object);
  }
  return ATK_OBJECT(g_object_ref(slot));
}

void canvas_accessible_init(CanvasAccessible* accessible) {
  accessible->children = g_ptr_array_new_with_free_func(g_object_unref);
}

void canvasFinalize(GObject* object) {
  g_ptr_array_unref(asCanvas(object)->children);
  G_OBJECT_CLASS(canvas_accessible_parent_class)->finalize(object);
}

void canvas_accessible_class_init(CanvasAccessibleClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = canvasFinalize;
  auto* atkClass = ATK_OBJECT_CLASS(klass);
  atkClass->get_n_children = canvasChildCount;
  atkClass->ref_child = canvasChild;
}

}  // namespace

GType canvasAccessibleType() { return canvas_accessible_get_type(); }

void attachAccessibleContent(GtkWidget* canvas, AccessibleContent* content) {
  g_object_set_data(G_OBJECT(canvas), contentKey, content);
}

void accessibleContentChanged(GtkWidget* canvas) {
  AtkObject* accessible = gtk_widget_get_accessible(canvas);
  if (!G_TYPE_CHECK_INSTANCE_TYPE(accessible, canvas_accessible_get_type())) return;
  auto* self = asCanvas(accessible);
  // Old children answer as defunct from now on; new ones are made on demand.
  for (guint index = 0; index < self->children->len; ++index) {
    if (auto* child = self->children->pdata[index]) {
      asElement(child)->canvas = nullptr;
      g_signal_emit_by_name(accessible, "children-changed::remove", index, child);
    }
  }
  g_ptr_array_set_size(self->children, 0);
  const gint count = canvasChildCount(accessible);
  for (gint index = 0; index < count; ++index) {
    AtkObject* child = canvasChild(accessible, index);
    g_signal_emit_by_name(accessible, "children-changed::add", index, child);
    g_object_unref(child);
  }
}

}  // namespace zelto::desktop
