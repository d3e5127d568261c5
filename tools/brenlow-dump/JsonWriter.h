#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>

// Appends JSON text to a large buffer and writes it out in big blocks. A failed write is kept
// (with its errno) for the caller to report.
class JsonWriter {
public:
    explicit JsonWriter(std::FILE* out) : out(out) {}
    ~JsonWriter() { Flush(); }
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    void Raw(std::string_view text);
    void Key(std::string_view key);  // ,"key": (the comma only after the first member)
    void BeginObject();
    void EndObject();
    void Int(int64_t value);
    void Bool(bool value);
    void Null() { Raw("null"); }
    // Shortest text that reads back as the same double.
    void Double(double value);
    // A Windows-1252 string, written as a UTF-8 JSON string.
    void String(std::string_view cp1252);
    void EndLine();
    // Writes out what the buffer holds; after a failed write, what follows is dropped.
    void Flush();
    // Flush, then the stream's own buffer too; false once any write has failed.
    bool Finish();
    bool Failed() const { return error != 0; }
    // errno of the first failed write.
    int Error() const { return error; }

private:
    void Reserve(size_t bytes);

    std::FILE* out;
    static constexpr size_t kCapacity = 1 << 16;
    char buffer[kCapacity];
    size_t used = 0;
    bool first = true;
    int error = 0;
};
