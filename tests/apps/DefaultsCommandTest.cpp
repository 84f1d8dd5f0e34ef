#include "tests/apps/DefaultsCommandSupport.hpp"

namespace zelto::defaults::testing {
namespace {

constexpr const char* weekKey = "zelto-usage-week-offset-v1";

using CommandTest = DefaultsCommandTest;

TEST_F(CommandTest, OptionsMayStandBeforeOrAfterTheSubcommand) {
  const std::vector<std::vector<std::string>> forms = {
      {"--suite", "work", "write", weekKey, "--int", "-3"},
      {"write", weekKey, "--int", "-3", "--suite", "work"},
      {"write", "--suite", "work", "--int", "-3", weekKey},
      {"write", weekKey, "--int=-3", "--suite=work"},
      {"--suite=work", "write", "--int", "-3", "--", weekKey},
      {"--dir", suiteFolder().string(), "write", weekKey, "--suite", "work", "--int", "-3"},
  };
  for (const std::vector<std::string>& arguments : forms) {
    ASSERT_EQ(suite("work").setInteger(weekKey, 0), std::nullopt);
    const CommandResult result = run(arguments);
    EXPECT_EQ(result.status, 0) << ::testing::PrintToString(arguments) << result.error;
    EXPECT_EQ(suite("work").integer(weekKey), -3) << ::testing::PrintToString(arguments);
    EXPECT_EQ(suite().integer(weekKey), std::nullopt) << "the default suite stays untouched";
  }
}

TEST_F(CommandTest, WritesIntegersAcrossTheWholeRange) {
  const std::pair<std::string, std::int64_t> cases[] = {
      {"0", 0}, {"+7", 7}, {"-9223372036854775808", INT64_MIN}, {"9223372036854775807", INT64_MAX}};
  for (const auto& [text, value] : cases) {
    ASSERT_EQ(run({"write", "number", "--int", text}).status, 0) << text;
    EXPECT_EQ(suite().integer("number"), value) << text;
  }
}

TEST_F(CommandTest, ReadOfOneKeyPrintsTheValueAlone) {
  ASSERT_EQ(suite().setInteger(weekKey, -2), std::nullopt);
  ASSERT_EQ(suite().setData("text", "caf\xc3\xa9\tok"), std::nullopt);
  ASSERT_EQ(suite().setData("binary", std::string("\x00\x01\xff", 3)), std::nullopt);
  ASSERT_EQ(suite().setData("empty", ""), std::nullopt);
  const std::pair<std::string, std::string> cases[] = {
      {weekKey, "-2\n"}, {"text", "caf\xc3\xa9\tok\n"}, {"binary", "<hex:0001ff>\n"}, {"empty", "\n"}};
  for (const auto& [key, expected] : cases) {
    const CommandResult result = run({"read", key});
    EXPECT_EQ(result.status, 0) << key;
    EXPECT_EQ(result.output, expected) << key;
    EXPECT_EQ(result.error, "") << key;
  }
}

TEST_F(CommandTest, ReadWithoutKeyListsEveryEntryInKeyOrder) {
  ASSERT_EQ(suite().setInteger(weekKey, -1), std::nullopt);
  ASSERT_EQ(suite().setData("zelto-dashboard-snapshot-v2", "{\"accounts\": []}"), std::nullopt);
  ASSERT_EQ(suite().setData("blob", "\x1b[31m"), std::nullopt);
  const CommandResult result = run({"read"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output,
            "blob = <hex:1b5b33316d>\n"
            "zelto-dashboard-snapshot-v2 = {\"accounts\": []}\n"
            "zelto-usage-week-offset-v1 = -1\n");
}

TEST_F(CommandTest, ReadOfAnEmptyOrMissingSuiteListsNothing) {
  const CommandResult result = run({"read"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output, "");
  EXPECT_EQ(result.error, "");
  EXPECT_FALSE(std::filesystem::exists(suiteFolder())) << "a read creates nothing";
}

TEST_F(CommandTest, MissingKeyExitsOneWithOneLine) {
  ASSERT_EQ(suite().setInteger("present", 1), std::nullopt);
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"read", "absent"}, std::vector<std::string>{"delete", "absent"}}) {
    const CommandResult result = run(arguments);
    EXPECT_EQ(result.status, 1) << arguments[0];
    EXPECT_EQ(result.output, "");
    EXPECT_TRUE(isOneErrorLine(result.error));
    EXPECT_NE(result.error.find("\"absent\""), std::string::npos) << result.error;
  }
  EXPECT_EQ(suite().integer("present"), 1);
}

TEST_F(CommandTest, MessagesStayOnOneLineWhateverTheKey) {
  const CommandResult result = run({"read", "two\nlines\r\x1b[2J"});
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(isOneErrorLine(result.error)) << result.error;
  EXPECT_NE(result.error.find("\"two\\nlines\\r?[2J\""), std::string::npos) << result.error;
}

TEST_F(CommandTest, ValueOfTheOtherTypeIsStillShownByRead) {
  // The tool shows whatever is stored; only the widget's typed reads treat
  // a value of the other type as missing.
  ASSERT_EQ(suite().setData(weekKey, "-3"), std::nullopt);
  EXPECT_EQ(run({"read", weekKey}).output, "-3\n");
}

TEST_F(CommandTest, DeleteRemovesTheKey) {
  ASSERT_EQ(suite().setInteger(weekKey, -4), std::nullopt);
  ASSERT_EQ(suite().setInteger("other", 1), std::nullopt);
  const CommandResult result = run({"delete", weekKey});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output + result.error, "");
  EXPECT_EQ(suite().value(weekKey), std::nullopt);
  EXPECT_EQ(suite().integer("other"), 1);
}

