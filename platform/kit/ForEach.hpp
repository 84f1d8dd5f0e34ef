#pragma once

#include <concepts>
#include <ranges>
#include <string>
#include <utility>
#include <vector>

#include "platform/kit/View.hpp"

namespace zelto::kit {

namespace detail {
struct ForEachElement {
  std::string id;
  View content;
};
View makeForEach(std::vector<ForEachElement> elements);

inline std::string identityText(std::string id) { return id; }
inline std::string identityText(std::string_view id) { return std::string(id); }
inline std::string identityText(const char* id) { return id; }
template <std::integral T>
std::string identityText(T id) {
  return std::to_string(id);
}
}  // namespace detail

// One view per record, in order, each identified by the record's id (the
// identity paths of the laid-out tree carry it, so a record keeps its
// identity when others come and go). The views take part in the enclosing
// container one by one. Records sharing an id are all shown; later ones get
// a "#n" suffix so that identities stay unique.
class ForEach : public View {
 public:
  template <std::ranges::input_range Data, class IdOf, class Content>
  requires std::invocable<IdOf, std::ranges::range_reference_t<const Data>> &&
      std::invocable<Content, std::ranges::range_reference_t<const Data>>
      ForEach(const Data& data, IdOf idOf, Content content) : View(build(data, idOf, content)) {}

 private:
  template <class Data, class IdOf, class Content>
  static View build(const Data& data, IdOf& idOf, Content& content) {
    std::vector<detail::ForEachElement> elements;
    for (const auto& record : data) {
      elements.push_back({detail::identityText(idOf(record)), View(content(record))});
    }
    return detail::makeForEach(std::move(elements));
  }
};

}  // namespace zelto::kit
