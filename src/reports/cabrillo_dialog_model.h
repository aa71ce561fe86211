// What the Cabrillo header dialog decides, apart from its window: which field
// each control shows, the drop-down lists, and the entry a drop-down selects.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "reports/cabrillo_fields.h"

namespace stats {

struct HeaderControl {
    int id;
    std::string CabrilloHeaderFields::*field;
    bool dropDown;
};

// The 22 controls of the dialog with their fields.
const std::vector<HeaderControl>& HeaderControls();

// Lists given as lines "<control id> <entry> <entry> ...".
std::map<int, std::vector<std::string>> ParseDropDownLists(std::string_view text);

// The first entry that begins with `value`, ignoring case; -1 when none does
// or the value is empty (the control then shows the value as typed).
int DropDownSelection(const std::vector<std::string>& entries, std::string_view value);

}  // namespace stats
