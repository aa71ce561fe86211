#include <windows.h>

#include "contest/file_util.h"

namespace stats {

bool MoveReplacing(const std::string& from, const std::string& to) {
    // The C library's rename refuses an existing target on Windows.
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace stats
