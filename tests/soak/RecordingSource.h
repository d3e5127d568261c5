#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "ais/AisDecoder.h"
#include "app/LineSource.h"
#include "serial/SerialLink.h"

// What the writer thread learns of the reading side.
struct LinkSignals {
    std::atomic<uint64_t> linesHandedOut{0};
    std::atomic<bool> linkOpen{false};
};

// One line the link handed out during a tick, and what decoding it did.
struct LineEvent {
    std::string line;
    uint64_t decodes = 0;  // messages the decoder counted for this line
    DecodedMessage message;
    AisTarget record;  // the decoded record right after the decode
};

// Sits between the poll cycle and the link: keeps each line handed out and, through the
// decoder's message counter, whether the line decoded a message and the values it left.
class RecordingSource : public LineSource {
public:
    RecordingSource(SerialLink& link, AisDecoder& decoder, LinkSignals& signals)
        : link_(link), decoder_(decoder), signals_(signals), seen_(decoder.MessagesDecoded()) {}

    uint32_t ReadLine(char* buffer, uint32_t limit) override {
        NoteDecodes();
        const uint32_t length = link_.ReadLine(buffer, limit);
        if (length != 0) {
            if (count_ == events_.size()) {
                events_.emplace_back();
            }
            LineEvent& e = events_[count_++];
            e.line.assign(buffer, length);
            e.decodes = 0;
            signals_.linesHandedOut.fetch_add(1);
        }
        signals_.linkOpen.store(link_.IsOpen());
        return length;
    }

    // Called once more after each tick, for a decode by the tick's last line.
    void NoteDecodes() {
        const uint64_t now = decoder_.MessagesDecoded();
        if (now != seen_ && count_ == 0) {
            orphanDecodes += now - seen_;
        } else if (now != seen_) {
            LineEvent& e = events_[count_ - 1];
            e.decodes += now - seen_;
            e.message = decoder_.LastMessage();
            if (e.message.record != nullptr) {
                e.record = *e.message.record;
            }
        }
        seen_ = now;
    }

    // The lines of the current tick, in the order received; storage is reused.
    size_t Count() const { return count_; }
    const LineEvent& Event(size_t i) const { return events_[i]; }
    void StartTick() { count_ = 0; }

    uint64_t orphanDecodes = 0;  // decodes with no line of the tick before them

private:
    SerialLink& link_;
    AisDecoder& decoder_;
    LinkSignals& signals_;
    uint64_t seen_;
    std::vector<LineEvent> events_;
    size_t count_ = 0;
};
