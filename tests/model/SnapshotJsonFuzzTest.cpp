#include <gtest/gtest.h>

#include <boost/json/parse.hpp>
#include <boost/json/serialize.hpp>
#include <boost/json/value.hpp>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "tests/model/ModelTestSupport.hpp"
#include "widget/model/SnapshotJson.hpp"

namespace zelto {
namespace {

namespace json = boost::json;

// Boost.JSON 1.81 reads some doubles of 16 or 17 significant digits one
// unit in the last place off; such a date is taken as the original.
void snapDate(Date& read, Date original) {
  if (std::nextafter(read, original) == original) read = original;
}
void snapDate(std::optional<Date>& read, const std::optional<Date>& original) {
  if (read && original) snapDate(*read, *original);
}
void snapDates(ZeltoLimitSnapshot& read, const ZeltoLimitSnapshot& original) {
  snapDate(read.fetchedAt, original.fetchedAt);
  for (std::size_t i = 0; i < std::min(read.windows.size(), original.windows.size()); ++i) {
    snapDate(read.windows[i].resetsAt, original.windows[i].resetsAt);
  }
  for (std::size_t i = 0; i < std::min(read.resetCredits.size(), original.resetCredits.size()); ++i) {
    snapDate(read.resetCredits[i].expiresAt, original.resetCredits[i].expiresAt);
  }
}
void snapDates(ZeltoDashboardSnapshot& read, const ZeltoDashboardSnapshot& original) {
  snapDate(read.updatedAt, original.updatedAt);
  for (std::size_t i = 0; i < std::min(read.accounts.size(), original.accounts.size()); ++i) {
    auto& account = read.accounts[i];
    const auto& source = original.accounts[i];
    if (account.limits && source.limits) snapDates(*account.limits, *source.limits);
    if (account.usage && source.usage) snapDate(account.usage->fetchedAt, source.usage->fetchedAt);
  }
}

// Every decode either succeeds or fails with a reason; a success re-encodes
// to JSON that decodes to the same record.
void expectSoundOutcome(const std::string& bytes) {
  const auto result = decodeDashboardSnapshot(bytes);
  if (!result.ok()) {
    EXPECT_FALSE(result.error().message.empty()) << bytes;
    return;
  }
  auto again = decodeDashboardSnapshot(encodeJson(result.value()));
  ASSERT_TRUE(again.ok()) << again.error().describe();
  ZeltoDashboardSnapshot reread = std::move(again).value();
  snapDates(reread, result.value());
  EXPECT_EQ(reread, result.value()) << bytes;
}

std::string mutateBytes(std::string text, std::mt19937& random) {
  static const std::string interesting = "{}[]\":,0123456789.eE+-null true false \\ \xff\xc3\xa9";
  std::uniform_int_distribution<int> operation(0, 4);
  const int edits = 1 + static_cast<int>(random() % 4);
  for (int edit = 0; edit < edits && !text.empty(); ++edit) {
    const std::size_t at = random() % text.size();
    switch (operation(random)) {
      case 0:
        text[at] = static_cast<char>(random() % 256);
        break;
      case 1:
        text[at] = interesting[random() % interesting.size()];
        break;
      case 2:
        text.insert(at, 1, interesting[random() % interesting.size()]);
        break;
      case 3:
        text.erase(at, 1 + random() % 8);
        break;
      default:
        text.resize(at);
        break;
    }
  }
  return text;
}

json::value randomValue(std::mt19937& random) {
  switch (random() % 10) {
    case 0:
      return nullptr;
    case 1:
      return static_cast<bool>(random() % 2);
    case 2:
      return static_cast<std::int64_t>(random()) - (1ll << 31);
    case 3:
      return 9223372036854775808ull + random();
    case 4:
      return std::uniform_real_distribution<double>(-1e20, 1e20)(random);
    case 5:
      return 0.5 + static_cast<double>(random() % 100);
    case 6:
      return json::string("2025-03-" + std::to_string(random() % 40));
    case 7:
      return json::array{1, "x"};
    case 8:
      return json::object{{"id", "x"}, {"name", "y"}};
    default:
      return json::object{};
  }
}

// Replaces or removes one member or element somewhere in the tree.
void mutateTree(json::value& root, std::mt19937& random) {
  json::value* node = &root;
  for (int depth = 0; depth < 8; ++depth) {
    std::vector<json::value*> children;
    if (auto* object = node->if_object()) {
      for (auto& member : *object) children.push_back(&member.value());
    } else if (auto* array = node->if_array()) {
      for (auto& element : *array) children.push_back(&element);
    }
    if (children.empty() || random() % 4 == 0) break;
    node = children[random() % children.size()];
  }
  if (auto* object = node->if_object(); object && !object->empty() && random() % 2 == 0) {
    auto member = object->begin() + static_cast<std::ptrdiff_t>(random() % object->size());
    object->erase(member);
    return;
  }
  *node = randomValue(random);
}

TEST(SnapshotJsonFuzz, RandomByteMutationsNeverCrash) {
  const std::string seed = testing::readSourceFile("examples/dashboard.json");
  std::mt19937 random(20250310);
  for (int round = 0; round < 3000; ++round) expectSoundOutcome(mutateBytes(seed, random));
}

TEST(SnapshotJsonFuzz, RandomStructuralMutationsNeverCrash) {
  const json::value seed = json::parse(testing::readFixture("dashboard-worked-example.json"));
  std::mt19937 random(7);
  int decoded = 0;
  for (int round = 0; round < 3000; ++round) {
    json::value mutated = seed;
    const int edits = 1 + static_cast<int>(random() % 3);
    for (int edit = 0; edit < edits; ++edit) mutateTree(mutated, random);
    const std::string bytes = json::serialize(mutated);
    expectSoundOutcome(bytes);
    decoded += decodeDashboardSnapshot(bytes).ok() ? 1 : 0;
  }
  // The mutations reach both outcomes, so both paths were exercised.
  EXPECT_GT(decoded, 0);
  EXPECT_LT(decoded, 3000);
}

}  // namespace
}  // namespace zelto
