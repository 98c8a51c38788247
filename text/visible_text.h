#pragma once

#include <string>
#include <string_view>

// The text (CP932) with each control byte (00-1F, 7F) shown as "<00>".."<1F>", "<7F>". Such a
// byte is never part of a double-byte character, and left in a name it would end or break the
// line that shows it (a NUL cuts a C string short, a line end starts another line).
std::string VisibleText(std::string_view text);
