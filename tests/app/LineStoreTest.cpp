// The list's store: newest first, capped, made fit for display.
#include "app/LineStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;

TEST(LineStore, NewestFirstCappedAndMadeFitForDisplay) {
    LineStore store(3);
    for (const std::string& line : {"0"s, "1"s, "a\0b\tc\x7f\r\n\r\n"s, "3"s, "45\xB0 N \x80\n"s})
        store.PushFront(line.data(), line.size());
    ASSERT_EQ(store.Size(), 3u);
    EXPECT_EQ(store.Line(0), "45\xB0 N \x80") << "high bytes kept as received";
    EXPECT_EQ(store.Line(1), "3");
    EXPECT_EQ(store.Line(2), "a\267b\267c\267") << "control bytes as dots (0xB7), line end cut";
}
