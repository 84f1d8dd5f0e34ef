#include "tests/apps/DefaultsCommandSupport.hpp"

namespace zelto::defaults::testing {
namespace {

constexpr const char* weekKey = "zelto-usage-week-offset-v1";

using CommandTest = DefaultsCommandTest;
using Arguments = std::vector<std::string>;

TEST_F(CommandTest, OptionsMayStandBeforeOrAfterTheSubcommand) {
  const std::vector<Arguments> forms = {
      {"--suite", "work", "write", weekKey, "--int", "-3"},
      {"write", weekKey, "--int", "-3", "--suite", "work"},
      {"write", "--suite", "work", "--int", "-3", weekKey},
      {"--suite=work", "write", "--int", "-3", "--", weekKey},
      {"--dir", suiteFolder().string(), "write", weekKey, "--suite", "work", "--int", "-3"},
  };
  for (const Arguments& arguments : forms) {
    ASSERT_EQ(suite("work").setInteger(weekKey, 0), std::nullopt);
    const CommandResult result = run(arguments);
    EXPECT_EQ(result.status, 0) << ::testing::PrintToString(arguments) << result.error;
    EXPECT_EQ(suite("work").integer(weekKey), -3) << ::testing::PrintToString(arguments);
    EXPECT_EQ(suite().integer(weekKey), std::nullopt) << "the default suite stays untouched";
  }
}

TEST_F(CommandTest, WriteStoresExactlyWhatWasGiven) {
  const std::string bytes("first line\n\0second\xff", 19);
  testing::writeBytes(folder_.path() / "payload", bytes);
  struct Case {
    Arguments arguments;
    std::string input;
    SuiteValue stored;
  };
  const Case cases[] = {
      {{"write", "k", "--int", "+7"}, "", std::int64_t{7}},
      {{"write", "k", "--int", "-9223372036854775808"}, "", INT64_MIN},
      {{"write", "k", "--int", "9223372036854775807"}, "", INT64_MAX},
      {{"write", "k", "--data-file", (folder_.path() / "payload").string()}, "", bytes},
      {{"write", "k", "--data-file", "-"}, bytes, bytes},
  };
  for (const Case& c : cases) {
    const CommandResult result = run(c.arguments, c.input);
    EXPECT_EQ(result.status, 0) << result.error;
    EXPECT_EQ(result.output + result.error, "");
    EXPECT_EQ(suite().value("k"), std::optional(c.stored)) << ::testing::PrintToString(c.arguments);
  }
}

TEST_F(CommandTest, ReadShowsEveryValueWithItsTypeWhenTheWidgetWouldNotReadIt) {
  ASSERT_EQ(suite().setInteger(weekKey, -2), std::nullopt);
  ASSERT_EQ(suite().setData("text", "caf\xc3\xa9\tok"), std::nullopt);
  ASSERT_EQ(suite().setData("binary", std::string("\x00\x01\xff", 3)), std::nullopt);
  ASSERT_EQ(suite().setData("bytes", "-3"), std::nullopt);
  {
    SqliteConnection other(suite().path(), ConnectionMode::readWriteCreate);
    ASSERT_TRUE(other.execute("INSERT INTO entries VALUES('sqlText', '-3'), ('sqlReal', 2.5)"));
  }
  const std::pair<std::string, std::string> cases[] = {
      {weekKey, "-2"},          {"text", "caf\xc3\xa9\tok"}, {"binary", "<hex:0001ff>"},
      {"bytes", "<bytes:-3>"}, {"sqlText", "<text:-3>"},    {"sqlReal", "<real:2.5>"},
  };
  for (const auto& [key, shown] : cases) {
    const CommandResult result = run({"read", key});
    EXPECT_EQ(result.status, 0) << key << result.error;
    EXPECT_EQ(result.output, shown + "\n") << key;
  }
  EXPECT_EQ(run({"read"}).output,
            "binary = <hex:0001ff>\nbytes = <bytes:-3>\nsqlReal = <real:2.5>\nsqlText = <text:-3>\n"
            "text = caf\xc3\xa9\tok\nzelto-usage-week-offset-v1 = -2\n");
}

TEST_F(CommandTest, DeleteRemovesTheKeyAndAReadCreatesNothing) {
  EXPECT_EQ(run({"read"}).output, "");
  EXPECT_FALSE(std::filesystem::exists(suiteFolder())) << "a read creates nothing";
  ASSERT_EQ(suite().setInteger(weekKey, -4), std::nullopt);
  ASSERT_EQ(suite().setInteger("other", 1), std::nullopt);
  EXPECT_EQ(run({"delete", weekKey}).status, 0);
  EXPECT_EQ(suite().value(weekKey), std::nullopt);
  EXPECT_EQ(suite().integer("other"), 1);
}

TEST_F(CommandTest, FailuresExitWithTheirStatusAndOneLineAndChangeNothing) {
  testing::writeBytes(folder_.path() / "plain-file", "x");
  const std::string notAFolder = (folder_.path() / "plain-file").string();
  struct Case {
    Arguments arguments;
    int status;
    const char* says;
  };
  const Case cases[] = {
      {{"read", "absent"}, 1, "\"absent\""},
      {{"delete", "absent"}, 1, "\"absent\""},
      {{"read", "two\nlines\r\x1b[2J"}, 1, "\"two\\nlines\\r?[2J\""},
      {{}, 2, ""},
      {{"--suite", "work", "frob"}, 2, "unknown command \"frob\""},
      {{"read", "a", "b"}, 2, ""},
      {{"read", "--bogus"}, 2, ""},
      {{"write", "k"}, 2, "needs a value"},
      {{"write", "--int", "1"}, 2, ""},
      {{"write", "k", "--int"}, 2, ""},
      {{"write", "k", "--int", "1.5"}, 2, "64-bit"},
      {{"write", "k", "--int", "0x10"}, 2, "64-bit"},
      {{"write", "k", "--int", " 5"}, 2, "64-bit"},
      {{"write", "k", "--int", "99999999999999999999"}, 2, "64-bit"},
      {{"write", "k", "--int", "-9223372036854775809"}, 2, "64-bit"},
      {{"write", "k", "--int", "1", "--data-file", "file"}, 2, ""},
      {{"write", "k", "--data-file", "/nonexistent/file"}, 2, "cannot read"},
      {{"write", "k", "--data-file", "/"}, 2, "a folder"},
      {{"delete"}, 2, ""},
      {{"--suite", "", "write", "k", "--int", "1"}, 2, "invalid suite name"},
      {{"--suite", "a/b", "write", "k", "--int", "1"}, 2, "invalid suite name"},
      {{"--suite", std::string(240, 's'), "write", "k", "--int", "1"}, 2, "at most 239 bytes"},
      {{"--dir", "", "read"}, 2, "--dir"},
      {{"--dir", notAFolder, "read"}, 2, "not a folder"},
      {{"--dir", notAFolder, "write", "k", "--int", "1"}, 2, "not a folder"},
      {{"--dir", notAFolder, "delete", "k"}, 2, "not a folder"},
  };
  ASSERT_EQ(suite().setInteger("present", 1), std::nullopt);
  const std::string before = testing::readBytes(suite().path());
  for (const Case& c : cases) {
    const CommandResult result = run(c.arguments);
    EXPECT_EQ(result.status, c.status) << ::testing::PrintToString(c.arguments);
    EXPECT_TRUE(isOneErrorLine(result.error)) << ::testing::PrintToString(c.arguments);
    EXPECT_NE(result.error.find(c.says), std::string::npos) << result.error;
    EXPECT_EQ(result.output, "") << ::testing::PrintToString(c.arguments);
  }
  EXPECT_EQ(testing::readBytes(suite().path()), before);
  EXPECT_EQ(testing::readBytes(folder_.path() / "plain-file"), "x");
}

TEST_F(CommandTest, ADatabaseOfAnotherProgramIsReportedAndLeftAlone) {
  std::filesystem::create_directories(suiteFolder());
  {
    SqliteConnection other(suite().path(), ConnectionMode::readWriteCreate);
    ASSERT_TRUE(other.execute("CREATE TABLE notes(body TEXT)"));
  }
  const std::string before = testing::readBytes(suite().path());
  for (const Arguments& arguments : {Arguments{"read"}, Arguments{"write", weekKey, "--int", "-1"}}) {
    const CommandResult result = run(arguments);
    EXPECT_EQ(result.status, 2) << arguments[0];
    EXPECT_TRUE(isOneErrorLine(result.error));
    EXPECT_NE(result.error.find("not a Zelto Limits suite"), std::string::npos) << result.error;
  }
  EXPECT_EQ(testing::readBytes(suite().path()), before);
}

TEST_F(CommandTest, ABusySuiteExitsThreeAndIsNotChanged) {
  ASSERT_EQ(suite().setInteger(weekKey, -1), std::nullopt);
  const ExclusiveHolder holder(suite().path(), 30'000);
  for (const Arguments& arguments : {Arguments{"read", weekKey}, Arguments{"write", weekKey, "--int", "-5"}}) {
    const CommandResult result = run(arguments);
    EXPECT_EQ(result.status, 3) << arguments[0];
    EXPECT_TRUE(isOneErrorLine(result.error));
    EXPECT_NE(result.error.find("the suite is busy"), std::string::npos) << result.error;
  }
}

TEST_F(CommandTest, HelpDescribesEachSubcommand) {
  const CommandResult general = run({"--help"});
  EXPECT_EQ(general.status, 0);
  for (const char* word : {"read", "write", "delete", "--suite", "--dir", "Exit status"}) {
    EXPECT_NE(general.output.find(word), std::string::npos) << word;
  }
}

}  // namespace
}  // namespace zelto::defaults::testing
