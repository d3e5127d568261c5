#include "tools/brenlow-dump/DumpOptions.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

constexpr double kYear = 365.0 * 24 * 3600;

bool ParsePort(const char* text, int& port) {
    const size_t length = std::strlen(text);
    if (length == 0 || length > 3)
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
    }
    port = std::atoi(text);
    return port >= 1 && port <= 255;
}

bool ParseSeconds(const char* text, double& seconds) {
    char* end = nullptr;
    if (*text == '\0' || std::isspace(static_cast<unsigned char>(*text)))
        return false;
    seconds = std::strtod(text, &end);
    return *end == '\0' && std::isfinite(seconds) && seconds > 0 && seconds <= kYear;
}

}  // namespace

bool ParseOptions(int argc, char** argv, DumpOptions& out, std::string& error) {
    bool files = false;  // after "--"
    bool seconds = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (files || arg == "-" || arg.empty() || arg[0] != '-') {
            out.files.push_back(argv[i]);
        } else if (arg == "--") {
            files = true;
        } else if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--summary") {
            out.summary = true;
        } else if (arg == "--overwrite") {
            out.overwrite = true;
        } else if (arg == "--record" && value != nullptr && *value != '\0') {
            out.record = value;
            ++i;
        } else if (arg != "--port" && arg != "--seconds" && arg != "--record") {
            error = std::string(arg) + ": unknown option";
            return false;
        } else if (value == nullptr || arg == "--record") {
            error = std::string(arg) + ": missing value";
            return false;
        } else if (arg == "--port" ? !ParsePort(value, out.port)
                                   : !ParseSeconds(value, out.seconds)) {
            error = std::string(arg) + ": bad value \"" + value + "\" (" +
                    (arg == "--port" ? "a COM port number from 1 to 255"
                                     : "seconds, more than 0 and up to a year") +
                    ")";
            return false;
        } else {
            seconds = seconds || arg == "--seconds";
            ++i;
        }
    }
    if (out.port == 0 && (seconds || out.summary || out.record)) {
        error = std::string(seconds ? "--seconds" : (out.summary ? "--summary" : "--record")) +
                " needs --port";
        return false;
    }
    if (out.overwrite && !out.record) {
        error = "--overwrite needs --record";
        return false;
    }
    if (out.port != 0 && !out.files.empty()) {
        error = std::string("--port reads no files: ") + out.files.front();
        return false;
    }
    return true;
}
