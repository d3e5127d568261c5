// Arbitrary lines into one decoder: no crash or undefined behaviour, a decode reports the
// record the decoder keeps for that station, and every field text of a record can be made.
#include "ais/AisDecoder.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AisDecoder decoder;
    for (std::string_view input(reinterpret_cast<const char*>(data), size); !input.empty();) {
        const std::string_view line = input.substr(0, std::min(input.find('\n'), size - 1) + 1);
        input.remove_prefix(line.size());
        const uint32_t mmsi = decoder.DecodeSentence(line);
        const DecodedMessage& m = decoder.LastMessage();
        AisTarget* kept = nullptr;
        FUZZ_CHECK(mmsi == 0 || (m.own ? m.record == &decoder
                                       : decoder.FindTarget(mmsi, kept) && kept == m.record &&
                                             kept->mmsi == mmsi));
        const AisTarget& r = mmsi != 0 ? *m.record : decoder;
        FUZZ_CHECK((r.MmsiText() + r.ImoNumberText() + r.ShipTypeText() + r.NavStatusText() +
                    r.PositionAccuracyText() + r.FixTypeText() + r.LatitudeText() +
                    r.LongitudeText() + r.RateOfTurnText() + r.SpeedOverGroundText() +
                    r.CourseOverGroundText() + r.TrueHeadingText() + r.LengthText() +
                    r.WidthText() + r.DraughtText())
                       .find('\0') == std::string::npos);
    }
    return 0;
}
