// SPDX-License-Identifier: MIT
// The first copy's lock: one holder at a time, never stale, nothing followed.
#include "RuntimeLock.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class RuntimeLockTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    std::string PathOf(const std::string& name) const { return m_dir.path().toStdString() + "/" + name; }

private:
    QTemporaryDir m_dir;
};

// What a copy that ended without letting go leaves: a file with its process
// id, and no lock on it.
TEST_F(RuntimeLockTest, OneHolderAtATimeAndALeftFileIsNoHolder)
{
    const std::string path = PathOf("app.lock");
    std::ofstream(path) << "4194304\nTracely\nhost\n";
    RuntimeLock first(path);
    ASSERT_EQ(first.TryLock(), RuntimeLock::Result::Taken);
    EXPECT_EQ(std::filesystem::file_size(path), 0u) << "no process id left for an older copy to find dead";
    EXPECT_EQ(first.TryLock(), RuntimeLock::Result::Taken);

    RuntimeLock second(path);
    EXPECT_EQ(second.TryLock(), RuntimeLock::Result::Held);
    first.Unlock();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(second.TryLock(), RuntimeLock::Result::Taken);
    EXPECT_TRUE(second.IsLocked());
}

TEST_F(RuntimeLockTest, ANameThatCannotHoldALockFails)
{
    RuntimeLock missingFolder(PathOf("gone/app.lock"));
    EXPECT_EQ(missingFolder.TryLock(), RuntimeLock::Result::Failed);
    EXPECT_FALSE(missingFolder.IsLocked());

    // A link planted under the name is not followed.
    std::filesystem::create_symlink(PathOf("elsewhere"), PathOf("linked.lock"));
    RuntimeLock linked(PathOf("linked.lock"));
    EXPECT_EQ(linked.TryLock(), RuntimeLock::Result::Failed);
    EXPECT_FALSE(std::filesystem::exists(PathOf("elsewhere")));
}

}   // namespace
