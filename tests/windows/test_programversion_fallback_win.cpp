// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/programversion.h"
#include "platform/win32/versioninfo_win.h"

// This test program is linked without a version resource. TARNIX_TEST_PROJECT_VERSION is
// the project's four-part version as CMake writes it ("1.0.0.13"): the revision is its
// last part, its third is shown nowhere.

TEST(ProgramVersionWithoutResource, FallsBackToTheBuildNumbers)
{
    ASSERT_FALSE(platform::VersionInfo::ofRunningProgram().has_value())
        << "this program should carry no version resource";
    unsigned major = 0, minor = 0, patch = 0, revision = 0;
    ASSERT_EQ(std::sscanf(TARNIX_TEST_PROJECT_VERSION, "%u.%u.%u.%u", &major, &minor, &patch, &revision), 4);
    const platform::ProgramVersion version = platform::programVersion();
    EXPECT_EQ(version.major, major);
    EXPECT_EQ(version.minor, minor);
    EXPECT_EQ(version.revision, revision);
    EXPECT_NE(revision, 0u) << "the fourth part of the version is its revision";
}
