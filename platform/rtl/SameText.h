#pragma once
// Text equality ignoring case, as names compare: only ASCII letters fold (Thai
// has no case).
#include <string_view>

bool SameText(std::string_view a, std::string_view b);
