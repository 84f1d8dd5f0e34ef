#include "apps/zelto-limits-widget/AutostartCommand.hpp"

#include <fstream>
#include <iostream>
#include <system_error>

#include "apps/zelto-limits-widget/AutostartTemplate.hpp"

namespace zelto::cli {

namespace {

constexpr const char* programName = "zelto-limits-widget";

// A desktop entry's Exec value for one argument: quoted, with the four
// characters that stay special inside quotes escaped.
std::string quotedExecArgument(const std::string& argument) {
  std::string quoted = "\"";
  for (const char character : argument) {
    if (character == '"' || character == '`' || character == '$' || character == '\\') quoted += '\\';
    quoted += character;
  }
  return quoted + "\"";
}

int fail(const std::string& message) {
  std::cerr << programName << ": " << message << '\n';
  return 2;
}

int turnOn(const std::filesystem::path& entry) {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return fail("cannot tell where this program lives: " + error.message());
  std::filesystem::create_directories(entry.parent_path(), error);
  if (error) return fail("cannot create " + entry.parent_path().string() + ": " + error.message());
  // Written beside the entry and renamed over it, so a session starting now
  // reads the old entry or the new one.
  const std::filesystem::path partial = entry.string() + ".partial";
  {
    std::ofstream stream(partial, std::ios::binary | std::ios::trunc);
    stream << autostartEntry(program);
    if (!stream.flush()) return fail("cannot write " + partial.string());
  }
  std::filesystem::rename(partial, entry, error);
  if (error) return fail("cannot write " + entry.string() + ": " + error.message());
  std::cout << "on " << entry.string() << '\n';
  return 0;
}

int turnOff(const std::filesystem::path& entry) {
  std::error_code error;
  std::filesystem::remove(entry, error);
  if (error) return fail("cannot remove " + entry.string() + ": " + error.message());
  std::cout << "off\n";
  return 0;
}

}  // namespace

std::optional<std::filesystem::path> autostartEntryPath(const locale::EnvironmentLookup& environment) {
  std::optional<std::string> config = environment("XDG_CONFIG_HOME");
  // A relative XDG_CONFIG_HOME is invalid and ignored, as the base-directory rules say.
  if (!config || config->empty() || config->front() != '/') {
    const std::optional<std::string> home = environment("HOME");
    if (!home || home->empty()) return std::nullopt;
    config = *home + "/.config";
  }
  return std::filesystem::path(*config) / "autostart" / "zelto-limits.desktop";
}

std::string autostartEntry(const std::filesystem::path& program) {
  std::string entry = autostartTemplate;
  const std::string placeholder = "{command}";
  entry.replace(entry.find(placeholder), placeholder.size(), quotedExecArgument(program.string()));
  return entry;
}

RegisteredCommand registerAutostartCommand(CLI::App& program) {
  auto action = std::make_shared<std::string>();
  CLI::App* command = program.add_subcommand("autostart", "Start the widget when you log in: on, off, or status");
  command->add_option("action", *action, "on, off or status")->required()->check(CLI::IsMember({"on", "off", "status"}));
  return {command, [action](const host::RequestEnvironment&, const SharedContainer&) {
            const std::optional<std::filesystem::path> entry = autostartEntryPath(locale::processEnvironment());
            if (!entry) return fail("cannot tell where your autostart folder is: set HOME or XDG_CONFIG_HOME");
            if (*action == "on") return turnOn(*entry);
            if (*action == "off") return turnOff(*entry);
            std::error_code error;
            if (std::filesystem::exists(*entry, error)) {
              std::cout << "on " << entry->string() << '\n';
            } else {
              std::cout << "off\n";
            }
            return 0;
          }};
}

}  // namespace zelto::cli
