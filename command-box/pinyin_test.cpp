#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "command-box/pinyin_table.h"

namespace commandbox {
namespace {

// The committed table holds, for every character, the readings that the
// script finds in Unihan now: a table made from an older source, edited by
// hand or decoded wrongly fails here.
TEST(PinyinTableTest, HoldsTheSourcesReadingsOfEveryCharacter) {
  const std::string command = "python3 " SUITE_SOURCE_DIR "/scripts/pinyin-table --dump 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string dump;
  char buffer[4096];
  for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    dump.append(buffer, got);
  const int status = pclose(pipe);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
    GTEST_SKIP() << "the source of the pinyin table is missing: " << dump;
  ASSERT_EQ(status, 0) << dump;
  std::istringstream lines(dump);
  std::string line;
  int characters = 0, with_several = 0;
  while (std::getline(lines, line)) {
    const char32_t c = static_cast<char32_t>(std::stoul(line.substr(0, 4), nullptr, 16));
    std::string decoded;
    const auto readings = PinyinReadings(c);
    for (std::string_view reading : readings)
      decoded += " " + std::string(reading);
    ASSERT_EQ(line.substr(4), decoded) << line;
    ++characters;
    with_several += readings.size() > 1;
  }
  EXPECT_EQ(characters, 0x9FFF - 0x4E00 + 1);
  EXPECT_GT(with_several, 4000);
  EXPECT_TRUE(PinyinReadings(U'A').empty());
  EXPECT_TRUE(PinyinReadings(U'\u3400').empty());
}

}  // namespace
}  // namespace commandbox
