#include "tests/soak/DeliveryCheck.h"

#include <string_view>

#include "tests/soak/ExpectedValues.h"

namespace {

constexpr size_t kLineLimit = 1024;  // what the poll cycle asks of the link
constexpr size_t kMaxProblems = 20;

// The link hands out the last kLineLimit bytes of a longer line.
bool SameLine(const std::string& received, const std::string& sent) {
    if (sent.size() > kLineLimit) {
        return std::string_view(sent).substr(sent.size() - kLineLimit) == received;
    }
    return sent == received;
}

std::string Printable(std::string_view line) {
    std::string text;
    for (char c : line.substr(0, 100)) {
        const auto byte = static_cast<unsigned char>(c);
        text += byte >= 0x20 && byte < 0x7F ? c : '?';
    }
    return text;
}

std::string Mismatch(const LineEvent& e, const SimMessage& m) {
    if (e.message.type != m.type || e.message.own != m.own) {
        return "message type " + std::to_string(e.message.type) + (e.message.own ? " own" : "") +
               ", sent " + std::to_string(m.type) + (m.own ? " own" : "");
    }
    if (m.type != 5) {
        return PositionMismatch(e.record, m.position);
    }
    // The own record takes its MMSI from position reports only.
    const bool mmsiOk = e.record.mmsi == m.statics.mmsi || (m.own && e.record.mmsi == 0);
    if (!mmsiOk) {
        return "mmsi " + std::to_string(e.record.mmsi) + ", sent " + std::to_string(m.statics.mmsi);
    }
    return StaticMismatch(e.record, m.statics);
}

}  // namespace

void DeliveryCheck::Take(std::deque<SentMessage>& sent) {
    for (SentMessage& s : sent) {
        pending_.push_back(Pending{std::move(s)});
    }
    sent.clear();
}

void DeliveryCheck::Miss(Pending& p, size_t upTo, uint32_t session) {
    if (p.sent.dropped || upTo <= p.next) {
        return;
    }
    p.missed = true;
    if (p.sent.session == session) {
        p.missedInDevice = true;
        counts_.linesLostInDevice += upTo - p.next;
    }
    p.next = upTo;
}

void DeliveryCheck::Line(const LineEvent& e) {
    ++counts_.lines;
    size_t found = pending_.size();
    size_t sentence = 0;
    for (size_t i = 0; i < pending_.size() && found == pending_.size(); ++i) {
        const Pending& p = pending_[i];
        const auto& lines = p.sent.message.sentences;
        for (size_t j = p.next; !p.sent.dropped && j < lines.size(); ++j) {
            if (SameLine(e.line, lines[j])) {
                found = i;
                sentence = j;
                break;
            }
        }
    }
    if (found == pending_.size()) {
        ++counts_.unmatchedLines;
        Problem("a line that was never sent: \"" + Printable(e.line) + "\"");
        if (e.decodes != 0) {
            ++counts_.wrongDecodes;
        }
        return;
    }
    const uint32_t session = pending_[found].sent.session;
    for (size_t i = 0; i < found; ++i) {
        Miss(pending_[i], pending_[i].sent.message.sentences.size(), session);
    }
    Pending& p = pending_[found];
    Miss(p, sentence, session);
    p.next = sentence + 1;
    if (e.decodes != 0) {
        Decode(p, e);
    }
    while (!pending_.empty() &&
           (pending_.front().sent.dropped ||
            pending_.front().next >= pending_.front().sent.message.sentences.size())) {
        Resolve(pending_.front());
        pending_.pop_front();
    }
}

void DeliveryCheck::Decode(Pending& p, const LineEvent& e) {
    const SimMessage& m = p.sent.message;
    if (e.decodes > 1) {
        ++counts_.repeatedDecodes;
        Problem("one line counted " + std::to_string(e.decodes) + " decodes");
    }
    const std::string mismatch = Mismatch(e, m);
    if (mismatch.empty()) {
        if (p.decoded) {
            ++counts_.repeatedDecodes;
            Problem("message " + std::to_string(m.seq) + " decoded twice");
        }
        p.decoded = true;
        if (m.fault != Fault::None && m.fault != Fault::Garbage) {
            ++counts_.decodedDespiteFault[static_cast<int>(m.fault)];
        }
        StationState& state = stations_[{m.own, m.type == 5 ? m.statics.mmsi : m.position.mmsi}];
        if (m.type == 5) {
            state.hasStatic = true;
            state.statics = m.statics;
        } else {
            state.hasPosition = true;
            state.position = m.position;
        }
        return;
    }
    ++counts_.wrongDecodes;
    Problem("message " + std::to_string(m.seq) + " (fault " + FaultName(m.fault) +
            (m.tainted ? ", tainted" : "") + ") decoded wrongly: " + mismatch + " from \"" +
            Printable(e.line) + "\"");
}

void DeliveryCheck::Resolve(const Pending& p) {
    const SimMessage& m = p.sent.message;
    ++counts_.messages;
    if (p.decoded) {
        ++counts_.decoded;
    } else if (p.sent.dropped || (p.missed && !p.missedInDevice)) {
        ++counts_.lostUnplug;
    } else if (p.missedInDevice) {
        ++counts_.lostOtherwise;
        Problem("message " + std::to_string(m.seq) + " lost lines within one device");
    } else if (m.fault != Fault::None && m.fault != Fault::Garbage) {
        ++counts_.lostByFault[static_cast<int>(m.fault)];
    } else if (m.tainted) {
        ++counts_.lostTainted;
    } else {
        ++counts_.lostOtherwise;
        Problem("message " + std::to_string(m.seq) + " (type " + std::to_string(m.type) +
                ", fault " + FaultName(m.fault) + ") arrived whole but was not decoded: \"" +
                Printable(m.sentences.empty() ? "" : m.sentences.back()) + "\"");
    }
}

void DeliveryCheck::Finish(uint32_t lastSession) {
    for (Pending& p : pending_) {
        const size_t total = p.sent.message.sentences.size();
        if (!p.sent.dropped && p.next < total) {
            // Nothing that reached the last device may be left unread at the end.
            Miss(p, total, p.sent.session == lastSession ? lastSession : 0);
        }
        Resolve(p);
    }
    pending_.clear();
}

void DeliveryCheck::Problem(std::string what) {
    if (problems_.size() < kMaxProblems) {
        problems_.push_back(std::move(what));
    }
}
