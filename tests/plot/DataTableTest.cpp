// SPDX-License-Identifier: MIT
#include "DataTable.h"

#include <gtest/gtest.h>

TEST(DataTable, RowsStartAtMultiplesOfThePointCount)
{
    TablePtr t = AllocTable(4, 5);
    ASSERT_TRUE(t);
    EXPECT_EQ((*t)[1] - (*t)[0], 5);
    EXPECT_EQ((*t)[3] - (*t)[0], 15);
}

TEST(DataTable, AnImpossibleSizeGivesNoTableInsteadOfEndingTheProcess)
{
    EXPECT_EQ(AllocTable(4, SIZE_MAX / 2), nullptr);
    EXPECT_NE(AllocTable(4, 0), nullptr);
}

TEST(DataTable, GrowingKeepsEveryRowsValuesAndMakesRoomAhead)
{
    TablePtr t = AllocTable(4, 3);
    ASSERT_TRUE(t);
    for (int row = 0; row < 4; ++row)
        for (int i = 0; i < 3; ++i)
            (*t)[row][i] = float(row * 10 + i);
    ASSERT_TRUE(t->Resize(5));
    EXPECT_EQ(t->Points(), 5u);
    EXPECT_GE(t->Capacity(), 1024u) << "a few lines more must not copy the table each time";
    for (int row = 0; row < 4; ++row)
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ((*t)[row][i], float(row * 10 + i));
    const float* first = (*t)[0];
    ASSERT_TRUE(t->Resize(1000));
    EXPECT_EQ((*t)[0], first) << "growth within the room moves nothing";
    EXPECT_EQ((*t)[1][2], 12.0f);
}

TEST(DataTable, AGrowthThatFindsNoMemoryLeavesTheTableAsItWas)
{
    TablePtr t = AllocTable(4, 2);
    ASSERT_TRUE(t);
    (*t)[3][1] = 5;
    SetAllocTableGate([](int, std::size_t) { return false; });
    EXPECT_FALSE(t->Resize(4000));
    SetAllocTableGate({});
    EXPECT_EQ(t->Points(), 2u);
    EXPECT_EQ((*t)[3][1], 5.0f);
}
