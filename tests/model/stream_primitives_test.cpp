#include <gtest/gtest.h>

#include <sstream>

#include "model/stream.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

TEST(Words, AreLittleEndian) {
    std::ostringstream out;
    writeint(out, -1);
    writeint(out, 0x48414E44);
    EXPECT_EQ(out.str(), std::string("\xFF\xFF\xFF\xFF\x44\x4E\x41\x48", 8));

    std::istringstream in(std::string("\x4D\x49\x52\x50", 4));
    EXPECT_EQ(readint(in), 0x5052494D);
}

TEST(Words, ShortReadSetsEndOfFileAndKeepsTheBytesThatCame) {
    std::istringstream in(std::string("\x01\x02", 2));
    EXPECT_EQ(readint(in), 0x0201);
    EXPECT_TRUE(in.eof());
}

class CopyBytes : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(CopyBytes, CopiesExactlyCountAndAnnouncesIt) {
    const std::int32_t count = GetParam();
    const std::string source = payload(5000);
    std::istringstream in(source);
    std::ostringstream out;
    std::ostringstream trace;
    EXPECT_EQ(copybytes(in, out, count, trace), count);
    EXPECT_EQ(out.str(), source.substr(0, static_cast<std::size_t>(count)));
    EXPECT_EQ(trace.str(), "copybytes, " + std::to_string(count) + " bytes\n");
    EXPECT_EQ(in.tellg(), count);
}

INSTANTIATE_TEST_SUITE_P(AroundTheBlockSize, CopyBytes,
                         ::testing::Values(12, 2047, 2048, 2049, 4096, 4097));

TEST(CopyBytesEdges, ZeroOrNegativeCountCopiesNothing) {
    for (const std::int32_t count : {0, -8}) {
        std::istringstream in("abcdefgh");
        std::ostringstream out;
        std::ostringstream trace;
        EXPECT_EQ(copybytes(in, out, count, trace), 0);
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(in.tellg(), 0);
        EXPECT_EQ(trace.str(), "copybytes, " + std::to_string(count) + " bytes\n");
    }
}

TEST(CopyBytesEdges, ShortInputIsReportedAndNothingIsInvented) {
    const std::string source = payload(3000);
    std::istringstream in(source);
    std::ostringstream out;
    std::ostringstream trace;
    EXPECT_EQ(copybytes(in, out, 5000, trace), 3000);
    EXPECT_EQ(out.str(), source);
}

}  // namespace
}  // namespace morvane::testing
