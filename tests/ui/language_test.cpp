// Which translation the user's languages choose, how values go into a
// translated text, and how the windows make room for a longer text.
#include <gtest/gtest.h>

#include "platform/text_fit.h"
#include "platform/translation.h"

namespace morvane::ui {
namespace {

const std::vector<std::string> kShipped{"de", "fr", "es", "pt_BR", "ru", "ja", "zh_CN"};

std::string Chosen(const std::vector<std::string>& wanted) {
    return ChooseLanguage(wanted, kShipped).value_or("English");
}

TEST(ChooseLanguage, TakesTheFirstWantedLanguageThereIsATranslationFor) {
    EXPECT_EQ(Chosen({"de-DE"}), "de");
    EXPECT_EQ(Chosen({"de_AT.UTF-8"}), "de");
    EXPECT_EQ(Chosen({"nl-NL", "fr-CA", "de"}), "fr");
    EXPECT_EQ(Chosen({"pt-BR"}), "pt_BR");
    EXPECT_EQ(Chosen({"pt_PT"}), "pt_BR");
    EXPECT_EQ(Chosen({"ja-JP"}), "ja");
    EXPECT_EQ(Chosen({"zh-Hans-CN"}), "zh_CN");
    EXPECT_EQ(Chosen({"zh_SG"}), "zh_CN");
    EXPECT_EQ(Chosen({"zh"}), "zh_CN");
}

TEST(ChooseLanguage, EnglishOrALanguageWithoutTranslationIsEnglish) {
    EXPECT_EQ(Chosen({"en-US", "de-DE"}), "English");
    EXPECT_EQ(Chosen({"C"}), "English");
    EXPECT_EQ(Chosen({"nl-NL"}), "English");
    EXPECT_EQ(Chosen({}), "English");
    // Readers of the traditional script are not given the simplified.
    EXPECT_EQ(Chosen({"zh-TW"}), "English");
    EXPECT_EQ(Chosen({"zh-Hant-HK", "ja"}), "ja");
}

TEST(ChooseLanguage, PrefersTheTranslationForTheUsersOwnRegion) {
    EXPECT_EQ(ChooseLanguage({"pt-PT"}, {"pt_BR", "pt_PT"}), "pt_PT");
    EXPECT_EQ(ChooseLanguage({"pt-AO"}, {"pt_BR", "pt_PT"}), "pt_BR");
}

TEST(Substitute, PutsEachValueWhereTheTextHasIt) {
    EXPECT_EQ(Substitute("%2 in %1", {"a.zrm", "3"}), "3 in a.zrm");
    // A value is not read again: a name with %1 in it stays as it is.
    EXPECT_EQ(Substitute("'%1' and %2", {"%2%1", "x"}), "'%2%1' and x");
    EXPECT_EQ(Substitute("100% of %1, %3, %", {"it"}), "100% of it, %3, %");
}

// The main window's layout, in dialog units: a button and a field on the
// first line, a label and a field on the second, Quit alone at the bottom
// right.
std::vector<PlacedControl> MainWindow(int buttonText, int labelText) {
    return {
        {40, 15, 60, 15, buttonText, false},  // Choose ZRM...
        {105, 15, 140, 15, 0, true},          // the chosen model
        {40, 47, 95, 15, labelText, false},   // Number of collision volumes:
        {135, 44, 60, 15, 0, false},          // the count
        {195, 90, 50, 14, 30, false},         // Quit
    };
}

TEST(FitToTexts, LeavesTextsThatFitWhereTheyAre) {
    std::vector<PlacedControl> controls = MainWindow(60, 95);
    EXPECT_EQ(FitToTexts(controls, 257, 2), 257);
    const std::vector<PlacedControl> laidOut = MainWindow(60, 95);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(controls[i].left, laidOut[i].left) << i;
        EXPECT_EQ(controls[i].width, laidOut[i].width) << i;
    }
}

TEST(FitToTexts, WidensALongTextAndMovesItsLineAlong) {
    std::vector<PlacedControl> controls = MainWindow(70, 95);
    EXPECT_EQ(FitToTexts(controls, 257, 2), 257 + 12);
    EXPECT_EQ(controls[0].width, 72);
    EXPECT_EQ(controls[1].left, 117);
    // The field and Quit still end at the right margin, 12 units further.
    EXPECT_EQ(controls[1].left + controls[1].width, 257);
    EXPECT_EQ(controls[1].width, 140);
    EXPECT_EQ(controls[4].left, 207);
    EXPECT_EQ(controls[4].width, 50);
    // The second line did not need to move; its field does not end at the margin.
    EXPECT_EQ(controls[2].width, 95);
    EXPECT_EQ(controls[3].left, 135);
}

TEST(FitToTexts, TheLongestLineSetsTheWindowsGrowthAndAFieldTakesTheRest) {
    std::vector<PlacedControl> controls = MainWindow(61, 170);
    EXPECT_EQ(FitToTexts(controls, 257, 2), 257 + 27);
    EXPECT_EQ(controls[2].width, 172);
    EXPECT_EQ(controls[3].left, 212);
    EXPECT_EQ(controls[3].left + controls[3].width, 272);
    EXPECT_EQ(controls[1].left, 108);
    EXPECT_EQ(controls[1].left + controls[1].width, 272);
    EXPECT_EQ(controls[4].left, 222);
}

}  // namespace
}  // namespace morvane::ui
