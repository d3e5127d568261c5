#include "tools/brenlow-sim/TrafficGenerator.h"

TrafficGenerator::TrafficGenerator(const TrafficOptions& opts)
    : options(opts),
      fleet(opts.vessels, opts.seed, opts.latitude, opts.longitude, opts.ownMmsi),
      faults(opts.faultShare, opts.faultKinds, opts.seed ^ 0x5EEDFA17ull),
      random(opts.seed ^ 0x7AFF1Cull),
      turns(static_cast<size_t>(opts.vessels) + 1, 0) {}

SimMessage TrafficGenerator::Next() {
    SimMessage m;
    m.seq = seq++;
    m.time = static_cast<double>(m.seq) / (options.rate > 0.0 ? options.rate : 10.0);

    const uint64_t stations = static_cast<uint64_t>(options.vessels) + (options.own ? 1 : 0);
    const uint64_t slot = stations == 0 ? 0 : m.seq % stations;
    m.own = options.own && slot == 0;
    const size_t index =
        m.own ? turns.size() - 1 : static_cast<size_t>(slot - (options.own ? 1 : 0));
    Vessel& vessel = m.own ? fleet.Own() : fleet.Vessels()[index];
    const uint64_t turn = turns[index]++;

    fleet.Advance(vessel, m.time);
    ArmouredPayload payload;
    const int every = options.staticEvery > 0 ? options.staticEvery : 1;
    if (turn % static_cast<uint64_t>(every) == 0) {
        m.type = 5;
        m.statics = vessel.statics;
        ArmourStaticReport(m.statics, payload);
    } else {
        const uint32_t pick = random.Below(10);
        m.type = m.own || pick < 8 ? 1 : (pick == 8 ? 2 : 3);
        m.position = Fleet::PositionOf(vessel, m.type, m.time);
        ArmourPositionReport(m.position, payload);
    }

    const char channel = random.Chance(0.5) ? 'A' : 'B';
    m.sentences = FrameSentences(payload, m.own, channel, sequenceId);
    const bool multi = m.sentences.size() > 1;
    if (multi) {
        sequenceId = (sequenceId + 1) % 10;
    }
    m.fault = faults.Apply(m.sentences);
    m.tainted = pendingFragment;
    if (multi && m.fault != Fault::None) {
        pendingFragment = true;
    } else if (!multi && m.fault == Fault::None) {
        pendingFragment = false;
    }
    return m;
}
