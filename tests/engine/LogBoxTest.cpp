#include "engine/LogBox.h"

#include <gtest/gtest.h>
#include <string>

namespace slidesmith::engine {
namespace {

TEST(LogBox, AppendsLinesWithCrLfWhileTheyStayBelowTheCap) {
    LogBox box;
    box.Append(std::string(309988, 'x')); // 309990 characters with its line end
    box.Append(std::string(7, 'y'));      // 309990 + 7 + 2 = 309999
    EXPECT_EQ(box.Length(), 309999u);
    EXPECT_EQ(box.Text().substr(309986), "xx\r\nyyyyyyy\r\n");
}

TEST(LogBox, ALineThatWouldReachTheCapRestartsTheBox) {
    LogBox box;
    box.Append(std::string(309988, 'x'));
    ASSERT_EQ(box.Length(), 309990u);
    box.Append(std::string(20, 'y'));
    EXPECT_EQ(box.Text(), std::string(20, 'y') + "\r\n");
    EXPECT_EQ(box.Length(), 22u);
}

TEST(LogBox, CountsCharactersNotBytes) {
    LogBox box;
    box.Append("Größe"); // 7 bytes, 5 characters
    EXPECT_EQ(box.Length(), 7u);
}

} // namespace
} // namespace slidesmith::engine
