// SPDX-License-Identifier: MIT
// Listing a directory while another thread keeps changing it.
#include "ScratchDir.h"
#include "Searchfiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(SearchFilesChangingDirectory, ListsOnlyWholeRecordsWhileEntriesComeAndGo)
{
    ScratchDir dir;
    for (int i = 0; i < 200; ++i)
        dir.MakeFile("keep" + std::to_string(i) + ".dat");

    std::atomic<bool> stop{false};
    std::thread churn([&] {
        int round = 0;
        while (!stop.load()) {
            const std::string file = dir.PathOf("tmp" + std::to_string(round % 50) + ".dat");
            const std::string sub = dir.PathOf("sub" + std::to_string(round % 50) + ".dat");
            if (FILE* f = std::fopen(file.c_str(), "w"))
                std::fclose(f);
            mkdir(sub.c_str(), 0755);
            unlink(file.c_str());
            rmdir(sub.c_str());
            // The same name turning from a file into a directory and back.
            const std::string flip = dir.PathOf("flip.dat");
            if (FILE* f = std::fopen(flip.c_str(), "w"))
                std::fclose(f);
            unlink(flip.c_str());
            mkdir(flip.c_str(), 0755);
            rmdir(flip.c_str());
            ++round;
        }
    });

    TSearchFiles files;
    files.DispFile = dfFile;
    files.ExtFilter = ".dat";
    for (int pass = 0; pass < 200; ++pass) {
        // Sorting by size looks every entry up during the listing; by name,
        // the lookups come with the queries below.
        files.SortStyle = pass % 2 == 0 ? ssSizeSmall : ssNameSmall;
        ASSERT_TRUE(files.Execute(dir.Path()));
        int kept = 0;
        for (int i = 0; i < files.Count(); ++i) {
            const FileBlock block = files.GetFileBlock(i);
            ASSERT_LT(strnlen(block.EntryName, sizeof block.EntryName), sizeof block.EntryName);
            ASSERT_FALSE(files.IsDirec(i)) << block.EntryName;
            kept += std::string(block.EntryName).rfind("keep", 0) == 0;
        }
        ASSERT_EQ(kept, 200);
    }
    stop = true;
    churn.join();
}

}   // namespace
