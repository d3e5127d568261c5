#include "tools/brenlow-sim/RecordingReader.h"

#include <cstring>

#include "serial/LineLimit.h"
#include "tools/common/TagBlock.h"

bool RecordingReader::Refuse(std::string why) {
    error = "line " + std::to_string(number) + ": " + why;
    return false;
}

bool RecordingReader::Next(ReplayLine& line) {
    std::string_view text;
    if (!reader.Next(text)) {
        if (reader.Failed())
            error = std::strerror(reader.Error());
        return false;
    }
    ++number;
    const TagBlock block = SplitTagBlock(text);
    if (block.kind == TagBlockKind::Damaged)
        return Refuse("damaged tag block (its \"*hh\" or its \"c:\")");
    // The LF is still in the reader's buffer, right after the line.
    line.bytes = std::string_view(block.rest.data(), block.rest.size() + reader.EndedInLf());
    if (line.bytes.size() > kLineLimit)
        return Refuse("longer than 1,024 bytes (the monitor would cut it)");
    line.timed = block.kind == TagBlockKind::Timed;
    line.ms = block.ms;
    if (!line.timed)
        return true;
    if (lastTimed != 0 && block.ms < lastMs)
        return Refuse("the time runs backwards (" + std::to_string(lastMs - block.ms) +
                      " ms before line " + std::to_string(lastTimed) + ")");
    lastTimed = number;
    lastMs = block.ms;
    return true;
}
