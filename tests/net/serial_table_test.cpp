#include "net/serial_table.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(SerialTable, HandsOutTheLowestFreeSerialUpToThirtyThousand) {
    auto table = std::make_unique<net::SerialTable>();
    for (std::int32_t i = 0; i < net::SerialTable::kSerialCount; ++i) ASSERT_EQ(table->alloc(), i);
    EXPECT_EQ(table->alloc(), -1);
    table->free(0xFFFF);  // serials outside the table are ignored
    table->free(30000);
    table->free(-1);
    EXPECT_EQ(table->alloc(), -1);
    table->free(29999);
    EXPECT_EQ(table->alloc(), 29999);
    table->free(12345);
    table->free(200);
    EXPECT_EQ(table->alloc(), 200);  // the lowest free one first
    EXPECT_EQ(table->alloc(), 12345);
}

}  // namespace
