#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

// Reads single values out of one line of flat JSON by key: enough for recorded reference
// data whose keys are unique within a line.
class JsonFields {
public:
    explicit JsonFields(std::string_view line) : line(line) {}

    bool Has(std::string_view key) const { return Find(key) != std::string_view::npos; }

    std::optional<double> Number(std::string_view key) const {
        const size_t at = Find(key);
        if (at == std::string_view::npos)
            return std::nullopt;
        const std::string text(line.substr(at, 32));
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        if (end == text.c_str())
            return std::nullopt;
        return value;
    }

    std::optional<bool> Bool(std::string_view key) const {
        const size_t at = Find(key);
        if (at == std::string_view::npos)
            return std::nullopt;
        if (line.substr(at, 4) == "true")
            return true;
        if (line.substr(at, 5) == "false")
            return false;
        return std::nullopt;
    }

    // A string value with its escapes resolved (\uXXXX below 0x80 only).
    std::optional<std::string> String(std::string_view key) const {
        size_t at = Find(key);
        if (at == std::string_view::npos || line[at] != '"')
            return std::nullopt;
        std::string out;
        for (++at; at < line.size() && line[at] != '"'; ++at) {
            if (line[at] != '\\') {
                out += line[at];
                continue;
            }
            const char e = line[++at];
            if (e == 'u') {
                out += static_cast<char>(
                    std::strtol(std::string(line.substr(at + 1, 4)).c_str(), nullptr, 16));
                at += 4;
            } else {
                out += e == 'n' ? '\n' : e == 't' ? '\t' : e;
            }
        }
        return out;
    }

private:
    size_t Find(std::string_view key) const {
        const std::string pattern = "\"" + std::string(key) + "\":";
        const size_t at = line.find(pattern);
        return at == std::string_view::npos ? at : at + pattern.size();
    }

    std::string_view line;
};
