#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "model/chunk_listing.h"
#include "support/pass_runner.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

using Type = ListingRow::Type;

struct Seen {
    std::vector<ListingRow> rows;
    std::string refusal;
};

Seen list(const std::string& model) {
    Seen seen;
    std::istringstream in(model);
    try {
        ListChunks(in, [&seen](const ListingRow& row) { seen.rows.push_back(row); });
    } catch (const ModelError& error) {
        seen.refusal = error.what();
    }
    return seen;
}

std::string rewriteRefusal(const std::string& model) {
    try {
        rewriteInMemory(model, 1);
    } catch (const ModelError& error) {
        return error.what();
    }
    return "";
}

TEST(ChunkListing, RowsFollowTheWalkAndCoverEveryByte) {
    const std::string model = containerHeader(7) + chunk(kStrn, 5, 5, payload(8)) +
                              words({0x51515151u, 0x52525252u}) + chunk(kPrim, 0, 4, payload(4)) +
                              chunk(kHand, 0, 4, payload(4)) + "zz";
    const Seen seen = list(model);
    ASSERT_EQ(seen.refusal, "");
    ASSERT_EQ(seen.rows.size(), 6u);

    EXPECT_EQ(seen.rows[0].chunk.kind->name, "ZRM4");
    EXPECT_EQ(seen.rows[0].chunk.size, 7);
    EXPECT_EQ(seen.rows[0].bytes, 12);
    EXPECT_EQ(seen.rows[1].chunk.kind->name, "STRN");
    EXPECT_EQ(seen.rows[1].chunk.second, 5);
    EXPECT_EQ(seen.rows[1].bytes, 20);
    EXPECT_EQ(seen.rows[2].type, Type::UnrecognisedWords);
    EXPECT_EQ(seen.rows[2].offset, 32);
    EXPECT_EQ(seen.rows[2].bytes, 8);
    EXPECT_EQ(seen.rows[3].chunk.kind->name, "PRIM");
    EXPECT_EQ(seen.rows[4].chunk.kind->name, "HAND");
    EXPECT_EQ(seen.rows[5].type, Type::TrailingBytes);
    EXPECT_EQ(seen.rows[5].bytes, 2);

    std::int64_t covered = 0;
    for (const ListingRow& row : seen.rows) {
        EXPECT_EQ(row.offset, covered);
        covered += row.bytes;
    }
    EXPECT_EQ(covered, static_cast<std::int64_t>(model.size()));
}

TEST(ChunkListing, RefusesWhatTheRewriteRefusesAfterTheRowsBeforeIt) {
    const std::string model = containerHeader() + words({0x51515151u}) +
                              chunk(kXyzs, 0, 4, payload(4)) + chunk(kHand, 0, 6, payload(8));
    const Seen seen = list(model);
    EXPECT_EQ(seen.rows.size(), 3u);
    EXPECT_EQ(seen.refusal, rewriteRefusal(model));
    EXPECT_NE(seen.refusal.find("HAND chunk at offset 32"), std::string::npos);
}

TEST(ChunkListing, UnrecognisedRunBeforeARefusalIsStillListed) {
    const std::string model = containerHeader() + words({1, 2, 3}) + words({kNorm, 0});
    const Seen seen = list(model);
    ASSERT_EQ(seen.rows.size(), 2u);
    EXPECT_EQ(seen.rows[1].type, Type::UnrecognisedWords);
    EXPECT_EQ(seen.rows[1].bytes, 12);
    EXPECT_EQ(seen.refusal, rewriteRefusal(model));
}

}  // namespace
}  // namespace morvane::testing
