#pragma once

#include <vector>

// The COM port numbers present, in the order the system lists them (ascending when probed).
// `ports` is emptied first.
void ListComPorts(std::vector<unsigned>& ports);

// Appends the number of every "COMn" name of a device list: NUL-terminated names, the list
// ending with an extra NUL, `length` characters at most.
void AppendComPortNames(const char* list, unsigned length, std::vector<unsigned>& ports);