TEST_F(CommandTest, DataFileStoresItsExactBytes) {
  const std::string bytes("first line\n\0second\xff", 19);
  testing::writeBytes(folder_.path() / "payload", bytes);
  ASSERT_EQ(run({"write", "payload", "--data-file", (folder_.path() / "payload").string()}).status, 0);
  EXPECT_EQ(suite().data("payload"), bytes);
}

TEST_F(CommandTest, DashReadsTheDataFromStandardInput) {
  const std::string bytes("\x01\x02 from stdin \x00", 15);
  const CommandResult result = run({"write", "piped", "--data-file", "-"}, bytes);
  EXPECT_EQ(result.status, 0) << result.error;
  EXPECT_EQ(suite().data("piped"), bytes);
}

TEST_F(CommandTest, BadCommandLinesExitTwoWithOneLineAndWriteNothing) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frob"},
      {"read", "a", "b"},
      {"read", "--bogus"},
      {"write", "k"},
      {"write", "--int", "1"},
      {"write", "k", "--int"},
      {"write", "k", "--int", "abc"},
      {"write", "k", "--int", "1.5"},
      {"write", "k", "--int", "0x10"},
      {"write", "k", "--int", " 5"},
      {"write", "k", "--int", "99999999999999999999"},
      {"write", "k", "--int", "-9223372036854775809"},
      {"write", "k", "--int", "1", "--data-file", "file"},
      {"write", "k", "--data-file", "/nonexistent/file"},
      {"write", "k", "--data-file", "/"},
      {"delete"},
      {"--suite", "", "write", "k", "--int", "1"},
      {"--suite", "a/b", "write", "k", "--int", "1"},
      {"--suite", "..", "read"},
      {"--dir", "", "read"},
  };
  for (const std::vector<std::string>& arguments : cases) {
    const CommandResult result = run(arguments);
    EXPECT_EQ(result.status, 2) << ::testing::PrintToString(arguments);
    EXPECT_TRUE(isOneErrorLine(result.error)) << ::testing::PrintToString(arguments);
    EXPECT_EQ(result.output, "") << ::testing::PrintToString(arguments);
  }
  EXPECT_FALSE(std::filesystem::exists(suiteFolder())) << "nothing was written, not even the standard suite";
}

TEST_F(CommandTest, UnknownCommandIsNamed) {
  const CommandResult result = run({"--suite", "work", "frob"});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.error.find("unknown command \"frob\""), std::string::npos) << result.error;
}

TEST_F(CommandTest, UnusableFolderExitsTwo) {
  testing::writeBytes(folder_.path() / "plain-file", "x");
  const std::string folder = (folder_.path() / "plain-file").string();
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--dir", folder, "read"}, std::vector<std::string>{"--dir", folder, "read", "k"},
        std::vector<std::string>{"--dir", folder, "write", "k", "--int", "1"},
        std::vector<std::string>{"--dir", folder, "delete", "k"}}) {
    const CommandResult result = run(arguments);
    EXPECT_EQ(result.status, 2) << arguments[2];
    EXPECT_TRUE(isOneErrorLine(result.error)) << result.error;
    EXPECT_NE(result.error.find("not a folder"), std::string::npos) << result.error;
  }
  EXPECT_EQ(testing::readBytes(folder_.path() / "plain-file"), "x");
}

TEST_F(CommandTest, SuiteThatIsNotADatabaseIsReportedAndLeftAlone) {
  std::filesystem::create_directories(suiteFolder());
  const std::string foreign = "this is not a database, and it stays as it is\n";
  testing::writeBytes(suiteFolder() / "group.zelto.limits.sqlite3", foreign);
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"read"}, std::vector<std::string>{"read", weekKey},
        std::vector<std::string>{"write", weekKey, "--int", "-1"}, std::vector<std::string>{"delete", weekKey}}) {
    const CommandResult result = run(arguments);
    EXPECT_EQ(result.status, 2) << arguments[0];
    EXPECT_TRUE(isOneErrorLine(result.error));
    EXPECT_NE(result.error.find("not a database"), std::string::npos) << result.error;
  }
  EXPECT_EQ(testing::readBytes(suiteFolder() / "group.zelto.limits.sqlite3"), foreign);
}

TEST_F(CommandTest, WithoutAnyFolderVariableItExitsTwo) {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  auto nothingSet = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
  EXPECT_EQ(runDefaultsCommand({"read"}, nothingSet, {in, out, err}), 2);
  EXPECT_TRUE(isOneErrorLine(err.str()));
}

TEST_F(CommandTest, HelpDescribesEachSubcommand) {
  const CommandResult general = run({"--help"});
  EXPECT_EQ(general.status, 0);
  for (const char* word : {"read", "write", "delete", "--suite", "--dir", "Exit status"}) {
    EXPECT_NE(general.output.find(word), std::string::npos) << word;
  }
  const CommandResult write = run({"write", "--help"});
  EXPECT_EQ(write.status, 0);
  for (const char* word : {"--int", "--data-file", "--force", "KEY"}) {
    EXPECT_NE(write.output.find(word), std::string::npos) << word;
  }
  EXPECT_EQ(write.error, "");
}

}  // namespace
}  // namespace zelto::defaults::testing
