#include "tools/brenlow-sim/Replay.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/brenlow-sim/RecordingReader.h"
#include "tools/brenlow-sim/ReplayClock.h"

Replay::~Replay() {
    if (file != nullptr) {
        std::fclose(file);
    }
}

bool Replay::Open(const std::string& path, std::string& error) {
    // Without O_NONBLOCK a FIFO would hold the open until a writer came.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    if (fd < 0 || fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        (file = fdopen(fd, "rb")) == nullptr) {
        const bool regular = fd < 0 || S_ISREG(status.st_mode);
        error = "cannot read " + path + ": " +
                (regular ? std::strerror(errno) : "not a regular file (it is read twice)");
        if (fd >= 0) {
            close(fd);
        }
        return false;
    }
    RecordingReader reader(file);
    ReplayLine line;
    while (reader.Next(line)) {
        empty = false;
    }
    if (!reader.Error().empty()) {
        error = path + ": " + reader.Error();
        return false;
    }
    return true;
}

Sent Replay::Play(const SimOptions& options, SimOutput& output,
                  std::chrono::steady_clock::time_point end, std::string& error) {
    ReplayClock clock(options.speed, options.traffic.rate);
    const auto start = std::chrono::steady_clock::now();
    if (empty) {
        return Sent::Ok;  // and no loop around nothing
    }
    do {
        if (std::fseek(file, 0, SEEK_SET) != 0) {
            error = "cannot read " + options.replay + " again: " + std::strerror(errno);
            return Sent::Failed;
        }
        RecordingReader reader(file);
        ReplayLine line;
        while (reader.Next(line)) {
            const bool paced = line.timed || options.traffic.rate > 0;
            const Sent sent = output.WriteAt(line.bytes, start + clock.Due(line), end, paced);
            if (sent != Sent::Ok) {
                return sent;
            }
        }
        if (!reader.Error().empty()) {
            error = options.replay + " changed while playing: " + reader.Error();
            return Sent::Failed;
        }
        clock.NewRound();
    } while (options.loop);
    return Sent::Ok;
}
