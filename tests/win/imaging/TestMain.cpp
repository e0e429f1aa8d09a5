// The imaging tests' entry point: GoogleTest's flags, and --magick-dir=<folder> for the files
// exchanged with ImageMagick.
#include "tests/win/imaging/DibTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const char kFlag[] = "--magick-dir=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kFlag, sizeof(kFlag) - 1) == 0)
            g_strMagickDir = argv[i] + sizeof(kFlag) - 1;
    }
    return RUN_ALL_TESTS();
}
