#include <iostream>

#include "apps/zelto-limits-defaults/DefaultsCommand.hpp"

int main(int argc, char** argv) {
  // Unsynchronized streams report read errors on standard input (for
  // example when it is a folder) instead of ending early as if empty.
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return zelto::defaults::runDefaultsCommand(arguments, zelto::locale::processEnvironment(),
                                             {std::cin, std::cout, std::cerr});
}
