#include "platform/locale/Translation.hpp"

#include <libintl.h>
#include <locale.h>

#include <cstdlib>
#include <mutex>
#include <optional>

// glibc's catalogue generation counter: bumping it tells gettext that its
// cached lookups are stale (here, because the language changed).
extern "C" int _nl_msg_cat_cntr;  // NOLINT(bugprone-reserved-identifier)

namespace zelto::locale {
namespace {

// Sets an environment variable for the lifetime of the object.
class ScopedEnvironmentVariable {
 public:
  ScopedEnvironmentVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironmentVariable() {
    if (previous_) {
      ::setenv(name_, previous_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> previous_;
};

// Makes the calling thread's message category "C.UTF-8" while it lives:
// gettext ignores the LANGUAGE list under the plain "C" locale, and
// "C.UTF-8" is the one other locale every glibc has without generated data.
class ScopedMessagesLocale {
 public:
  ScopedMessagesLocale() {
    static const locale_t messages = ::newlocale(LC_MESSAGES_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (messages != static_cast<locale_t>(nullptr)) previous_ = ::uselocale(messages);
  }
  ~ScopedMessagesLocale() {
    if (previous_ != static_cast<locale_t>(nullptr)) ::uselocale(previous_);
  }
  ScopedMessagesLocale(const ScopedMessagesLocale&) = delete;
  ScopedMessagesLocale& operator=(const ScopedMessagesLocale&) = delete;

 private:
  locale_t previous_ = static_cast<locale_t>(nullptr);
};

}  // namespace

std::filesystem::path catalogueDirectory() {
  std::error_code ignored;
  const std::filesystem::path built = ZELTO_BUILD_CATALOGUE_DIR;
  if (std::filesystem::is_directory(built, ignored)) return built;
  return ZELTO_INSTALLED_CATALOGUE_DIR;
}

std::string translate(const std::string& key, const Locale& locale) {
  const std::string& language = locale.id();
  if (key.empty() || language == "en" || language.starts_with("en_")) return key;

  static std::mutex mutex;
  const std::lock_guard lock(mutex);
  static const bool bound = [] {
    ::bindtextdomain(messageDomain, catalogueDirectory().c_str());
    ::bind_textdomain_codeset(messageDomain, "UTF-8");
    return true;
  }();
  (void)bound;

  const ScopedMessagesLocale messagesLocale;
  const ScopedEnvironmentVariable languageList("LANGUAGE", language);
  ++_nl_msg_cat_cntr;
  std::string translated = ::dgettext(messageDomain, key.c_str());
  ++_nl_msg_cat_cntr;  // the process's own language applies again
  return translated;
}

}  // namespace zelto::locale
