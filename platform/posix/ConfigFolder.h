#pragma once

#include <string>

namespace platform {

// The per-user folder of the program's files: $XDG_CONFIG_HOME/brenlow, else
// ~/.config/brenlow (home from $HOME or the password database). Empty when there is none.
std::string ConfigFolder();

}  // namespace platform
