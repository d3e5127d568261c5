#include <gtest/gtest.h>

#include <string>

#include "app/LineStore.h"

namespace {

void Push(LineStore& store, const std::string& line) {
    store.PushFront(line.data(), line.size());
}

TEST(LineStoreTest, NewestLineIsFirst) {
    LineStore store;
    Push(store, "one\r\n");
    Push(store, "two\r\n");
    ASSERT_EQ(store.Size(), 2u);
    EXPECT_EQ(store.Line(0), "two");
    EXPECT_EQ(store.Line(1), "one");
}

TEST(LineStoreTest, CapDropsTheOldestLines) {
    LineStore store(3);
    for (int i = 0; i < 5; ++i) {
        Push(store, std::to_string(i));
    }
    ASSERT_EQ(store.Size(), 3u);
    EXPECT_EQ(store.Line(0), "4");
    EXPECT_EQ(store.Line(2), "2");
}

TEST(LineStoreTest, ControlBytesAreShownAsDotsAndLineEndIsCut) {
    LineStore store;
    const std::string line("a\0b\tc\x7f\r\n\r\n", 10);
    Push(store, line);
    EXPECT_EQ(store.Line(0),
              "a\xB7"
              "b\xB7"
              "c\xB7");
}

TEST(LineStoreTest, HighBytesAreKeptAsReceived) {
    LineStore store;
    Push(store, "45\xB0 N \x80\n");
    EXPECT_EQ(store.Line(0), "45\xB0 N \x80");
}

}  // namespace
