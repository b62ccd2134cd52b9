#include <gtest/gtest.h>

#include <string>

#include "web/exchange_file.h"

namespace lexomir {
namespace {

using namespace std::string_literals;

RequestRecord sample() {
  return {Bytes("http://h/"s), Bytes("GET"s), Bytes(),         Bytes("A: 1\r\n"s),
          Bytes("x\0y"s),      Bytes(),       Bytes(kTrueText)};
}

TEST(ExchangeFile, RecordLayoutIsSevenCountedFields) {
  ExchangeFile file;
  ASSERT_TRUE(write_record(file, sample()));
  const std::string expected = "\x09\0\0\0http://h/"s + "\x03\0\0\0GET"s + "\0\0\0\0"s +
                               "\x06\0\0\0A: 1\r\n"s + "\x03\0\0\0x\0y"s + "\0\0\0\0"s +
                               "\x02\0\0\0\xD5\xE6"s;
  EXPECT_EQ(file.contents(), expected);

  RequestRecord back;
  file.rewind();
  ASSERT_TRUE(read_record(file, back));
  EXPECT_EQ(back, sample());
}

TEST(ExchangeFile, LongCountsReadAsLittleEndian) {
  ExchangeFile file;
  RequestRecord record;
  record[4] = Bytes(std::string(0x10203, 'z'));
  ASSERT_TRUE(write_record(file, record));
  EXPECT_EQ(file.contents().substr(4 * 4, 4), "\x03\x02\x01\0"s);
}

TEST(ExchangeFile, ReadFailsWhenTheSeventhFieldIsIncomplete) {
  ExchangeFile file;
  ASSERT_TRUE(write_record(file, sample()));
  const std::string whole = file.contents();
  for (std::size_t cut : {whole.size() - 1, whole.size() - 4, std::size_t{0}, std::size_t{2}}) {
    ExchangeFile shorter;
    ASSERT_TRUE(shorter.write(whole.substr(0, cut)));
    shorter.rewind();
    RequestRecord back = sample();
    EXPECT_FALSE(read_record(shorter, back)) << cut;
    EXPECT_EQ(back, sample()) << "a failed read leaves the record alone";
  }
}

TEST(ExchangeFile, ShorterRecordOverwritesFromTheStartAndLeavesTheTail) {
  ExchangeFile file;
  ASSERT_TRUE(write_record(file, sample()));
  const std::size_t first_size = file.contents().size();
  RequestRecord small;
  small[0] = Bytes("b"s);
  file.rewind();
  ASSERT_TRUE(write_record(file, small));
  EXPECT_EQ(file.contents().size(), first_size);

  RequestRecord back;
  file.rewind();
  ASSERT_TRUE(read_record(file, back));
  EXPECT_EQ(back, small);
}

}  // namespace
}  // namespace lexomir
