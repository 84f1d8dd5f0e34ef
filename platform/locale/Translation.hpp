#pragma once

#include <filesystem>
#include <string>

#include "platform/locale/Locale.hpp"

namespace zelto::locale {

// The gettext domain of the widget's message catalogues.
inline constexpr const char* messageDomain = "zelto-limits";

// Where the compiled catalogues are looked for
// (<folder>/<language>/LC_MESSAGES/zelto-limits.mo): the build tree's
// catalogue folder while it exists, so that a program run from the build tree
// finds the catalogues built with it, else the installed locale folder.
std::filesystem::path catalogueDirectory();

// The translation of a localizable key (its English text) into `locale`'s
// language, from the widget's catalogue; the key itself where the catalogue
// has no entry, for English, and for the empty key.
//
// gettext picks the language from process-wide state, so each call sets it
// for the one lookup and puts it back, under a lock: calls may come from any
// thread, and the process's own language setting is left as it was.
std::string translate(const std::string& key, const Locale& locale);

}  // namespace zelto::locale
