// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "platform/programversion.h"
#include "tarnix_version.h"
#include "platform/versioninfo_win.h"

// This test program is linked without a version resource.

TEST(ProgramVersionWithoutResource, FallsBackToTheBuildNumbers)
{
    ASSERT_FALSE(platform::VersionInfo::ofRunningProgram().has_value())
        << "this program should carry no version resource";
    const platform::ProgramVersion version = platform::programVersion();
    EXPECT_EQ(version.major, TARNIX_VERSION_MAJOR);
    EXPECT_EQ(version.minor, TARNIX_VERSION_MINOR);
    EXPECT_EQ(version.revision, TARNIX_VERSION_REVISION);
}
