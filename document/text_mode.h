#pragma once

#include <string>
#include <string_view>

// The text-file conventions of the project file and the script: every LF written becomes CR LF;
// on reading every CR is dropped and a byte 0x1A ends the file.
std::string ToTextMode(std::string_view text);
std::string FromTextMode(std::string_view bytes);
