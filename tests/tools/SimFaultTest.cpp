#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "ais/AisDecoder.h"
#include "tests/tools/SimTestSupport.h"
#include "tools/brenlow-sim/TrafficGenerator.h"
#include "tools/brenlow-sim/TruthLog.h"

namespace {

TrafficOptions Faulty(uint64_t seed, double share, uint32_t kinds = kAllFaults) {
    TrafficOptions options;
    options.vessels = 12;
    options.seed = seed;
    options.faultShare = share;
    options.faultKinds = kinds;
    return options;
}

bool ChecksumValid(const std::string& line) {
    const size_t star = line.rfind('*');
    if (line.empty() || line[0] != '!' || star == std::string::npos || star + 3 > line.size()) {
        return false;
    }
    const unsigned sum = std::strtoul(line.substr(star + 1, 2).c_str(), nullptr, 16);
    return NmeaChecksum(std::string_view(line).substr(1, star - 1)) == sum;
}

TEST(SimFaults, SameSeedGivesTheSameStreamAndLog) {
    TrafficGenerator a(Faulty(7, 0.3));
    TrafficGenerator b(Faulty(7, 0.3));
    TrafficGenerator c(Faulty(8, 0.3));
    int differences = 0;
    for (int i = 0; i < 500; ++i) {
        const SimMessage ma = a.Next();
        const SimMessage mb = b.Next();
        const SimMessage mc = c.Next();
        ASSERT_EQ(ma.sentences, mb.sentences);
        ASSERT_EQ(TruthLine(ma), TruthLine(mb));
        differences += ma.sentences != mc.sentences ? 1 : 0;
    }
    EXPECT_GT(differences, 400);
}

// Faults damage only the lines: the clean stream of the same seed carries the same messages,
// and every message that differs from it is marked.
TEST(SimFaults, EveryDamagedMessageIsMarkedAndOnlyThose) {
    TrafficGenerator faulty(Faulty(11, 0.25));
    TrafficGenerator clean(Faulty(11, 0.0));
    int counts[kFaultKinds + 1] = {};
    for (int i = 0; i < 3000; ++i) {
        const SimMessage f = faulty.Next();
        const SimMessage c = clean.Next();
        ASSERT_EQ(f.type, c.type);
        ++counts[static_cast<int>(f.fault)];
        switch (f.fault) {
            case Fault::None:
                EXPECT_EQ(f.sentences, c.sentences);
                break;
            case Fault::Checksum:
                ASSERT_EQ(f.sentences.size(), c.sentences.size());
                for (size_t k = 0; k < f.sentences.size(); ++k) {
                    EXPECT_EQ(ChecksumValid(f.sentences[k]), f.sentences[k] == c.sentences[k]);
                }
                EXPECT_NE(f.sentences, c.sentences);
                break;
            case Fault::Noise:
                ASSERT_EQ(f.sentences.size(), c.sentences.size());
                EXPECT_NE(f.sentences, c.sentences);
                for (const std::string& line : f.sentences) {
                    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
                }
                break;
            case Fault::Nul: {
                ASSERT_EQ(f.sentences.size(), c.sentences.size());
                size_t nuls = 0;
                for (const std::string& line : f.sentences) {
                    nuls += std::count(line.begin(), line.end(), '\0');
                }
                EXPECT_GE(nuls, 1u);
                EXPECT_LE(nuls, 3u);
                break;
            }
            case Fault::Lost:
                EXPECT_EQ(f.sentences.size() + 1, c.sentences.size());
                break;
            case Fault::Garbage:
                ASSERT_EQ(f.sentences.size(), c.sentences.size() + 1);
                EXPECT_EQ(f.sentences[0].size(), static_cast<size_t>(kGarbageLineBytes));
                EXPECT_EQ(f.sentences[0].find('\n'), f.sentences[0].size() - 1);
                EXPECT_EQ(f.sentences[0].find('\0'), std::string::npos);
                break;
        }
        const std::string truth = TruthLine(f);
        EXPECT_NE(truth.find(std::string("\"fault\":\"") + FaultName(f.fault) + "\""),
                  std::string::npos);
    }
    EXPECT_GT(counts[0], 2000);
    for (int kind = 1; kind <= kFaultKinds; ++kind) {
        EXPECT_GT(counts[kind], 50) << FaultName(static_cast<Fault>(kind));
    }
}

TEST(SimFaults, OnlyTheChosenKindsAreInjected) {
    uint32_t mask = 0;
    ASSERT_TRUE(ParseFaultKinds("lost,nul", mask));
    TrafficGenerator traffic(Faulty(3, 1.0, mask));
    for (int i = 0; i < 300; ++i) {
        const Fault fault = traffic.Next().fault;
        EXPECT_TRUE(fault == Fault::Lost || fault == Fault::Nul) << FaultName(fault);
    }
    EXPECT_FALSE(ParseFaultKinds("lost,bogus", mask));
    EXPECT_FALSE(ParseFaultKinds("", mask));
    ASSERT_TRUE(ParseFaultKinds("all", mask));
    EXPECT_EQ(mask, kAllFaults);
}

// A decoder sees every unmarked, untainted message whole: the truth log is a sound reference.
TEST(SimFaults, UnmarkedMessagesDecodeExactlyDespiteFaultsAround) {
    TrafficGenerator traffic(Faulty(5, 0.2));
    AisDecoder decoder;
    int checked = 0;
    int tainted = 0;
    for (int i = 0; i < 3000; ++i) {
        const SimMessage m = traffic.Next();
        uint32_t result = 0;
        for (const std::string& line : m.sentences) {
            result = decoder.DecodeSentence(line);
        }
        tainted += m.tainted ? 1 : 0;
        if (m.fault != Fault::None || m.tainted) {
            continue;
        }
        const uint32_t mmsi = m.type == 5 ? m.statics.mmsi : m.position.mmsi;
        ASSERT_EQ(result, mmsi) << TruthLine(m);
        ASSERT_EQ(decoder.LastMessage().type, m.type);
        ASSERT_EQ(decoder.LastMessage().own, m.own);
        if (m.type == 5) {
            ExpectStaticFields(*decoder.LastMessage().record, m.statics);
        } else {
            ExpectPositionFields(*decoder.LastMessage().record, m.position);
        }
        ++checked;
        if (HasFailure()) {
            FAIL() << TruthLine(m);
        }
    }
    EXPECT_GT(checked, 2000);
    EXPECT_GT(tainted, 10);
}

TEST(SimFaults, TaintLastsUntilASingleSentenceMessageGoesOutWhole) {
    TrafficGenerator traffic(Faulty(9, 0.3));
    bool pending = false;
    int seen = 0;
    for (int i = 0; i < 2000; ++i) {
        const SimMessage m = traffic.Next();
        EXPECT_EQ(m.tainted, pending) << m.seq;
        if (m.type == 5 && m.fault != Fault::None) {
            pending = true;
            ++seen;
        } else if (m.type != 5 && m.fault == Fault::None) {
            pending = false;
        }
    }
    EXPECT_GT(seen, 20);
}

TEST(SimTruthLog, LinesAreEscapedJsonWithRawValues) {
    SimMessage m;
    m.seq = 17;
    m.time = 1.5;
    m.own = true;
    m.type = 1;
    m.position.mmsi = 211999990;
    m.position.latitude = -54000000;
    m.position.rateOfTurn = -128;
    m.sentences = {std::string("\0\0!AI\"\\\xB0", 8) + "\r\n"};
    m.fault = Fault::Nul;
    const std::string line = TruthLine(m);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_NE(line.find("{\"seq\":17,\"time\":1.500,\"own\":true,\"type\":1,\"mmsi\":211999990"),
              std::string::npos);
    EXPECT_NE(line.find("\"latitude\":-54000000"), std::string::npos);
    EXPECT_NE(line.find("\"rateOfTurn\":-128"), std::string::npos);
    EXPECT_NE(line.find("\"fault\":\"nul\",\"tainted\":false"), std::string::npos);
    EXPECT_NE(line.find(R"(["\u0000\u0000!AI\"\\\u00B0\u000D\u000A"])"), std::string::npos);

    m.type = 5;
    m.statics.shipName = "SEA \"STAR\"";
    const std::string statics = TruthLine(m);
    EXPECT_NE(statics.find(R"("shipName":"SEA \"STAR\"")"), std::string::npos);
    EXPECT_EQ(statics.find("latitude"), std::string::npos);
}

}  // namespace
