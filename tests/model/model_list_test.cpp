#include "model/files/model_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;

// Names that share all, some or none of their beginning with the name
// before them, across many groups of names kept together, with lengths whose
// numbers take more than one character and letters outside ASCII.
std::vector<fs::path> namesOfALibrary() {
    std::vector<fs::path> names;
    const fs::path top = fs::path("ships") / "frigate";
    for (int i = 0; i < 40; ++i) {
        names.push_back(top / ("lod" + std::to_string(i % 3)) /
                        ("hull-" + std::to_string(i) + ".zrm"));
    }
    names.push_back(top / "hull.zrm");
    names.push_back(top / "hull.zrm");
    names.push_back(fs::path(u8"\u043a\u043e\u0440\u0430\u0431\u043b\u044c") / u8"\u8239.zrm");
    names.push_back(fs::path(std::string(300, 'a')) / "b.zrm");
    names.push_back(fs::path(std::string(300, 'a')) / "c.zrm");
    names.push_back("a.zrm");
    names.push_back(fs::path(std::string(20000, 'x') + ".zrm"));
    return names;
}

TEST(ModelList, GivesBackEveryNameAndItsPartBelowAsAdded) {
    const std::vector<fs::path> names = namesOfALibrary();
    ModelList list;
    for (const fs::path& name : names) {
        list.add(name);
    }
    ASSERT_EQ(list.size(), names.size());
    for (std::size_t i = names.size(); i-- > 0;) {
        EXPECT_EQ(list.path(i), names[i]) << i;
        EXPECT_EQ(list.below(i), names[i].filename()) << i;
    }
}

}  // namespace
}  // namespace morvane::testing
