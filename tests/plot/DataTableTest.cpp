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
