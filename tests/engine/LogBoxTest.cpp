#include "engine/LogBox.h"

#include <gtest/gtest.h>
#include <string>

namespace slidesmith::engine {
namespace {

TEST(LogBox, AppendsLinesWithCrLf) {
    LogBox box;
    box.Append("Open log file successfully.");
    box.Append("");
    EXPECT_EQ(box.Text(), "Open log file successfully.\r\n\r\n");
    EXPECT_EQ(box.Length(), 31u);
}

TEST(LogBox, ALineThatWouldReachTheCapRestartsTheBox) {
    LogBox box;
    box.Append(std::string(309988, 'x')); // 309990 characters with its line end
    ASSERT_EQ(box.Length(), 309990u);
    box.Append(std::string(20, 'y'));
    EXPECT_EQ(box.Text(), std::string(20, 'y') + "\r\n");
    EXPECT_EQ(box.Length(), 22u);
}

TEST(LogBox, ALineThatStaysBelowTheCapIsAppended) {
    LogBox box;
    box.Append(std::string(309988, 'x'));
    box.Append(std::string(7, 'y')); // 309990 + 7 + 2 = 309999
    EXPECT_EQ(box.Length(), 309999u);
    EXPECT_EQ(box.Text().substr(309990), "yyyyyyy\r\n");
}

TEST(LogBox, CountsCharactersNotBytes) {
    LogBox box;
    box.Append("Größe"); // 7 bytes, 5 characters
    EXPECT_EQ(box.Length(), 7u);
    box.Clear();
    EXPECT_EQ(box.Length(), 0u);
    EXPECT_TRUE(box.Text().empty());
}

} // namespace
} // namespace slidesmith::engine
