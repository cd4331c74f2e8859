#include "platform/files/FileIo.h"

#include "platform/convert/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace slidesmith::files {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public ::testing::Test {
protected:
    convert::TempFolder m_folder{"slidesmith-fileio"};
    const fs::path m_dir = m_folder.Path();
};

TEST_F(FileIoTest, AtomicWriteReplacesTheTargetAndLeavesNoTemporaryFile) {
    const fs::path target = m_dir / "out.txt";
    WriteFileAtomically(target, "first");
    WriteFileAtomically(target, std::string("second\0bytes", 12));
    EXPECT_EQ(ReadWholeFile(target), std::string("second\0bytes", 12));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(FileIoTest, FailuresNameTheFileAndKeepTheOldContent) {
    EXPECT_THROW(ReadWholeFile(m_dir / "missing"), FileError);
    try {
        WriteFileAtomically(m_dir / "no-such-dir" / "x", "data");
        FAIL() << "expected a FileError";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("no-such-dir"), std::string::npos);
    }
}

} // namespace
} // namespace slidesmith::files
