#include "support/ProjectBuilder.h"
#include "support/TempDir.h"
#include "support/Paths.h"
#include <gtest/gtest.h>
TEST(Probe, Builds) {
    orv::testing::TempDir dir;
    orv::testing::ProjectBuilder b;
    b.scenes.push_back(orv::testing::makeScene("Hall"));
    auto p = b.write(dir.path());
    EXPECT_TRUE(std::filesystem::exists(p));
    EXPECT_EQ(std::filesystem::file_size(dir / "resource/Orvanta1.dat"), 4395u);
}
