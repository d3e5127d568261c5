// The list's store: newest first, capped, made fit for display.
#include "app/LineStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(LineStore, NewestFirstCappedAndMadeFitForDisplay) {
    LineStore store(3);
    for (const std::string& line :
         std::vector<std::string>{"0", "1", std::string("a\0b\tc\x7f\r\n\r\n", 10), "3",
                                  std::string("45\xB0 N \x80\n")}) {
        store.PushFront(line.data(), line.size());
    }
    ASSERT_EQ(store.Size(), 3u);
    EXPECT_EQ(store.Line(0), "45\xB0 N \x80") << "high bytes kept as received";
    EXPECT_EQ(store.Line(1), "3");
    EXPECT_EQ(store.Line(2), "a\267b\267c\267") << "control bytes as dots (0xB7), line end cut";
}
