// Boost.JSON compiled into the fuzzer, so that the sanitizers see the
// parser's own code too.
#include <boost/json/src.hpp>
