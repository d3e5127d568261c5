#pragma once

#include <cstdint>

// What became of one line given to the decoder.
enum class SentenceOutcome : uint8_t {
    NotNmea,    // no NMEA sentence at all: noise, or bytes at the wrong speed
    OtherNmea,  // an NMEA sentence that is not "!AIVDM"/"!AIVDO" (a GPS's "$GPGGA", ...)
    Decoded,    // completed a message that changed a record (DecodeSentence gave its MMSI)
    Collected,  // a fragment, kept until its message is complete
    Ignored,    // a whole message of a type that is not decoded
    // Refusals: an AIS sentence or message that could not be used.
    Checksum,   // "*hh" missing or wrong
    Form,       // fields malformed: counts, fill bits, field lengths, bytes after the
                // checksum, non-printable bytes
    Payload,    // a character outside the armour alphabet
    Fragment,   // a fragment that joins no collection in order (or a collection abandoned)
    Length,     // a message too short for its type, or a field/joined text too long
    NoStation,  // MMSI 0
};
inline constexpr int kSentenceOutcomeCount = 11;
bool IsRefusal(SentenceOutcome outcome);           // Checksum .. NoStation
const char* OutcomeName(SentenceOutcome outcome);  // short lower-case words for counts
