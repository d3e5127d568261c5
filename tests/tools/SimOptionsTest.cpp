#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/brenlow-sim/SimOptions.h"

namespace {

bool Parse(std::vector<const char*> args, SimOptions& out, std::string& error) {
    args.insert(args.begin(), "brenlow-sim");
    return ParseSimOptions(static_cast<int>(args.size()), args.data(), out, error);
}

TEST(SimOptions, ValuesAreTaken) {
    SimOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"--pty", "--link", "/tmp/com7", "--vessels", "20", "--rate", "2.5", "--seed",
                       "99", "--faults", "0.1", "--fault-kinds", "garbage", "--count", "30",
                       "--no-own", "--log", "t.jsonl"},
                      o, error))
        << error;
    EXPECT_TRUE(o.pty);
    EXPECT_EQ(o.link, "/tmp/com7");
    EXPECT_EQ(o.traffic.vessels, 20);
    EXPECT_EQ(o.traffic.rate, 2.5);
    EXPECT_EQ(o.traffic.seed, 99u);
    EXPECT_EQ(o.traffic.faultShare, 0.1);
    EXPECT_EQ(o.traffic.faultKinds, 1u << (static_cast<int>(Fault::Garbage) - 1));
    EXPECT_EQ(o.count, 30u);
    EXPECT_FALSE(o.traffic.own);
    EXPECT_EQ(o.log, "t.jsonl");
}

TEST(SimOptions, BadInputIsRefusedWithAReason) {
    const std::vector<std::vector<const char*>> bad = {
        {"--vessels", "-1"},          {"--vessels", "12x"}, {"--rate"},
        {"--faults", "1.5"},          {"--bogus"},          {"--link", "/tmp/x"},
        {"--own-mmsi", "1073741824"}, {"--seconds", "0"},
    };
    for (const auto& args : bad) {
        SimOptions o;
        std::string error;
        EXPECT_FALSE(Parse(args, o, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
