// The file of the steps read: what is written reads back the same, and anything but a whole
// file of ours reads as nothing read.
#include <gtest/gtest.h>

#include "io/read_file.h"

namespace vern::test {
namespace {

TEST(ReadFile, StepsGoOutAsRunsAndComeBack) {
    ReadSteps steps;
    for (int step : {1, 2, 3, 5, 7, 8}) steps.Add(1, step);
    steps.Add(12, 501);
    steps.Add(39, 0);
    steps.Add(9999, 32767);
    const std::string text = FormatReadSteps(steps);
    EXPECT_EQ(text, "vernadora-read 1\n1: 1-3 5 7-8\n12: 501\n39: 0\n9999: 32767\n");
    ReadSteps back;
    ASSERT_TRUE(ParseReadSteps(text, back));
    EXPECT_EQ(back, steps);
    EXPECT_TRUE(ParseReadSteps(FormatReadSteps(ReadSteps{}), back));
    EXPECT_EQ(back.size(), 0u);
}

TEST(ReadFile, AnythingButAWholeFileIsNothingRead) {
    const std::string head = "vernadora-read 1\n";
    for (const std::string& text : {
             std::string(),
             std::string("vernadora-read 2\n1: 1\n"),             // a later kind of file
             head + "1: 1-3",                                     // cut off in its last line
             head + "1 1-3\n",                                    // no colon
             head + "1: 3-1\n",                                   // a run backwards
             head + "1: 1--3\n",                                  // not a number
             head + "1:  1\n",                                    // two spaces
             head + "-1: 1\n",                                    // a negative scene
             head + "1: 65536\n",                                 // beyond the game's numbers
             head + "1: 1\n\n",                                   // an empty line
             head + "1: 0-65535\n2: 0\n",                         // more steps than a story
             std::string("\xEF\xBB\xBFvernadora-read 1\n1: 1\n"), // a byte order mark
         }) {
        ReadSteps steps;
        steps.Add(5, 5);
        EXPECT_FALSE(ParseReadSteps(text, steps)) << text;
        EXPECT_EQ(steps.size(), 0u) << text;
    }
    // Up to the bound a file is read.
    ReadSteps steps;
    ASSERT_TRUE(ParseReadSteps(head + "1: 0-65535\n", steps));
    EXPECT_EQ(steps.size(), kReadFileMaxSteps);
}

} // namespace
} // namespace vern::test
