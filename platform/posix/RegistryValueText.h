#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/posix/RegistryFile.h"

// The text of a registry export, piece by piece: names, hex digits and the value lines.
namespace platform::regtext {

// ASCII letters in lower case, the rest as it is.
char Lower(char c);
std::string Fold(std::string_view s);
// Without blanks and tabs at either end.
std::string_view Trim(std::string_view s);
// 0-15, or -1 for a character that is no hex digit.
int HexDigit(char c);
// Whether `s` starts with `prefix`, letters without regard to case.
bool StartsWith(std::string_view s, std::string_view prefix);

// The name and what follows its '='; false when the line holds no name and '='.
bool SplitValueLine(std::string_view line, std::string* name, std::string_view* data);
// The type and data of what follows a value's '=': a quoted text, dword:, hex: or hex(n):.
// False when it cannot be read whole.
bool ParseData(std::string_view s, RegistryValue* value);
// `value` as its line(s): name, '=' and its data, long hex data continued over lines.
void AppendValue(std::string* out, const RegistryValue& value);

}  // namespace platform::regtext
