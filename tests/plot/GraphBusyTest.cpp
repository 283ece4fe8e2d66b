// SPDX-License-Identifier: MIT
#include "PlotState.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(GraphBusy, ReadyOnlyWhenTheOutermostGuardEndsAlsoThroughAnException)
{
    PlotState state;
    EXPECT_FALSE(state.GraphReady) << "no picture before the first paint";
    {
        const GraphBusy dialog(state);
        {
            const GraphBusy paint(state);
        }
        EXPECT_FALSE(state.GraphReady) << "a paint inside the dialog must not unlock the cross";
    }
    EXPECT_TRUE(state.GraphReady);

    try {
        const GraphBusy paint(state);
        throw std::runtime_error("a paint that stops");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(state.GraphReady);
    EXPECT_EQ(state.GraphBusyDepth, 0);
}
