#include "framework/PathRules.h"
#include <gtest/gtest.h>

namespace {
TEST(InstanceName, IsTheFileNameWithoutFolderAndExtension) {
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {"D:\\Setup.exe", "Setup"},
        {"C:\\Program Files\\Disc\\Setup.exe", "Setup"},
        {"\\\\server\\share\\Setup.EXE", "Setup"},
        {"D:/cd/Setup2.exe", "Setup2"},
        {"setup.v2.exe", "setup.v2"}, // only the last full stop starts the extension
        {"C:\\dir.d\\Setup", "Setup"}, // a full stop in a folder name is not an extension
        {"Setup", "Setup"},
        {"C:\\cd\\.exe", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fw::InstanceNameFromPath(c.path), c.expected) << c.path;
}
} // namespace
