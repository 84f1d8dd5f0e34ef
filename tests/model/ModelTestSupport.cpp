#include "tests/model/ModelTestSupport.hpp"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zelto::testing {

locale::Calendar makeCalendar(const std::string& timeZoneId, int firstWeekday) {
  std::optional<locale::Calendar> calendar = locale::Calendar::make(timeZoneId, firstWeekday);
  if (!calendar) throw std::runtime_error("no calendar for time zone " + timeZoneId);
  return *calendar;
}

Date localDate(const locale::Calendar& calendar, std::int64_t year, std::int64_t month, std::int64_t day, int hour) {
  std::optional<Date> date = calendar.gregorianDate(year, month, day, hour);
  if (!date) throw std::runtime_error("the calendar cannot place the test date");
  return *date;
}

std::string readSourceFile(const std::string& relativePath) {
  const std::string path = std::string(ZELTO_SOURCE_DIR) + "/" + relativePath;
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::string readFixture(const std::string& name) { return readSourceFile("tests/fixtures/" + name); }

}  // namespace zelto::testing
