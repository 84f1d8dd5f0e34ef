#include "apps/zelto-limits-defaults/DefaultsCommand.hpp"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <iostream>
#include <iterator>
#include <system_error>

#include "apps/zelto-limits-defaults/DemoCompanion.hpp"
#include "apps/zelto-limits-defaults/ValueText.hpp"
#include "platform/defaults/Suite.hpp"
#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/model/SnapshotJson.hpp"

namespace zelto::defaults {

namespace {

constexpr const char* programName = "zelto-limits-defaults";

enum class Action { read, write, remove };

// What the command line asked for.
struct Request {
  Action action = Action::read;
  std::string suiteName = SharedSnapshotStore::appGroupIdentifier;
  std::optional<std::string> directory;
  std::optional<std::string> key;
  std::optional<std::int64_t> integer;
  std::optional<std::string> dataFile;
  bool force = false;
};

// A failure already worded for the user, with its exit status.
struct Failure {
  int status;
  std::string message;
};

const char* const footer =
    "Suites live in $ZELTO_LIMITS_DEFAULTS_DIR, else in $XDG_DATA_HOME/zelto-limits (XDG_DATA_HOME defaults to\n"
    "~/.local/share), one SQLite file per suite: <folder>/<suite>.sqlite3.\n"
    "\n"
    "read prints integers in decimal and byte strings as text when they are UTF-8 without control characters\n"
    "(tabs and line breaks allowed), otherwise as <hex:...>; a byte string that reads like an integer as\n"
    "<bytes:...>, and values of types the widget never reads as <text:...>, <real:...> or <null>. With a KEY\n"
    "it prints the value alone; without, every key in key order as KEY = VALUE.\n"
    "\n"
    "Exit status: 0 done; 1 key missing or value refused; 2 bad command line, unreadable input file or unusable\n"
    "suite; 3 the suite is busy (another process holds it), try again.";

// A whole decimal number within the signed 64-bit range, with an optional
// sign and nothing else.
std::optional<std::int64_t> parseInteger(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The first word that is neither an option nor the value of --suite or
// --dir: what the user meant as the subcommand.
std::optional<std::string> firstCommandWord(const std::vector<std::string>& arguments) {
  for (std::size_t index = 0; index < arguments.size(); ++index) {
    const std::string& argument = arguments[index];
    if (argument == "--suite" || argument == "--dir") {
      ++index;
    } else if (argument == "--") {
      return index + 1 < arguments.size() ? std::optional(arguments[index + 1]) : std::nullopt;
    } else if (argument.empty() || argument.front() != '-') {
      return argument;
    }
  }
  return std::nullopt;
}

// 1. Parse. CLI11 takes the arguments in reverse order.
std::variant<Request, Failure> parseArguments(const std::vector<std::string>& arguments, CommandStreams streams) {
  Request request;
  std::string directory;
  std::string key;
  std::string integerText;
  std::string dataFile;

  CLI::App app(
      "Reads and writes the shared suite of Zelto Limits, the key-value store that the companion\n"
      "application fills with snapshots and the widget reads.",
      programName);
  app.require_subcommand(1);
  app.footer(footer);
  app.add_option("--suite", request.suiteName, "Suite name (a file name)")->capture_default_str()->type_name("NAME");
  CLI::Option* directoryOption =
      app.add_option("--dir", directory, "Folder of the suites instead of the default one")->type_name("DIR");

  CLI::App* read = app.add_subcommand("read", "Print every key and value, or the value of KEY");
  read->add_option("KEY", key, "Key to print");
  read->fallthrough();

  CLI::App* write =
      app.add_subcommand("write",
                         "Store a value under KEY. The snapshot keys \"zelto-dashboard-snapshot-v2\" and\n"
                         "\"zelto-limit-snapshot-v1\" only take JSON that the widget can read, and\n"
                         "\"zelto-usage-week-offset-v1\" only an integer; --force stores anything.");
  write->add_option("KEY", key, "Key to write")->required();
  // Taken as text and converted here: CLI11 would clamp an out-of-range
  // number instead of refusing it.
  CLI::Option* integerOption =
      write->add_option("--int", integerText, "Store the integer N (64-bit, may be negative)")->type_name("N");
  CLI::Option* dataOption =
      write->add_option("--data-file", dataFile, "Store the bytes of FILE (- for standard input)")->type_name("FILE");
  integerOption->excludes(dataOption);
  write->add_flag("--force", request.force, "Store the value even when the widget could not read it");
  write->fallthrough();

  CLI::App* remove = app.add_subcommand("delete", "Remove KEY");
  remove->add_option("KEY", key, "Key to remove")->required();
  remove->fallthrough();
  app.add_subcommand("demo", demoCommandSummary);  // runs in DemoCompanion.cpp

  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::Success& success) {
    // --help: the help of the subcommand given, if any.
    return Failure{app.exit(success, streams.output, streams.error), ""};
  } catch (const CLI::ParseError& error) {
    if (!read->parsed() && !write->parsed() && !remove->parsed()) {
      if (std::optional<std::string> unknown = firstCommandWord(arguments)) {
        return Failure{exitUsageError, "unknown command \"" + *unknown + "\": use read, write or delete (see --help)"};
      }
    }
    return Failure{exitUsageError, std::string(error.what()) + " (see --help)"};
  }

  if (directoryOption->count() > 0) {
    if (directory.empty()) return Failure{exitUsageError, "--dir needs a folder"};
    request.directory = directory;
  }
  if (read->parsed()) {
    request.action = Action::read;
    if (read->count("KEY") > 0) request.key = key;
  } else if (write->parsed()) {
    request.action = Action::write;
    request.key = key;
    if (integerOption->count() > 0) {
      request.integer = parseInteger(integerText);
      if (!request.integer) {
        return Failure{exitUsageError, "--int: \"" + integerText + "\" is not a whole number in the 64-bit range"};
      }
    }
    if (dataOption->count() > 0) request.dataFile = dataFile;
    if (!request.integer && !request.dataFile) {
      return Failure{exitUsageError, "write needs a value: --int N or --data-file FILE (see --help)"};
    }
  } else {
    request.action = Action::remove;
    request.key = key;
  }
  return request;
}

// A failure of the suite, worded for the user: busy or not.
Failure suiteFailure(const std::string& what, const SuiteError& error) {
  return Failure{error.isBusy() ? exitBusy : exitUsageError,
                 (error.isBusy() ? "the suite is busy: " : what) + error.message};
}

Failure busyFailure(const SuiteBusy& busy) { return Failure{exitBusy, "the suite is busy: " + busy.message}; }

// 2. Open exactly the suite asked for: the tool never falls back to another
// suite, so a user's write cannot land somewhere unexpected.
std::variant<Suite, Failure> openSuite(const Request& request, const locale::EnvironmentLookup& environment) {
  const auto named =
      request.directory ? std::optional<std::filesystem::path>(*request.directory) : std::nullopt;
  std::optional<SuiteLocation> location = suiteLocation(named, environment, programName);
  if (!location) {
    return Failure{exitUsageError,
                   "cannot tell where suites live: set HOME, XDG_DATA_HOME or ZELTO_LIMITS_DEFAULTS_DIR, "
                   "or pass --dir"};
  }
  const SuiteAccess access = request.action == Action::read ? SuiteAccess::read : SuiteAccess::write;
  if (std::optional<SuiteError> problem = Suite::problemOpening(request.suiteName, *location, access)) {
    return Failure{exitUsageError, "cannot use suite \"" + request.suiteName + "\": " + problem->message};
  }
  Suite suite = Suite::open(request.suiteName, *location);
  if (suite.isFallback()) {
    return Failure{exitUsageError, "cannot use suite \"" + request.suiteName + "\" in " + location->directory.string()};
  }
  return suite;
}

std::string missingKeyMessage(const std::string& key, const Request& request) {
  return "no value for key \"" + key + "\" in suite \"" + request.suiteName + "\"";
}

// A read that found nothing: a missing key, or a database that cannot be read
// at all (which the tool reports, where the widget would stay silent).
std::optional<Failure> unreadableSuite(const Suite& suite) {
  if (std::optional<SuiteError> problem = suite.checkReadable()) return suiteFailure("cannot read the suite: ", *problem);
  return std::nullopt;
}

std::optional<Failure> runRead(const Suite& suite, const Request& request, std::ostream& output) {
  if (request.key) {
    const auto value = suite.value(*request.key);
    if (value.isBusy()) return busyFailure(value.busy());
    if (!value.value()) {
      if (auto failure = unreadableSuite(suite)) return failure;
      return Failure{exitRefused, missingKeyMessage(*request.key, request)};
    }
    output << displayValue(*value.value()) << '\n';
    return std::nullopt;
  }
  const auto entries = suite.entries();
  if (entries.isBusy()) return busyFailure(entries.busy());
  if (entries.value().empty()) {
    if (auto failure = unreadableSuite(suite)) return failure;
  }
  for (const SuiteEntry& entry : entries.value()) output << entry.key << " = " << displayValue(entry.value) << '\n';
  return std::nullopt;
}

// All bytes of `stream`, or nullopt when reading fails part way (a read
// error makes libstdc++ throw from inside the iterator).
std::optional<std::string> readAll(std::istream& stream) {
  try {
    std::string bytes(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>{});
    if (stream.bad()) return std::nullopt;
    return bytes;
  } catch (const std::ios_base::failure&) {
    return std::nullopt;
  }
}

std::string lastSystemError() { return std::generic_category().message(errno ? errno : EIO); }

std::variant<std::string, Failure> readDataFile(const std::string& file, std::istream& input) {
  errno = 0;
  if (file == "-") {
    std::optional<std::string> bytes = readAll(input);
    if (!bytes) return Failure{exitUsageError, "cannot read standard input: " + lastSystemError()};
    return std::move(*bytes);
  }
  std::error_code ignored;
  if (std::filesystem::is_directory(file, ignored)) {
    return Failure{exitUsageError, "cannot read " + file + ": a folder, not a file"};
  }
  std::ifstream stream(file, std::ios::binary);
  std::optional<std::string> bytes = stream ? readAll(stream) : std::nullopt;
  if (!bytes) return Failure{exitUsageError, "cannot read " + file + ": " + lastSystemError()};
  return std::move(*bytes);
}

template <class Record>
std::optional<DecodingError> decodingError(const DecodeResult<Record>& result) {
  if (result.ok()) return std::nullopt;
  return result.error();
}

// Refuses a value that the widget could not read under a key it reads:
// snapshots must decode, the week offset must be an integer.
std::optional<Failure> refusal(const std::string& key, const std::optional<std::string>& data) {
  const bool isDashboard = key == SharedSnapshotStore::dashboardKey;
  const bool isLegacy = key == SharedSnapshotStore::legacyLimitKey;
  const std::string advice = " (use --force to store it anyway)";
  if (isDashboard || isLegacy) {
    if (!data) return Failure{exitRefused, "not storing " + key + ": it holds JSON, give it with --data-file" + advice};
    const std::optional<DecodingError> error =
        isDashboard ? decodingError(decodeDashboardSnapshot(*data)) : decodingError(decodeLimitSnapshot(*data));
    if (error) return Failure{exitRefused, "not storing " + key + ": " + error->describe() + advice};
  }
  if (key == SharedSnapshotStore::weekOffsetKey && data) {
    return Failure{exitRefused, "not storing " + key + ": it holds an integer, give it with --int" + advice};
  }
  return std::nullopt;
}

std::optional<Failure> runWrite(const Suite& suite, const Request& request, std::istream& input) {
  const std::string& key = *request.key;
  std::optional<std::string> data;
  if (request.dataFile) {
    auto bytes = readDataFile(*request.dataFile, input);
    if (auto* failure = std::get_if<Failure>(&bytes)) return *failure;
    data = std::get<std::string>(std::move(bytes));
  }
  if (!request.force) {
    if (auto failure = refusal(key, data)) return failure;
  }
  const std::optional<SuiteError> error = data ? suite.setData(key, *data) : suite.setInteger(key, *request.integer);
  if (error) return suiteFailure("cannot write: ", *error);
  return std::nullopt;
}

std::optional<Failure> runDelete(const Suite& suite, const Request& request) {
  bool removed = false;
  if (std::optional<SuiteError> error = suite.remove(*request.key, &removed)) return suiteFailure("cannot delete: ", *error);
  if (!removed) return Failure{exitRefused, missingKeyMessage(*request.key, request)};
  return std::nullopt;
}

// Prints the message as one line: line breaks and other control characters
// (from a key or a file name, say) are escaped.
int report(const Failure& failure, std::ostream& error) {
  if (failure.message.empty()) return failure.status;
  std::string line;
  for (const char character : failure.message) {
    if (character == '\n') {
      line += "\\n";
    } else if (character == '\r') {
      line += "\\r";
    } else if (static_cast<unsigned char>(character) < 0x20 || character == 0x7f) {
      line += '?';
    } else {
      line += character;
    }
  }
  error << programName << ": " << line << '\n';
  return failure.status;
}

}  // namespace

int runDefaultsCommand(const std::vector<std::string>& arguments, const locale::EnvironmentLookup& environment,
                       CommandStreams streams) {
  if (firstCommandWord(arguments) == "demo") return runDemoCommand(arguments, environment, streams);
  auto parsed = parseArguments(arguments, streams);
  if (auto* failure = std::get_if<Failure>(&parsed)) return report(*failure, streams.error);
  const Request& request = std::get<Request>(parsed);

  auto opened = openSuite(request, environment);
  if (auto* failure = std::get_if<Failure>(&opened)) return report(*failure, streams.error);
  const Suite& suite = std::get<Suite>(opened);

  std::optional<Failure> failure;
  switch (request.action) {
    case Action::read:
      failure = runRead(suite, request, streams.output);
      break;
    case Action::write:
      failure = runWrite(suite, request, streams.input);
      break;
    case Action::remove:
      failure = runDelete(suite, request);
      break;
  }
  streams.output.flush();
  return failure ? report(*failure, streams.error) : exitSuccess;
}

}  // namespace zelto::defaults
